// quorvel_patterns_builder: builds the class folder's Patterns documents from their sources.
// "quorvel_patterns_builder <source folder> <class folder>" writes <file> for every
// <file>.src (patpsA01.qvn.src becomes patpsA01.qvn).
#include "tools/patterns_builder/patterns_builder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

int main(int argc, char* argv[]) {
    using namespace quorvel;
    if (argc != 3) {
        std::cerr << "usage: quorvel_patterns_builder <source folder> <class folder>\n";
        return 2;
    }
    const fs::path sources = argv[1];
    const fs::path out = argv[2];
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(sources, error))
        if (entry.is_regular_file() && entry.path().extension() == ".src")
            files.push_back(entry.path());
    if (error || files.empty()) {
        std::cerr << sources.string() << ": no sources (*.src)\n";
        return 1;
    }
    std::sort(files.begin(), files.end());
    fs::create_directories(out, error);
    int failed = 0;
    for (const fs::path& file : files) {
        const fs::path target = file.stem(); // "patpsA01.qvn"
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        try {
            CPatternsClassDocument built =
                BuildPatternsDocument(target.stem().string(), text.str());
            if (built.extension != target.extension().string())
                throw CSourceError(1, "the source makes a " + built.extension + " document");
            const std::vector<std::uint8_t> bytes = built.doc->SaveToBytes();
            std::ofstream o(out / target, std::ios::binary | std::ios::trunc);
            o.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size()));
            if (!o) {
                std::cerr << (out / target).string() << ": cannot be written\n";
                ++failed;
            }
        } catch (const CSourceError& e) {
            std::cerr << file.string() << ":" << e.line() << ": " << e.what() << "\n";
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
