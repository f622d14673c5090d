// Running machines without a page: a teacher checks what a chain of machines gives
// (`qvtool chain`) or what every supermachine of a document makes (`qvtool run`). The machines
// run through the page's own controller, on timers that a simulated clock fires in order.
#pragma once

#include "numbers/number.h"
#include "patterns/patterns_documents.h"

#include <string>
#include <vector>

namespace quorvel {

class CNumberCardManipulative;

// One machine of a chain: its two inputs around its operation. An input "_" is the previous
// machine's output delivered to that hopper; any other text is a card as a pupil types it.
struct CChainMachine {
    std::string input1;
    int operation = -1; // 0 +, 1 −, 2 ×, 3 ÷, −1 none chosen
    std::string input2;
};

struct CRunOutcome {
    bool ok = false;
    // The last machine's output card as it shows ("2 1/3") and its kind ("Fraction").
    std::string face;
    std::string kind;
    // Otherwise the message that stopped the run, or "Go is not available".
    std::string message;
};

inline constexpr const char* kGoNotAvailable = "Go is not available";

// Links the machines one after another, drops the cards in their hoppers and presses Go.
// `fractional` shows results as fractions instead of decimals.
CRunOutcome RunChain(const std::vector<CChainMachine>& machines, bool fractional);

// Runs every supermachine of the document whose Go can be pressed, as Go would (autotrigger
// included), one after another in the order of their first machines. One line for each output
// card made ("machine 3: 2 1/3 Fraction") or message shown ("machine 3: Division by Zero").
std::vector<std::string> RunSupermachines(CNumberPatternsDocument& doc);

// The face of a number card as one line ("2 1/3", "0.5"), and its value's kind.
std::string CardFaceText(const CNumberCardManipulative& card);
const char* NumberKindName(const CNumber& value);

} // namespace quorvel
