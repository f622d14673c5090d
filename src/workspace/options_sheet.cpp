// The options sheet model: which controls are checked, and what a click changes.
#include "workspace/options_sheet.h"

#include <utility>

namespace quorvel {

COptionsSheet::COptionsSheet(std::string caption, bool teacherPage,
                             std::vector<COptionControl> teacher, std::vector<COptionControl> user,
                             std::vector<std::int32_t> teacherValues,
                             std::vector<std::int32_t> userValues)
    : m_caption(std::move(caption)), m_teacherPage(teacherPage), m_teacher(std::move(teacher)),
      m_user(std::move(user)), m_teacherValues(std::move(teacherValues)),
      m_userValues(std::move(userValues)) {}

const std::vector<COptionControl>& COptionsSheet::Controls(OptionsPage page) const {
    return page == OptionsPage::Teacher ? m_teacher : m_user;
}

const COptionControl* COptionsSheet::Find(OptionsPage page, int id) const {
    if (page == OptionsPage::Teacher && !m_teacherPage)
        return nullptr;
    const std::vector<std::int32_t>& values = Values(page);
    for (const COptionControl& c : Controls(page))
        if (c.id == id)
            return c.option >= 0 && static_cast<std::size_t>(c.option) < values.size() ? &c
                                                                                       : nullptr;
    return nullptr;
}

std::int32_t COptionsSheet::Value(OptionsPage page, int option) const {
    const std::vector<std::int32_t>& values = Values(page);
    return option >= 0 && static_cast<std::size_t>(option) < values.size()
               ? values[static_cast<std::size_t>(option)]
               : 0;
}

bool COptionsSheet::IsChecked(OptionsPage page, int id) const {
    const COptionControl* c = Find(page, id);
    if (!c)
        return false;
    const std::int32_t v = Value(page, c->option);
    return c->radio ? v == c->value : v != 0;
}

bool COptionsSheet::IsEnabled(OptionsPage page, int id) const {
    return Find(page, id) != nullptr;
}

bool COptionsSheet::Click(OptionsPage page, int id) {
    const COptionControl* c = Find(page, id);
    if (!c || !IsEnabled(page, id))
        return false;
    auto& values = page == OptionsPage::Teacher ? m_teacherValues : m_userValues;
    std::int32_t& v = values[static_cast<std::size_t>(c->option)];
    v = c->radio ? c->value : (v != 0 ? 0 : 1);
    return true;
}

} // namespace quorvel
