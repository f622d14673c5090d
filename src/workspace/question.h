// A problem's question: its prompt, up to five choices and the answer values a unit compares.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quorvel {

class CArchive;

inline constexpr int kQuestionRecords = 4;

struct CQuestion {
    std::string prompt = "1 - 1 = ?";
    std::array<std::string, 5> choices;
    std::int32_t type = 0;
    double answer = 0.0;        // first answer value
    std::int32_t partsMask = 0; // bit n: answer value n is part of the question
    std::array<double, 7> moreAnswers{};

    friend bool operator==(const CQuestion&, const CQuestion&) = default;

    // Answer value n (0 is the first answer value).
    double AnswerValue(int n) const { return n == 0 ? answer : moreAnswers.at(n - 1); }

    // The six strings, int32 type, int32 parts mask, then the eight doubles.
    void Serialize(CArchive& ar);
};

using CQuestionSet = std::array<CQuestion, kQuestionRecords>;

} // namespace quorvel
