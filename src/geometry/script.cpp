// Script steps and scripts: archive forms, the list behind the combo box, step texts and the
// slide rows' direction icons.
#include "geometry/script.h"

#include "workspace/archive.h"

#include <cmath>

namespace quorvel {

namespace {

// Code, an empty text's length byte, dx, dy, angle and count.
constexpr std::size_t kMinStepBytes = 4 + 1 + 8 + 8 + 4;
// Window position, TAB, an empty name, TAB, step count, TAB.
constexpr std::size_t kMinScriptBytes = 8 + 1 + 1 + 1 + 4 + 1;

void ExchangeTabByte(CArchive& ar) {
    if (ar.IsStoring())
        ar.WriteTab();
    else
        ar.SkipTab();
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

} // namespace

void ScriptStruct::Serialize(CArchive& ar) {
    ar.Exchange(code, "code");
    ar.Exchange(text, "text");
    ar.Exchange(dx, "dx");
    ar.Exchange(dy, "dy");
    ar.Exchange(angle, "angle");
    ar.Exchange(count, "count");
}

void ScriptStructList::Serialize(CArchive& ar) {
    ar.Exchange(windowX, "window x");
    ar.Exchange(windowY, "window y");
    ExchangeTabByte(ar);
    ar.Exchange(name, "name");
    ExchangeTabByte(ar);
    const std::size_t count = ar.ExchangeCount(steps.size(), "step count", "steps", kMinStepBytes);
    ExchangeTabByte(ar);
    CArchive::ArrayScope items(ar, "steps");
    if (ar.IsStoring()) {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            CArchive::Item item(ar, i);
            steps[i].Serialize(ar);
        }
        return;
    }
    std::vector<ScriptStruct> loaded(count);
    for (std::size_t i = 0; i < count; ++i) {
        CArchive::Item item(ar, i);
        loaded[i].Serialize(ar);
    }
    steps = std::move(loaded);
}

std::optional<std::size_t> CScriptList::Find(std::string_view name) const {
    for (std::size_t i = 0; i < m_scripts.size(); ++i)
        if (SameName(m_scripts[i].name, name))
            return i;
    return std::nullopt;
}

std::size_t CScriptList::Add(ScriptStructList script) {
    m_scripts.push_back(std::move(script));
    return m_scripts.size() - 1;
}

void CScriptList::Remove(std::size_t i) {
    if (i >= m_scripts.size())
        return;
    m_scripts.erase(m_scripts.begin() + static_cast<std::ptrdiff_t>(i));
    if (!m_selected)
        return;
    if (*m_selected == i)
        m_selected = m_scripts.empty() ? std::nullopt : std::optional<std::size_t>(0);
    else if (*m_selected > i)
        --*m_selected;
}

void CScriptList::Clear() {
    m_scripts.clear();
    m_selected.reset();
}

void CScriptList::Select(std::optional<std::size_t> i) {
    m_selected = i && *i < m_scripts.size() ? i : std::nullopt;
}

void CScriptList::Serialize(CArchive& ar) {
    const std::size_t count =
        ar.ExchangeCount(m_scripts.size(), "script count", "scripts", kMinScriptBytes);
    ExchangeTabByte(ar);
    CArchive::ArrayScope items(ar, "scripts");
    if (ar.IsStoring()) {
        for (std::size_t i = 0; i < m_scripts.size(); ++i) {
            CArchive::Item item(ar, i);
            m_scripts[i].Serialize(ar);
        }
        return;
    }
    std::vector<ScriptStructList> loaded(count);
    for (std::size_t i = 0; i < count; ++i) {
        CArchive::Item item(ar, i);
        loaded[i].Serialize(ar);
    }
    m_scripts = std::move(loaded);
    m_selected = m_scripts.empty() ? std::nullopt : std::optional<std::size_t>(0);
}

std::string ClipScriptName(std::string_view name) {
    // Count characters, not bytes, so that a name is never cut inside one.
    std::size_t chars = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if ((static_cast<unsigned char>(name[i]) & 0xC0) == 0x80)
            continue;
        if (chars == kMaxScriptNameLength)
            return std::string(name.substr(0, i));
        ++chars;
    }
    return std::string(name);
}

std::string RepeatStepText(std::int32_t count) {
    if (count == kRepeatToEnd)
        return "    Repeat to end";
    return "    Repeat " + std::to_string(count) + " times";
}

std::string ClosedRepeatStepText(std::int32_t times) {
    return "     repeat " + std::to_string(times) + " times.";
}

int SlideIconIndexForDegrees(double degrees) {
    const double v = degrees / 15 + 0.5;
    // Icon 1 covers both sides of 0 degrees: from 352.5 the index would pass 24.
    if (!(v < 24) || v < 0)
        return 1;
    return 1 + static_cast<int>(v);
}

int SlideIconIndex(std::int32_t dx, std::int32_t dy) {
    // The screen's y grows downwards; the icons count anticlockwise as seen.
    double a = std::atan2(-static_cast<double>(dy), static_cast<double>(dx));
    if (a < 0)
        a += 6.28318530718;
    return SlideIconIndexForDegrees(a * 57.29577951307855);
}

} // namespace quorvel
