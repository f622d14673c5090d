// quorvel_class_builder: builds the class folder's Tiles and Tessellations documents from their
// sources. "quorvel_class_builder <source folder> <class folder>" writes <name>.qvg for every
// <name>.tess; "quorvel_class_builder --edges" lists the shapes' edges for source writers.
#include "tools/class_builder/class_builder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

int main(int argc, char* argv[]) {
    using namespace quorvel;
    if (argc == 2 && std::string(argv[1]) == "--edges") {
        std::cout << DescribeSourceShapes();
        return 0;
    }
    if (argc != 3) {
        std::cerr << "usage: quorvel_class_builder <source folder> <class folder>\n"
                     "       quorvel_class_builder --edges\n";
        return 2;
    }
    const fs::path sources = argv[1];
    const fs::path out = argv[2];
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(sources, error))
        if (entry.is_regular_file() && entry.path().extension() == ".tess")
            files.push_back(entry.path());
    if (error || files.empty()) {
        std::cerr << sources.string() << ": no sources (*.tess)\n";
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
            CClassDocument built = BuildClassDocument(file.stem().string(), text.str());
            const std::vector<std::uint8_t> bytes = built.doc->SaveToBytes();
            const fs::path target = out / (built.name + ".qvg");
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
