// Numbers document: its options, the two-pass file layout with the checks of every reference
// read, spreading a file saved in another view, and the command that clears output cards.
#include "patterns/machine_table.h"
#include "patterns/number_machine.h"
#include "patterns/pattern_list.h"
#include "patterns/patterns_documents.h"
#include "workspace/annotator.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"
#include "workspace/notepad_text.h"
#include "workspace/tool_palette.h"

#include <algorithm>
#include <unordered_map>

namespace quorvel {

bool IsNumbersTool(int code) {
    switch (code) {
    case kToolArrow:
    case kToolSelector:
    case kToolEraser:
    case kToolWriting:
    case kToolHelp:
    case kToolMystery:
    case kToolLinking:
        return true;
    default:
        return false;
    }
}

namespace {

// The codes a Numbers list holds.
constexpr std::int32_t kNumbersTypes[] = {kTypeNumberMachine, kTypeMachineLink, kTypeNumberCard,
                                          kTypeTable, kTypePatternsAnnotator};

CPatternManipulative* AsPattern(const std::unique_ptr<CManipulative>& m) {
    return dynamic_cast<CPatternManipulative*>(m.get());
}

// The rules every reference of a Numbers list keeps, so that walking a supermachine ends and
// every object that goes tells all that know it.
class CReferenceCheck {
public:
    explicit CReferenceCheck(const CUnitDocument::ManipulativeList& list) : m_list(list) {
        for (std::size_t i = 0; i < list.size(); ++i)
            m_index[list[i].get()] = i;
    }

    std::optional<std::string> Run() {
        for (std::size_t i = 0; i < m_list.size(); ++i) {
            const CPatternManipulative* p = AsPattern(m_list[i]);
            if (!p)
                continue;
            std::string wrong;
            if (p->IsLink())
                wrong = CheckLink(*p);
            else if (p->IsMachine())
                wrong = CheckMachine(*p);
            else if (p->IsCard())
                wrong = CheckCard(*p);
            else if (p->GetType() == kTypeTable)
                wrong = CheckTable(static_cast<const CTableManipulative&>(*p));
            else
                wrong = CheckOther(*p);
            if (!wrong.empty())
                return "manipulative " + std::to_string(i) + ": " + wrong;
        }
        for (const auto& [card, holder] : m_heldAt)
            if (card->hopperOwner() && card->hopperOwner() != holder)
                return std::string("a card waits at a hopper of a machine it does not know");
        for (const auto& m : m_list) {
            const CPatternManipulative* card = AsPattern(m);
            if (!card || !card->IsCard())
                continue;
            if (card->hopperOwner() && !m_heldAt.count(card))
                return std::string("a card names a machine whose hopper does not hold it");
            if (card->producer() && !m_producedBy.count(card))
                return std::string("a card names a machine that did not make it");
        }
        return FindLoop();
    }

private:
    static bool Machine(const CPatternManipulative* x) { return x && x->IsMachine(); }
    static bool Card(const CPatternManipulative* x) { return x && x->IsCard(); }
    static bool Link(const CPatternManipulative* x) { return x && x->IsLink(); }

    static std::string CommonEmpty(const CPatternManipulative& p) {
        if (!p.waiting1().empty() || !p.waiting2().empty() || !p.outputCards().empty())
            return "cards waiting at something that is no machine";
        if (p.table())
            return "a table attached to something that is no machine";
        return {};
    }

    std::string CheckLink(const CPatternManipulative& link) {
        const CPatternManipulative* source = link.input1();
        const CPatternManipulative* target = link.output();
        if (!Machine(source) || !Machine(target) || link.input2())
            return "a link that does not join two machines";
        if (source->output() != &link)
            return "a link whose source machine does not feed it";
        if ((target->input1() == &link) == (target->input2() == &link))
            return "a link that feeds no input of its target, or both";
        if (link.producer() || link.hopperOwner())
            return "a link placed as a card";
        return CommonEmpty(link);
    }

    std::string CheckMachine(const CPatternManipulative& machine) {
        for (const CPatternManipulative* in : {machine.input1(), machine.input2()}) {
            if (!in)
                continue;
            if (!Card(in) && !Link(in))
                return "a machine input that is neither a card nor a link";
            if (in->output() != &machine)
                return "a machine input that does not know its machine";
            if (Card(in) && !Hold(in, machine))
                return "a card at two hoppers";
        }
        if (machine.input1() && machine.input1() == machine.input2())
            return "one object at both inputs";
        if (const CPatternManipulative* out = machine.output())
            if (!Link(out) || out->input1() != &machine)
                return "a machine output that is no link from it";
        for (const auto* waiting : {&machine.waiting1(), &machine.waiting2()})
            for (const CPatternManipulative* card : *waiting)
                if (!Card(card) || card->hopperOwner() != &machine || !Hold(card, machine))
                    return "a waiting card that is not at this machine's hopper";
        for (const CPatternManipulative* card : machine.outputCards()) {
            if (!Card(card) || card->producer() != &machine)
                return "an output card that this machine did not make";
            if (!m_producedBy.emplace(card, &machine).second)
                return "an output card listed twice";
        }
        if (const CPatternManipulative* table = machine.table()) {
            if (table->GetType() != kTypeTable)
                return "a table that is no table";
            const auto& groups = static_cast<const CTableManipulative*>(table)->groups();
            if (std::none_of(groups.begin(), groups.end(),
                             [&](const CColumnGroup& g) { return g.machine == &machine; }))
                return "a machine names a table that has no columns for it";
        }
        if (machine.producer() || machine.hopperOwner())
            return "a machine placed as a card";
        return {};
    }

    std::string CheckCard(const CPatternManipulative& card) {
        if (card.input1() || card.input2())
            return "a card with inputs";
        if (const CPatternManipulative* machine = card.output())
            if (!Machine(machine) || (machine->input1() != &card && machine->input2() != &card))
                return "a card that names a hopper which does not hold it";
        if ((card.producer() && !Machine(card.producer())) ||
            (card.hopperOwner() && !Machine(card.hopperOwner())))
            return "a card that names something other than a machine";
        return CommonEmpty(card);
    }

    // A table's groups name machines of one supermachine that name the table back.
    static std::string CheckTable(const CTableManipulative& table) {
        const std::string other = CheckOther(table);
        if (!other.empty())
            return other;
        const auto& groups = table.groups();
        for (const CColumnGroup& group : groups) {
            if (group.machine->table() != &table)
                return "a table group's machine does not name the table";
            if (!groups[0].machine->Head()->Contains(group.machine))
                return "a table's machines belong to different supermachines";
        }
        return {};
    }

    static std::string CheckOther(const CPatternManipulative& p) {
        if (p.input1() || p.input2() || p.output() || p.producer() || p.hopperOwner())
            return "references from an object that takes none";
        return CommonEmpty(p);
    }

    // A card stands at one machine's hoppers only, once.
    bool Hold(const CPatternManipulative* card, const CPatternManipulative& machine) {
        return m_heldAt.emplace(card, &machine).second;
    }

    // Every machine has at most one outgoing link and every link one target, so following
    // outputs from any machine either ends at a head or comes round again.
    std::optional<std::string> FindLoop() const {
        enum : char { kUnseen, kOnPath, kDone };
        std::vector<char> state(m_list.size(), kUnseen);
        std::vector<std::size_t> path;
        for (std::size_t start = 0; start < m_list.size(); ++start) {
            path.clear();
            for (std::size_t i = start; state[i] != kDone;) {
                if (state[i] == kOnPath)
                    return std::string("machines linked in a loop");
                state[i] = kOnPath;
                path.push_back(i);
                const CPatternManipulative* p = AsPattern(m_list[i]);
                const CPatternManipulative* next =
                    p && (p->IsMachine() || p->IsLink()) ? p->output() : nullptr;
                const auto it = next ? m_index.find(next) : m_index.end();
                if (it == m_index.end())
                    break;
                i = it->second;
            }
            for (std::size_t k : path)
                state[k] = kDone;
        }
        return std::nullopt;
    }

    const CUnitDocument::ManipulativeList& m_list;
    std::unordered_map<const CManipulative*, std::size_t> m_index;
    std::unordered_map<const CPatternManipulative*, const CPatternManipulative*> m_heldAt;
    std::unordered_map<const CPatternManipulative*, const CPatternManipulative*> m_producedBy;
};

} // namespace

// --- options ---------------------------------------------------------------------------------

void CNumberPatternsDocument::SetOptions(const CNumbersOptions& options) {
    if (options == m_options)
        return;
    m_options = options;
    // Options live in the file: a change is a change to save.
    SetModifiedFlag();
    ApplyOptions();
}

void CNumberPatternsDocument::ApplyOptions() {
    for (auto& m : m_manipulatives)
        if (auto* link = dynamic_cast<CMachineLink*>(m.get()))
            link->SetWiresShown(m_options.wiresShown != 0);
    InvalidateAll();
}

void CNumberPatternsDocument::RouteLinks() {
    // A link is read before or after its machines; its wire follows once both are in place.
    for (auto& m : m_manipulatives)
        if (auto* link = dynamic_cast<CMachineLink*>(m.get()))
            link->Route();
}

void CNumberPatternsDocument::NewDocumentContents() {
    m_options = CNumbersOptions{};
    m_paneOffset = CPoint{};
    ApplyOptions();
}

void CNumberPatternsDocument::DrawContents(IDrawingSurface& dc) const {
    DrawPatternList(dc, m_manipulatives);
}

// --- output cards ----------------------------------------------------------------------------

namespace {

bool IsDeletableOutputCard(const CManipulative& m) {
    const auto* card = dynamic_cast<const CNumberCardManipulative*>(&m);
    return card && !card->hopperOwner() && (card->producer() || card->readOnly());
}

} // namespace

bool CNumberPatternsDocument::HasOutputCardsToDelete() const {
    return std::any_of(m_manipulatives.begin(), m_manipulatives.end(),
                       [](const auto& m) { return IsDeletableOutputCard(*m); });
}

void CNumberPatternsDocument::DeleteOutputCards() {
    if (DeleteManipulativesWhere(*this, IsDeletableOutputCard))
        InvalidateAll();
}

// --- files -----------------------------------------------------------------------------------

std::optional<std::string> CheckPatternReferences(const CUnitDocument::ManipulativeList& list) {
    return CReferenceCheck(list).Run();
}

std::optional<std::string> CNumberPatternsDocument::CheckReferences() const {
    return CheckPatternReferences(m_manipulatives);
}

void CNumberPatternsDocument::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar.WriteUInt32(m_identity.signature, "signature");
    const CNumbersOptions previousOptions = m_options;
    const CPoint previousOffset = m_paneOffset;
    CRect savedView = m_viewRect;
    try {
        SerializeOptions(ar);
        SerializeProblemBlock(ar);
        ExchangePaneOffset(ar, m_paneOffset);
        ar.Exchange(m_currentTool, "current tool");
        if (ar.IsLoading() && !IsNumbersTool(m_currentTool))
            ar.Fail("tool " + std::to_string(m_currentTool) + " is not a Numbers tool",
                    "current tool");
        if (SerializePatternList(ar)) {
            ar.Exchange(savedView, "view rectangle");
            // Spreading to the present view divides by the stored one's size.
            if (ar.IsLoading() && (savedView.Width() <= 0 || savedView.Height() <= 0))
                ar.Fail("a view rectangle without area", "view rectangle");
            const std::string notepad = ExchangeNotepadText(ar, m_notepadText, m_host);
            if (ar.IsLoading()) {
                m_notepadText = notepad;
                if (m_host && m_host->Notepad())
                    m_host->Notepad()->SetText(m_notepadText);
            }
        }
        if (ar.IsStoring())
            return;
        if (const auto wrong = CheckReferences())
            ar.Fail(*wrong, "manipulatives");
    } catch (...) {
        if (ar.IsLoading()) {
            m_options = previousOptions;
            m_paneOffset = previousOffset;
        }
        throw;
    }
    AfterLoading(savedView);
}

void CNumberPatternsDocument::SerializeOptions(CArchive& ar) {
    CArchive::Scope s(ar, "options");
    ar.Exchange(m_options.mysteryTool, "mystery tool");
    ar.Exchange(m_options.computerChecked, "computer checked");
    ar.Exchange(m_options.wiresShown, "wires shown");
    ar.Exchange(m_options.autotrigger, "autotrigger");
    ar.Exchange(m_options.decimalOutput, "decimal output");
    ar.Exchange(m_options.further, "further flag");
}

bool CNumberPatternsDocument::SerializePatternList(CArchive& ar) {
    quorvel::SerializePatternList(ar, m_manipulatives, kNumbersTypes);
    return true;
}

void CNumberPatternsDocument::AfterLoading(const CRect& savedView) {
    RouteLinks();
    if (!m_presentView)
        m_viewRect = savedView;
    else if (savedView != m_viewRect)
        SpreadManipulatives(savedView, m_viewRect);
    ApplyOptions();
    if (m_options.computerChecked) {
        SetProblemSetMode(true);
        LoadQuestions(questions(), questionCount(), problemPosition().triesLeft);
    }
}

void CNumberPatternsDocument::SpreadManipulatives(const CRect& from, const CRect& to) {
    // A degenerate saved size leaves that direction alone.
    const double fw = static_cast<double>(from.right) - from.left;
    const double fh = static_cast<double>(from.bottom) - from.top;
    const double tw = static_cast<double>(to.right) - to.left;
    const double th = static_cast<double>(to.bottom) - to.top;
    const auto moveBy = [&](const C3DPointDouble& c) {
        const double x = fw > 0 ? (c.x - from.left) * tw / fw + to.left : c.x;
        const double y = fh > 0 ? (c.y - from.top) * th / fh + to.top : c.y;
        return std::pair{x - c.x, y - c.y};
    };
    const auto move = [](CManipulative& m, std::pair<double, double> d) {
        const bool fixed = m.fixed();
        m.SetFixed(false);
        m.MoveBy(d.first, d.second);
        m.SetFixed(fixed);
    };
    // Who moves whom is decided before anything moves.
    std::vector<std::pair<CManipulative*, std::pair<double, double>>> moves;
    for (auto& m : m_manipulatives) {
        CPatternManipulative* p = AsPattern(m);
        if (!p) {
            moves.emplace_back(m.get(), moveBy(m->centre()));
            continue;
        }
        // Links follow their machines; cards at or above a hopper move with the machine.
        if (p->IsLink() || p->hopperOwner() || (p->IsCard() && p->output()))
            continue;
        if (p->IsMachine()) {
            // A machine linked on moves with its supermachine's head, so that the
            // supermachine keeps its shape.
            if (p->output())
                continue;
            auto* head = static_cast<CFunctionMachine*>(p);
            const auto d = moveBy(head->centre());
            std::vector<CFunctionMachine*> members;
            head->Members(members);
            for (CFunctionMachine* member : members)
                if (member->IsMachine())
                    moves.emplace_back(member, d);
            continue;
        }
        moves.emplace_back(m.get(), moveBy(p->centre()));
    }
    for (auto& [m, d] : moves)
        move(*m, d);
}

void CNumberPatternsDocument::SerializeUndoState(CArchive& ar) {
    // The options sheet's changes are steps too; the list comes back with every link.
    SerializeOptions(ar);
    SerializePatternList(ar);
    if (ar.IsLoading()) {
        RouteLinks();
        ApplyOptions();
    }
}

// --- qvtool ----------------------------------------------------------------------------------

std::vector<std::string> DescribeNumbersDocument(const CNumberPatternsDocument& doc) {
    std::vector<std::string> out;
    const CNumbersOptions& o = doc.options();
    out.push_back("options: mystery tool=" + std::to_string(o.mysteryTool) + " computer checked=" +
                  std::to_string(o.computerChecked) + " wires=" + std::to_string(o.wiresShown) +
                  " autotrigger=" + std::to_string(o.autotrigger) +
                  " output display=" + (o.decimalOutput ? "decimal" : "fractional") +
                  " further=" + std::to_string(o.further));
    out.push_back(DescribeToolAndView(doc.currentTool(), doc.paneOffset(), doc.viewRect()));
    std::size_t machines = 0, heads = 0, links = 0, cards = 0, atHoppers = 0, outputs = 0;
    std::size_t tables = 0, columns = 0, rows = 0;
    for (const auto& m : doc.manipulatives()) {
        const auto* p = dynamic_cast<const CPatternManipulative*>(m.get());
        if (!p)
            continue;
        if (p->IsMachine()) {
            ++machines;
            heads += p->output() ? 0 : 1;
        } else if (p->IsLink()) {
            ++links;
        } else if (p->IsCard()) {
            ++cards;
            atHoppers += p->hopperOwner() || p->output() ? 1 : 0;
            outputs += p->producer() ? 1 : 0;
        } else if (p->GetType() == kTypeTable) {
            const auto& table = static_cast<const CTableManipulative&>(*p);
            ++tables;
            columns += static_cast<std::size_t>(table.grid().dataColumns());
            rows += static_cast<std::size_t>(table.grid().dataRows());
        }
    }
    out.push_back("machines: " + std::to_string(machines) + " (" + std::to_string(heads) +
                  " heads), links: " + std::to_string(links) + ", cards: " + std::to_string(cards) +
                  " (" + std::to_string(atHoppers) + " at hoppers, " + std::to_string(outputs) +
                  " made by machines)");
    out.push_back("tables: " + std::to_string(tables) + " (" + std::to_string(columns) +
                  " columns, " + std::to_string(rows) + " rows)");
    return out;
}

} // namespace quorvel
