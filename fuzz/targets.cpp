// The list of fuzz targets, by program name.
#include "fuzz/fuzz_targets.h"

namespace quorvel::fuzz {

const std::vector<Target>& AllTargets() {
    static const std::vector<Target> targets = {
        {"fuzz_geometry_document", FuzzGeometryDocument},
        {"fuzz_designs_document", FuzzDesignsDocument},
        {"fuzz_codes_document", FuzzCodesDocument},
        {"fuzz_numbers_document", FuzzNumbersDocument},
        {"fuzz_statistics_document", FuzzStatisticsDocument},
        {"fuzz_number_text", FuzzNumberText},
        {"fuzz_command_line", FuzzCommandLine},
        {"fuzz_document_json", FuzzDocumentJson},
    };
    return targets;
}

} // namespace quorvel::fuzz
