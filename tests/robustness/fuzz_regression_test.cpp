// Every input a fuzzer has found a fault with, and every seed, runs through its target
// cleanly in the ordinary build and under the sanitizers. A new fault found by a fuzzer is
// fixed and its input added to fuzz/regressions/<target>/.
#include "fuzz/fuzz_targets.h"
#include "sample_documents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

using namespace quorvel;
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace quorvel::fuzz {
void PrintTo(const Target& t, std::ostream* os) {
    *os << t.name;
}
} // namespace quorvel::fuzz

namespace {

class FuzzRegressions : public ::testing::TestWithParam<fuzz::Target> {};

} // namespace

TEST_P(FuzzRegressions, StoredInputsRunCleanly) {
    const fuzz::Target& target = GetParam();
    const fs::path dir = fs::path(QUORVEL_SOURCE_DIR) / "fuzz" / "regressions" / target.name;
    std::error_code ec;
    int count = 0;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file())
            continue;
        std::ifstream in(it->path(), std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        SCOPED_TRACE(it->path().filename().string());
        EXPECT_EQ(target.function(bytes.data(), bytes.size()), 0);
        ++count;
    }
    RecordProperty("inputs", count);
}

TEST(FuzzSeeds, SampleDocumentsRunThroughTheirTargets) {
    for (const auto& sample : quorvel::testing::SampleDocuments()) {
        SCOPED_TRACE(sample.name);
        const std::string name = quorvel::testing::DocumentFuzzTarget(sample.kind);
        int ran = 0;
        for (const auto& target : fuzz::AllTargets()) {
            if (name != target.name)
                continue;
            EXPECT_EQ(target.function(sample.bytes.data(), sample.bytes.size()), 0);
            ++ran;
        }
        EXPECT_EQ(ran, 1) << "no fuzz target " << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions, ::testing::ValuesIn(fuzz::AllTargets()),
                         [](const auto& param) { return std::string(param.param.name); });
