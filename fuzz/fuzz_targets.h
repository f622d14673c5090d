// The fuzz targets: each takes one input as the program would meet it (a whole document file,
// a document as JSON, a number typed by a pupil, a command line) and returns 0. A fault is a
// sanitizer report or a broken promise, which aborts. The libFuzzer programs and the regression
// test share them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::fuzz {

using TargetFunction = int (*)(const std::uint8_t* data, std::size_t size);

int FuzzGeometryDocument(const std::uint8_t* data, std::size_t size);
int FuzzDesignsDocument(const std::uint8_t* data, std::size_t size);
int FuzzCodesDocument(const std::uint8_t* data, std::size_t size);
int FuzzNumbersDocument(const std::uint8_t* data, std::size_t size);
int FuzzStatisticsDocument(const std::uint8_t* data, std::size_t size);
int FuzzNumberText(const std::uint8_t* data, std::size_t size);
int FuzzCommandLine(const std::uint8_t* data, std::size_t size);
int FuzzDocumentJson(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name; // also the program's name and the folder of its inputs
    TargetFunction function;
};

// Every target, in a fixed order.
const std::vector<Target>& AllTargets();

// Prints `what` and aborts, so that the fuzzer keeps the input.
[[noreturn]] void Broken(const std::string& what);

} // namespace quorvel::fuzz
