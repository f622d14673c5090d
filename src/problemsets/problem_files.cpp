// Problem file names and the draw from the pool.
#include "problemsets/problem_files.h"

#include "workspace/unit_document.h"

namespace quorvel {

namespace {
bool ValidLevel(int level) {
    return level >= kLevelA && level <= kLevelC;
}
} // namespace

std::string ProblemNumberText(int n) {
    // Appended rather than concatenated: GCC 12 at -O3 misreads "0" + string as overlapping.
    std::string text = n >= 0 && n < 10 ? "0" : "";
    text += std::to_string(n);
    return text;
}

std::string ProblemFileName(const CProblemFileNames& names, int level, int n) {
    if (!ValidLevel(level))
        return {};
    return names.stems[static_cast<std::size_t>(level)] + ProblemNumberText(n) + names.extension;
}

bool AppendProblemFileName(CUnitDocument& doc, std::string& path, const CProblemFileNames& names,
                           int level) {
    if (!ValidLevel(level))
        return false;
    doc.SetLevel(level);
    const int n = doc.DrawProblemNumber();
    if (path.empty() || path.back() != '/')
        path += '/';
    path += ProblemFileName(names, level, n);
    return true;
}

std::string LevelText(int level) {
    if (!ValidLevel(level))
        return {};
    return std::string("(Level ") + static_cast<char>('A' + level) + ")";
}

} // namespace quorvel
