// The prompt window's model: controls by question type, the spin rules and the answers.
#include "problemsets/problem_prompt.h"

#include <algorithm>
#include <charconv>

namespace quorvel {

int NextOperator(int index) {
    return index < 0 || index >= kOperatorCount - 1 ? 0 : index + 1;
}

int PreviousOperator(int index) {
    return index <= 0 || index >= kOperatorCount ? kOperatorCount - 1 : index - 1;
}

unsigned char OperatorSymbolCode(int index) {
    static constexpr unsigned char kCodes[kOperatorCount] = {0x2B, 0x2D, 0xB4, 0xB8};
    return index >= 0 && index < kOperatorCount ? kCodes[index] : 0;
}

std::string OperatorText(int index) {
    // The Symbol font's plus, minus, times and divided-by as the Unicode characters.
    static constexpr const char* kTexts[kOperatorCount] = {"+", "\u2212", "\u00D7", "\u00F7"};
    return index >= 0 && index < kOperatorCount ? kTexts[index] : "";
}

bool ParseNumberField(const std::string& text, int& value) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return false;
    const auto last = text.find_last_not_of(' ');
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end;
}

bool NumberFieldAccepts(const std::string& text) {
    if (text.size() > static_cast<std::size_t>(kNumberFieldMaxChars))
        return false;
    const std::ptrdiff_t sign = !text.empty() && text.front() == '-' ? 1 : 0;
    return std::all_of(text.begin() + sign, text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::string NumberSpinUp(const std::string& text) {
    int value = 0;
    if (text.find_first_not_of(' ') == std::string::npos)
        return "1";
    if (!ParseNumberField(text, value))
        value = 0;
    return value < kNumberSpinTop ? std::to_string(value + 1) : "0";
}

std::string NumberSpinDown(const std::string& text) {
    int value = 0;
    if (text.find_first_not_of(' ') == std::string::npos)
        return std::to_string(kNumberSpinTop);
    if (!ParseNumberField(text, value))
        value = 0;
    return value > 0 ? std::to_string(value - 1) : std::to_string(kNumberSpinTop);
}

void CProblemPrompt::SetQuestions(const CQuestionSet& questions, int count) {
    m_questions = questions;
    m_count = std::clamp(count, 0, kQuestionRecords);
    m_controls.clear();
    m_entries.clear();
    m_choiceQuestion = -1;
    m_choice = -1;
    m_choicesEnabled = true;
    m_started = false;
    std::size_t operators = 0, numbers = 0;
    for (int q = 0; q < m_count; ++q) {
        const CQuestion& question = m_questions[static_cast<std::size_t>(q)];
        switch (question.type) {
        case kOperatorQuestion:
            if (operators < kOperatorFieldIds.size()) {
                const int field = kOperatorFieldIds[operators];
                m_controls.push_back({field, PromptControlKind::OperatorField, q, field, -1});
                m_controls.push_back(
                    {kOperatorUpIds[operators], PromptControlKind::SpinUp, q, field, -1});
                m_controls.push_back(
                    {kOperatorDownIds[operators], PromptControlKind::SpinDown, q, field, -1});
                m_entries.push_back({field, Entry{q, -1, {}}});
                ++operators;
            }
            break;
        case kNumberQuestion:
            if (numbers < kNumberFieldIds.size()) {
                const int field = kNumberFieldIds[numbers];
                m_controls.push_back({field, PromptControlKind::NumberField, q, field, -1});
                m_controls.push_back(
                    {kNumberUpIds[numbers], PromptControlKind::SpinUp, q, field, -1});
                m_controls.push_back(
                    {kNumberDownIds[numbers], PromptControlKind::SpinDown, q, field, -1});
                m_entries.push_back({field, Entry{q, -1, {}}});
                ++numbers;
            }
            break;
        case kChoiceQuestion:
            if (m_choiceQuestion < 0) {
                bool any = false;
                for (int i = 0; i < kChoiceCount; ++i) {
                    if (question.choices[static_cast<std::size_t>(i)].empty())
                        continue;
                    m_controls.push_back({kFirstChoiceId + i, PromptControlKind::Radio, q, 0, i});
                    any = true;
                }
                // Without a choice to pick the question could never be answered.
                if (any)
                    m_choiceQuestion = q;
            }
            break;
        default:
            break;
        }
    }
    Changed();
}

void CProblemPrompt::SetCounter(const std::string& text) {
    m_counter = text;
    Changed();
}

void CProblemPrompt::EnableChoices(bool enabled) {
    m_choicesEnabled = enabled;
    Changed();
}

int CProblemPrompt::ReadAnswers(CPromptAnswers& answers) const {
    answers = CPromptAnswers{};
    int result = kAnswersComplete;
    for (const auto& [field, entry] : m_entries) {
        CPromptAnswer& a = answers[static_cast<std::size_t>(entry.question)];
        int number = 0;
        if (Control(field)->kind == PromptControlKind::OperatorField) {
            a.given = entry.op >= 0;
            a.value = entry.op;
        } else if (ParseNumberField(entry.text, number)) {
            a.given = true;
            a.value = number;
        }
        if (!a.given)
            result = kAnswerMissing;
    }
    if (m_choiceQuestion >= 0) {
        CPromptAnswer& a = answers[static_cast<std::size_t>(m_choiceQuestion)];
        a.given = m_choice >= 0;
        a.value = m_choice;
        if (!a.given)
            result = kAnswerMissing;
    }
    return result;
}

bool CProblemPrompt::Spin(int spinId) {
    const CPromptControl* c = Control(spinId);
    if (!c || (c->kind != PromptControlKind::SpinUp && c->kind != PromptControlKind::SpinDown))
        return false;
    Entry* e = EntryOf(c->field);
    const bool up = c->kind == PromptControlKind::SpinUp;
    if (Control(c->field)->kind == PromptControlKind::OperatorField)
        e->op = up ? NextOperator(e->op) : PreviousOperator(e->op);
    else
        e->text = up ? NumberSpinUp(e->text) : NumberSpinDown(e->text);
    m_started = true;
    Changed();
    return true;
}

bool CProblemPrompt::ChooseRadio(int radioId) {
    const CPromptControl* c = Control(radioId);
    if (!c || c->kind != PromptControlKind::Radio || !m_choicesEnabled)
        return false;
    m_choice = c->choice;
    m_started = true;
    Changed();
    return true;
}

bool CProblemPrompt::SetNumberText(int fieldId, const std::string& text) {
    const CPromptControl* c = Control(fieldId);
    if (!c || c->kind != PromptControlKind::NumberField)
        return false;
    Entry* e = EntryOf(fieldId);
    // Three characters, never cutting a character of a longer UTF-8 text in two.
    std::string kept;
    int chars = 0;
    for (char ch : text) {
        const bool lead = (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
        if (lead && ++chars > kNumberFieldMaxChars)
            break;
        kept += ch;
    }
    if (e->text == kept)
        return true;
    e->text = kept;
    m_started = true;
    Changed();
    return true;
}

void CProblemPrompt::ShowAnswer(int question, double value) {
    if (question == m_choiceQuestion) {
        m_choice = static_cast<int>(value);
    } else {
        for (auto& [field, entry] : m_entries) {
            if (entry.question != question)
                continue;
            if (Control(field)->kind == PromptControlKind::OperatorField)
                entry.op = std::clamp(static_cast<int>(value), -1, kOperatorCount - 1);
            else
                entry.text = std::to_string(static_cast<long long>(value));
        }
    }
    Changed();
}

const CPromptControl* CProblemPrompt::Control(int id) const {
    const auto it = std::find_if(m_controls.begin(), m_controls.end(),
                                 [id](const CPromptControl& c) { return c.id == id; });
    return it == m_controls.end() ? nullptr : &*it;
}

std::vector<const CPromptControl*> CProblemPrompt::ControlsOf(int question) const {
    std::vector<const CPromptControl*> out;
    for (const CPromptControl& c : m_controls)
        if (c.question == question)
            out.push_back(&c);
    return out;
}

std::string CProblemPrompt::FieldText(int fieldId) const {
    const Entry* e = EntryOf(fieldId);
    if (!e)
        return {};
    if (Control(fieldId)->kind == PromptControlKind::OperatorField)
        return OperatorText(e->op);
    return e->text;
}

int CProblemPrompt::OperatorIndex(int fieldId) const {
    const Entry* e = EntryOf(fieldId);
    return e ? e->op : -1;
}

CProblemPrompt::Entry* CProblemPrompt::EntryOf(int fieldId) {
    for (auto& [field, entry] : m_entries)
        if (field == fieldId)
            return &entry;
    return nullptr;
}

const CProblemPrompt::Entry* CProblemPrompt::EntryOf(int fieldId) const {
    return const_cast<CProblemPrompt*>(this)->EntryOf(fieldId);
}

void CProblemPrompt::Changed() {
    if (m_listener)
        m_listener->PromptChanged();
}

} // namespace quorvel
