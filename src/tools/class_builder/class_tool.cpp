#include "tools/class_builder/class_tool.h"

#include "tools/class_builder/class_source.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace quorvel {

int RunClassBuilder(int argc, char* argv[], std::string_view extension,
                    const ClassSourceBuilder& build, const std::vector<std::string>& usage) {
    if (argc != 3) {
        for (std::size_t i = 0; i < usage.size(); ++i)
            std::cerr << (i == 0 ? "usage: " : "       ") << usage[i] << "\n";
        return 2;
    }
    const fs::path sources = argv[1];
    const fs::path out = argv[2];
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(sources, error))
        if (entry.is_regular_file() && entry.path().extension() == extension)
            files.push_back(entry.path());
    if (error || files.empty()) {
        std::cerr << sources.string() << ": no sources (*" << extension << ")\n";
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
            const CBuiltDocument built = build(file.stem().string(), text.str());
            const fs::path target = out / built.fileName;
            std::ofstream o(target, std::ios::binary | std::ios::trunc);
            o.write(reinterpret_cast<const char*>(built.bytes.data()),
                    static_cast<std::streamsize>(built.bytes.size()));
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

} // namespace quorvel
