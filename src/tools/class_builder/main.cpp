// quorvel_class_builder: builds the class folder's Tiles and Tessellations documents from their
// sources. "quorvel_class_builder <source folder> <class folder>" writes <name>.qvg for every
// <name>.tess; "quorvel_class_builder --edges" lists the shapes' edges for source writers.
#include "tools/class_builder/class_builder.h"
#include "tools/class_builder/class_tool.h"

#include <iostream>

int main(int argc, char* argv[]) {
    using namespace quorvel;
    if (argc == 2 && std::string(argv[1]) == "--edges") {
        std::cout << DescribeSourceShapes();
        return 0;
    }
    return RunClassBuilder(
        argc, argv, ".tess",
        [](const std::string& stem, const std::string& text) {
            CClassDocument built = BuildClassDocument(stem, text);
            return CBuiltDocument{built.name + ".qvg", built.doc->SaveToBytes()};
        },
        {"quorvel_class_builder <source folder> <class folder>", "quorvel_class_builder --edges"});
}
