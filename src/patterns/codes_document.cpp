// Codes document: its options, the two-pass file layout with the checks of everything read,
// the message board and the command that clears output cards.
#include "patterns/code_machines.h"
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

constexpr std::size_t kMinEntryBytes = 4 + kMinManipulativeBytes;

std::int32_t StoredType(const CManipulative& m) {
    return m.GetType() == kTypeAnnotator ? kTypePatternsAnnotator : m.GetType();
}

std::unique_ptr<CManipulative> CreateStored(std::int32_t type) {
    if (std::find(std::begin(kCodesTypes), std::end(kCodesTypes), type) == std::end(kCodesTypes))
        return nullptr;
    if (type == kTypePatternsAnnotator)
        return std::make_unique<CAnnotatorManipulative>();
    return CManipulativeRegistry::Instance().Create(type);
}

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
    std::vector<CManipulative*> selected;
    for (const auto& m : m_manipulatives) {
        if (m->selected()) {
            selected.push_back(m.get());
            m->SetSelected(false, false);
        }
    }
    for (const auto& m : m_manipulatives)
        if (m->visible())
            m->Draw(dc);
    for (CManipulative* m : selected)
        m->SetSelected(true, false);
}

// --- output cards and the board --------------------------------------------------------------

bool CCodePatternsDocument::HasOutputCardsToDelete() const {
    return std::any_of(m_manipulatives.begin(), m_manipulatives.end(),
                       [](const auto& m) { return IsDeletableOutputCard(*m); });
}

void CCodePatternsDocument::DeleteOutputCards() {
    std::vector<CManipulative*> doomed;
    for (const auto& m : m_manipulatives)
        if (IsDeletableOutputCard(*m))
            doomed.push_back(m.get());
    if (doomed.empty())
        return;
    SetModifiedFlag();
    for (CManipulative* m : doomed)
        DeleteManipulative(m);
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
        {
            CArchive::Scope s(ar, "options");
            ar.Exchange(m_options.shiftOnly, "shift only");
            ar.Exchange(m_options.mysteryTool, "mystery tool");
            ar.Exchange(m_options.computerChecked, "computer checked");
            ar.Exchange(m_options.messageBoard, "message board");
            ar.Exchange(m_options.linking, "linking");
        }
        ar.Exchange(m_currentTool, "current tool");
        if (ar.IsLoading() && !IsCodesTool(m_currentTool))
            ar.Fail("tool " + std::to_string(m_currentTool) + " is no tool of the Codes page",
                    "current tool");
        SerializePatternList(ar);
        ar.Exchange(savedView, "view rectangle");
        if (ar.IsLoading() && (savedView.Width() <= 0 || savedView.Height() <= 0))
            ar.Fail("a view rectangle of no size", "view rectangle");
        std::string notepad = m_notepadText;
        if (ar.IsStoring() && m_host && m_host->Notepad())
            notepad = m_host->Notepad()->text();
        ar.Exchange(notepad, "notepad text");
        SerializeProblemBlock(ar);
        {
            CArchive::Scope s(ar, "pane offset");
            ar.Exchange(m_paneOffset.x, "x");
            ar.Exchange(m_paneOffset.y, "y");
        }
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

void CCodePatternsDocument::SerializePatternList(CArchive& ar) {
    const std::size_t count = ar.ExchangeCount(m_manipulatives.size(), "manipulative count",
                                               "manipulative types", kMinEntryBytes);
    {
        CArchive::ArrayScope types(ar, "manipulative types");
        if (ar.IsLoading())
            m_manipulatives.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            CArchive::Item item(ar, i);
            if (ar.IsStoring()) {
                const std::int32_t type = StoredType(*m_manipulatives[i]);
                ar.WriteInt32(type, "type");
                if (ar.IsTree())
                    ar.WriteString(CManipulativeRegistry::ClassName(type), "class");
                continue;
            }
            const std::int32_t type = ar.ReadInt32("type");
            ar.Consume("class");
            auto m = CreateStored(type);
            // The objects already made would never get their data: the file is refused.
            if (!m)
                ar.Fail("unknown manipulative type " + std::to_string(type), "type");
            m_manipulatives.push_back(std::move(m));
        }
    }
    const CPatternIndex index{&m_manipulatives};
    CArchive::ArrayScope items(ar, "manipulatives");
    for (std::size_t i = 0; i < m_manipulatives.size(); ++i) {
        CArchive::Item item(ar, i);
        CManipulative& m = *m_manipulatives[i];
        if (ar.IsTree()) {
            if (ar.IsStoring())
                ar.WriteString(CManipulativeRegistry::ClassName(StoredType(m)), "class");
            else
                ar.Consume("class");
        }
        if (auto* p = dynamic_cast<CPatternManipulative*>(&m))
            p->SerializeLinked(ar, index);
        else
            m.Serialize(ar);
    }
    if (index.unresolved)
        ar.Fail("an index names nothing in the list", "manipulatives");
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
    const CRect& v = doc.viewRect();
    out.push_back("current tool: " + std::to_string(doc.currentTool()) + ", pane offset: " +
                  std::to_string(doc.paneOffset().x) + "," + std::to_string(doc.paneOffset().y) +
                  ", view: " + std::to_string(v.left) + "," + std::to_string(v.top) + "," +
                  std::to_string(v.right) + "," + std::to_string(v.bottom));
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
