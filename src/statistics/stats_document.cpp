// Statistics document identity.
#include "statistics/stats_document.h"

namespace quorvel {

CStatsUnitDocument::CStatsUnitDocument()
    : CUnitDocument({kStatisticsSignature, "Statistics Unit",
                     "Quorvel (*.qvs)|*.qvs||All Files (*.*)|*.*||", "qvs",
                     "The file you are trying to open is not a Quorvel Statistics document!"}) {}

} // namespace quorvel
