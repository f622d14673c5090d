// A document's problem-set run: mode, position, questions, level and the pool of problems.
#pragma once

#include "workspace/question.h"

#include <cstdint>
#include <vector>

namespace quorvel {

class CArchive;

// Index of the current problem, tries left on it and problems answered correctly.
struct CProblemPosition {
    std::int32_t index = -1;
    std::int32_t triesLeft = 3;
    std::int32_t correct = 0;
    friend bool operator==(const CProblemPosition&, const CProblemPosition&) = default;
};

class CProblemRunState {
public:
    // The problem block: four question records, then question count, tries left, correct
    // answers, current problem index and level.
    void Serialize(CArchive& ar);

    bool problemSetMode() const { return m_problemSetMode; }
    void SetProblemSetMode(bool on) { m_problemSetMode = on; }
    const CProblemPosition& position() const { return m_position; }
    void SetPosition(const CProblemPosition& p) { m_position = p; }
    const CQuestionSet& questions() const { return m_questions; }
    CQuestionSet& questions() { return m_questions; }
    int questionCount() const { return m_questionCount; }
    void SetQuestionCount(int n) { m_questionCount = n; }
    int level() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    int problemCount() const { return m_problemCount; }
    void SetProblemCount(int n) { m_problemCount = n; }
    // How many problems the view counts ("3 of 5"), kept so a restart can show it again.
    int viewProblemCount() const { return m_viewProblemCount; }
    void SetViewProblemCount(int n) { m_viewProblemCount = n; }

    // The problem numbers not yet drawn.
    const std::vector<std::int32_t>& pool() const { return m_pool; }
    void ClearPool() { m_pool.clear(); }
    // 1..problem count.
    void RefillPool();
    // Takes a number at random from the pool and closes the gap, so that every number is drawn
    // once before any repeats; 0 when the pool is empty.
    int TakeFromPool();

private:
    bool m_problemSetMode = false;
    CProblemPosition m_position;
    CQuestionSet m_questions;
    std::int32_t m_questionCount = 0;
    std::vector<std::int32_t> m_pool;
    std::int32_t m_level = 0;
    std::int32_t m_problemCount = 10;
    int m_viewProblemCount = 5;
};

} // namespace quorvel
