// The Statistics document.
#pragma once

#include "workspace/unit_document.h"

namespace quorvel {

inline constexpr std::uint32_t kStatisticsSignature = 19992004;

class CStatsUnitDocument : public CUnitDocument {
public:
    CStatsUnitDocument();
};

} // namespace quorvel
