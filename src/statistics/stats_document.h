// The Statistics document.
#pragma once

#include "workspace/unit_document.h"

namespace quorvel {

inline constexpr std::uint32_t kStatisticsSignature = 19992004;

class CStatsUnitDocument : public CUnitDocument {
public:
    CStatsUnitDocument();

    // Its problem files: "stapsA", "stapsB" or "stapsC", two digits, ".qvs".
    void AppendProblemFileName(std::string& path, int level) override;
};

} // namespace quorvel
