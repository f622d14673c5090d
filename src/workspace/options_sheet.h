// The options sheets of the units: a teacher page (only in authoring mode) and a user page of
// check boxes and radio buttons over copies of the options. The shell's sheet lays the pages
// out from the control tables and asks the model what is checked and enabled.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

inline constexpr const char* kTeacherOptionsCaption = "Teacher Options";
inline constexpr const char* kUserOptionsCaption = "User Options";

enum class OptionsPage { Teacher, User };

// One control of a page: a check box sets its option to 1 or 0, a radio button its option to
// `value`. Radio buttons of one option form a group, titled by `group` on the first of them.
struct COptionControl {
    int id;
    const char* caption;
    int option;         // index into the page's options
    bool radio;         // else a check box
    std::int32_t value; // the value a radio button stands for
    const char* group;  // the group's title, on the first button of a group; else null
};

class COptionsSheet {
public:
    virtual ~COptionsSheet() = default;

    const std::string& caption() const { return m_caption; }
    bool hasTeacherPage() const { return m_teacherPage; }
    // The page's controls in their order on the page.
    const std::vector<COptionControl>& Controls(OptionsPage page) const;

    bool IsChecked(OptionsPage page, int id) const;
    // Whether a control is there (its page shown) and may be chosen.
    virtual bool IsEnabled(OptionsPage page, int id) const;
    // A click on a check box toggles it; on a radio button chooses it. False for a control
    // that is not on the page, not there or disabled.
    bool Click(OptionsPage page, int id);

    // The value of a page's option as the sheet holds it (0 beyond the page's options).
    std::int32_t Value(OptionsPage page, int option) const;

protected:
    COptionsSheet(std::string caption, bool teacherPage, std::vector<COptionControl> teacher,
                  std::vector<COptionControl> user, std::vector<std::int32_t> teacherValues,
                  std::vector<std::int32_t> userValues);
    const COptionControl* Find(OptionsPage page, int id) const;
    const std::vector<std::int32_t>& Values(OptionsPage page) const {
        return page == OptionsPage::Teacher ? m_teacherValues : m_userValues;
    }

private:
    std::string m_caption;
    bool m_teacherPage;
    std::vector<COptionControl> m_teacher;
    std::vector<COptionControl> m_user;
    std::vector<std::int32_t> m_teacherValues;
    std::vector<std::int32_t> m_userValues;
};

} // namespace quorvel
