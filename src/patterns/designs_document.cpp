// Designs document: its options, the design machine and its design, the pupil's writing, and
// the file layout where every scalar is followed by a TAB.
#include "patterns/patterns_documents.h"
#include "workspace/annotator.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"
#include "workspace/notepad_text.h"
#include "workspace/tool_palette.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr std::int32_t kWritingTypes[] = {kTypeAnnotator, kTypePicture, kTypeStaticAnnotator};

void ExchangeFlag(CArchive& ar, std::int32_t& v, const char* field) {
    ar.Exchange(v, field);
    ar.ExchangeTab();
    if (ar.IsLoading())
        v = v != 0 ? 1 : 0;
}

} // namespace

bool IsDesignsTool(int code) {
    return code == kToolArrow || code == kToolWriting || code == kToolHelp || code == kToolMystery;
}

void CDesignPatternsDocument::SetOptions(const CDesignOptions& options) {
    if (options == m_options)
        return;
    const bool extra = options.extraShapes != m_options.extraShapes;
    m_options = options;
    if (extra)
        m_machine->SetExtraShapes(m_options.extraShapes != 0);
    m_machine->OfferRecordRule(m_options.recordRule != 0);
    SetModifiedFlag();
    InvalidateAll();
}

void CDesignPatternsDocument::ShowMachine(bool shown) {
    if (machineShown() == shown)
        return;
    m_options.machineShown = shown ? 1 : 0;
    SetModifiedFlag();
    InvalidateAll();
}

void CDesignPatternsDocument::MachineChanged(bool modified) {
    if (modified)
        SetModifiedFlag();
    Invalidate(m_machine->Bounds());
}

void CDesignPatternsDocument::NewDocumentContents() {
    m_options = CDesignOptions{};
    m_machine = std::make_unique<CDesignFunctionMachine>();
    InvalidateAll();
}

void CDesignPatternsDocument::DrawContents(IDrawingSurface& dc) const {
    if (machineShown())
        m_machine->Draw(dc);
    for (const auto& m : m_manipulatives)
        if (m->visible())
            m->Draw(dc);
}

void CDesignPatternsDocument::SerializeMachine(CArchive& ar) {
    {
        CArchive::Scope s(ar, "machine");
        m_machine->Serialize(ar);
    }
    // The design follows as the picture manipulative that holds it.
    std::int32_t type = kTypePicture;
    ar.Exchange(type, "design type");
    ar.ExchangeTab();
    if (ar.IsLoading() && type != kTypePicture)
        ar.Fail("the design is no picture (type " + std::to_string(type) + ")", "design type");
    CArchive::Scope s(ar, "design");
    m_machine->design().Serialize(ar);
    if (ar.IsLoading()) {
        const CRect& r = m_machine->design().rect();
        const CRect w = m_machine->DesignRect();
        if (r.Width() != w.Width() || r.Height() != w.Height())
            ar.Fail("a design of another size than the design window", "rectangle");
        m_machine->AfterLoading();
    }
}

void CDesignPatternsDocument::SerializeWriting(CArchive& ar) {
    const std::size_t count = ar.ExchangeCount(m_manipulatives.size(), "manipulative count",
                                               "manipulatives", 8 + kMinManipulativeBytes);
    ar.ExchangeTab();
    const CManipulativeForm form{kWritingTypes, true, UnknownType::Fails};
    CArchive::ArrayScope items(ar, "manipulatives");
    for (std::size_t i = 0; i < count; ++i) {
        CArchive::Item item(ar, i);
        if (ar.IsStoring()) {
            WriteManipulative(ar, *m_manipulatives[i], form);
        } else {
            // The picture is the Designs page's own: no other document makes one.
            const std::int32_t type = ar.ReadInt32("type");
            ar.Consume("class");
            std::unique_ptr<CManipulative> m;
            if (type == kTypePicture)
                m = std::make_unique<CDesignPicture>();
            else if (type == kTypeAnnotator || type == kTypeStaticAnnotator)
                m = CManipulativeRegistry::Instance().Create(type);
            if (!m)
                ar.Fail("unknown manipulative type " + std::to_string(type), "type");
            ar.SkipTab();
            m->Serialize(ar);
            m_manipulatives.push_back(std::move(m));
        }
    }
}

void CDesignPatternsDocument::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar.WriteUInt32(m_identity.signature, "signature");
    const CDesignOptions previous = m_options;
    CRect savedView = m_viewRect;
    auto machine = std::make_unique<CDesignFunctionMachine>();
    bool swapped = false;
    try {
        SerializeOptions(ar);
        ar.Exchange(m_currentTool, "current tool");
        ar.ExchangeTab();
        if (ar.IsLoading() && !IsDesignsTool(m_currentTool))
            ar.Fail("tool " + std::to_string(m_currentTool) + " is no tool of the Designs page",
                    "current tool");
        if (ar.IsLoading()) {
            // The chooser's shapes follow the options; a failed read keeps the old machine.
            machine->SetExtraShapes(m_options.extraShapes != 0);
            std::swap(machine, m_machine);
            swapped = true;
        }
        SerializeMachine(ar);
        if (ar.IsLoading())
            m_machine->OfferRecordRule(m_options.recordRule != 0);
        SerializeWriting(ar);
        SerializeProblemBlock(ar);
        ar.Exchange(savedView, "view rectangle");
        ar.ExchangeTab();
        if (ar.IsLoading() && (savedView.Width() <= 0 || savedView.Height() <= 0))
            ar.Fail("a view rectangle of no size", "view rectangle");
        std::string notepad = m_notepadText;
        if (ar.IsStoring() && m_host && m_host->Notepad())
            notepad = m_host->Notepad()->text();
        ar.Exchange(notepad, "notepad text");
        ar.ExchangeTab();
        if (ar.IsStoring())
            return;
        m_notepadText = notepad;
        if (m_host && m_host->Notepad())
            m_host->Notepad()->SetText(m_notepadText);
    } catch (...) {
        if (ar.IsLoading()) {
            m_options = previous;
            if (swapped)
                std::swap(machine, m_machine);
        }
        throw;
    }
    m_viewRect = savedView;
    InvalidateAll();
}

void CDesignPatternsDocument::SerializeOptions(CArchive& ar) {
    CArchive::Scope s(ar, "options");
    ExchangeFlag(ar, m_options.recordRule, "record rule");
    ExchangeFlag(ar, m_options.mysteryTool, "mystery tool");
    ExchangeFlag(ar, m_options.computerChecked, "computer checked");
    ExchangeFlag(ar, m_options.machineShown, "machine shown");
    ExchangeFlag(ar, m_options.rotationPointControl, "rotation point control");
    ExchangeFlag(ar, m_options.stampColor, "stamp colour");
    ExchangeFlag(ar, m_options.extraShapes, "extra shapes");
}

void CDesignPatternsDocument::SerializeUndoState(CArchive& ar) {
    // The options come back first: the chooser's shapes follow them.
    SerializeOptions(ar);
    if (ar.IsLoading()) {
        // The machine's state comes back where the machine stands now.
        auto machine = std::make_unique<CDesignFunctionMachine>();
        machine->SetExtraShapes(m_options.extraShapes != 0);
        machine->SetPosition(m_machine->position());
        m_machine = std::move(machine);
    }
    SerializeMachine(ar);
    if (ar.IsLoading())
        m_machine->OfferRecordRule(m_options.recordRule != 0);
    SerializeWriting(ar);
    if (ar.IsLoading())
        InvalidateAll();
}

std::vector<std::string> DescribeDesignsDocument(const CDesignPatternsDocument& doc) {
    std::vector<std::string> out;
    const CDesignOptions& o = doc.options();
    out.push_back("options: record rule=" + std::to_string(o.recordRule) +
                  " mystery tool=" + std::to_string(o.mysteryTool) +
                  " computer checked=" + std::to_string(o.computerChecked) +
                  " machine shown=" + std::to_string(o.machineShown) +
                  " rotation point control=" + std::to_string(o.rotationPointControl) +
                  " stamp colour=" + (o.stampColor ? "rainbow" : "black") +
                  " extra shapes=" + std::to_string(o.extraShapes));
    const CDesignFunctionMachine& m = doc.machine();
    out.push_back("current tool: " + std::to_string(doc.currentTool()) + ", machine at " +
                  std::to_string(m.position().x) + "," + std::to_string(m.position().y) +
                  ", shape " + std::to_string(m.current()) + " of " +
                  std::to_string(m.shapeCount()));
    out.push_back("times: " + m.BoxText(DesignPart::TimesBox) +
                  ", angle: " + m.BoxText(DesignPart::AngleBox) +
                  ", show axes=" + std::to_string(m.showAxes() ? 1 : 0) +
                  " record rule=" + std::to_string(m.recordRule() ? 1 : 0));
    const auto& rules = m.design().rules();
    out.push_back("design: " + std::to_string(rules.size()) + " run(s)");
    for (const auto& r : rules)
        out.push_back("  " + DesignRuleText(r.angleText, r.times) +
                      (r.firstColor >= 0 ? " (rainbow)" : "") + (r.showAxes ? " with axes" : ""));
    return out;
}

} // namespace quorvel
