// The Patterns options pages: their radio pairs, the exchange of a pair with its flag, and the
// options an OK gives back.
#include "patterns/patterns_options.h"

#include "workspace/unit_view_controller.h"

namespace quorvel {

namespace {

template <class Options>
std::vector<COptionControl> PageControls(const std::vector<CFlagPair<Options>>& pairs,
                                         OptionsPage page) {
    std::vector<COptionControl> controls;
    int option = 0;
    for (const CFlagPair<Options>& p : pairs) {
        if (p.page != page)
            continue;
        controls.push_back({p.firstId, p.first, option, true, 0, p.group});
        controls.push_back({p.secondId, p.second, option, true, 1, nullptr});
        ++option;
    }
    return controls;
}

template <class Options>
std::vector<std::int32_t> PageChoices(const std::vector<CFlagPair<Options>>& pairs,
                                      OptionsPage page, const Options& options) {
    std::vector<std::int32_t> choices;
    for (const CFlagPair<Options>& p : pairs)
        if (p.page == page)
            choices.push_back(PairChoice(options.*p.flag, p.firstFlag));
    return choices;
}

constexpr OptionsPage kTeacher = OptionsPage::Teacher;
constexpr OptionsPage kUser = OptionsPage::User;

} // namespace

int PairChoice(std::int32_t flag, std::int32_t firstFlag) {
    return (flag != 0) == (firstFlag != 0) ? 0 : 1;
}

std::int32_t PairFlag(int choice, std::int32_t firstFlag) {
    const std::int32_t first = firstFlag != 0 ? 1 : 0;
    return choice == 0 ? first : 1 - first;
}

template <class Options>
CPatternsOptionsSheet<Options>::CPatternsOptionsSheet(const char* caption, const Pairs& pairs,
                                                      const Options& options, bool teacherPage)
    : COptionsSheet(caption, teacherPage, PageControls(pairs, kTeacher), PageControls(pairs, kUser),
                    PageChoices(pairs, kTeacher, options), PageChoices(pairs, kUser, options)),
      m_pairs(pairs), m_before(options) {}

template <class Options> Options CPatternsOptionsSheet<Options>::Result() const {
    Options out = m_before;
    int option[2] = {0, 0};
    for (const CFlagPair<Options>& p : m_pairs) {
        const int index = option[p.page == kUser ? 1 : 0]++;
        if (p.page == kTeacher && !hasTeacherPage())
            continue;
        const int choice = Value(p.page, index);
        if (choice != PairChoice(m_before.*p.flag, p.firstFlag))
            out.*p.flag = PairFlag(choice, p.firstFlag);
    }
    return out;
}

template <class Options>
std::optional<Options> CPatternsOptionsSheet<Options>::Run(IUnitViewWindow& window) {
    if (!window.RunOptionsSheet(*this))
        return std::nullopt;
    Options out = Result();
    if (out == m_before)
        return std::nullopt;
    return out;
}

template class CPatternsOptionsSheet<CNumbersOptions>;
template class CPatternsOptionsSheet<CCodesOptions>;
template class CPatternsOptionsSheet<CDesignOptions>;

CNumberPatternsOptions::CNumberPatternsOptions(const CNumbersOptions& options, bool teacherPage)
    : CPatternsOptionsSheet(kNumberPatternsOptionsCaption, FlagPairs(), options, teacherPage) {}

const CNumberPatternsOptions::Pairs& CNumberPatternsOptions::FlagPairs() {
    using O = CNumbersOptions;
    // The teacher page, then the user page.
    static const Pairs kPairs = {
        {kTeacher, &O::computerChecked, "Computer Checked", 1319, "On", 1320, "Off"},
        {kTeacher, &O::mysteryTool, "Mystery Tool", 1317, "On", 1318, "Off"},
        {kUser, &O::wiresShown, "Wires", 1322, "Show", 1324, "Hide"},
        {kUser, &O::autotrigger, "Autotrigger", 1326, "On", 1328, "Off"},
        {kUser, &O::decimalOutput, "Output display", 1330, "Decimal", 1332, "Fractional"},
    };
    return kPairs;
}

CCodePatternsOptions::CCodePatternsOptions(const CCodesOptions& options, bool teacherPage)
    : CPatternsOptionsSheet(kCodePatternsOptionsCaption, FlagPairs(), options, teacherPage) {}

const CCodePatternsOptions::Pairs& CCodePatternsOptions::FlagPairs() {
    using O = CCodesOptions;
    static const Pairs kPairs = {
        {kTeacher, &O::shiftOnly, "Function Machines", 1315, "Shift only", 1316, "All Machines"},
        {kTeacher, &O::mysteryTool, "Mystery Tool", 1317, "On", 1318, "Off"},
        {kTeacher, &O::computerChecked, "Computer Checked", 1319, "On", 1320, "Off"},
        {kUser, &O::messageBoard, "Message Board", 1317, "On", 1318, "Off"},
        {kUser, &O::linking, "Linking", 1319, "On", 1320, "Off"},
    };
    return kPairs;
}

CDesignPatternsOptions::CDesignPatternsOptions(const CDesignOptions& options, bool teacherPage)
    : CPatternsOptionsSheet(kDesignPatternsOptionsCaption, FlagPairs(), options, teacherPage) {}

const CDesignPatternsOptions::Pairs& CDesignPatternsOptions::FlagPairs() {
    using O = CDesignOptions;
    static const Pairs kPairs = {
        {kTeacher, &O::recordRule, "Record Rule", 1255, "On", 1256, "Off"},
        {kTeacher, &O::mysteryTool, "Mystery Tool", 1317, "On", 1318, "Off"},
        {kTeacher, &O::computerChecked, "Computer Checked", 1319, "On", 1320, "Off"},
        {kUser, &O::rotationPointControl, "Rotation Point Control", 1257, "On", 1258, "Off"},
        // The stamp colour's flag is 1 for Rainbow, its second button.
        {kUser, &O::stampColor, "Stamp Color", 1259, "Black", 1260, "Rainbow", 0},
        {kUser, &O::extraShapes, "Extra Shapes", 1261, "On", 1262, "Off"},
    };
    return kPairs;
}

bool AuthoringMode(const CUnitDocument& doc) {
    return doc.host() && doc.host()->AuthoringMode();
}

} // namespace quorvel
