// The written material as the build lays it out beside the program: the companion PDFs drawn
// from their texts, one for every Documents menu command, and the units' guides.
#include "docs/pdf_text.h"

#include "app/activities.h"
#include "app/tools_menu.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::CPdfText;
using testing::Squeezed;

const fs::path kDocs = QUORVEL_DOCS_DIR;
const fs::path kTexts = QUORVEL_COMPANION_TEXTS;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a companion text promises its PDF: the band label and the title of every page.
struct CSource {
    fs::path pdf;
    std::string label;
    std::vector<std::string> titles;
};

CSource ReadSource(const fs::path& text) {
    CSource source;
    source.pdf = fs::path(text.stem().string() + ".pdf");
    std::istringstream in(ReadFile(text));
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("@label ", 0) == 0)
            source.label = line.substr(7);
        else if (line.rfind("@page ", 0) == 0)
            source.titles.push_back(line.substr(6));
    }
    return source;
}

std::vector<fs::path> CompanionTexts() {
    std::vector<fs::path> texts;
    for (const auto& entry : fs::directory_iterator(kTexts))
        if (entry.path().extension() == ".txt")
            texts.push_back(entry.path());
    std::sort(texts.begin(), texts.end());
    return texts;
}

// A folder of its own for a test, removed afterwards.
class CScratch {
public:
    explicit CScratch(const std::string& name)
        : m_path(fs::temp_directory_path() /
                 ("quorvel-" + name + "-" + std::to_string(::getpid()))) {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~CScratch() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

int RunCommand(const std::string& command) {
    return std::system(command.c_str());
}

std::string Quoted(const fs::path& p) {
    return "\"" + p.string() + "\"";
}

int RunCompanionTool(const fs::path& out, const std::string& environment = "") {
    return RunCommand(environment + " QT_QPA_PLATFORM=offscreen " + Quoted(QUORVEL_COMPANION_TOOL) +
                      " " + Quoted(kTexts) + " " + Quoted(out) + " 2>/dev/null");
}

TEST(CompanionDocuments, EveryDocumentOfTheTilesAndPatternsMenusIsDrawnFromItsText) {
    for (const UnitKind unit : {UnitKind::Geometry, UnitKind::Numbers})
        for (const CCompanionDocument* doc : CompanionDocumentsOf(unit)) {
            const fs::path text = kTexts / fs::path(doc->fileName).replace_extension(".txt");
            EXPECT_TRUE(fs::exists(text)) << text;
            EXPECT_TRUE(fs::exists(kDocs / doc->fileName)) << doc->fileName;
        }
}

TEST(CompanionDocuments, EveryPageCarriesItsTitleItsDocumentAndItsNumber) {
    const std::vector<fs::path> texts = CompanionTexts();
    ASSERT_FALSE(texts.empty());
    for (const fs::path& text : texts) {
        const CSource source = ReadSource(text);
        CPdfText pdf;
        std::string error;
        ASSERT_TRUE(pdf.Load((kDocs / source.pdf).string(), error)) << error;
        const int count = static_cast<int>(source.titles.size());
        ASSERT_EQ(pdf.pageCount(), count) << source.pdf;
        for (int i = 0; i < count; ++i) {
            const std::string& page = pdf.pageText(i);
            const std::string number =
                "Page " + std::to_string(i + 1) + " of " + std::to_string(count);
            EXPECT_NE(page.find(Squeezed(source.titles[static_cast<std::size_t>(i)])),
                      std::string::npos)
                << source.pdf << " page " << i + 1 << ": " << page.substr(0, 200);
            EXPECT_NE(page.find(source.label), std::string::npos) << source.pdf << " " << i + 1;
            EXPECT_NE(page.find(number), std::string::npos) << source.pdf << " " << i + 1;
            // More than a heading: instructions or questions for the pupils.
            EXPECT_GT(page.size(), 250u) << source.pdf << " page " << i + 1;
        }
        // The fonts travel with the file, so that it prints the same on any computer.
        EXPECT_NE(pdf.bytes().find("/FontFile2"), std::string::npos) << source.pdf;
    }
}

TEST(CompanionDocuments, TheWorksheetsHaveRoomForAName) {
    for (const char* name : {"Tiles Reproducible Master 5.pdf", "Tiles Reproducible Master 6.pdf",
                             "Patterns Reproducible Master 12.pdf"}) {
        CPdfText pdf;
        std::string error;
        ASSERT_TRUE(pdf.Load((kDocs / name).string(), error)) << error;
        EXPECT_NE(pdf.pageText(0).find("Name"), std::string::npos) << name;
        EXPECT_NE(pdf.pageText(0).find("Date"), std::string::npos) << name;
    }
}

TEST(CompanionDocuments, TheSameTextGivesTheSameBytes) {
    CScratch first("companion-a"), second("companion-b");
    ASSERT_EQ(RunCompanionTool(first.path()), 0);
    ASSERT_EQ(RunCompanionTool(second.path()), 0);
    for (const fs::path& text : CompanionTexts()) {
        const fs::path pdf = fs::path(text.stem().string() + ".pdf");
        const std::string bytes = ReadFile(first.path() / pdf);
        ASSERT_FALSE(bytes.empty()) << pdf;
        EXPECT_TRUE(bytes == ReadFile(second.path() / pdf)) << pdf << " differs between runs";
    }
}

TEST(CompanionDocuments, TheCreationDateFollowsSourceDateEpoch) {
    CScratch out("companion-epoch");
    ASSERT_EQ(RunCompanionTool(out.path(), "SOURCE_DATE_EPOCH=86400"), 0);
    const std::string bytes = ReadFile(out.path() / "Tiles Activity Book 4.pdf");
    EXPECT_NE(bytes.find("/CreationDate (D:19700102000000Z)"), std::string::npos);
}

TEST(CompanionDocuments, EveryDocumentsMenuCommandOpensADrawnDocument) {
    // Every document the Documents menus name is drawn from its text, none left to a stand-in.
    for (const CCompanionDocument& doc : CompanionDocuments()) {
        const fs::path text = kTexts / fs::path(doc.fileName).replace_extension(".txt");
        ASSERT_TRUE(fs::exists(text)) << doc.fileName;
        CPdfText pdf;
        std::string error;
        ASSERT_TRUE(pdf.Load((kDocs / doc.fileName).string(), error)) << error;
        const std::string title = doc.title;
        EXPECT_NE(pdf.pageText(0).find(title.substr(title.find(": ") + 2)), std::string::npos)
            << doc.fileName;
    }
}

TEST(CompanionDocuments, TheIntroductionShowsEveryUnitsPages) {
    CPdfText pdf;
    std::string error;
    ASSERT_TRUE(pdf.Load((kDocs / "intro.pdf").string(), error)) << error;
    ASSERT_EQ(pdf.pageCount(), 5);
    for (int menu : {kGeometryUnitMenu, kPatternsUnitMenu, kStatsUnitMenu})
        EXPECT_NE(pdf.pageText(0).find(UnitMenuTitle(menu)), std::string::npos) << menu;
    // A picture of the main menu and one of a page of every environment.
    std::size_t pictures = 0;
    for (std::size_t at = 0; (at = pdf.bytes().find("/Subtype /Image", at)) != std::string::npos;
         ++at)
        ++pictures;
    EXPECT_GE(pictures, 6u);
}

// --- the guide -----------------------------------------------------------------------------

// The text of an RTF file without its control words, groups of the font and colour tables
// left out; \'hh and \uN escapes become their characters (Latin-1 and ASCII only, as needed).
std::string RtfText(const std::string& rtf) {
    std::string out;
    int depth = 0, skipBelow = -1;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            continue;
        }
        if (c == '}') {
            if (depth == skipBelow)
                skipBelow = -1;
            --depth;
            continue;
        }
        if (c == '\\') {
            const char n = rtf[i + 1];
            if (n == '\\' || n == '{' || n == '}') {
                if (skipBelow < 0)
                    out += n;
                ++i;
                continue;
            }
            if (n == '\'') {
                if (skipBelow < 0)
                    out += static_cast<char>(std::stoi(rtf.substr(i + 2, 2), nullptr, 16));
                i += 3;
                continue;
            }
            std::size_t j = i + 1;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
                ++j;
            const std::string word = rtf.substr(i + 1, j - i - 1);
            std::size_t k = j;
            if (k < rtf.size() &&
                (rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf[k]))))
                ++k;
            while (k < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[k])))
                ++k;
            const std::string number = rtf.substr(j, k - j);
            if (k < rtf.size() && rtf[k] == ' ')
                ++k;
            if (word == "fonttbl" || word == "colortbl" || word == "info")
                skipBelow = depth;
            if (skipBelow < 0) {
                if (word == "par" || word == "line" || word == "tab")
                    out += ' ';
                if (word == "u") {
                    const int code = std::stoi(number);
                    out += code == 8217 ? '\'' : code < 128 ? static_cast<char>(code) : ' ';
                    if (k < rtf.size() && rtf[k] == '?')
                        ++k;
                }
            }
            i = k - 1;
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        if (skipBelow < 0)
            out += c;
    }
    return Squeezed(out);
}

// A unit's guide: its file, its investigations and the names it must use.
struct CGuide {
    int unitMenu;
    int investigations;
    std::vector<const char*> names;
};

const CGuide kGuides[] = {
    {kGeometryUnitMenu,
     kGeometryInvestigations,
     {"Anglemeter",
      "Selector",
      "Rot. R",
      "Flip H",
      "Group",
      "Stamp",
      "Record",
      "Repeat",
      "Camera",
      "Viewer",
      "Tessellation Options",
      "Teacher Options",
      "User Options",
      "Script Controls",
      "/AM",
      "Student Bulletin Board",
      "Teacher Bulletin Board",
      "Reproducible Master 5",
      "Reproducible Master 6",
      "Activity Book 4"}},
    {kPatternsUnitMenu,
     kPatternsInvestigations,
     {"Number Card",
      "Number Machine",
      "Go",
      "Mystery",
      "Linking",
      "Writing tool",
      "New table",
      "Sort Largest to Smallest",
      "Create Cards",
      "Delete All Output cards",
      "Note Card",
      "Shift Machine",
      "Keyword Machine",
      "Group Machine",
      "Places",
      "Direction",
      "Decode",
      "Message Board",
      "Hide Message Board",
      "Show Axes",
      "Record Rule",
      "Clear",
      "Hide Machine",
      "Number Options...",
      "Codes Options...",
      "Design Options...",
      "Check",
      "Continue",
      "/AM",
      "Student Bulletin Board",
      "Reproducible Master 12"}},
    {kStatsUnitMenu,
     kStatsInvestigations,
     {"Data Table",
      "Data Board",
      "Bar Graph",
      "Pie Graph",
      "Line Graph",
      "Previous column",
      "Sort ascending",
      "Cluster",
      "Data Store",
      "Ignore",
      "Writing tool",
      "Show Summary Statistics window",
      "One Decimal Place",
      "Import Data from CSV...",
      "Edit On",
      "Graph Viewers Off",
      "Mini-Table On",
      "Computer Checked On",
      "Statistics Problem Set Prompt Editor",
      "CHECK",
      "View Solution",
      "DID YOU MEAN THAT?",
      "/AM",
      "Student Bulletin Board",
      "Reproducible Master 9",
      "Activity Book Page 5",
      "Activity Book Page 6"}},
};

void PrintTo(const CGuide& guide, std::ostream* os) {
    *os << UnitGuideFile(guide.unitMenu);
}

class Guide : public ::testing::TestWithParam<CGuide> {
protected:
    void SetUp() override { m_rtf = ReadFile(kDocs / UnitGuideFile(GetParam().unitMenu)); }
    std::string m_rtf;
};

INSTANTIATE_TEST_SUITE_P(Units, Guide, ::testing::ValuesIn(kGuides),
                         [](const ::testing::TestParamInfo<CGuide>& unit) {
                             const std::string title = UnitMenuTitle(unit.param.unitMenu);
                             return title.substr(0, title.find(' '));
                         });

TEST_P(Guide, IsWellFormedRtfInLiberationSans) {
    ASSERT_EQ(m_rtf.rfind("{\\rtf1", 0), 0u);
    int depth = 0;
    for (std::size_t i = 0; i < m_rtf.size(); ++i) {
        const char c = m_rtf[i];
        ASSERT_TRUE(static_cast<unsigned char>(c) < 128) << "a byte that is not ASCII at " << i;
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '{')
            ++depth;
        if (c == '}' && --depth == 0) {
            EXPECT_EQ(m_rtf.find_first_not_of("\r\n", i + 1), std::string::npos)
                << "text after the document's closing brace";
        }
        ASSERT_GE(depth, 0) << "a closing brace without its opening one at " << i;
    }
    EXPECT_EQ(depth, 0);
    EXPECT_NE(m_rtf.find("Liberation Sans"), std::string::npos);
}

TEST_P(Guide, HasASectionForEveryInvestigationAndItsActivities) {
    const std::string text = RtfText(m_rtf);
    for (int k = 0; k < kInvestigationsPerMenu; ++k) {
        const CInvestigation* investigation = FindInvestigation(GetParam().investigations, k);
        ASSERT_NE(investigation, nullptr);
        EXPECT_NE(text.find(investigation->title), std::string::npos) << investigation->title;
        for (const CActivityRow& row : investigation->rows) {
            if (!row.title.empty()) {
                EXPECT_NE(text.find(row.title), std::string::npos) << row.title;
            }
        }
    }
}

TEST_P(Guide, NamesTheToolsAndTheTeachersSettings) {
    const std::string text = RtfText(m_rtf);
    for (const char* name : GetParam().names)
        EXPECT_NE(text.find(name), std::string::npos) << name;
}

} // namespace
} // namespace quorvel
