// Statistics document identity.
#include "statistics/stats_document.h"

#include "problemsets/problem_files.h"

namespace quorvel {

CStatsUnitDocument::CStatsUnitDocument()
    : CUnitDocument({kStatisticsSignature, "Statistics Unit",
                     "Quorvel (*.qvs)|*.qvs||All Files (*.*)|*.*||", "qvs",
                     "The file you are trying to open is not a Quorvel Statistics document!"}) {}

void CStatsUnitDocument::AppendProblemFileName(std::string& path, int level) {
    quorvel::AppendProblemFileName(*this, path, kStatisticsProblemFiles, level);
}

} // namespace quorvel
