// Number cards and the number machine: their values, places, archive forms and looks.
#include "patterns/number_machine.h"

#include "patterns/machine_look.h"
#include "patterns/machine_table.h"

#include "numbers/number_text.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvel {

using namespace machine_look;

namespace {

constexpr Color kBodyFill = PaletteRGB(255, 205, 110);
constexpr Color kBuiltInOn = PaletteRGB(80, 170, 90);

constexpr CSize kDefaultCardSize{72, 35};
constexpr int kMaxCardWidth = 240;

CRect SaneRect(CRect r) {
    auto c = [](std::int32_t v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); };
    r = {c(r.left), c(r.top), c(r.right), c(r.bottom)};
    r.right = std::clamp(r.right, r.left, r.left + kMaxCardWidth);
    r.bottom = std::clamp(r.bottom, r.top, r.top + kMaxCardWidth);
    return r;
}

CFontSpec FractionFont() {
    CFontSpec f = NumberCardFont();
    f.pointSizeTenths = f.pointSizeTenths * 2 / 3;
    return f;
}

CSize SizeOf(const CPatternManipulative* card) {
    CRect f;
    card->GetFrame(f);
    return {f.Width(), f.Height()};
}

} // namespace

CFontSpec NumberCardFont() {
    return CFontSpec{"Arial", 120, 0, 700};
}

CSize NumberCardSize(ITextMetrics& metrics) {
    const CFontSpec font = NumberCardFont();
    return {metrics.TextExtent(font, "99999999").cx, 3 * metrics.LineHeight(font) / 2 + 8};
}

// ---- CNumberCardManipulative ----

CNumberCardManipulative::CNumberCardManipulative() {
    SetRect({0, 0, kDefaultCardSize.cx, kDefaultCardSize.cy});
}

CNumberCardManipulative::CNumberCardManipulative(CPoint topLeft, ITextMetrics& metrics) {
    const CSize size = NumberCardSize(metrics);
    SetRect({topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy});
}

CNumberCardManipulative::CNumberCardManipulative(const CNumberCardManipulative& other)
    : CCardManipulative(other), m_text(other.m_text), m_hiddenText(other.m_hiddenText),
      m_typed(other.m_typed), m_readValue(other.m_readValue), m_further(other.m_further),
      m_furtherText(other.m_furtherText), m_builtInText(other.m_builtInText),
      m_editFurther(other.m_editFurther) {}

std::unique_ptr<CManipulative> CNumberCardManipulative::Clone() const {
    return std::make_unique<CNumberCardManipulative>(*this);
}

void CNumberCardManipulative::SerializeLinked(CArchive& ar, const CPatternIndex& index) {
    CPatternManipulative::SerializeLinked(ar, index);
    std::string cardText = m_hidden ? m_hiddenText : m_text;
    ar.Exchange(cardText, "card text");
    std::string editText = m_text;
    CRect rect = m_rect;
    CNumber editValue = m_value;
    {
        CArchive::Scope edit(ar, "edit");
        ar.Exchange(editText, "text");
        ar.Exchange(m_shown, "shown");
        ar.Exchange(rect, "rectangle");
        ar.Exchange(m_editFurther, "further");
        ar.Exchange(m_editEnabled, "enabled");
        CArchive::Scope value(ar, "value");
        editValue.Serialize(ar);
    }
    ar.Exchange(m_readOnly, "read-only");
    // The further value carries the hidden state.
    m_further = m_hidden ? 1 : 0;
    ar.Exchange(m_further, "hidden");
    if (ar.IsStoring())
        return;
    m_text = std::string(FirstChars(editText, kCardMaxChars));
    m_value = m_readValue = editValue;
    m_typed = !m_readOnly || !m_text.empty();
    m_builtInText.clear();
    SetRect(SaneRect(rect));
    m_hidden = m_further != 0;
    m_hiddenText = m_hidden ? cardText : std::string();
}

void CNumberCardManipulative::Draw(IDrawingSurface& dc) const {
    if (!m_visible || !m_shown)
        return;
    const CRect& r = m_rect;
    const Color fill = m_hidden ? kHiddenFill : m_readOnly ? kReadOnlyFill : kWhite;
    dc.SetPen(m_selected ? 2 : 1, m_selected ? kSelectInk : kInk);
    dc.SetBrush(fill);
    constexpr int c = 3; // cut corners
    dc.Polygon({{r.left + c, r.top},
                {r.right - 1 - c, r.top},
                {r.right - 1, r.top + c},
                {r.right - 1, r.bottom - 1 - c},
                {r.right - 1 - c, r.bottom - 1},
                {r.left + c, r.bottom - 1},
                {r.left, r.bottom - 1 - c},
                {r.left, r.top + c}});
    const CFontSpec font = NumberCardFont();
    ITextMetrics& metrics = dc.Metrics();
    const CRect text = TextRect();
    if (m_hidden) {
        Label(dc, text, "?", font, kHiddenInk);
        return;
    }
    const Face face = GetFace();
    if (!face.fraction) {
        Label(dc, text, Fitted(metrics, font, face.whole, text.Width()), font, kInk);
        return;
    }
    const CFontSpec small = FractionFont();
    const int wholeW = face.whole.empty() ? 0 : metrics.TextExtent(font, face.whole).cx;
    const int gap = face.whole.empty() ? 0 : 3;
    const int fracW = std::max(metrics.TextExtent(small, face.numerator).cx,
                               metrics.TextExtent(small, face.denominator).cx) +
                      4;
    const CPoint mid = CentreOf(text);
    const int x = mid.x - (wholeW + gap + fracW) / 2;
    dc.SetTextColor(kInk);
    dc.SetTextBackground(kWhite, true);
    if (wholeW > 0) {
        dc.SetFont(font);
        dc.DrawText({x, text.top, x + wholeW, text.bottom}, face.whole,
                    kAlignRight | kAlignVCenter | kSingleLine);
    }
    const int fx = x + wholeW + gap;
    const int lh = metrics.LineHeight(small);
    dc.SetPen(1, kInk);
    dc.Line({fx, mid.y}, {fx + fracW, mid.y});
    dc.SetFont(small);
    dc.DrawText({fx, mid.y - 1 - lh, fx + fracW, mid.y - 1}, face.numerator,
                kAlignCenter | kAlignBottom | kSingleLine);
    dc.DrawText({fx, mid.y + 1, fx + fracW, mid.y + 1 + lh}, face.denominator,
                kAlignCenter | kAlignTop | kSingleLine);
}

std::string CNumberCardManipulative::GetText() const {
    if (m_hidden)
        return m_hiddenText;
    return m_typed ? m_text : m_value.Format();
}

bool CNumberCardManipulative::HasValue() const {
    return m_readOnly || !m_text.empty();
}

void CNumberCardManipulative::SetText(std::string_view text) {
    m_text = std::string(FirstChars(text, kCardMaxChars));
    m_typed = true;
    m_builtInText.clear();
    try {
        const CNumber v(m_text);
        m_readValue = v;
        m_value = v;
    } catch (const CNumberException&) {
        // Text that makes no number keeps the last good value.
    }
}

void CNumberCardManipulative::SetShownValue(const CNumber& v) {
    m_value = m_readValue = v;
    m_text.clear();
    m_typed = false;
    m_builtInText.clear();
}

CNumberCardManipulative::Face CNumberCardManipulative::GetFace() const {
    Face face;
    if (m_hidden)
        return face;
    if (!m_builtInText.empty()) {
        face.whole = m_builtInText;
        return face;
    }
    if (m_typed) {
        face.whole = m_text;
        return face;
    }
    switch (m_value.kind()) {
    case NumberKind::Integer:
        face.whole = std::to_string(m_value.numerator());
        break;
    case NumberKind::Decimal:
        FormatDecimal(face.whole, m_value.ToDouble(), 15);
        break;
    case NumberKind::Fraction: {
        const int n = m_value.numerator(), d = m_value.denominator();
        const int whole = n / d;
        face.fraction = true;
        if (whole != 0) {
            face.whole = std::to_string(whole);
            face.numerator = std::to_string(Magnitude(n % d));
        } else {
            face.numerator = std::to_string(n);
        }
        face.denominator = std::to_string(d);
        break;
    }
    }
    return face;
}

void CNumberCardManipulative::FitToFace(ITextMetrics& metrics) {
    const Face face = GetFace();
    const CFontSpec font = NumberCardFont();
    int need = face.whole.empty() ? 0 : metrics.TextExtent(font, face.whole).cx;
    if (face.fraction) {
        const CFontSpec small = FractionFont();
        need += (face.whole.empty() ? 0 : 3) +
                std::max(metrics.TextExtent(small, face.numerator).cx,
                         metrics.TextExtent(small, face.denominator).cx) +
                4;
    }
    need = std::min(need + 8, kMaxCardWidth);
    if (need > m_rect.Width()) {
        CRect r = m_rect;
        r.right = r.left + need;
        SetRect(r);
    }
}

int CNumberCardManipulative::ToggleHidden() {
    if (!m_hidden && !m_readOnly && m_text.empty())
        return kMsgHideEmptyCard;
    if (!m_hidden)
        m_hiddenText = GetText();
    m_hidden = !m_hidden;
    return kAccepted;
}

CRect CNumberCardManipulative::TextRect() const {
    return {m_rect.left + 2, m_rect.top + 4, m_rect.right - 2, m_rect.bottom - 2};
}

// ---- Operations ----

std::string OperationSymbol(int operation) {
    switch (operation) {
    case 0:
        return "+";
    case 1:
        return "\u2212";
    case 2:
        return "\u00D7";
    case 3:
        return "\u00F7";
    default:
        return {};
    }
}

int OperationForText(std::string_view text) {
    text = TrimSpace(text);
    if (text == "+")
        return 0;
    if (text == "-" || text == "\u2212")
        return 1;
    if (text == "*" || text == "x" || text == "X" || text == "\u00D7")
        return 2;
    if (text == "/" || text == "\u00F7")
        return 3;
    return kNoOperation;
}

// ---- CNumberMachine ----

namespace {

// Parts of the body, relative to the frame's top-left corner.
constexpr int kBodyTop = CNumberMachine::kHopperHeight;
constexpr CRect kHopper1{20, 0, 96, CNumberMachine::kHopperHeight};
constexpr CRect kHopper2{104, 0, 180, CNumberMachine::kHopperHeight};
constexpr CRect kOutputHopper{62, kBodyTop + CNumberMachine::kBodyHeight, 138,
                              CNumberMachine::kHeight};
constexpr CRect kToggle1{2, 14, 18, 30};
constexpr CRect kToggle2{182, 14, 198, 30};
constexpr CRect kBuiltIn1{22, kBodyTop + 4, 94, kBodyTop + 40};
constexpr CRect kBuiltIn2{106, kBodyTop + 4, 178, kBodyTop + 40};
constexpr CRect kMysteryArea{8, kBodyTop + 4, 192, kBodyTop + 40};
constexpr CRect kOperator{76, kBodyTop + 46, 124, kBodyTop + 82};
constexpr CRect kSpinNext{128, kBodyTop + 46, 148, kBodyTop + 64};
constexpr CRect kSpinPrevious{128, kBodyTop + 64, 148, kBodyTop + 82};
constexpr CRect kLabelBox{8, kBodyTop + 90, 130, kBodyTop + 116};
constexpr CRect kGo{138, kBodyTop + 88, 192, kBodyTop + 118};

// Nesting of the value checks that follow links back to their sources.
int g_valueDepth = 0;
constexpr int kMaxValueDepth = 256;

struct ValueDepth {
    ValueDepth() { ++g_valueDepth; }
    ~ValueDepth() { --g_valueDepth; }
    ValueDepth(const ValueDepth&) = delete;
    ValueDepth& operator=(const ValueDepth&) = delete;
    bool TooDeep() const { return g_valueDepth > kMaxValueDepth; }
};

} // namespace

CNumberMachine::CNumberMachine() : CNumberMachine(CPoint{}) {}

CNumberMachine::CNumberMachine(CPoint topLeft) : m_topLeft(topLeft) {
    for (auto& card : m_builtIn) {
        card = std::make_unique<CNumberCardManipulative>();
        card->SetShown(false);
    }
    m_centre = C3DPointDouble(topLeft.x + kWidth / 2.0, topLeft.y + kHeight / 2.0, 0.0);
    m_rotationPoint = m_centre;
    for (int which : {1, 2})
        builtInCard(which).SetRect(
            PartRect(which == 1 ? MachinePart::BuiltIn1 : MachinePart::BuiltIn2));
}

CNumberMachine::CNumberMachine(const CNumberMachine& other)
    : CFunctionMachine(other), m_topLeft(other.m_topLeft), m_operation(other.m_operation),
      m_operatorHidden(other.m_operatorHidden), m_labelHidden(other.m_labelHidden),
      m_label(other.m_label) {
    for (std::size_t i = 0; i < m_builtIn.size(); ++i)
        m_builtIn[i] = std::make_unique<CNumberCardManipulative>(*other.m_builtIn[i]);
}

std::unique_ptr<CManipulative> CNumberMachine::Clone() const {
    return std::make_unique<CNumberMachine>(*this);
}

void CNumberMachine::SerializeLinked(CArchive& ar, const CPatternIndex& index) {
    CFunctionMachine::SerializeLinked(ar, index);
    ar.Exchange(m_operation, "operation");
    if (ar.IsLoading() && (m_operation < kNoOperation || m_operation > 3))
        ar.Fail("operation " + std::to_string(m_operation) + " is none of -1..3", "operation");
    ar.Exchange(m_operatorHidden, "operator hidden");
    ar.Exchange(m_labelHidden, "label hidden");
    ar.Exchange(m_label, "label");
    bool builtIn1 = m_builtIn1, builtIn2 = m_builtIn2;
    ar.Exchange(builtIn1, "built-in 1");
    ar.Exchange(builtIn2, "built-in 2");
    for (int which : {1, 2}) {
        CArchive::Scope card(ar, which == 1 ? "built-in card 1" : "built-in card 2");
        builtInCard(which).SerializeLinked(ar, CPatternIndex{});
    }
    std::int32_t left = m_topLeft.x, top = m_topLeft.y;
    {
        CArchive::Scope corner(ar, "top-left");
        ar.Exchange(left, "left");
        ar.Exchange(top, "top");
    }
    ar.Exchange(m_mysteryLabel, "mystery label");
    if (ar.IsStoring())
        return;
    if (m_operation == kNoOperation)
        m_operatorHidden = false;
    // The whole machine, its built-in cards included (however wide they grew), stays inside
    // the limit that cards read their own rectangles within, so that reading again places them
    // the same.
    const CPoint corner{
        std::clamp(left, -kCoordinateLimit, kCoordinateLimit - kWidth - kMaxCardWidth),
        std::clamp(top, -kCoordinateLimit, kCoordinateLimit - kHeight)};
    m_topLeft = corner;
    m_centre = C3DPointDouble(corner.x + kWidth / 2.0, corner.y + kHeight / 2.0, 0.0);
    m_rotationPoint = m_centre;
    for (int which : {1, 2}) {
        CNumberCardManipulative& card = builtInCard(which);
        const CRect slot = PartRect(which == 1 ? MachinePart::BuiltIn1 : MachinePart::BuiltIn2);
        card.SetRect({slot.left, slot.top, slot.left + card.rect().Width(), slot.bottom});
        (which == 1 ? m_builtIn1 : m_builtIn2) = which == 1 ? builtIn1 : builtIn2;
        card.SetShown(IsBuiltIn(which));
    }
}

void CNumberMachine::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    const bool mysterious = m_mystery != 0;
    const bool live = m_controlsEnabled;
    const Color ink = live ? kInk : kDisabledInk;

    DrawHoppers(dc, {Hopper(1), Hopper(2)}, Hopper(0));
    DrawBody(dc, Body(), m_selected, mysterious, kBodyFill);

    // Toggle buttons beside the input hoppers: filled with a dot while built-in.
    for (int which : {1, 2}) {
        const CRect t = PartRect(which == 1 ? MachinePart::Toggle1 : MachinePart::Toggle2);
        Box(dc, t, IsBuiltIn(which) ? kBuiltInOn : kButtonFill, ink);
        if (IsBuiltIn(which)) {
            CRect dot = t;
            dot.Inflate(-5, -5);
            dc.SetBrush(kWhite);
            dc.Ellipse(dot);
        }
    }

    const CFontSpec bold{"Arial", 120, 0, 700};
    if (mysterious) {
        Label(dc, Offset(kMysteryArea), m_mysteryLabel, bold, kHiddenInk);
    } else {
        for (int which : {1, 2})
            if (IsBuiltIn(which))
                builtInCard(which).Draw(dc);
    }

    const CRect op = PartRect(MachinePart::Operator);
    Box(dc, op, kWhite);
    const bool opHidden = mysterious || m_operatorHidden;
    Label(dc, op, opHidden ? "?" : OperationSymbol(m_operation), CFontSpec{"Arial", 200, 0, 700},
          opHidden ? kHiddenInk : kInk);

    DrawSpinButtons(dc, PartRect(MachinePart::SpinNext), PartRect(MachinePart::SpinPrevious), ink);

    const CRect label = PartRect(MachinePart::Label);
    Box(dc, label, kWhite);
    if (!m_labelHidden)
        Label(dc, label, Fitted(dc.Metrics(), CFontSpec{"Arial", 100}, m_label, label.Width() - 4),
              CFontSpec{"Arial", 100}, kInk);

    DrawGoButton(dc, PartRect(MachinePart::Go), m_goText, bold, m_goEnabled && live);
}

bool CNumberMachine::HitTest(double x, double y) const {
    return m_visible && PartAt({Clamped(x), Clamped(y)}) != MachinePart::None;
}

void CNumberMachine::MoveBy(double dx, double dy) {
    if (m_fixed)
        return;
    m_centre.x += dx;
    m_centre.y += dy;
    m_rotationPoint.x += dx;
    m_rotationPoint.y += dy;
    const CPoint old = m_topLeft;
    m_topLeft = {Clamped(m_centre.x - kWidth / 2.0), Clamped(m_centre.y - kHeight / 2.0)};
    const int ix = m_topLeft.x - old.x, iy = m_topLeft.y - old.y;
    if (ix == 0 && iy == 0)
        return;
    for (CPatternManipulative* in : {m_input1, m_input2})
        if (in && in->IsCard() && in->hopperOwner() == this)
            ChildMoved(in, ix, iy);
    for (const auto* waiting : {&m_waiting1, &m_waiting2})
        for (CPatternManipulative* card : *waiting)
            ChildMoved(card, ix, iy);
    for (auto& card : m_builtIn) {
        CRect r = card->rect();
        r.Offset(ix, iy);
        card->SetRect(r);
    }
    RouteLinks();
}

void CNumberMachine::GetFrame(CRect& r) const {
    r = {m_topLeft.x, m_topLeft.y, m_topLeft.x + kWidth, m_topLeft.y + kHeight};
}

void CNumberMachine::GetBounds(CRect& r) const {
    GetFrame(r);
}

void CNumberMachine::SetMystery(std::int32_t m) {
    m_mystery = m;
}

bool CNumberMachine::InputsReady() const {
    ValueDepth depth;
    if (depth.TooDeep())
        return false;
    for (int which : {1, 2}) {
        if (IsBuiltIn(which))
            continue;
        const CPatternManipulative* in = which == 1 ? m_input1 : m_input2;
        if (!in || !in->HasValue())
            return false;
    }
    return true;
}

bool CNumberMachine::HasValue() const {
    return m_operation != kNoOperation && InputsReady();
}

bool CNumberMachine::IsReady() const {
    if (m_operation == kNoOperation)
        return false;
    ValueDepth depth;
    if (depth.TooDeep())
        return false;
    bool emptyInput = false;
    for (int which : {1, 2}) {
        if (IsBuiltIn(which))
            continue;
        const CPatternManipulative* in = which == 1 ? m_input1 : m_input2;
        if (!in) {
            emptyInput = true;
            continue;
        }
        const CMachineLink* link = dynamic_cast<const CMachineLink*>(in);
        const bool ready = link ? link->source() && link->source()->IsReady() : in->HasValue();
        if (!ready)
            return false;
    }
    return !emptyInput || const_cast<CNumberMachine*>(this)->FirstMachine() == this;
}

std::string CNumberMachine::GetText() const {
    return m_value.Format();
}

CPoint CNumberMachine::GetOutputPoint() const {
    const CRect h = Hopper(0);
    return {CentreOf(h).x, h.bottom};
}

CPoint CNumberMachine::GetInputPoint(int which) const {
    const CRect h = Hopper(which == 2 ? 2 : 1);
    return {CentreOf(h).x, h.top};
}

bool CNumberMachine::HitInput1(CPoint p) const {
    return DropArea(1).Contains(p);
}

bool CNumberMachine::HitInput2(CPoint p) const {
    return DropArea(2).Contains(p);
}

int CNumberMachine::AcceptCard(CPatternManipulative* card) {
    if (!card || card->GetType() != kTypeNumberCard)
        return kNotOverHopper;
    CRect frame;
    card->GetFrame(frame);
    const CPoint centre = CentreOf(frame);
    for (int which : {1, 2}) {
        if (!DropArea(which).Contains(centre))
            continue;
        CPatternManipulative* in = which == 1 ? m_input1 : m_input2;
        if (IsBuiltIn(which) || (in && in->IsLink()))
            return kNotOverHopper;
        if (in == card) {
            PlaceCard(card, CardPlace(which, SizeOf(card)));
            return kAccepted;
        }
        // A card taken from the other hopper or its stack leaves it first.
        TakeOut(card);
        if (!in) {
            const int result = which == 1 ? SetInput1(card) : SetInput2(card);
            if (result != kAccepted)
                return result;
            PlaceCard(card, CardPlace(which, SizeOf(card)));
        } else {
            (which == 1 ? m_waiting1 : m_waiting2).push_back(card);
            Meet(card);
        }
        card->SetHopperOwner(this);
        PlaceWaitingCards();
        UpdateSupermachineGoButtons();
        return kAccepted;
    }
    return kNotOverHopper;
}

void CNumberMachine::TakeOut(CPatternManipulative* card) {
    std::erase(m_waiting1, card);
    std::erase(m_waiting2, card);
    if (m_input1 == card)
        SetInput(1, nullptr);
    if (m_input2 == card)
        SetInput(2, nullptr);
}

int CNumberMachine::SetInput1(CPatternManipulative* x) {
    return SetInput(1, x);
}

int CNumberMachine::SetInput2(CPatternManipulative* x) {
    return SetInput(2, x);
}

void CNumberMachine::RemoveCard(CPatternManipulative* card) {
    TakeOut(card);
    std::erase(m_outputCards, card);
    PlaceWaitingCards();
}

ComputeResult CNumberMachine::Compute(const CComputeOptions& options) {
    CPatternManipulative* in[2] = {InputAt(1), InputAt(2)};
    if (!in[0] || !in[1] || m_operation == kNoOperation)
        return ComputeResult::Missing;
    const bool arrived[2] = {m_input1Arrived, m_input2Arrived};
    for (int i = 0; i < 2; ++i)
        if (in[i]->IsLink() && !arrived[i])
            return ComputeResult::Waiting;
    const CNumber a = in[0]->GetValue(), b = in[1]->GetValue();
    CNumber result;
    switch (m_operation) {
    case 0:
        result = a + b;
        break;
    case 1:
        result = a - b;
        break;
    case 2:
        result = a * b;
        break;
    default:
        result = a / b;
        break;
    }
    if (options.decimalOutput)
        result = CNumber(result.ToDouble());
    m_value = result;
    for (int which : {1, 2}) {
        CNumberCardManipulative& card = builtInCard(which);
        const CPatternManipulative* input = in[which - 1];
        if (IsBuiltIn(which))
            card.SetBuiltInText({});
        else if (input->IsLink())
            card.SetBuiltInText(options.problemSet ? "?" : input->GetValue().Format());
        else
            card.SetBuiltInText(input->GetText());
    }
    m_ticks = 0;
    return ComputeResult::Computed;
}

void CNumberMachine::SetOperation(int operation) {
    m_operation = operation >= 0 && operation <= 3 ? operation : kNoOperation;
    if (m_operation == kNoOperation)
        m_operatorHidden = false;
}

int CNumberMachine::ToggleOperatorHidden() {
    if (m_operation == kNoOperation)
        return kMsgHideNoOperator;
    m_operatorHidden = !m_operatorHidden;
    return kAccepted;
}

void CNumberMachine::SetBuiltIn(int which, bool on) {
    (which == 2 ? m_builtIn2 : m_builtIn1) = on;
    builtInCard(which).SetShown(on);
    UpdateSupermachineGoButtons();
}

CPatternManipulative* CNumberMachine::InputAt(int which) const {
    if (IsBuiltIn(which))
        return m_builtIn[Slot(which)].get();
    return which == 2 ? m_input2 : m_input1;
}

CRect CNumberMachine::Offset(const CRect& part) const {
    CRect r = part;
    r.Offset(m_topLeft.x, m_topLeft.y);
    return r;
}

CRect CNumberMachine::Body() const {
    return Offset({0, kBodyTop, kWidth, kBodyTop + kBodyHeight});
}

CRect CNumberMachine::Hopper(int which) const {
    switch (which) {
    case 1:
        return Offset(kHopper1);
    case 2:
        return Offset(kHopper2);
    default:
        return Offset(kOutputHopper);
    }
}

CRect CNumberMachine::DropArea(int which) const {
    CRect r = Hopper(which);
    if (which == 1 || which == 2)
        r.top -= kDropHeight;
    return r;
}

CRect CNumberMachine::PartRect(MachinePart part) const {
    switch (part) {
    case MachinePart::Body:
        return Body();
    case MachinePart::Input1:
        return Hopper(1);
    case MachinePart::Input2:
        return Hopper(2);
    case MachinePart::Output:
        return Hopper(0);
    case MachinePart::Operator:
        return Offset(kOperator);
    case MachinePart::SpinNext:
        return Offset(kSpinNext);
    case MachinePart::SpinPrevious:
        return Offset(kSpinPrevious);
    case MachinePart::Toggle1:
        return Offset(kToggle1);
    case MachinePart::Toggle2:
        return Offset(kToggle2);
    case MachinePart::Label:
        return Offset(kLabelBox);
    case MachinePart::Go:
        return Offset(kGo);
    case MachinePart::BuiltIn1:
        return Offset(kBuiltIn1);
    case MachinePart::BuiltIn2:
        return Offset(kBuiltIn2);
    case MachinePart::None:
        break;
    }
    return {};
}

MachinePart CNumberMachine::PartAt(CPoint p) const {
    static constexpr MachinePart kOrder[] = {
        MachinePart::Go,      MachinePart::SpinNext, MachinePart::SpinPrevious,
        MachinePart::Toggle1, MachinePart::Toggle2,  MachinePart::Operator,
        MachinePart::Label,   MachinePart::BuiltIn1, MachinePart::BuiltIn2,
        MachinePart::Input1,  MachinePart::Input2,   MachinePart::Output,
        MachinePart::Body};
    for (MachinePart part : kOrder) {
        if ((part == MachinePart::BuiltIn1 && !m_builtIn1) ||
            (part == MachinePart::BuiltIn2 && !m_builtIn2))
            continue;
        if (PartRect(part).Contains(p))
            return part;
    }
    return MachinePart::None;
}

CPoint CNumberMachine::CardPlace(int which, CSize card) const {
    const CPoint c = CentreOf(Hopper(which));
    return {c.x - card.cx / 2, c.y - card.cy / 2};
}

void CNumberMachine::AdvanceInputCards() {
    for (int which : {1, 2}) {
        CPatternManipulative* in = which == 1 ? m_input1 : m_input2;
        if (IsBuiltIn(which) || !in || !in->IsCard())
            continue;
        CRect f;
        in->GetFrame(f);
        const int remaining = Hopper(which).bottom - f.top;
        if (remaining > 0)
            ChildMoved(in, 0, (remaining + 4) / 5);
    }
}

void CNumberMachine::PullWaitingCards() {
    for (int which : {1, 2}) {
        auto& waiting = which == 1 ? m_waiting1 : m_waiting2;
        if (InputAt(which) || waiting.empty())
            continue;
        CPatternManipulative* card = waiting.front();
        waiting.erase(waiting.begin());
        if (SetInput(which, card) == kAccepted)
            PlaceCard(card, CardPlace(which, SizeOf(card)));
    }
    PlaceWaitingCards();
}

void CNumberMachine::PlaceWaitingCards() {
    for (int which : {1, 2}) {
        int rise = 0;
        for (CPatternManipulative* card : which == 1 ? m_waiting1 : m_waiting2) {
            const CSize size = SizeOf(card);
            rise += size.cy;
            CPoint at = CardPlace(which, size);
            at.y -= rise;
            PlaceCard(card, at);
        }
    }
}

void CNumberMachine::ChildMoved(CPatternManipulative* card, double dx, double dy) {
    card->MoveBy(dx, dy);
}

void CNumberMachine::RouteLinks() {
    for (CPatternManipulative* p : {m_input1, m_input2, m_output})
        if (auto* link = dynamic_cast<CMachineLink*>(p))
            link->Route();
}

void RegisterNumbersManipulatives() {
    CManipulativeRegistry& registry = CManipulativeRegistry::Instance();
    registry.Register(kTypeNumberMachine, [] { return std::make_unique<CNumberMachine>(); });
    registry.Register(kTypeMachineLink, [] { return std::make_unique<CMachineLink>(); });
    registry.Register(kTypeNumberCard, [] { return std::make_unique<CNumberCardManipulative>(); });
    RegisterTableManipulative();
}

} // namespace quorvel
