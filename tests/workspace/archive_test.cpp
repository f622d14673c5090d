// Archive primitives, byte for byte.
#include "workspace/archive.h"

#include <gtest/gtest.h>

using namespace quorvel;

TEST(Archive, Int32IsLittleEndian) {
    CArchive ar;
    ar.WriteInt32(0x01020304);
    EXPECT_EQ(ar.bytes(), (std::vector<std::uint8_t>{4, 3, 2, 1}));
}
