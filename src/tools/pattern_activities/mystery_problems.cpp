// The "Mystery Machines" problem files, grown with the Numbers page's controller.
#include "tools/pattern_activities/mystery_problems.h"

#include "numbers/number.h"
#include "patterns/headless.h"
#include "patterns/number_machine.h"
#include "patterns/numbers_controller.h"
#include "problemsets/problem_files.h"
#include "problemsets/problem_prompt.h"
#include "workspace/tool_palette.h"

#include <algorithm>

namespace quorvel {

namespace {

using namespace headless;

CPoint CentreOf(const CRect& r) {
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

bool Inside(const CRect& inner, const CRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const CRect& a, const CRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string RectText(const CRect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

// Where the machines of a problem stand (their frames' top left corners): the first at the
// top left, the second beside it and a little lower, high enough that its output cards show
// above the prompt window; the cards in a column on the right.
constexpr CPoint kMachinePlaces[] = {{30, 6}, {300, 28}};
constexpr CPoint kFirstCardCentre{620, 36};
constexpr int kCardStep = 44;
constexpr std::size_t kMaxCards = 6;

// The Numbers page's controller over a document, without a screen.
class CPageHands {
public:
    explicit CPageHands(CNumberPatternsDocument& doc) : m_doc(doc) {
        doc.SetHost(&host);
        controller = std::make_unique<CNumbersViewController>(
            doc, m_window, std::make_unique<CSimulatedTimers>(), std::make_unique<CFixedMetrics>());
    }
    ~CPageHands() {
        controller.reset();
        m_doc.SetView(nullptr);
        m_doc.SetHost(nullptr);
    }
    CPageHands(const CPageHands&) = delete;
    CPageHands& operator=(const CPageHands&) = delete;

    // Clicks `at` with the Arrow and types `text` in the box that opens.
    void Type(CPoint at, const std::string& text) {
        controller->MouseDown(at, false, false);
        controller->MouseUp(at);
        controller->EditChanged(text);
        controller->EndEdit();
    }

    CHeadlessHost host;
    std::unique_ptr<CNumbersViewController> controller;

private:
    CNumberPatternsDocument& m_doc;
    CHeadlessWindow m_window;
};

class CProblemBuilder {
public:
    explicit CProblemBuilder(std::string name) {
        m_out.activity.name = std::move(name);
        m_out.activity.extension = "qvn";
        m_out.activity.doc = std::make_unique<CNumberPatternsDocument>();
    }

    CMysteryProblem Run(const std::vector<CStatement>& statements) {
        auto& doc = static_cast<CNumberPatternsDocument&>(*m_out.activity.doc);
        CMysteryProblemSource problem;
        m_line = statements.front().line;
        problem.level = LevelOf(statements.front());
        for (std::size_t i = 1; i < statements.size(); ++i) {
            const CStatement& s = statements[i];
            m_line = s.line;
            if (s.head() == "machine" && s.words.size() == 3) {
                const int op = OperationForText(s.words[1]);
                if (op < 0)
                    Fail("unknown operation \"" + s.words[1] + "\"");
                if (!TypeableAnswer(s.words[2]))
                    Fail("the built-in input \"" + s.words[2] +
                         "\" cannot be typed in the three-character answer field");
                problem.steps.push_back({op, CNumber(s.words[2]).ToDouble()});
                problem.builtInTexts.push_back(s.words[2]);
                m_lines.push_back(s.line);
            } else if (s.head() == "cards" && s.words.size() > 1) {
                problem.cards.assign(s.words.begin() + 1, s.words.end());
                if (problem.cards.size() > kMaxCards)
                    Fail("at most " + std::to_string(kMaxCards) + " cards");
            } else {
                Fail("unknown statement \"" + s.head() + "\"");
            }
        }
        if (problem.steps.size() != 2)
            Fail("a mystery problem has two machines");
        Grow(doc, problem);
        m_out.source = problem;
        return std::move(m_out);
    }

private:
    [[noreturn]] void Fail(const std::string& message) const {
        throw CSourceError(m_line, message);
    }

    int LevelOf(const CStatement& first) {
        if (first.words.size() != 2 || first.words[1].size() != 1 || first.words[1][0] < 'A' ||
            first.words[1][0] > 'C')
            Fail("a problem names its level: problem A, B or C");
        const int level = first.words[1][0] - 'A';
        // The file's name says the level and the problem's number among its level's files.
        const std::string stem = kNumbersProblemFiles.stems[static_cast<std::size_t>(level)];
        const std::string& name = m_out.activity.name;
        const int n = name.size() == stem.size() + 2 && name.rfind(stem, 0) == 0
                          ? std::atoi(name.c_str() + stem.size())
                          : 0;
        if (n < 1 || n > kNumbersProblemsPerLevel[static_cast<std::size_t>(level)] ||
            ProblemFileName(kNumbersProblemFiles, level, n) !=
                name + kNumbersProblemFiles.extension)
            Fail("a level " + first.words[1] + " problem is named " + stem + "01 to " + stem +
                 ProblemNumberText(kNumbersProblemsPerLevel[static_cast<std::size_t>(level)]));
        m_number = n;
        return level;
    }

    void Grow(CNumberPatternsDocument& doc, const CMysteryProblemSource& problem) {
        CPageHands page(doc);
        CNumbersViewController& c = *page.controller;
        std::vector<CNumberMachine*> machines;
        std::vector<std::pair<CRect, int>> placed;
        for (std::size_t i = 0; i < problem.steps.size(); ++i) {
            m_line = m_lines[i];
            const CPoint at = kMachinePlaces[i];
            auto* m = static_cast<CNumberMachine*>(
                c.TakeFromDrawer(NumbersDrawerItem::Machine, {at.x + CNumberMachine::kWidth / 2,
                                                              at.y + CNumberMachine::kHeight / 2}));
            if (!m)
                Fail("the drawer gave no machine");
            c.SetOperation(*m, problem.steps[i].operation);
            c.ToggleBuiltIn(*m, 2);
            page.Type(CentreOf(m->PartRect(MachinePart::BuiltIn2)), problem.builtInTexts[i]);
            if (m->operation() != problem.steps[i].operation || !m->IsBuiltIn(2) ||
                m->builtInCard(2).text() != problem.builtInTexts[i])
                Fail("the machine did not take its operation and built-in input");
            if (!machines.empty()) {
                c.SelectTool(ToolCommand(kToolLinking));
                c.MouseDown(CentreOf(machines.back()->Hopper(0)), false, false);
                c.MouseUp(CentreOf(m->Hopper(1)));
                c.SelectTool(ToolCommand(kToolArrow));
                if (!m->input1() || !m->input1()->IsLink())
                    Fail("the Linking tool did not join the machines: " +
                         page.host.prompter.messages.back());
            }
            CRect bounds;
            m->GetBounds(bounds);
            Place(placed, bounds);
            machines.push_back(m);
        }
        // The supermachine's output card lands under its last hopper, where the pupil must
        // see it: room for it, and for the card the next run pushes it down with.
        CFixedMetrics metrics;
        const CSize cardSize = NumberCardSize(metrics);
        const CPoint out = machines.back()->OutputCardPlace(0, cardSize);
        Place(placed, {out.x, out.y, out.x + cardSize.cx, out.y + 2 * cardSize.cy});
        m_line = m_lines.back();
        for (std::size_t i = 0; i < problem.cards.size(); ++i) {
            const CPoint centre{kFirstCardCentre.x,
                                kFirstCardCentre.y + static_cast<int>(i) * kCardStep};
            auto* card = static_cast<CNumberCardManipulative*>(
                c.TakeFromDrawer(NumbersDrawerItem::Card, centre));
            page.Type(CentreOf(card->rect()), problem.cards[i]);
            if (card->text() != problem.cards[i] || !card->HasValue())
                Fail("the card \"" + problem.cards[i] + "\" is no number");
            Place(placed, card->rect());
        }
        // The Mystery tool on the supermachine hides both machines' workings.
        c.SelectTool(ToolCommand(kToolMystery));
        c.MysteryAt(BodyPoint(*machines.back()));
        for (const CNumberMachine* m : machines)
            if (m->mystery() == 0)
                Fail("the Mystery tool left a machine open");

        // The pupil meets the Mystery tool only after the last wrong try; the answers are
        // checked by the computer.
        CNumbersOptions options = doc.options();
        options.mysteryTool = 0;
        options.computerChecked = 1;
        doc.SetOptions(options);
        CPatternsPromptEditor editor(doc, page.host.prompter);
        editor.level = problem.level;
        editor.problem = m_number;
        page.host.prompter.messages.clear();
        if (!editor.OnOK())
            Fail("the prompt editor refused the problem: " + page.host.prompter.messages.back());
        const CMysterySteps found = CollectMysterySteps(doc.manipulatives());
        if (!found.ok() || found.steps != problem.steps)
            Fail("the supermachine does not show the steps its source names");
        c.SelectTool(ToolCommand(kToolArrow));
        doc.DeselectAll();
        doc.files().SetFilePath({});
        doc.SetPresentViewRect(kNumbersClassView);
        doc.SetPaneOffset({});
        doc.ClearUndoHistory();
        doc.SetModifiedFlag(false);
    }

    // Everything stands above the prompt window and clear of what stands already.
    void Place(std::vector<std::pair<CRect, int>>& placed, const CRect& r) const {
        if (!Inside(r, kNumbersProblemArea))
            Fail(RectText(r) + " reaches out of " + RectText(kNumbersProblemArea));
        for (const auto& [other, line] : placed)
            if (Overlap(r, other))
                Fail(RectText(r) + " overlaps what line " + std::to_string(line) + " placed");
        placed.emplace_back(r, m_line);
    }

    static CPoint BodyPoint(const CNumberMachine& m) {
        const CRect b = m.Body();
        for (int y = b.top; y < b.bottom; y += 2)
            for (int x = b.left; x < b.right; x += 2)
                if (m.PartAt({x, y}) == MachinePart::Body)
                    return {x, y};
        return CentreOf(b);
    }

    CMysteryProblem m_out;
    int m_line = 1;
    int m_number = 0;
    std::vector<int> m_lines;
};

} // namespace

bool TypeableAnswer(std::string_view text) {
    int value = 0;
    const std::string s(text);
    return !s.empty() && NumberFieldAccepts(s) && ParseNumberField(s, value);
}

CMysteryProblem BuildMysteryProblem(const std::string& name,
                                    const std::vector<CStatement>& statements) {
    if (statements.empty())
        throw CSourceError(1, "an empty source");
    return CProblemBuilder(name).Run(statements);
}

} // namespace quorvel
