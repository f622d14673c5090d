// The class folder's "Mystery Machines" problem files as a pupil meets them: each opens as a
// problem with its questions, is the document its source grows, runs every card it offers to
// the value its source's machines give, and takes its source's machines as the right answer
// and other machines as wrong.
#include "patterns/headless.h"
#include "patterns/number_machine.h"
#include "patterns/numbers_controller.h"
#include "problemsets/problem_files.h"
#include "tools/pattern_activities/mystery_problems.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

const fs::path kClassDir = QUORVEL_CLASS_DIR;
const fs::path kSourceDir = QUORVEL_PATTERN_SOURCE_DIR;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CPoint Centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The page over a problem file opened as a run opens it.
struct Pupil {
    explicit Pupil(const fs::path& file) {
        doc.SetHost(&host);
        auto t = std::make_unique<headless::CSimulatedTimers>();
        timers = t.get();
        c = std::make_unique<CNumbersViewController>(doc, window, std::move(t),
                                                     std::make_unique<headless::CFixedMetrics>());
        const std::string text = ReadText(file);
        std::string error;
        opened = doc.LoadFromBytes({text.begin(), text.end()}, &error) == OpenResult::Opened;
        EXPECT_TRUE(opened) << error;
    }
    std::vector<CNumberMachine*> Machines() const {
        std::vector<CNumberMachine*> out;
        for (const auto& m : doc.manipulatives())
            if (m->GetType() == kTypeNumberMachine)
                out.push_back(static_cast<CNumberMachine*>(m.get()));
        return out;
    }
    // Drops the card on the first machine and runs the supermachine; the output card's value.
    double Run(CNumberCardManipulative& card, CNumberMachine& first, CNumberMachine& last) {
        const CPoint from = Centre(card.rect());
        c->MouseDown(from, false, false);
        c->MouseMove(Centre(first.Hopper(1)));
        c->MouseUp(Centre(first.Hopper(1)));
        c->PressGo(first);
        while (timers->FireNext()) {
        }
        EXPECT_FALSE(last.outputCards().empty());
        return last.outputCards().empty() ? std::nan("")
                                          : last.outputCards().front()->GetValue().ToDouble();
    }
    std::string Check(const std::vector<CMachineStep>& steps,
                      const std::vector<std::string>& values) {
        c->prompt().SetQuestions(doc.questions(), doc.questionCount());
        for (std::size_t k = 0; k < steps.size(); ++k) {
            c->prompt().SetNumberText(kNumberFieldIds.at(k), values[k]);
            for (int spin = 0; spin <= steps[k].operation; ++spin)
                c->prompt().Spin(kOperatorUpIds.at(k));
        }
        host.prompter.messages.clear();
        c->OnCheck();
        return host.prompter.messages.empty() ? "" : host.prompter.messages.back();
    }

    headless::CHeadlessHost host;
    CNumberPatternsDocument doc;
    headless::CHeadlessWindow window;
    headless::CSimulatedTimers* timers = nullptr;
    std::unique_ptr<CNumbersViewController> c;
    bool opened = false;
};

TEST(MysteryProblemFiles, EveryFileIsTheProblemItsSourceGrowsAndItsMachinesAnswerIt) {
    int perLevel[3] = {};
    for (const auto& entry : fs::directory_iterator(kSourceDir)) {
        const std::string name = entry.path().stem().string(); // "patpsB03"
        if (name.rfind("patps", 0) != 0)
            continue;
        SCOPED_TRACE(name);
        const std::string file = name + ".qvn";
        const CMysteryProblem grown =
            BuildMysteryProblem(name, ParseClassSource(ReadText(entry.path())));
        const CMysteryProblemSource& source = grown.source;
        ++perLevel[source.level];
        const std::string built = ReadText(kClassDir / file);
        EXPECT_TRUE(std::vector<std::uint8_t>(built.begin(), built.end()) ==
                    grown.activity.doc->SaveToBytes())
            << "the built file is not what its source grows";

        Pupil pupil(kClassDir / file);
        ASSERT_TRUE(pupil.opened);
        EXPECT_TRUE(pupil.doc.problemSetMode());
        EXPECT_EQ(pupil.doc.options().mysteryTool, 0);
        ASSERT_EQ(pupil.doc.questionCount(), 4);
        const auto machines = pupil.Machines();
        ASSERT_EQ(machines.size(), 2u);
        for (const CNumberMachine* m : machines) {
            EXPECT_NE(m->mystery(), 0);
            EXPECT_TRUE(TypeableAnswer(m->builtInCard(2).text()));
        }

        // Each card comes out as the source's machines make it.
        const CLinearFunction f = ComposeSteps(source.steps);
        std::vector<CNumberCardManipulative*> cards;
        for (const auto& m : pupil.doc.manipulatives())
            if (m->GetType() == kTypeNumberCard)
                cards.push_back(static_cast<CNumberCardManipulative*>(m.get()));
        ASSERT_EQ(cards.size(), source.cards.size());
        for (CNumberCardManipulative* card : cards) {
            const double x = card->GetValue().ToDouble();
            EXPECT_NEAR(pupil.Run(*card, *machines[0], *machines[1]), f.slope * x + f.offset, 1e-9)
                << x;
        }

        EXPECT_EQ(pupil.Check(source.steps, source.builtInTexts), "Your answer is correct.");
        // Another first built-in input makes another function.
        std::vector<std::string> otherValues = source.builtInTexts;
        otherValues[0] = otherValues[0] == "7" ? "8" : "7";
        EXPECT_NE(pupil.Check(source.steps, otherValues), "Your answer is correct.");
    }
    for (int level = 0; level < 3; ++level)
        EXPECT_EQ(perLevel[level], kNumbersProblemsPerLevel[static_cast<std::size_t>(level)]);
}

} // namespace
} // namespace quorvel
