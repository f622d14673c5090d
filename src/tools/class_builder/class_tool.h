// The command line every class-material builder shares: "<tool> <source folder> <class folder>"
// builds every "<name><extension>" source of the folder, in name order, into the class folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One built document: its file name in the class folder and its bytes.
struct CBuiltDocument {
    std::string fileName;
    std::vector<std::uint8_t> bytes;
};

// Builds one source from its file's stem and text; throws CSourceError on a fault in it.
using ClassSourceBuilder =
    std::function<CBuiltDocument(const std::string& stem, const std::string& text)>;

// Runs the builder over the folder named on the command line. Each fault is reported on
// standard error as "<file>:<line>: <message>" and the others are still built. Returns the
// process's exit code: 0 when every source was built and written, 1 otherwise, 2 on a wrong
// command line (with `usage`, a line per form, after "usage: ").
int RunClassBuilder(int argc, char* argv[], std::string_view extension,
                    const ClassSourceBuilder& build, const std::vector<std::string>& usage);

} // namespace quorvel
