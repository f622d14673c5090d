// quorvel_stats_activities: builds the Statistics class documents.
// "quorvel_stats_activities <source folder> <class folder>" writes <name>.qvs
// for every <name>.txt of the folder.
#include "tools/class_builder/class_tool.h"
#include "tools/stats_activities/stats_activities.h"

int main(int argc, char* argv[]) {
    using namespace quorvel;
    return RunClassBuilder(argc, argv, ".txt",
                           [](const std::string& stem, const std::string& text) {
                               const CStatsActivity built = BuildStatsActivity(stem, text);
                               return CBuiltDocument{built.name + ".qvs", built.doc->SaveToBytes()};
                           },
                           {"quorvel_stats_activities <source folder> <class folder>"});
}
