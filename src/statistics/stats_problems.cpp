// The Statistics problem-set rule ("Did You Mean That?").
#include "statistics/stats_problems.h"

#include "problemsets/authoring.h"
#include "problemsets/problem_files.h"
#include "statistics/stats_board.h"
#include "statistics/stats_document.h"
#include "statistics/summary_statistics.h"
#include "workspace/string_table.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quorvel {

namespace {

// Where each answer kind (its flag's bit) keeps its expected value among the record's further
// answer values: max, mean, median, min, mode, cases, range.
constexpr int kExpectedSlot[kStatsAnswerKinds] = {1, 2, 4, 3, 0, 6, 5};

constexpr Color kFlashColours[3] = {PaletteRGB(255, 0, 0), PaletteRGB(0, 8, 255),
                                    PaletteRGB(8, 156, 0)};

std::string Text(int id) {
    return std::string(LoadString(id).value_or(""));
}

// The mean as the check reads it: written with one decimal, read back.
double RoundedMean(double mean) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", mean);
    return std::strtod(text, nullptr);
}

} // namespace

double StatsExpected(const CQuestion& record, int kind) {
    return record.moreAnswers.at(static_cast<std::size_t>(kExpectedSlot[kind]));
}

void SetStatsExpected(CQuestion& record, int kind, double value) {
    record.moreAnswers.at(static_cast<std::size_t>(kExpectedSlot[kind])) = value;
}

bool StatsAnswerMatches(const CQuestion& record, const CSummaryStatistics& s) {
    const double computed[kStatsAnswerKinds] = {RoundedMean(s.mean()),
                                                s.median(),
                                                s.mode(),
                                                s.minimum(),
                                                s.maximum(),
                                                s.maximum() - s.minimum(),
                                                static_cast<double>(s.usedCases())};
    for (int kind = 0; kind < kStatsAnswerKinds; ++kind)
        if ((record.partsMask & (1 << kind)) != 0 &&
            !(std::fabs(computed[kind] - StatsExpected(record, kind)) <= 0.001))
            return false;
    return true;
}

int SolutionTileRow(const CStatsUnitDocument& doc) {
    const int tile = doc.viewState().problemSetTile;
    const CStatsDataSet& data = doc.dataSet();
    if (tile < 1)
        return -1;
    for (int row = 1; row < data.dataCaseEnd(); ++row)
        if (data.Case(row).caseNumber == tile)
            return row;
    return -1;
}

CStatsProblemRule::~CStatsProblemRule() = default;

void CStatsProblemRule::Attach(CStatsBoardController* board, ITimerHost* timers,
                               EditorRunner editor) {
    StopFlash();
    m_board = board;
    m_timers = timers;
    m_editor = std::move(editor);
}

std::optional<std::string> CStatsProblemRule::CheckWorkspace(CProblemSetViewController& view) {
    if (!m_board || !m_board->tileChanged())
        return Text(kMsgUnignoreFirst);
    auto* doc = dynamic_cast<CStatsUnitDocument*>(&view.GetDocument());
    if (!doc)
        return Text(kMsgGeneralError);
    doc->summary().Recompute();
    m_doc = doc;
    return std::nullopt;
}

bool CStatsProblemRule::IsRight(const CQuestionSet& questions, int count, const CPromptAnswers&) {
    return m_doc && count > 0 && StatsAnswerMatches(questions[0], m_doc->summary());
}

std::string CStatsProblemRule::LastTryText() const {
    return Text(kMsgStatsLastTry);
}

void CStatsProblemRule::ViewSolution(CProblemSetViewController& view) {
    auto* doc = dynamic_cast<CStatsUnitDocument*>(&view.GetDocument());
    const int row = doc ? SolutionTileRow(*doc) : -1;
    if (row < 0)
        return;
    StopFlash();
    doc->dataSet().Case(row).state = CaseState::Used;
    doc->dataSet().NotifyDataChanged();
    doc->UpdateAllViews();
    if (!m_board || !m_timers || !m_timers->StartTimer(kFlashTimer, kFlashMs, this))
        return;
    m_flashRow = row;
    m_flashStep = 0;
    m_board->SetSolutionOutline(row, kFlashColours[0]);
}

void CStatsProblemRule::OnTimer(std::uint32_t id) {
    if (id != kFlashTimer || m_flashStep < 0)
        return;
    if (++m_flashStep < 3 && m_board)
        m_board->SetSolutionOutline(m_flashRow, kFlashColours[m_flashStep]);
    else
        StopFlash();
}

void CStatsProblemRule::StopFlash() {
    if (m_flashStep < 0)
        return;
    m_flashStep = -1;
    if (m_timers)
        m_timers->KillTimer(kFlashTimer);
    if (m_board)
        m_board->SetSolutionOutline(-1, 0);
}

void CStatsProblemRule::ProblemBegun(CProblemSetViewController&) {
    StopFlash();
    if (m_board)
        m_board->SetTileChanged(false);
}

bool CStatsProblemRule::EditPrompts(CProblemSetViewController& view) {
    if (!m_editor)
        return false;
    CStatsPromptEditor editor(view.GetDocument());
    return m_editor(editor);
}

std::unique_ptr<IProblemRule> MakeStatsProblemRule() {
    return std::make_unique<CStatsProblemRule>();
}

// --- prompt editor --------------------------------------------------------------------------

CStatsPromptEditor::CStatsPromptEditor(CUnitDocument& doc) : m_doc(doc) {
    if (doc.questionCount() <= 0)
        return;
    const CQuestion& record = doc.questions()[0];
    level = doc.level();
    question = record.prompt;
    for (int kind = 0; kind < kStatsAnswerKinds; ++kind) {
        Answer& a = answers[static_cast<std::size_t>(kind)];
        a.checked = (record.partsMask & (1 << kind)) != 0;
        if (a.checked) {
            char text[64];
            std::snprintf(text, sizeof text, "%g", StatsExpected(record, kind));
            a.value = text;
        }
    }
}

bool CStatsPromptEditor::OnOK(IPrompter& prompter) {
    CQuestion record;
    record.prompt = question;
    record.type = kTextQuestion;
    record.partsMask = 0;
    bool complete = level >= kLevelA && level <= kLevelC &&
                    question.find_first_not_of(" \t\r\n") != std::string::npos;
    for (int kind = 0; kind < kStatsAnswerKinds; ++kind) {
        const Answer& a = answers[static_cast<std::size_t>(kind)];
        if (!a.checked)
            continue;
        char* end = nullptr;
        const double value = std::strtod(a.value.c_str(), &end);
        complete = complete && !a.value.empty() && end && *end == '\0' && std::isfinite(value);
        record.partsMask |= 1 << kind;
        SetStatsExpected(record, kind, value);
    }
    if (!AcceptQuestion(prompter, complete && record.partsMask != 0))
        return false;
    CQuestionSet set;
    set[0] = record;
    ReplaceQuestions(m_doc, set, 1);
    m_doc.SetLevel(level);
    return true;
}

} // namespace quorvel
