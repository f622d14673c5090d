// quorvel_stats_documents: builds the documents the Statistics investigations open.
// "quorvel_stats_documents <source folder> <class folder>" writes <name>.qvs for every
// <name>.stats of the folder.
#include "tools/class_builder/class_source.h"
#include "tools/stats_activities/stats_documents.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

int main(int argc, char* argv[]) {
    using namespace quorvel;
    if (argc != 3) {
        std::cerr << "usage: quorvel_stats_documents <source folder> <class folder>\n";
        return 2;
    }
    const fs::path out = argv[2];
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(argv[1], error))
        if (entry.is_regular_file() && entry.path().extension() == ".stats")
            files.push_back(entry.path());
    if (error || files.empty()) {
        std::cerr << argv[1] << ": no sources (*.stats)\n";
        return 1;
    }
    std::sort(files.begin(), files.end());
    fs::create_directories(out, error);
    int failed = 0;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        try {
            const std::string name = file.stem().string();
            const std::vector<std::uint8_t> bytes =
                BuildStatsActivity(name, text.str())->SaveToBytes();
            const fs::path target = out / (name + ".qvs");
            std::ofstream o(target, std::ios::binary | std::ios::trunc);
            o.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size()));
            if (!o) {
                std::cerr << target.string() << ": cannot be written\n";
                ++failed;
            }
        } catch (const CSourceError& e) {
            std::cerr << file.string() << ":" << e.line() << ": " << e.what() << "\n";
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
