// Codes document: its options, the two-pass file layout with the checks of everything read,
// the message board and the command that clears output cards.
#include "patterns/code_machines.h"
#include "patterns/pattern_list.h"
#include "patterns/patterns_documents.h"
#include "workspace/annotator.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"
#include "workspace/notepad_text.h"
#include "workspace/tool_palette.h"

#include <algorithm>
#include <set>

namespace quorvel {

namespace {

constexpr std::int32_t kCodesTypes[] = {kTypeNoteCard,       kTypeShiftMachine,
                                        kTypeKeywordMachine, kTypeGroupMachine,
                                        kTypeMachineLink,    kTypePatternsAnnotator};

CNoteCardManipulative* AsNote(CManipulative* m) {
    return m && m->GetType() == kTypeNoteCard ? static_cast<CNoteCardManipulative*>(m) : nullptr;
}

bool IsDeletableOutputCard(const CManipulative& m) {
    const auto* card = dynamic_cast<const CNoteCardManipulative*>(&m);
    return card && card->boardOrder() == 0 && !card->hopperOwner() && !card->output() &&
           (card->producer() || card->readOnly());
}

} // namespace

bool IsCodesTool(int code) {
    return code == kToolArrow || code == kToolSelector || code == kToolEraser ||
           code == kToolWriting || code == kToolHelp || code == kToolMystery ||
           code == kToolLinking;
}

void CCodePatternsDocument::SetOptions(const CCodesOptions& options) {
    if (options == m_options)
        return;
    m_options = options;
    SetModifiedFlag();
    ApplyOptions();
}

void CCodePatternsDocument::ApplyOptions() {
    for (auto& m : m_manipulatives)
        if (auto* link = dynamic_cast<CMachineLink*>(m.get())) {
            link->SetWiresShown(true);
            link->Route();
        }
    InvalidateAll();
}

void CCodePatternsDocument::NewDocumentContents() {
    m_options = CCodesOptions{};
    m_paneOffset = CPoint{};
    ApplyOptions();
}

void CCodePatternsDocument::DrawContents(IDrawingSurface& dc) const {
    DrawPatternList(dc, m_manipulatives);
}

// --- output cards and the board --------------------------------------------------------------

bool CCodePatternsDocument::HasOutputCardsToDelete() const {
    return std::any_of(m_manipulatives.begin(), m_manipulatives.end(),
                       [](const auto& m) { return IsDeletableOutputCard(*m); });
}

void CCodePatternsDocument::DeleteOutputCards() {
    if (DeleteManipulativesWhere(*this, IsDeletableOutputCard))
        InvalidateAll();
}

std::vector<CNoteCardManipulative*> CCodePatternsDocument::BoardCards() const {
    std::vector<CNoteCardManipulative*> out;
    for (const auto& m : m_manipulatives)
        if (CNoteCardManipulative* note = AsNote(m.get()); note && note->boardOrder() > 0)
            out.push_back(note);
    std::stable_sort(out.begin(), out.end(),
                     [](auto* a, auto* b) { return a->boardOrder() < b->boardOrder(); });
    return out;
}

CNoteCardManipulative* CCodePatternsDocument::AddToBoard(const CNoteCardManipulative& card) {
    const auto board = BoardCards();
    auto copy = std::make_unique<CNoteCardManipulative>(card);
    copy->SetVisible(false);
    copy->SetReadOnly(card.readOnly());
    copy->SetBoardOrder(board.empty() ? 1 : board.back()->boardOrder() + 1);
    return static_cast<CNoteCardManipulative*>(AddManipulative(std::move(copy)));
}

CNoteCardManipulative* CCodePatternsDocument::TakeFromBoard() {
    const auto board = BoardCards();
    if (board.empty())
        return nullptr;
    CNoteCardManipulative* card = board.back();
    card->SetBoardOrder(0);
    card->SetVisible(true);
    // On top of everything else, where the pupil drags it.
    for (auto it = m_manipulatives.begin(); it != m_manipulatives.end(); ++it) {
        if (it->get() == card) {
            std::unique_ptr<CManipulative> own = std::move(*it);
            m_manipulatives.erase(it);
            m_manipulatives.push_back(std::move(own));
            break;
        }
    }
    SetModifiedFlag();
    return card;
}

// --- files -----------------------------------------------------------------------------------

std::optional<std::string> CCodePatternsDocument::CheckReferences() const {
    if (auto wrong = CheckPatternReferences(m_manipulatives))
        return wrong;
    for (std::size_t i = 0; i < m_manipulatives.size(); ++i) {
        const auto* p = dynamic_cast<const CPatternManipulative*>(m_manipulatives[i].get());
        if (p && p->IsMachine() &&
            (p->input2() || !p->waiting1().empty() || !p->waiting2().empty()))
            return "manipulative " + std::to_string(i) +
                   ": a code machine with a second input or waiting cards";
    }
    return std::nullopt;
}

void CCodePatternsDocument::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar.WriteUInt32(m_identity.signature, "signature");
    const CCodesOptions previousOptions = m_options;
    const CPoint previousOffset = m_paneOffset;
    CRect savedView = m_viewRect;
    try {
        SerializeOptions(ar);
        ar.Exchange(m_currentTool, "current tool");
        if (ar.IsLoading() && !IsCodesTool(m_currentTool))
            ar.Fail("tool " + std::to_string(m_currentTool) + " is no tool of the Codes page",
                    "current tool");
        SerializePatternList(ar);
        ar.Exchange(savedView, "view rectangle");
        if (ar.IsLoading() && (savedView.Width() <= 0 || savedView.Height() <= 0))
            ar.Fail("a view rectangle of no size", "view rectangle");
        const std::string notepad = ExchangeNotepadText(ar, m_notepadText, m_host);
        SerializeProblemBlock(ar);
        ExchangePaneOffset(ar, m_paneOffset);
        SerializeBoard(ar);
        if (ar.IsStoring())
            return;
        if (const auto wrong = CheckReferences())
            ar.Fail(*wrong, "manipulatives");
        m_notepadText = notepad;
        if (m_host && m_host->Notepad())
            m_host->Notepad()->SetText(m_notepadText);
    } catch (...) {
        if (ar.IsLoading()) {
            m_options = previousOptions;
            m_paneOffset = previousOffset;
        }
        throw;
    }
    m_viewRect = savedView;
    ApplyOptions();
}

void CCodePatternsDocument::SerializeOptions(CArchive& ar) {
    CArchive::Scope s(ar, "options");
    ar.Exchange(m_options.shiftOnly, "shift only");
    ar.Exchange(m_options.mysteryTool, "mystery tool");
    ar.Exchange(m_options.computerChecked, "computer checked");
    ar.Exchange(m_options.messageBoard, "message board");
    ar.Exchange(m_options.linking, "linking");
}

void CCodePatternsDocument::SerializePatternList(CArchive& ar) {
    quorvel::SerializePatternList(ar, m_manipulatives, kCodesTypes);
}

void CCodePatternsDocument::SerializeBoard(CArchive& ar) {
    const std::vector<CNoteCardManipulative*> board =
        ar.IsStoring() ? BoardCards() : std::vector<CNoteCardManipulative*>{};
    const std::size_t count = ar.ExchangeCount(board.size(), "board count", "message board", 4);
    std::vector<std::int32_t> indices(count);
    if (ar.IsStoring())
        for (std::size_t i = 0; i < count; ++i)
            indices[i] = IndexOf(board[i]);
    ar.ExchangeArray(std::span<std::int32_t>(indices), "message board");
    if (ar.IsStoring())
        return;
    std::set<std::int32_t> seen;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t at = indices[i];
        CNoteCardManipulative* note =
            at >= 0 && static_cast<std::size_t>(at) < m_manipulatives.size()
                ? AsNote(m_manipulatives[static_cast<std::size_t>(at)].get())
                : nullptr;
        if (!note || !seen.insert(at).second || note->hopperOwner() || note->output() ||
            note->producer())
            ar.Fail("board entry " + std::to_string(i) + " names no loose note card, or one twice",
                    "message board");
        note->SetBoardOrder(static_cast<int>(i) + 1);
        note->SetVisible(false);
    }
}

void CCodePatternsDocument::SerializeUndoState(CArchive& ar) {
    SerializeOptions(ar);
    SerializePatternList(ar);
    SerializeBoard(ar);
    if (ar.IsLoading())
        ApplyOptions();
}

// --- qvtool ----------------------------------------------------------------------------------

std::vector<std::string> DescribeCodesDocument(const CCodePatternsDocument& doc) {
    std::vector<std::string> out;
    const CCodesOptions& o = doc.options();
    out.push_back(std::string("options: function machines=") +
                  (o.shiftOnly ? "shift only" : "all machines") +
                  " mystery tool=" + std::to_string(o.mysteryTool) +
                  " computer checked=" + std::to_string(o.computerChecked) + " message board=" +
                  std::to_string(o.messageBoard) + " linking=" + std::to_string(o.linking));
    out.push_back(DescribeToolAndView(doc.currentTool(), doc.paneOffset(), doc.viewRect()));
    std::size_t machines = 0, links = 0, cards = 0, outputs = 0;
    for (const auto& m : doc.manipulatives()) {
        const auto* p = dynamic_cast<const CPatternManipulative*>(m.get());
        if (!p)
            continue;
        machines += p->IsMachine() ? 1 : 0;
        links += p->IsLink() ? 1 : 0;
        if (p->IsCard()) {
            ++cards;
            outputs += p->producer() ? 1 : 0;
        }
    }
    const auto board = doc.BoardCards();
    out.push_back("machines: " + std::to_string(machines) + ", links: " + std::to_string(links) +
                  ", note cards: " + std::to_string(cards) + " (" + std::to_string(outputs) +
                  " made by machines, " + std::to_string(board.size()) + " on the message board)");
    if (!board.empty())
        out.push_back("message board shows: " + board.back()->GetText());
    return out;
}

} // namespace quorvel
