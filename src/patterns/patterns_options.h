// The options sheets of the three Patterns pages: "Number Patterns Options", "Code Patterns
// Options" and "Design Patterns Options", each a teacher page (authoring mode only) and a user
// page of radio pairs over copies of the document's flags.
#pragma once

#include "patterns/patterns_documents.h"
#include "workspace/options_sheet.h"

#include <optional>
#include <vector>

namespace quorvel {

class IUnitViewWindow;

inline constexpr const char* kNumberPatternsOptionsCaption = "Number Patterns Options";
inline constexpr const char* kCodePatternsOptionsCaption = "Code Patterns Options";
inline constexpr const char* kDesignPatternsOptionsCaption = "Design Patterns Options";

// A page exchanges a radio pair as one int, 0 for the first button. The document's flag is
// `firstFlag` while the first button is chosen and the other of 0 and 1 otherwise; a flag is on
// when it is not 0.
int PairChoice(std::int32_t flag, std::int32_t firstFlag);
std::int32_t PairFlag(int choice, std::int32_t firstFlag);

// One radio pair of a page and the document flag it edits.
template <class Options> struct CFlagPair {
    OptionsPage page;
    std::int32_t Options::*flag;
    const char* group;
    int firstId;
    const char* first;
    int secondId;
    const char* second;
    std::int32_t firstFlag = 1;
};

template <class Options> class CPatternsOptionsSheet : public COptionsSheet {
public:
    using Pairs = std::vector<CFlagPair<Options>>;

    // The document's options after OK: a pair the pupil or teacher changed stores its flag,
    // the others keep theirs as they were; the teacher's pairs only with the teacher page.
    Options Result() const;
    // Runs the sheet on `window`: the options to apply, or nothing on Cancel or when nothing
    // changed.
    std::optional<Options> Run(IUnitViewWindow& window);

protected:
    CPatternsOptionsSheet(const char* caption, const Pairs& pairs, const Options& options,
                          bool teacherPage);

private:
    const Pairs& m_pairs;
    Options m_before;
};

class CNumberPatternsOptions final : public CPatternsOptionsSheet<CNumbersOptions> {
public:
    CNumberPatternsOptions(const CNumbersOptions& options, bool teacherPage);
    static const Pairs& FlagPairs();
};

class CCodePatternsOptions final : public CPatternsOptionsSheet<CCodesOptions> {
public:
    CCodePatternsOptions(const CCodesOptions& options, bool teacherPage);
    static const Pairs& FlagPairs();
};

class CDesignPatternsOptions final : public CPatternsOptionsSheet<CDesignOptions> {
public:
    CDesignPatternsOptions(const CDesignOptions& options, bool teacherPage);
    static const Pairs& FlagPairs();
};

// Whether the document's host runs in authoring mode, where the sheets show the teacher page.
bool AuthoringMode(const CUnitDocument& doc);

} // namespace quorvel
