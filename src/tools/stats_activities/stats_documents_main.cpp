// quorvel_stats_documents: builds the documents the Statistics investigations open.
// "quorvel_stats_documents <source folder> <class folder>" writes <name>.qvs for every
// <name>.stats of the folder.
#include "tools/class_builder/class_tool.h"
#include "tools/stats_activities/stats_documents.h"

int main(int argc, char* argv[]) {
    using namespace quorvel;
    return RunClassBuilder(
        argc, argv, ".stats",
        [](const std::string& stem, const std::string& text) {
            return CBuiltDocument{stem + ".qvs", BuildStatsActivity(stem, text)->SaveToBytes()};
        },
        {"quorvel_stats_documents <source folder> <class folder>"});
}
