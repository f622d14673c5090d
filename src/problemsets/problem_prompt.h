// The problem prompt window's model: the questions of a problem, the counter line, the answer
// controls each question type brings (with their fixed ids), what the pupil has entered, and
// whether the pupil has started. The window draws it and forwards the pupil's input to it.
#pragma once

#include "workspace/question.h"

#include <array>
#include <string>
#include <vector>

namespace quorvel {

// The question types the prompt window lays out.
inline constexpr int kTextQuestion = 0;
inline constexpr int kOperatorQuestion = 1;
inline constexpr int kChoiceQuestion = 2;
inline constexpr int kNumberQuestion = 4;

// Control ids: the first and second operator question, the first and second number question,
// and the five radio buttons.
inline constexpr std::array<int, 2> kOperatorFieldIds{1472, 1473};
inline constexpr std::array<int, 2> kOperatorUpIds{1476, 1477};
inline constexpr std::array<int, 2> kOperatorDownIds{1478, 1479};
inline constexpr std::array<int, 2> kNumberFieldIds{1474, 1475};
inline constexpr std::array<int, 2> kNumberUpIds{1480, 1481};
inline constexpr std::array<int, 2> kNumberDownIds{1482, 1483};
inline constexpr int kFirstChoiceId = 1484; // choice i of the record is radio 1484 + i
inline constexpr int kChoiceCount = 5;

inline constexpr int kOperatorCount = 4; // + - × ÷
inline constexpr int kNumberFieldMaxChars = 3;
inline constexpr int kNumberSpinTop = 100;

// The operator after and before `index`, wrapping within 0..3. An empty field (-1) goes up to
// the first operator and down to the last.
int NextOperator(int index);
int PreviousOperator(int index);
// The operator's character in the "Symbol" font (0x2B, 0x2D, 0xB4, 0xB8) and as UTF-8 text.
unsigned char OperatorSymbolCode(int index);
std::string OperatorText(int index);

// The number field's spin rules: up from empty gives "1", below 100 adds one, 100 or more
// gives "0"; down from empty gives "100", above 0 takes one, 0 or less gives "100". A text that
// is not a number counts as 0.
std::string NumberSpinUp(const std::string& text);
std::string NumberSpinDown(const std::string& text);
// The whole number a field holds; false when it is empty or not a number.
bool ParseNumberField(const std::string& text, int& value);
// Whether a number field may hold `text` while the pupil types: at most three characters, an
// optional minus sign and then digits only (so every step of typing "-12" is accepted).
bool NumberFieldAccepts(const std::string& text);

enum class PromptControlKind { OperatorField, NumberField, SpinUp, SpinDown, Radio };

struct CPromptControl {
    int id = 0;
    PromptControlKind kind = PromptControlKind::OperatorField;
    int question = 0; // index of its question record
    int field = 0;    // spins: the id of the field they change
    int choice = -1;  // radios: index of the choice string in the record
};

// What the pupil entered for one question.
struct CPromptAnswer {
    bool given = false;
    double value = 0.0; // operator index, choice index or number
};
using CPromptAnswers = std::array<CPromptAnswer, kQuestionRecords>;

inline constexpr int kAnswersComplete = 0;
inline constexpr int kAnswerMissing = 2;
// A unit that reads the fields' texts itself found one it cannot read.
inline constexpr int kAnswerUnreadable = 3;

class IPromptListener {
public:
    virtual ~IPromptListener() = default;
    // Questions, counter, entries or enabling changed.
    virtual void PromptChanged() = 0;
};

class CProblemPrompt {
public:
    void SetListener(IPromptListener* l) { m_listener = l; }

    // Keeps the first `count` questions (0..4), makes their controls and clears the entries
    // and Started. Each question type has ids for two operator and two number questions and
    // one set of radio buttons; a question beyond those, or of another type, is text only.
    void SetQuestions(const CQuestionSet& questions, int count);
    void SetCounter(const std::string& text);
    void EnableChoices(bool enabled);
    // Fills `answers` for every question with a control; kAnswerMissing when one is empty.
    int ReadAnswers(CPromptAnswers& answers) const;
    bool Started() const { return m_started; }

    // The pupil's input; each sets Started. False for an id that is not such a control here
    // (or a disabled radio button).
    bool Spin(int spinId);
    bool ChooseRadio(int radioId);
    // Keeps at most three characters.
    bool SetNumberText(int fieldId, const std::string& text);

    // Shows a question's right answer in its control (View Solution) without starting.
    void ShowAnswer(int question, double value);

    const CQuestionSet& questions() const { return m_questions; }
    int questionCount() const { return m_count; }
    const std::string& counter() const { return m_counter; }
    const std::vector<CPromptControl>& controls() const { return m_controls; }
    const CPromptControl* Control(int id) const;
    // The controls of question q, in the order they are placed.
    std::vector<const CPromptControl*> ControlsOf(int question) const;
    // What a field shows: the operator's character or the number text.
    std::string FieldText(int fieldId) const;
    int OperatorIndex(int fieldId) const;
    // The chosen choice index, or -1.
    int chosenChoice() const { return m_choice; }
    bool choicesEnabled() const { return m_choicesEnabled; }

private:
    struct Entry {
        int question = 0;
        int op = -1;      // operator fields
        std::string text; // number fields
    };
    Entry* EntryOf(int fieldId);
    const Entry* EntryOf(int fieldId) const;
    void Changed();

    CQuestionSet m_questions;
    int m_count = 0;
    std::string m_counter;
    std::vector<CPromptControl> m_controls;
    std::vector<std::pair<int, Entry>> m_entries; // by field id
    int m_choiceQuestion = -1;
    int m_choice = -1;
    bool m_choicesEnabled = true;
    bool m_started = false;
    IPromptListener* m_listener = nullptr;
};

} // namespace quorvel
