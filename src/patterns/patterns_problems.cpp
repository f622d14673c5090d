// The Numbers problem-set rule ("Mystery Machines") and its prompt editor.
#include "patterns/patterns_problems.h"

#include "numbers/number.h"
#include "numbers/number_exceptions.h"
#include "patterns/number_machine.h"
#include "patterns/numbers_controller.h"
#include "problemsets/authoring.h"
#include "problemsets/problem_files.h"
#include "workspace/document_host.h"
#include "workspace/string_table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

namespace quorvel {

namespace {

bool Close(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    return std::fabs(a - b) <= 1e-9 * std::max({std::fabs(a), std::fabs(b), 1e-300}) || a == b;
}

CNumberMachine* FirstNumberMachine(const CUnitDocument::ManipulativeList& list) {
    for (const auto& m : list)
        if (m->GetType() == kTypeNumberMachine)
            return static_cast<CNumberMachine*>(m.get());
    return nullptr;
}

// Walks down the first inputs from the head through the links, then takes each machine's step
// from the first machine to the last. A loop in an untrusted file ends the walk, and a long
// chain costs no stack.
int CollectFrom(CPatternManipulative* head, std::vector<CMachineStep>& steps) {
    std::vector<const CNumberMachine*> chain;
    std::set<const CPatternManipulative*> seen;
    for (CPatternManipulative* m = head;
         m && m->GetType() == kTypeNumberMachine && seen.insert(m).second;) {
        const auto* machine = static_cast<const CNumberMachine*>(m);
        chain.push_back(machine);
        CPatternManipulative* in = machine->input1();
        m = in && in->IsLink() ? in->input1() : nullptr;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const CNumberMachine& m = **it;
        if (m.operation() == kNoOperation)
            return kMsgSelectEachOperation;
        if (!m.IsBuiltIn(2))
            return kMsgSecondInputBuiltIn;
        const CNumberCardManipulative& card = m.builtInCard(2);
        if (!card.HasValue())
            return 0;
        steps.push_back({m.operation(), card.GetValue().ToDouble()});
    }
    return -1;
}

std::string Text(int id) {
    return std::string(LoadString(id).value_or(""));
}

} // namespace

CLinearFunction ComposeSteps(const std::vector<CMachineStep>& steps) {
    CLinearFunction f;
    for (const CMachineStep& s : steps) {
        switch (s.operation) {
        case 0:
            f.offset += s.value;
            break;
        case 1:
            f.offset -= s.value;
            break;
        case 2:
            f.slope *= s.value;
            f.offset *= s.value;
            break;
        case 3:
            f.slope /= s.value;
            f.offset /= s.value;
            break;
        default:
            // An operation the check does not know makes a function that matches nothing.
            f.slope = std::nan("");
            break;
        }
    }
    return f;
}

bool SameFunction(const CLinearFunction& a, const CLinearFunction& b) {
    return Close(a.slope, b.slope) && Close(a.offset, b.offset);
}

CMysterySteps CollectMysterySteps(const CUnitDocument::ManipulativeList& list) {
    CMysterySteps out;
    CNumberMachine* first = FirstNumberMachine(list);
    if (!first) {
        out.refusal = kMsgNoFunctionMachines;
        return out;
    }
    out.refusal = CollectFrom(first->Head(), out.steps);
    return out;
}

CAnswerSteps ReadAnswerSteps(const CProblemPrompt& prompt) {
    CAnswerSteps out;
    std::size_t operators = 0, values = 0;
    auto step = [&out](std::size_t n) -> CMachineStep& {
        if (out.steps.size() <= n)
            out.steps.resize(n + 1, CMachineStep{-1, std::nan("")});
        return out.steps[n];
    };
    for (const CPromptControl& c : prompt.controls()) {
        if (c.kind == PromptControlKind::OperatorField) {
            const int op = prompt.OperatorIndex(c.id);
            out.missing = out.missing || op < 0;
            step(operators++).operation = op;
        } else if (c.kind == PromptControlKind::NumberField) {
            const std::string text = prompt.FieldText(c.id);
            CMachineStep& s = step(values++);
            if (text.find_first_not_of(' ') == std::string::npos) {
                out.missing = true;
                continue;
            }
            try {
                s.value = CNumber(text).ToDouble();
            } catch (const CNumberException& e) {
                if (out.unreadable.empty())
                    out.unreadable = e.message();
            }
        }
    }
    return out;
}

std::optional<std::string> CMysteryMachineRule::CheckWorkspace(CProblemSetViewController& view) {
    const CMysterySteps found = CollectMysterySteps(view.GetDocument().manipulatives());
    if (!found.ok())
        return found.refusal == 0 ? std::string() : Text(found.refusal);
    m_machines = ComposeSteps(found.steps);
    return std::nullopt;
}

int CMysteryMachineRule::ReadAnswers(const CProblemPrompt& prompt, CPromptAnswers& answers,
                                     std::string& unreadable) {
    const CAnswerSteps read = ReadAnswerSteps(prompt);
    prompt.ReadAnswers(answers);
    m_answers = read.steps;
    if (read.missing)
        return kAnswerMissing;
    unreadable = read.unreadable;
    return unreadable.empty() ? kAnswersComplete : kAnswerUnreadable;
}

bool CMysteryMachineRule::IsRight(const CQuestionSet&, int, const CPromptAnswers&) {
    return SameFunction(m_machines, ComposeSteps(m_answers));
}

std::string CMysteryMachineRule::LastTryText() const {
    return Text(kMsgMysteryLastTry);
}

void CMysteryMachineRule::OpenWayToSolution(CProblemSetViewController& view) {
    view.ShowViewSolution();
    if (auto* numbers = dynamic_cast<CNumbersViewController*>(&view))
        numbers->EnableMysteryTool();
}

void CMysteryMachineRule::ViewSolution(CProblemSetViewController& view) {
    auto* numbers = dynamic_cast<CNumbersViewController*>(&view);
    if (!numbers)
        return;
    const CMysterySteps found = CollectMysterySteps(view.GetDocument().manipulatives());
    numbers->RevealMysteryMachines();
    if (!found.ok())
        return;
    // The revealed machines' operators and whole built-in inputs go into the answer fields.
    CProblemPrompt& prompt = view.prompt();
    std::size_t operators = 0, values = 0;
    for (const CPromptControl& c : prompt.controls()) {
        if (c.kind == PromptControlKind::OperatorField && operators < found.steps.size())
            prompt.ShowAnswer(c.question, found.steps[operators++].operation);
        if (c.kind == PromptControlKind::NumberField && values < found.steps.size()) {
            const double v = found.steps[values++].value;
            if (v == std::floor(v) && std::fabs(v) < 1000)
                prompt.ShowAnswer(c.question, v);
        }
    }
}

bool CMysteryMachineRule::EditPrompts(CProblemSetViewController& view) {
    auto* numbers = dynamic_cast<CNumbersViewController*>(&view);
    return numbers && numbers->EditPromptQuestions();
}

std::unique_ptr<IProblemRule> MakeNumbersProblemRule() {
    return std::make_unique<CMysteryMachineRule>();
}

// --- prompt editor --------------------------------------------------------------------------

CQuestionSet StandardMysteryQuestions() {
    CQuestionSet set;
    for (std::size_t i = 0; i < set.size(); ++i) {
        set[i] = CQuestion{};
        set[i].prompt = kMysteryQuestionTexts[i];
        set[i].type = i % 2 == 0 ? kNumberQuestion : kOperatorQuestion;
        set[i].partsMask = 1;
    }
    return set;
}

CPatternsPromptEditor::CPatternsPromptEditor(CUnitDocument& doc, IPrompter& prompter)
    : m_doc(doc), m_prompter(prompter) {
    const bool own = doc.questionCount() > 0;
    const CQuestionSet set = own ? doc.questions() : StandardMysteryQuestions();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool used = !own || static_cast<int>(i) < doc.questionCount();
        const int type = set[i].type;
        entries[i].kind =
            used && (type == kOperatorQuestion || type == kNumberQuestion) ? type : -1;
        entries[i].text = used ? set[i].prompt : std::string();
    }
    if (own)
        level = doc.level();
    // A problem file opened for editing keeps its number.
    const std::string& path = doc.files().filePath();
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    for (int l = kLevelA; l <= kLevelC; ++l) {
        const std::string stem = kNumbersProblemFiles.stems[static_cast<std::size_t>(l)];
        if (name.size() == stem.size() + 6 && name.compare(0, stem.size(), stem) == 0) {
            const int n = std::atoi(name.c_str() + stem.size());
            if (n > 0 && quorvel::ProblemFileName(kNumbersProblemFiles, l, n) == name) {
                problem = n;
                level = l;
            }
        }
    }
}

void CPatternsPromptEditor::Next() {
    problem = std::min(problem + 1, 99);
}

void CPatternsPromptEditor::Previous() {
    problem = std::max(problem - 1, 1);
}

std::string CPatternsPromptEditor::ProblemFileName() const {
    return quorvel::ProblemFileName(kNumbersProblemFiles, level, problem);
}

bool CPatternsPromptEditor::OnOK() {
    bool complete = level >= kLevelA && level <= kLevelC;
    int used = 0;
    for (const Entry& e : entries) {
        const bool hasText = e.text.find_first_not_of(" \t\r\n") != std::string::npos;
        if (e.kind < 0 && !hasText)
            continue; // an unused question
        complete = complete && e.kind >= 0 && hasText && used == &e - entries.data();
        ++used;
    }
    if (!AcceptQuestion(m_prompter, complete && used > 0, MessageIcon::None))
        return false;
    // A mystery machine that divides by 0 could never be answered.
    const CMysterySteps found = CollectMysterySteps(m_doc.manipulatives());
    for (const CMachineStep& s : found.steps) {
        if (s.operation == 3 && s.value == 0.0) {
            m_prompter.MessageBox(CDivisionByZeroException().message(), MessageIcon::Exclamation);
            return false;
        }
    }
    CQuestionSet set;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        set[i].prompt = entries[i].text.empty() ? CQuestion{}.prompt : entries[i].text;
        set[i].type = entries[i].kind < 0 ? kTextQuestion : entries[i].kind;
        set[i].partsMask = entries[i].kind < 0 ? 0 : 1;
    }
    ReplaceQuestions(m_doc, set, used);
    m_doc.SetLevel(level);
    if (const IDocumentHost* host = m_doc.host())
        m_doc.files().SetFilePath(host->Directories().classDir + "/" + ProblemFileName());
    return true;
}

} // namespace quorvel
