// Writes the seed inputs of every fuzz target into OUT/<target>/: the sample documents and
// their JSON form, the documents of a class folder (by their signature), number texts and
// command lines.
//
// usage: make_seeds OUT [CLASS_DIR]
#include "app/document_factory.h"
#include "sample_documents.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quorvel;

namespace {

void Write(const fs::path& dir, const std::string& name, const std::string& bytes) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Write(const fs::path& dir, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    Write(dir, name, std::string(bytes.begin(), bytes.end()));
}

int CopyClassDocuments(const fs::path& classDir, const fs::path& out) {
    int copied = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(classDir, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!it->is_regular_file())
            continue;
        std::ifstream in(it->path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        if (bytes.size() < 4 || bytes.size() > (1u << 20))
            continue;
        const std::uint32_t signature = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                        (static_cast<std::uint32_t>(bytes[3]) << 24);
        for (UnitKind kind : AllUnitKinds()) {
            if (CreateUnitDocument(kind)->identity().signature != signature)
                continue;
            Write(out / testing::DocumentFuzzTarget(kind),
                  "class-" + it->path().filename().string(), bytes);
            ++copied;
        }
    }
    return copied;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_seeds OUT [CLASS_DIR...]\n");
        return 2;
    }
    const fs::path out = argv[1];

    for (const auto& sample : testing::SampleDocuments()) {
        Write(out / testing::DocumentFuzzTarget(sample.kind), sample.name, sample.bytes);
        auto doc = CreateUnitDocument(sample.kind);
        if (doc->LoadFromBytes(sample.bytes) == OpenResult::Opened)
            Write(out / "fuzz_document_json", sample.name + ".json", doc->DumpToTree().ToJson());
    }

    const std::vector<std::string> numbers = {"0",
                                              "-12",
                                              "+7",
                                              "2147483647",
                                              "-2147483647",
                                              "2147483648",
                                              "3/4",
                                              "1 / -2",
                                              "-1 1/2",
                                              "12 3/4",
                                              "0/5",
                                              "5/0",
                                              "1.5",
                                              ".5",
                                              "-.25",
                                              "5.",
                                              "1e5",
                                              "  42  ",
                                              "99999999999999999999",
                                              "0.000000000000000000001",
                                              "3/4\n5/6",
                                              "-1 1/2\n2/3",
                                              "2147483647\n-1",
                                              "1.5\n0",
                                              "7\n0",
                                              "1/2147483647\n2147483647/2"};
    int i = 0;
    for (const auto& text : numbers)
        Write(out / "fuzz_number_text", "text-" + std::to_string(i++), text);
    // Archive forms: an integer, a fraction, a decimal.
    Write(out / "fuzz_number_text", "archive-integer", std::string("\0\0\0\0\x2a\0\0\0", 8));
    Write(out / "fuzz_number_text", "archive-fraction",
          std::string("\1\0\0\0\3\0\0\0\4\0\0\0", 12));
    Write(out / "fuzz_number_text", "archive-decimal",
          std::string("\2\0\0\0\0\0\0\0\0\0\xf8\x3f", 12));

    const std::vector<std::string> lines = {
        "/geo",
        "/AM",
        "/stats /AM",
        "/numbers",
        "/codes",
        "/designs",
        std::string("/geo\0-p\0/home/pupil\0-c\0/srv/class\0-b\0/srv/bboard\0-t\0/srv/tbboard", 64),
        "-p /a b -c /c -b /d -t /e f /geo",
        "-P x -C y -B z -T w",
        "-t a -b b -c c -p d",
        "-p -c -b -t",
        "/AM /geo -p"};
    i = 0;
    for (const auto& line : lines)
        Write(out / "fuzz_command_line", "line-" + std::to_string(i++), line);
    Write(out / "fuzz_command_line", "user-dirs",
          std::string("XDG_DESKTOP_DIR=\"$HOME/Bureau\"\nXDG_MUSIC_DIR=\"$HOME/Music\"\n"));

    int copied = 0;
    for (int a = 2; a < argc; ++a)
        if (fs::is_directory(argv[a]))
            copied += CopyClassDocuments(argv[a], out);
    std::printf("seeds written to %s (%d class documents)\n", out.c_str(), copied);
    return 0;
}
