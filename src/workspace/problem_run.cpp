// Problem-set run state: the problem block and the pool of problem numbers.
#include "workspace/problem_run.h"

#include "workspace/archive.h"
#include "workspace/random.h"

#include <cstddef>

namespace quorvel {

void CProblemRunState::Serialize(CArchive& ar) {
    {
        CArchive::ArrayScope questions(ar, "questions");
        for (std::size_t i = 0; i < m_questions.size(); ++i) {
            CArchive::Item item(ar, i);
            m_questions[i].Serialize(ar);
        }
    }
    ar.Exchange(m_questionCount, "question count");
    ar.Exchange(m_position.triesLeft, "tries left");
    ar.Exchange(m_position.correct, "correct answers");
    ar.Exchange(m_position.index, "problem index");
    ar.Exchange(m_level, "level");
}

void CProblemRunState::RefillPool() {
    m_pool.clear();
    for (int i = 1; i <= m_problemCount; ++i)
        m_pool.push_back(i);
}

int CProblemRunState::TakeFromPool() {
    if (m_pool.empty())
        return 0;
    const auto n = static_cast<long long>(m_pool.size());
    const auto i = static_cast<std::size_t>(static_cast<long long>(Rand()) * n / (kRandMax + 1));
    const int number = m_pool[i];
    m_pool.erase(m_pool.begin() + static_cast<std::ptrdiff_t>(i));
    return number;
}

} // namespace quorvel
