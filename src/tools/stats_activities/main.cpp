// quorvel_stats_activities: builds the Statistics class documents.
// "quorvel_stats_activities <source folder> <class folder>" writes <name>.qvs
// for every <name>.txt of the folder.
#include "tools/stats_activities/stats_activities.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

int main(int argc, char* argv[]) {
    using namespace quorvel;
    if (argc != 3) {
        std::cerr << "usage: quorvel_stats_activities <source folder> <class folder>\n";
        return 2;
    }
    const fs::path sources = argv[1];
    const fs::path out = argv[2];
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(sources, error))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            files.push_back(entry.path());
    if (error || files.empty()) {
        std::cerr << sources.string() << ": no sources (*.txt)\n";
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
            const CStatsActivity built = BuildStatsActivity(file.stem().string(), text.str());
            const std::vector<std::uint8_t> bytes = built.doc->SaveToBytes();
            const fs::path target = out / (built.name + ".qvs");
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
