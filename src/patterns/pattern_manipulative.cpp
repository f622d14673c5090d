// The Patterns manipulatives' common base, function machines as a supermachine tree, and the
// links between them.
#include "patterns/pattern_manipulative.h"

#include "patterns/machine_look.h"
#include "workspace/archive.h"
#include "workspace/drawing_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>

namespace quorvel {

namespace {

// While a document reattaches references it has read, attaching refreshes nothing: the other
// objects may not be read yet, and their mystery labels must stay as stored.
int g_attaching = 0;

struct AttachingScope {
    AttachingScope() { ++g_attaching; }
    ~AttachingScope() { --g_attaching; }
    AttachingScope(const AttachingScope&) = delete;
    AttachingScope& operator=(const AttachingScope&) = delete;
};

CFunctionMachine* AsMachine(CPatternManipulative* m) {
    return dynamic_cast<CFunctionMachine*>(m);
}

bool Erase(std::vector<CPatternManipulative*>& v, const CPatternManipulative* x) {
    const auto old = v.size();
    std::erase(v, x);
    return v.size() != old;
}

// Every object reached from `start` through input1/input2, each once, in depth-first order
// with input1 before input2.
std::vector<CPatternManipulative*> ReachedThroughInputs(CPatternManipulative* start) {
    std::vector<CPatternManipulative*> out;
    std::set<const CPatternManipulative*> seen;
    std::vector<CPatternManipulative*> stack{start};
    while (!stack.empty()) {
        CPatternManipulative* node = stack.back();
        stack.pop_back();
        if (!node || !seen.insert(node).second)
            continue;
        out.push_back(node);
        stack.push_back(node->input2());
        stack.push_back(node->input1());
    }
    return out;
}

void RefreshGoButtons(CPatternManipulative* any) {
    if (g_attaching)
        return;
    if (CFunctionMachine* m = AsMachine(any))
        m->UpdateSupermachineGoButtons();
}

std::int64_t Square(std::int64_t v) {
    return v * v;
}

// Squared distance from p to the segment a-b.
double SegmentDistanceSquared(CPoint p, CPoint a, CPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = dx * dx + dy * dy;
    double t = len > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double cx = a.x + t * dx - p.x, cy = a.y + t * dy - p.y;
    return cx * cx + cy * cy;
}

constexpr Color kWireColor = PaletteRGB(40, 40, 70);
constexpr int kWireHitDistance = 3;

} // namespace

// ---- CPatternIndex ----

std::int32_t CPatternIndex::IndexOf(const CManipulative* m) const {
    if (!list || !m)
        return -1;
    for (std::size_t i = 0; i < list->size(); ++i)
        if ((*list)[i].get() == m)
            return static_cast<std::int32_t>(i);
    return -1;
}

CPatternManipulative* CPatternIndex::At(std::int32_t i) const {
    if (!list || i == -1)
        return nullptr;
    CPatternManipulative* p =
        i >= 0 && static_cast<std::size_t>(i) < list->size()
            ? dynamic_cast<CPatternManipulative*>((*list)[static_cast<std::size_t>(i)].get())
            : nullptr;
    if (!p)
        unresolved = true;
    return p;
}

// ---- CPatternManipulative ----

CPatternManipulative::CPatternManipulative(const CPatternManipulative& other)
    : CManipulative(other), m_mystery(other.m_mystery), m_value(other.m_value) {}

CPatternManipulative::~CPatternManipulative() {
    m_tearingDown = true;
    DetachAll();
}

void CPatternManipulative::Meet(CPatternManipulative* other) {
    if (!other || other == this)
        return;
    m_known.insert(other);
    other->m_known.insert(this);
}

void CPatternManipulative::Forget(const CPatternManipulative* gone) {
    if (m_input1 == gone) {
        m_input1 = nullptr;
        m_input1Arrived = false;
    }
    if (m_input2 == gone) {
        m_input2 = nullptr;
        m_input2Arrived = false;
    }
    if (m_output == gone)
        m_output = nullptr;
    if (m_producer == gone)
        m_producer = nullptr;
    if (m_hopperOwner == gone)
        m_hopperOwner = nullptr;
    if (m_table == gone)
        m_table = nullptr;
    Erase(m_waiting1, gone);
    Erase(m_waiting2, gone);
    Erase(m_outputCards, gone);
}

void CPatternManipulative::DetachAll() {
    std::set<CPatternManipulative*> others = std::move(m_known);
    m_known.clear();
    for (CPatternManipulative* p :
         {m_input1, m_input2, m_output, m_producer, m_hopperOwner, m_table})
        others.insert(p);
    for (const auto* v : {&m_waiting1, &m_waiting2, &m_outputCards})
        others.insert(v->begin(), v->end());
    others.erase(nullptr);
    others.erase(this);
    for (CPatternManipulative* p : others) {
        p->Forget(this);
        p->m_known.erase(this);
    }
    m_input1 = m_input2 = m_output = m_producer = m_hopperOwner = m_table = nullptr;
    m_waiting1.clear();
    m_waiting2.clear();
    m_outputCards.clear();
}

bool CPatternManipulative::IsMachine() const {
    const std::int32_t t = GetType();
    return t == kTypeNumberMachine || t == kTypeShiftMachine || t == kTypeKeywordMachine ||
           t == kTypeGroupMachine;
}

void CPatternManipulative::Serialize(CArchive& ar) {
    SerializeLinked(ar, CPatternIndex{});
}

void CPatternManipulative::SerializeLinked(CArchive& ar, const CPatternIndex& index) {
    CManipulative::Serialize(ar);
    ar.Exchange(m_mystery, "mystery");
    {
        CArchive::Scope s(ar, "value");
        m_value.Serialize(ar);
    }
    std::int32_t in1 = index.IndexOf(m_input1), in2 = index.IndexOf(m_input2);
    std::int32_t table = index.IndexOf(m_table), owner = index.IndexOf(m_hopperOwner);
    std::int32_t producer = index.IndexOf(m_producer);
    ar.Exchange(in1, "input1");
    ar.Exchange(in2, "input2");
    ar.Exchange(table, "table");
    ar.Exchange(owner, "hopper owner");
    ar.Exchange(producer, "producer");

    struct CardArray {
        std::vector<CPatternManipulative*>& cards;
        const char* countField;
        const char* name;
    };
    const CardArray arrays[] = {{m_waiting1, "waiting1 count", "waiting1"},
                                {m_waiting2, "waiting2 count", "waiting2"},
                                {m_outputCards, "output card count", "output cards"}};
    for (const CardArray& a : arrays) {
        const std::size_t count = ar.ExchangeCount(a.cards.size(), a.countField, a.name, 4);
        std::vector<std::int32_t> indices(count);
        if (ar.IsStoring())
            std::transform(a.cards.begin(), a.cards.end(), indices.begin(),
                           [&](const CPatternManipulative* c) { return index.IndexOf(c); });
        ar.ExchangeArray(std::span<std::int32_t>(indices), a.name);
        if (ar.IsLoading()) {
            a.cards.clear();
            for (std::int32_t i : indices)
                if (CPatternManipulative* c = index.At(i); c && c != this) {
                    a.cards.push_back(c);
                    Meet(c);
                }
        }
    }
    ar.Exchange(m_flag, "flag");
    if (ar.IsStoring())
        return;

    AttachingScope attaching;
    for (int which : {1, 2}) {
        CPatternManipulative* x = index.At(which == 1 ? in1 : in2);
        CPatternManipulative* other = which == 1 ? m_input2 : m_input1;
        // Each object feeds one input of one machine: anything else is damage that the
        // document reports after reading.
        if (x == this)
            index.unresolved = true; // a machine is never its own input
        if (!x || x == this || x == other || (x->m_output && x->m_output != this))
            continue;
        const std::string mine = GetLabel(), theirs = x->GetLabel();
        if (which == 1)
            SetInput1(x);
        else
            SetInput2(x);
        SetLabel(mine);
        x->SetLabel(theirs);
    }
    auto resolve = [&](std::int32_t i) {
        CPatternManipulative* p = index.At(i);
        return p == this ? nullptr : p;
    };
    SetTable(resolve(table));
    SetHopperOwner(resolve(owner));
    SetProducer(resolve(producer));
}

void CPatternManipulative::RemoveCard(CPatternManipulative* card) {
    Erase(m_waiting1, card);
    Erase(m_waiting2, card);
    Erase(m_outputCards, card);
}

void CPatternManipulative::CollectTables(std::vector<CPatternManipulative*>& tables) {
    if (m_table && std::find(tables.begin(), tables.end(), m_table) == tables.end())
        tables.push_back(m_table);
}

int CPatternManipulative::SetInput1(CPatternManipulative* x) {
    return SetInput(1, x);
}

int CPatternManipulative::SetInput2(CPatternManipulative* x) {
    return SetInput(2, x);
}

int CPatternManipulative::SetInput(int which, CPatternManipulative* x) {
    CPatternManipulative*& slot = which == 1 ? m_input1 : m_input2;
    if (x) {
        // The pupil's loop check: down input1 where there is one, else input2.
        std::set<const CPatternManipulative*> seen;
        for (const CPatternManipulative* node = x; node && seen.insert(node).second;
             node = node->m_input1 ? node->m_input1 : node->m_input2)
            if (node == this)
                return kMsgLoopInSupermachine;
    }
    CPatternManipulative* old = slot;
    slot = x;
    if (old && old != x && old->m_output == this) {
        old->m_output = nullptr;
        RefreshGoButtons(old);
    }
    if (!x) {
        RefreshGoButtons(this);
        return kAccepted;
    }
    Meet(x);
    x->SetOutput(this);
    RefreshGoButtons(this);
    return kAccepted;
}

int CPatternManipulative::SetOutput(CPatternManipulative* m) {
    m_output = m;
    Meet(m);
    if (g_attaching || m_tearingDown)
        return kAccepted;
    RefreshGoButtons(this);
    CFunctionMachine* self = AsMachine(this);
    CFunctionMachine* target = AsMachine(m);
    if (self && target) {
        if (self->mystery() == target->mystery())
            target->ClearGroupLabels();
        else if (CFunctionMachine* head = target->Head())
            head->SetHeadMark(true);
    }
    return kAccepted;
}

void CPatternManipulative::DetachCard(CPatternManipulative* card) {
    RemoveCard(card);
    if (m_input1 == card)
        m_input1 = nullptr;
    if (m_input2 == card)
        m_input2 = nullptr;
}

void CPatternManipulative::DetachInput1(CPatternManipulative* x) {
    if (m_input1 == x) {
        m_input1 = nullptr;
        m_input1Arrived = false;
    }
}

void CPatternManipulative::DetachInput2(CPatternManipulative* x) {
    if (m_input2 == x) {
        m_input2 = nullptr;
        m_input2Arrived = false;
    }
}

void CPatternManipulative::DetachOutput(CPatternManipulative* x) {
    if (m_output == x)
        m_output = nullptr;
}

// ---- CFunctionMachine ----

CFunctionMachine::CFunctionMachine(const CFunctionMachine& other)
    : CPatternManipulative(other), m_mysteryLabel(other.m_mysteryLabel),
      m_builtIn1(other.m_builtIn1), m_builtIn2(other.m_builtIn2) {}

void CFunctionMachine::SerializeLinked(CArchive& ar, const CPatternIndex& index) {
    CPatternManipulative::SerializeLinked(ar, index);
    // The mystery value is written twice; the first one read counts.
    std::int32_t again = m_mystery;
    ar.Exchange(again, "machine mystery");
}

CFunctionMachine* CFunctionMachine::Head() {
    CFunctionMachine* head = this;
    std::set<const CPatternManipulative*> seen{this};
    for (CPatternManipulative* next = m_output; next && seen.insert(next).second;
         next = next->output()) {
        CFunctionMachine* m = AsMachine(next);
        if (!m)
            break;
        head = m;
    }
    return head;
}

CFunctionMachine* CFunctionMachine::FirstMachine() {
    std::set<const CPatternManipulative*> seen;
    // The descent: a card at input 1 ends it unless input 2 comes from another machine.
    auto find = [&](auto& self, CPatternManipulative* node) -> CFunctionMachine* {
        CFunctionMachine* m = AsMachine(node);
        if (!m || !seen.insert(m).second)
            return nullptr;
        CPatternManipulative* in1 = m->input1();
        CPatternManipulative* in2 = m->input2();
        if (!in1 && !in2)
            return m;
        if (in1 && in1->IsCard()) {
            if (AsMachine(in2))
                if (CFunctionMachine* found = self(self, in2))
                    return found;
            return m;
        }
        CFunctionMachine* found = self(self, in1);
        if (!found)
            found = self(self, in2);
        return found ? found : m;
    };
    CFunctionMachine* first = find(find, Head());
    return first ? first : this;
}

void CFunctionMachine::Leaves(std::vector<CFunctionMachine*>& out) {
    for (CPatternManipulative* node : ReachedThroughInputs(Head())) {
        if (!node->IsMachine())
            continue;
        const auto plain = [](const CPatternManipulative* in) { return !in || in->IsCard(); };
        if (plain(node->input1()) && plain(node->input2()))
            out.push_back(AsMachine(node));
    }
}

void CFunctionMachine::Members(std::vector<CFunctionMachine*>& out) {
    for (CPatternManipulative* node : ReachedThroughInputs(Head()))
        if (CFunctionMachine* m = AsMachine(node))
            out.push_back(m);
}

bool CFunctionMachine::Contains(const CPatternManipulative* x) {
    if (!x)
        return false;
    const auto all = ReachedThroughInputs(Head());
    return std::find(all.begin(), all.end(), x) != all.end();
}

void CFunctionMachine::CollectTables(std::vector<CPatternManipulative*>& tables) {
    std::vector<CFunctionMachine*> members;
    Members(members);
    for (CFunctionMachine* m : members)
        m->CPatternManipulative::CollectTables(tables);
}

CFunctionMachine* CFunctionMachine::MysteryRepresentative() {
    CFunctionMachine* rep = this;
    std::set<const CPatternManipulative*> seen{this};
    for (CPatternManipulative* next = m_output; next && seen.insert(next).second;
         next = next->output()) {
        CFunctionMachine* m = AsMachine(next);
        if (!m || m->mystery() != m_mystery)
            break;
        if (!m->IsLink())
            rep = m;
    }
    return rep;
}

bool CFunctionMachine::InSupermachine() const {
    const auto linked = [](const CPatternManipulative* in) { return in && in->IsLink(); };
    return m_output != nullptr || linked(m_input1) || linked(m_input2);
}

void CFunctionMachine::SetSupermachineMystery(std::int32_t m) {
    std::vector<CFunctionMachine*> members;
    Members(members);
    CFunctionMachine* head = Head();
    const bool clearLabels = m != 0 && head->headMark();
    for (CFunctionMachine* member : members) {
        member->SetMystery(m);
        if (clearLabels)
            member->SetLabel({});
    }
    if (clearLabels)
        head->SetHeadMark(false);
}

void CFunctionMachine::ClearGroupLabels() {
    CFunctionMachine* top = this;
    std::set<const CPatternManipulative*> seen{this};
    for (CPatternManipulative* next = m_output; next && seen.insert(next).second;
         next = next->output()) {
        CFunctionMachine* m = AsMachine(next);
        if (!m || m->mystery() != m_mystery)
            break;
        top = m;
    }
    for (CPatternManipulative* node : ReachedThroughInputs(top))
        if (CFunctionMachine* m = AsMachine(node); m && m->mystery() == m_mystery)
            m->SetLabel({});
}

CPoint CFunctionMachine::OutputCardPlace(std::size_t earlier, CSize card) const {
    const CRect h = Hopper(0);
    const int shift = earlier % 2 == 0 ? -3 : 3;
    const int centre = static_cast<int>((std::int64_t{h.left} + h.right) / 2);
    return {centre - card.cx / 2 + shift, h.bottom};
}

void CFunctionMachine::UpdateGoButton() {
    m_goEnabled = !IsLink() && FirstMachine() == this && Head()->HasValue();
}

void CFunctionMachine::UpdateSupermachineGoButtons() {
    std::vector<CFunctionMachine*> members;
    Members(members);
    CFunctionMachine* first = FirstMachine();
    const bool ready = Head()->HasValue();
    for (CFunctionMachine* m : members)
        m->EnableGoButton(m == first && ready && !m->IsLink());
}

// ---- CMachineLink ----

CMachineLink::CMachineLink(CFunctionMachine& source, CFunctionMachine& target) {
    m_input1 = &source;
    m_output = &target;
    Meet(&source);
    Meet(&target);
}

CMachineLink::CMachineLink(const CMachineLink& other)
    : CFunctionMachine(other), m_wire(other.m_wire), m_input1Rect(other.m_input1Rect),
      m_input2Rect(other.m_input2Rect), m_outputRect(other.m_outputRect),
      m_wiresShown(other.m_wiresShown) {}

std::unique_ptr<CManipulative> CMachineLink::Clone() const {
    return std::make_unique<CMachineLink>(*this);
}

void CMachineLink::SerializeLinked(CArchive& ar, const CPatternIndex& index) {
    CFunctionMachine::SerializeLinked(ar, index);
    ar.Exchange(m_input1Rect, "input-1 hopper");
    ar.ExchangeTab();
    ar.Exchange(m_input2Rect, "input-2 hopper");
    ar.ExchangeTab();
    ar.Exchange(m_outputRect, "output hopper");
    ar.ExchangeTab();
}

void CMachineLink::Draw(IDrawingSurface& dc) const {
    if (!m_visible || !m_wiresShown || m_wire.size() < 2)
        return;
    dc.SetPen(2, m_selected ? PaletteRGB(0, 90, 200) : kWireColor);
    dc.Polyline(m_wire);
}

bool CMachineLink::HitTest(double x, double y) const {
    if (!m_visible || !m_wiresShown)
        return false;
    const CPoint p{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
    for (std::size_t i = 1; i < m_wire.size(); ++i)
        if (SegmentDistanceSquared(p, m_wire[i - 1], m_wire[i]) <=
            static_cast<double>(Square(kWireHitDistance)))
            return true;
    return false;
}

void CMachineLink::GetBounds(CRect& r) const {
    r = {};
    if (m_wire.empty())
        return;
    r = CRect::Inverted();
    for (CPoint p : m_wire)
        r = {std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x),
             std::max(r.bottom, p.y)};
    r.right = CRect::Saturated(std::int64_t{r.right} + 1);
    r.bottom = CRect::Saturated(std::int64_t{r.bottom} + 1);
}

void CMachineLink::GetFrame(CRect& r) const {
    GetBounds(r);
    if (!r.IsEmpty())
        r.Inflate(kWireHitDistance, kWireHitDistance);
}

bool CMachineLink::HasValue() const {
    const CPatternManipulative* s = source();
    return s && s->HasValue();
}

CNumber CMachineLink::GetValue() const {
    const CPatternManipulative* s = source();
    return s ? s->GetValue() : CNumber();
}

std::string CMachineLink::GetText() const {
    const CPatternManipulative* s = source();
    return s ? s->GetText() : std::string();
}

int CMachineLink::SetInput1(CPatternManipulative* source) {
    return SetInput(1, source);
}

int CMachineLink::TargetInput() const {
    const CPatternManipulative* t = m_output;
    if (!t)
        return 0;
    if (t->input1() == this)
        return 1;
    if (t->input2() == this)
        return 2;
    return 0;
}

CFunctionMachine* CMachineLink::source() const {
    return dynamic_cast<CFunctionMachine*>(m_input1);
}

CFunctionMachine* CMachineLink::target() const {
    return dynamic_cast<CFunctionMachine*>(m_output);
}

void CMachineLink::Route() {
    CFunctionMachine* from = source();
    CFunctionMachine* to = target();
    const int which = TargetInput();
    if (!from || !to || which == 0) {
        m_wire.clear();
        return;
    }
    CFunctionMachine* shownFrom = from;
    if (from->mystery() != 0 && m_mystery == 0)
        shownFrom = from->MysteryRepresentative();
    const CPoint s = shownFrom->GetOutputPoint();
    const CPoint e = to->GetInputPoint(which);
    m_wire = WireRoute(s, e, shownFrom->Body(), to->Body());
    m_input1Rect = shownFrom->Body();
    m_outputRect = to->Body();
}

std::vector<CPoint> WireRoute(CPoint s, CPoint e, const CRect& sourceBody,
                              const CRect& targetBody) {
    constexpr int kClear = 8;
    if (e.y - s.y > 10) {
        const int m = (s.y + e.y) / 2;
        return {s, {s.x, m}, {e.x, m}, e};
    }
    int y1 = 0, x2 = 0;
    if (targetBody.left - sourceBody.right >= kClear) {
        y1 = s.y + kClear;
        x2 = (sourceBody.right + targetBody.left) / 2;
    } else if (sourceBody.left - targetBody.right >= kClear) {
        y1 = s.y + kClear;
        x2 = (targetBody.right + sourceBody.left) / 2;
    } else {
        y1 = std::max(s.y, targetBody.bottom) + kClear;
        x2 = e.x < s.x ? std::min(sourceBody.left, targetBody.left) - kClear
                       : std::max(sourceBody.right, targetBody.right) + kClear;
    }
    return {s, {s.x, y1}, {x2, y1}, {x2, e.y - kClear}, {e.x, e.y - kClear}, e};
}

} // namespace quorvel

// --- cards -----------------------------------------------------------------------------------

namespace quorvel {

using machine_look::Clamped;

CCardManipulative::CCardManipulative(const CCardManipulative& other)
    : CPatternManipulative(other), m_hidden(other.m_hidden), m_readOnly(other.m_readOnly),
      m_shown(other.m_shown), m_editEnabled(other.m_editEnabled), m_rect(other.m_rect) {
    SyncCentre();
}

bool CCardManipulative::HitTest(double x, double y) const {
    return m_visible && m_shown && m_rect.Contains({Clamped(x), Clamped(y)});
}

void CCardManipulative::MoveBy(double dx, double dy) {
    if (m_fixed)
        return;
    m_centre.x += dx;
    m_centre.y += dy;
    m_rotationPoint.x += dx;
    m_rotationPoint.y += dy;
    const int left = Clamped(m_centre.x - m_rect.Width() / 2.0);
    const int top = Clamped(m_centre.y - m_rect.Height() / 2.0);
    m_rect.Offset(left - m_rect.left, top - m_rect.top);
}

void CCardManipulative::MoveTo(const C3DPointDouble& p) {
    MoveBy(p.x - m_centre.x, p.y - m_centre.y);
}

void CCardManipulative::SetRect(const CRect& r) {
    m_rect = r;
    SyncCentre();
}

void CCardManipulative::SyncCentre() {
    m_centre =
        C3DPointDouble(m_rect.left + m_rect.Width() / 2.0, m_rect.top + m_rect.Height() / 2.0, 0.0);
    m_rotationPoint = m_centre;
}

} // namespace quorvel
