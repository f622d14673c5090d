// Machines run without a page, on a simulated clock.
#include "patterns/numbers_runner.h"

#include "patterns/headless.h"
#include "patterns/numbers_controller.h"

#include <algorithm>
#include <limits>
#include <map>

namespace quorvel {

namespace {
using namespace headless;

// A supermachine whose inputs never run out (two built-in inputs) is stopped after this many
// runs.
constexpr int kMaxSeriesRuns = 100;
constexpr const char* kSeriesStopped = "stopped after 100 runs";

CPoint CentreOf(const CRect& r) {
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

// The controller over a document, with a clock of its own.
struct CHeadlessPage {
    explicit CHeadlessPage(CNumberPatternsDocument& d) : doc(d) {
        previousHost = doc.host();
        doc.SetHost(&host);
        auto t = std::make_unique<CSimulatedTimers>();
        timers = t.get();
        controller = std::make_unique<CNumbersViewController>(doc, window, std::move(t),
                                                              std::make_unique<CFixedMetrics>());
    }
    ~CHeadlessPage() {
        controller.reset();
        doc.SetView(nullptr);
        doc.SetHost(previousHost);
    }
    CHeadlessPage(const CHeadlessPage&) = delete;
    CHeadlessPage& operator=(const CHeadlessPage&) = delete;

    // Clicks the box of a card or a machine and types `text` in it.
    void Type(CPoint at, const std::string& text) {
        controller->MouseDown(at, false, false);
        controller->MouseUp(at);
        controller->EditChanged(text);
        controller->EndEdit();
    }
    // Presses Go and lets the clock run until the supermachine rests; a series that would
    // never end is stopped.
    void RunFrom(CNumberMachine& first) {
        controller->PressGo(first);
        CNumberMachine* head = static_cast<CNumberMachine*>(first.Head());
        const std::size_t before = head->outputCards().size();
        while (timers->FireNext()) {
            if (head->outputCards().size() - before >= static_cast<std::size_t>(kMaxSeriesRuns) &&
                first.goText() == "Stop") {
                controller->PressGo(first);
                host.prompter.messages.push_back(kSeriesStopped);
            }
        }
    }

    CNumberPatternsDocument& doc;
    IDocumentHost* previousHost = nullptr;
    CHeadlessHost host;
    CHeadlessWindow window;
    CSimulatedTimers* timers = nullptr;
    std::unique_ptr<CNumbersViewController> controller;
};

} // namespace

const char* NumberKindName(const CNumber& value) {
    switch (value.kind()) {
    case NumberKind::Integer:
        return "Integer";
    case NumberKind::Fraction:
        return "Fraction";
    case NumberKind::Decimal:
        return "Decimal";
    }
    return "";
}

std::string CardFaceText(const CNumberCardManipulative& card) {
    const CNumberCardManipulative::Face face = card.GetFace();
    if (!face.fraction)
        return face.whole;
    std::string text = face.whole.empty() ? "" : face.whole + " ";
    return text + face.numerator + "/" + face.denominator;
}

CRunOutcome RunChain(const std::vector<CChainMachine>& machines, bool fractional) {
    CNumberPatternsDocument doc;
    CNumbersOptions options = doc.options();
    options.decimalOutput = fractional ? 0 : 1;
    doc.SetOptions(options);
    CHeadlessPage page(doc);
    CNumbersViewController& c = *page.controller;

    std::vector<CNumberMachine*> made;
    for (std::size_t i = 0; i < machines.size(); ++i) {
        const int step = static_cast<int>(i);
        const CPoint centre{200 + step * 260, 150 + step * 300};
        auto* m =
            static_cast<CNumberMachine*>(c.TakeFromDrawer(NumbersDrawerItem::Machine, centre));
        made.push_back(m);
        if (machines[i].operation >= 0)
            page.Type(CentreOf(m->PartRect(MachinePart::Operator)),
                      OperationSymbol(machines[i].operation));
        for (int which = 1; which <= 2; ++which) {
            const std::string& input = which == 1 ? machines[i].input1 : machines[i].input2;
            if (input == "_" && i > 0) {
                c.SelectTool(ToolCommand(kToolLinking));
                c.MouseDown(CentreOf(made[i - 1]->Hopper(0)), false, false);
                c.MouseUp(CentreOf(m->Hopper(which)));
                c.SelectTool(ToolCommand(kToolArrow));
                continue;
            }
            auto* card = static_cast<CNumberCardManipulative*>(
                c.TakeFromDrawer(NumbersDrawerItem::Card, CentreOf(m->Hopper(which))));
            if (!input.empty())
                page.Type(CentreOf(card->rect()), input);
        }
    }
    CRunOutcome outcome;
    if (made.empty())
        return outcome;
    page.host.prompter.messages.clear();
    auto* first = static_cast<CNumberMachine*>(made.back()->FirstMachine());
    if (!first || !first->goEnabled()) {
        outcome.message = kGoNotAvailable;
        return outcome;
    }
    page.RunFrom(*first);
    if (!page.host.prompter.messages.empty()) {
        outcome.message = page.host.prompter.messages.front();
        return outcome;
    }
    const auto& out = made.back()->outputCards();
    if (out.empty()) {
        outcome.message = kGoNotAvailable;
        return outcome;
    }
    const auto& card = static_cast<const CNumberCardManipulative&>(*out.front());
    outcome.ok = true;
    outcome.face = CardFaceText(card);
    outcome.kind = NumberKindName(card.GetValue());
    return outcome;
}

std::vector<std::string> RunSupermachines(CNumberPatternsDocument& doc) {
    CHeadlessPage page(doc);
    std::vector<std::string> lines;
    // The first machines in list order, each supermachine once.
    std::vector<CNumberMachine*> firsts;
    for (const auto& m : doc.manipulatives()) {
        if (m->GetType() != kTypeNumberMachine)
            continue;
        auto* first = static_cast<CFunctionMachine&>(*m).FirstMachine();
        if (first && first->GetType() == kTypeNumberMachine &&
            std::find(firsts.begin(), firsts.end(), first) == firsts.end())
            firsts.push_back(static_cast<CNumberMachine*>(first));
    }
    // Named by their places before any run takes cards away.
    std::vector<std::string> names;
    for (CNumberMachine* first : firsts)
        names.push_back("machine " + std::to_string(doc.IndexOf(first)) + ": ");
    for (std::size_t f = 0; f < firsts.size(); ++f) {
        CNumberMachine* first = firsts[f];
        const std::string& name = names[f];
        if (!first->goEnabled()) {
            lines.push_back(name + kGoNotAvailable);
            continue;
        }
        auto* head = static_cast<CNumberMachine*>(first->Head());
        const std::size_t before = head->outputCards().size();
        page.host.prompter.messages.clear();
        page.RunFrom(*first);
        const auto& out = head->outputCards();
        // Newest first: print them in the order they were made.
        for (std::size_t i = out.size() - before; i-- > 0;) {
            const auto& card = static_cast<const CNumberCardManipulative&>(*out[i]);
            lines.push_back(name + CardFaceText(card) + " " + NumberKindName(card.GetValue()));
        }
        for (const std::string& message : page.host.prompter.messages)
            lines.push_back(name + message);
    }
    return lines;
}

} // namespace quorvel
