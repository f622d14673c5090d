// The string table and the texts that Help shows.
#include "workspace/string_table.h"

#include <gtest/gtest.h>

using namespace quorvel;

TEST(StringTable, IdsAscendAndAreUnique) {
    const auto& table = StringTable();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 1; i < table.size(); ++i)
        EXPECT_LT(table[i - 1].first, table[i].first) << table[i].first;
    for (const auto& [id, text] : table)
        EXPECT_FALSE(text.empty()) << id;
}

TEST(StringTable, LoadsByIdAndKnowsWhatItLacks) {
    EXPECT_EQ(LoadString(1055), "The Tool Palette.");
    EXPECT_EQ(LoadString(1032), "Use the Workspace Navigator to scroll your workspace.");
    EXPECT_EQ(LoadString(1470), "Click Continue to proceed.");
    EXPECT_EQ(LoadString(1615), "The angle of rotation must be from 1 to 360");
    EXPECT_EQ(LoadString(1382), "Please select tiles before clicking the \"Cluster\" button.");
    EXPECT_FALSE(LoadString(1300));
    EXPECT_FALSE(LoadString(0));
    EXPECT_FALSE(LoadString(-1));
}

TEST(StringTable, NavigatorButtonsEachExplainTheirDirection) {
    EXPECT_EQ(LoadString(1035), "Scroll the workspace up.");
    for (int id = 1035; id <= 1042; ++id) {
        const auto text = LoadString(id);
        ASSERT_TRUE(text) << id;
        EXPECT_EQ(text->rfind("Scroll the workspace ", 0), 0u) << id;
    }
}

TEST(StringTable, MessagesSharedByUnitsKeepOneText) {
    EXPECT_EQ(LoadString(1491), LoadString(1572));
    EXPECT_EQ(LoadString(1491), LoadString(1611));
    EXPECT_EQ(LoadString(1493), LoadString(1571));
    EXPECT_EQ(LoadString(1071), LoadString(1078));
    EXPECT_EQ(LoadString(1221), LoadString(1222));
}

TEST(HelpText, ComesFromTheTableOnlyForControlIdsAbove1002UpTo1500) {
    EXPECT_EQ(HelpText(1271), "Use the Arrow to select or remove an object.");
    EXPECT_EQ(HelpText(1300), "Resource Help String: 1300  not found");
    EXPECT_EQ(HelpText(1500), "Resource Help String: 1500  not found");
    EXPECT_EQ(HelpText(1003), *LoadString(1003));
    // Outside the range even an id with a string gives no help: 1570 is a message.
    ASSERT_TRUE(LoadString(1570));
    EXPECT_EQ(HelpText(1570), "No help is available here.");
    EXPECT_EQ(HelpText(1501), "No help is available here.");
    EXPECT_EQ(HelpText(1002), "No help is available here.");
    EXPECT_EQ(HelpText(0), "No help is available here.");
}
