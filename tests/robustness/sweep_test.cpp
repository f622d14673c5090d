// Damaged documents: every prefix of every fixture, and every fixture with one byte set to
// 0x00 or to 0xFF, opens or fails cleanly. Clean means no sanitizer report, no exception out
// of the loader, an empty workspace after a failure, a document that saves and reopens after
// a success, and never more memory asked for than a bounded multiple of the file's size.
//
// The fixtures are the sample documents of every unit, the documents of resources/class and
// the class documents the build grows from resources/class-src.
#include "sample_documents.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <ostream>

using namespace quorvel;
using namespace quorvel::testing;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

// Every operator new of this program goes through here, so a test can count what a load asks
// for. Counting is off except around the loads measured.
namespace {
bool g_counting = false;
std::size_t g_requested = 0;

void* Allocate(std::size_t n) {
    if (g_counting)
        g_requested += n;
    if (void* p = std::malloc(n == 0 ? 1 : n))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t n) {
    return Allocate(n);
}
void* operator new[](std::size_t n) {
    return Allocate(n);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
// The library's temporary buffers (a stable sort's) ask without throwing; they must come from
// the same heap that the deletes above give back to.
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return Allocate(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return Allocate(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace {

// What a load may ask of the heap: a fixed allowance for the document's own fields and
// bookkeeping, and a multiple of the file's size for what the file describes.
constexpr std::size_t kFixedAllowance = 64 * 1024;
constexpr std::size_t kBytesPerFileByte = 8;

// Files up to 64 KB are swept at every position and larger ones at sampled positions. The
// sanitizer builds run ten times slower and sample small files too; the fuzzers, which run
// under the same sanitizers, cover far more damaged inputs than any sweep.
constexpr std::size_t kFullSweepLimit = 64 * 1024;
#ifdef QUORVEL_SANITIZED_BUILD
constexpr std::size_t kSmallFileSamples = 512;
constexpr std::size_t kLargeFileSamples = 128;
constexpr std::size_t kGrownFileSamples = 64;
#else
constexpr std::size_t kSmallFileSamples = kFullSweepLimit;
constexpr std::size_t kLargeFileSamples = 4096;
// The grown class documents are forty-odd files of 20 to 45 KB made by one writer from a few
// kinds of record; sampling each keeps the sweep to seconds and still reaches every record.
constexpr std::size_t kGrownFileSamples = 1024;
#endif

struct Fixture {
    std::string name;
    UnitKind kind;
    Bytes bytes;
    std::size_t samples = 0; // positions swept; 0 for the size's own rule
};

// Adds the unit documents of `dir` (any depth) to `out`, by their signature.
void AddClassDocuments(const fs::path& dir, std::size_t samples, std::vector<Fixture>& out) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file())
            continue;
        std::ifstream in(it->path(), std::ios::binary);
        Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (bytes.size() < 4)
            continue;
        const std::uint32_t signature = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                        (static_cast<std::uint32_t>(bytes[3]) << 24);
        for (UnitKind kind : AllUnitKinds())
            if (CreateUnitDocument(kind)->identity().signature == signature)
                out.push_back(
                    {"class/" + it->path().filename().string(), kind, std::move(bytes), samples});
    }
}

std::vector<Fixture> Fixtures() {
    std::vector<Fixture> out;
    for (auto& s : SampleDocuments())
        out.push_back({s.name, s.kind, std::move(s.bytes)});
    AddClassDocuments(fs::path(QUORVEL_SOURCE_DIR) / "resources" / "class", 0, out);
    AddClassDocuments(QUORVEL_CLASS_DIR, kGrownFileSamples, out);
    return out;
}

// The positions swept in a file of `size` bytes: all of them, or a quarter of the samples at
// each end (where headers, counts and the last records are) and half spread evenly between.
std::vector<std::size_t> Positions(std::size_t size, std::size_t samples = 0) {
    if (samples == 0)
        samples = size <= kFullSweepLimit ? kSmallFileSamples : kLargeFileSamples;
    std::vector<std::size_t> at;
    if (size <= samples) {
        for (std::size_t i = 0; i < size; ++i)
            at.push_back(i);
        return at;
    }
    const std::size_t edge = samples / 4;
    for (std::size_t i = 0; i < edge; ++i) {
        at.push_back(i);
        at.push_back(size - 1 - i);
    }
    const std::size_t step = (size - 2 * edge) / (samples / 2);
    for (std::size_t i = edge; i < size - edge; i += step)
        at.push_back(i);
    return at;
}

struct Outcome {
    OpenResult result;
    std::size_t requested; // bytes asked of operator new during the load
};

// Loads `bytes` into a fresh document of `kind` and checks that it happened cleanly.
Outcome LoadCleanly(UnitKind kind, const Bytes& bytes) {
    auto doc = CreateUnitDocument(kind);
    Outcome out{OpenResult::Failed, 0};
    std::string error;
    g_requested = 0;
    g_counting = true;
    try {
        out.result = doc->LoadFromBytes(bytes, &error);
    } catch (...) {
        g_counting = false;
        ADD_FAILURE() << "an exception left the loader";
        return out;
    }
    g_counting = false;
    out.requested = g_requested;

    EXPECT_LE(out.requested, kFixedAllowance + kBytesPerFileByte * bytes.size())
        << "a " << bytes.size() << "-byte file made the loader ask for " << out.requested
        << " bytes";
    switch (out.result) {
    case OpenResult::Failed:
        EXPECT_TRUE(doc->manipulatives().empty()) << "a failed open kept manipulatives";
        EXPECT_TRUE(doc->selection().empty());
        EXPECT_FALSE(error.empty()) << "a failed open without a reason for the log";
        break;
    case OpenResult::Opened: {
        const Bytes saved = doc->SaveToBytes();
        auto again = CreateUnitDocument(kind);
        EXPECT_EQ(again->LoadFromBytes(saved, &error), OpenResult::Opened)
            << "opened, but its saved form does not open: " << error;
        EXPECT_EQ(again->SaveToBytes(), saved) << "saving is not stable";
        break;
    }
    case OpenResult::EmptyFile:
    case OpenResult::WrongSignature:
        EXPECT_TRUE(doc->manipulatives().empty());
        break;
    }
    return out;
}

void PrintTo(const Fixture& f, std::ostream* os) {
    *os << f.name;
}

class Sweep : public ::testing::TestWithParam<Fixture> {};

} // namespace

TEST_P(Sweep, FixtureOpensAndSavesItsOwnBytes) {
    const Fixture& f = GetParam();
    auto doc = CreateUnitDocument(f.kind);
    std::string error;
    ASSERT_EQ(doc->LoadFromBytes(f.bytes, &error), OpenResult::Opened) << error;
    EXPECT_EQ(doc->SaveToBytes(), f.bytes);
}

TEST_P(Sweep, EveryPrefixFailsCleanly) {
    const Fixture& f = GetParam();
    EXPECT_EQ(LoadCleanly(f.kind, {}).result, OpenResult::EmptyFile);
    for (std::size_t n : Positions(f.bytes.size(), f.samples)) {
        if (n == 0)
            continue;
        const Bytes prefix(f.bytes.begin(), f.bytes.begin() + static_cast<std::ptrdiff_t>(n));
        const Outcome o = LoadCleanly(f.kind, prefix);
        // Every field is needed: a cut file never passes for a whole one.
        ASSERT_EQ(o.result, OpenResult::Failed) << "the first " << n << " bytes";
    }
}

TEST_P(Sweep, EveryByteSetToZeroOrFFOpensOrFailsCleanly) {
    const Fixture& f = GetParam();
    std::size_t opened = 0, failed = 0, worst = 0;
    for (std::size_t at : Positions(f.bytes.size(), f.samples)) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
            if (f.bytes[at] == value)
                continue;
            Bytes damaged = f.bytes;
            damaged[at] = value;
            SCOPED_TRACE("byte " + std::to_string(at) + " set to " + std::to_string(value));
            const Outcome o = LoadCleanly(f.kind, damaged);
            (o.result == OpenResult::Opened ? opened : failed)++;
            worst = std::max(worst, o.requested);
            if (::testing::Test::HasFailure())
                return;
        }
    }
    RecordProperty("opened", static_cast<int>(opened));
    RecordProperty("failed", static_cast<int>(failed));
    RecordProperty("most_bytes_requested", static_cast<int>(worst));
}

TEST(AllocationBound, HostileCountsAndLengthsAskForNothingLarge) {
    // The problem block of a geometry document with a question prompt claiming 4 GB, and a
    // workspace claiming two thousand million manipulatives.
    Bytes bytes = SampleDocuments().front().bytes; // the empty geometry workspace
    ASSERT_GE(bytes.size(), 8u);
    Bytes hugeString(bytes.begin(), bytes.begin() + 4);
    hugeString.insert(hugeString.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'});
    EXPECT_EQ(LoadCleanly(UnitKind::Geometry, hugeString).result, OpenResult::Failed);

    for (int i = 1; i <= 4; ++i)
        bytes[bytes.size() - static_cast<std::size_t>(i)] = i == 1 ? 0x7F : 0xFF;
    const Outcome o = LoadCleanly(UnitKind::Geometry, bytes);
    EXPECT_EQ(o.result, OpenResult::Failed);
    EXPECT_LT(o.requested, kFixedAllowance);
}

INSTANTIATE_TEST_SUITE_P(Documents, Sweep, ::testing::ValuesIn(Fixtures()), [](const auto& param) {
    std::string name;
    for (char c : param.param.name)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});
