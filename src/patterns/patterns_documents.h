// The three Patterns documents: Designs, Codes and Numbers.
#pragma once

#include "workspace/unit_document.h"

namespace quorvel {

inline constexpr std::uint32_t kDesignsSignature = 19992001;
inline constexpr std::uint32_t kCodesSignature = 19992002;
inline constexpr std::uint32_t kNumbersSignature = 19992003;

class CDesignPatternsDocument : public CUnitDocument {
public:
    CDesignPatternsDocument();
};

class CCodePatternsDocument : public CUnitDocument {
public:
    CCodePatternsDocument();
};

class CNumberPatternsDocument : public CUnitDocument {
public:
    CNumberPatternsDocument();

    // Its problem files: "patpsA", "patpsB" or "patpsC", two digits, ".qvn".
    void AppendProblemFileName(std::string& path, int level) override;
};

} // namespace quorvel
