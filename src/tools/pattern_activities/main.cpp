// quorvel_pattern_activities: builds the documents the Patterns investigations open.
// "quorvel_pattern_activities <source folder> <class folder>" writes <name>.qvn, .qvc or .qvd
// for every <name>.txt of the folder.
#include "tools/class_builder/class_tool.h"
#include "tools/pattern_activities/pattern_activities.h"

int main(int argc, char* argv[]) {
    using namespace quorvel;
    return RunClassBuilder(
        argc, argv, ".txt",
        [](const std::string& stem, const std::string& text) {
            const CPatternActivity built = BuildPatternActivity(stem, text);
            return CBuiltDocument{built.name + "." + built.extension, built.doc->SaveToBytes()};
        },
        {"quorvel_pattern_activities <source folder> <class folder>"});
}
