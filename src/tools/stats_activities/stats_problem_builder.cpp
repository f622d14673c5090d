// The "Did You Mean That?" problem files, grown with the Statistics page's own controllers: the
// cases typed into the table, the board shown and auto-arranged, tiles ignored with the ignore
// tool, the solution tile chosen with the right button and the record put in with the
// teacher's prompt editor. A problem is refused unless exactly its solution tile, made Used,
// makes its statement true.
#include "patterns/headless.h"
#include "problemsets/problem_files.h"
#include "statistics/stats_problems.h"
#include "statistics/stats_table_controller.h"
#include "tools/stats_activities/stats_activities.h"

#include <algorithm>

namespace quorvel {

namespace {

using headless::CRecordingPrompter;

StatsColumnFormat FormatNamed(const std::string& word, int line) {
    if (word == "whole")
        return StatsColumnFormat::WholeNumbers;
    if (word == "one-decimal")
        return StatsColumnFormat::OneDecimal;
    if (word == "categories")
        return StatsColumnFormat::Categories;
    throw CSourceError(line, "a column is whole, one-decimal or categories: " + word);
}

// A point where the mouse reaches the tile of `row` (tiles of equal values overlap); a point
// off the tile when none does.
CPoint PointOn(const CStatsBoardController& board, int row) {
    const CRect r = board.TileRect(row);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (board.TileAt({x, y}) == row)
                return {x, y};
    return {r.left - 1, r.top - 1};
}

bool Inside(const CRect& r, const CRect& area) {
    return r.left >= area.left && r.right <= area.right && r.top >= area.top &&
           r.bottom <= area.bottom;
}

void Expect(bool ok, int line, const std::string& what) {
    if (!ok)
        throw CSourceError(line, what);
}

} // namespace

std::vector<int> SolvingTiles(CStatsUnitDocument& doc) {
    std::vector<int> rows;
    CStatsDataSet& data = doc.dataSet();
    if (doc.questionCount() <= 0)
        return rows;
    const CQuestion& record = doc.questions()[0];
    for (int row = 1; row < data.dataCaseEnd(); ++row) {
        CStatsCase& c = data.Case(row);
        if (c.state != CaseState::Ignored || c.inDataStore)
            continue;
        c.state = CaseState::Used;
        doc.summary().Recompute();
        if (StatsAnswerMatches(record, doc.summary()))
            rows.push_back(row);
        c.state = CaseState::Ignored;
    }
    doc.summary().Recompute();
    return rows;
}

std::unique_ptr<CStatsUnitDocument> BuildStatsProblem(const std::string& name,
                                                      const std::vector<CStatement>& statements) {
    const CStatement& head = statements.front();
    Expect(head.words.size() == 2 && head.words[1].size() == 1 &&
               std::string("ABC").find(head.words[1]) != std::string::npos,
           head.line, "the first statement is problem A|B|C");
    const int level = head.words[1][0] - 'A';
    const std::string stem = kStatisticsProblemFiles.stems[static_cast<std::size_t>(level)];
    const int number = name.size() == stem.size() + 2 && name.compare(0, stem.size(), stem) == 0
                           ? std::atoi(name.c_str() + stem.size())
                           : 0;
    Expect(number > 0 && ProblemFileName(kStatisticsProblemFiles, level, number) == name + ".qvs",
           head.line, "a level " + head.words[1] + " problem is named " + stem + "NN");

    auto doc = std::make_unique<CStatsUnitDocument>();
    CRecordingPrompter prompter;
    CStatsTableController table(*doc, &prompter);
    CStatsBoardController& board = table.board();
    CStatsDataSet& data = doc->dataSet();
    CStatsPromptEditor editor(*doc);
    editor.level = level;
    std::vector<int> ignored;
    int solution = -1, row = 0, solutionLine = head.line;
    bool column = false;
    for (std::size_t i = 1; i < statements.size(); ++i) {
        const CStatement& s = statements[i];
        const std::vector<std::string>& w = s.words;
        if (s.head() == "column" && w.size() == 3 && !column) {
            doc->InsertNamedColumn(2, w[1], FormatNamed(w[2], s.line));
            data.SetCellText(0, 1, "Name"); // the cases are pupils, pets' owners ...
            column = true;
        } else if (s.head() == "question" && w.size() == 2) {
            editor.question = w[1];
        } else if (s.head() == "answer" && w.size() == 3) {
            const auto* names = std::begin(kStatsAnswerNames);
            const auto* it = std::find(names, std::end(kStatsAnswerNames), w[1]);
            Expect(it != std::end(kStatsAnswerNames), s.line, "no answer is called " + w[1]);
            editor.answers[static_cast<std::size_t>(it - names)] = {true, w[2]};
        } else if (s.head() == "tile" && w.size() >= 3 && w.size() <= 4 && column) {
            ++row;
            data.EnterCell(row, 1, w[1], true);
            data.EnterCell(row, 2, w[2], true);
            Expect(CellValueText(data, row, 2) == w[2], s.line,
                   "the table took \"" + w[2] + "\" as \"" + CellValueText(data, row, 2) + "\"");
            if (w.size() == 4 && (w[3] == "ignored" || w[3] == "solution"))
                ignored.push_back(row);
            else
                Expect(w.size() == 3, s.line, "a tile is used, ignored or the solution");
            if (w.size() == 4 && w[3] == "solution") {
                Expect(solution < 0, s.line, "a second solution tile");
                solution = row;
                solutionLine = s.line;
            }
        } else {
            throw CSourceError(s.line, "not understood: " + s.head());
        }
    }
    Expect(row > 0 && solution > 0, head.line, "a problem needs tiles and a solution tile");

    // The board on the column, its tiles on the baseline; the ignore tool and the right button
    // as the teacher uses them.
    data.SetCurrentColumn(2);
    table.OnCommand(kCmdDataBoard);
    board.SetUpScale();
    board.AutoArrange();
    for (int r = 1; r <= row; ++r)
        Expect(Inside(board.TileRect(r), board.geometry().tiles), head.line,
               "tile " + std::to_string(r) + " is not on the board");
    for (int r : ignored) {
        board.Press(PointOn(board, r), StatsTool::Ignore);
        board.Release(PointOn(board, r));
        Expect(data.Case(r).state == CaseState::Ignored, head.line,
               "the ignore tool did not take tile " + std::to_string(r));
    }
    Expect(board.ChooseSolutionTile(PointOn(board, solution)), solutionLine,
           "the right button did not choose the solution tile");
    prompter.messages.clear();
    if (!editor.OnOK(prompter))
        throw CSourceError(head.line, "the prompt editor refused the problem: " +
                                          (prompter.messages.empty() ? "" : prompter.messages[0]));
    // The pupil sees the board and the graphs; the mini-table would cover the tallest tiles.
    doc->SetMiniTable(false);
    doc->SetComputerChecked(true);

    const std::vector<int> solving = SolvingTiles(*doc);
    Expect(solving == std::vector<int>{solution}, solutionLine,
           "the statement is made true by " + std::to_string(solving.size()) +
               " tiles, not by the solution tile alone");
    doc->summary().Recompute();
    Expect(!StatsAnswerMatches(doc->questions()[0], doc->summary()), head.line,
           "the statement is true before any tile is un-ignored");
    doc->ClearUndoHistory();
    doc->SetModifiedFlag(false);
    return doc;
}

} // namespace quorvel
