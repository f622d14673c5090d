// Problem files: each unit's file stem per level and extension, the two-digit numbering, and
// the draw of the next problem of a level from the document's pool.
#pragma once

#include <array>
#include <string>

namespace quorvel {

class CUnitDocument;

inline constexpr int kLevelA = 0;
inline constexpr int kLevelB = 1;
inline constexpr int kLevelC = 2;

// How a unit names its problem files: a stem per level and the extension with its dot.
struct CProblemFileNames {
    std::array<const char*, 3> stems;
    const char* extension;
};

inline constexpr CProblemFileNames kGeometryProblemFiles{{"geopsA", "geopsB", "geopsC"}, ".qvg"};
inline constexpr CProblemFileNames kNumbersProblemFiles{{"patpsA", "patpsB", "patpsC"}, ".qvn"};
inline constexpr CProblemFileNames kStatisticsProblemFiles{{"stapsA", "stapsB", "stapsC"}, ".qvs"};

// n with at least two digits: "07", "10", "123".
std::string ProblemNumberText(int n);

// The file name of problem n of a level, without folder ("geopsA07.qvg"); empty for a level
// outside 0..2.
std::string ProblemFileName(const CProblemFileNames& names, int level, int n);

// Draws the next number of the document's pool and appends "/" + its file name to `path` (the
// class folder). The document keeps `level` as the run's level. False, with `path` unchanged,
// for a level outside 0..2.
bool AppendProblemFileName(CUnitDocument& doc, std::string& path, const CProblemFileNames& names,
                           int level);

// "(Level A)", "(Level B)", "(Level C)"; empty outside 0..2.
std::string LevelText(int level);

} // namespace quorvel
