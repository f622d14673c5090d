// Note cards and the code machines: the codes themselves, the machines' parameters, places,
// archive forms and looks.
#include "patterns/code_machines.h"

#include "patterns/machine_look.h"

#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace quorvel {

using namespace machine_look;

namespace {

constexpr Color kNoteFill = PaletteRGB(255, 250, 200);
constexpr Color kBodyFill = PaletteRGB(150, 215, 190);

constexpr int kMaxNoteWidth = 640;
constexpr int kNotePad = 6;

bool IsUpper(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsLower(unsigned char c) {
    return c >= 'a' && c <= 'z';
}
bool IsSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

CFontSpec SmallFont() {
    return CFontSpec{"Arial", 90};
}
CFontSpec BoldFont() {
    return CFontSpec{"Arial", 100, 0, 700};
}

// Wraps a value into 1..top by one step up or down.
int Stepped(int v, bool up, int top) {
    if (up)
        return v < 1 || v >= top ? 1 : v + 1;
    return v <= 1 || v > top ? top : v - 1;
}

} // namespace

// --- the codes --------------------------------------------------------------------------------

int ReadBoxInteger(std::string_view box) {
    std::size_t i = 0;
    while (i < box.size() && IsSpace(static_cast<unsigned char>(box[i])))
        ++i;
    bool negative = false;
    if (i < box.size() && (box[i] == '+' || box[i] == '-'))
        negative = box[i++] == '-';
    long long v = 0;
    for (; i < box.size() && box[i] >= '0' && box[i] <= '9'; ++i)
        v = std::min<long long>(v * 10 + (box[i] - '0'), 1LL << 32);
    v = negative ? -v : v;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

std::optional<int> ReadShiftPlaces(std::string_view box) {
    const int v = ReadBoxInteger(box);
    return v >= 1 && v <= 26 ? std::optional<int>(v) : std::nullopt;
}

std::optional<int> ReadShiftDirection(std::string_view box) {
    std::string lower(box);
    for (char& c : lower)
        if (IsUpper(static_cast<unsigned char>(c)))
            c = static_cast<char>(c - 'A' + 'a');
    if (lower == "right")
        return 1;
    if (lower == "left")
        return -1;
    return std::nullopt;
}

std::optional<int> ReadGroupSize(std::string_view box) {
    const int v = ReadBoxInteger(box);
    return v >= 1 && v <= 9 ? std::optional<int>(v) : std::nullopt;
}

std::string ShiftText(std::string_view text, int k) {
    k %= 26;
    std::string out(text);
    for (char& ch : out) {
        const unsigned char c = static_cast<unsigned char>(ch);
        const int base = IsUpper(c) ? 'A' : IsLower(c) ? 'a' : 0;
        if (base == 0)
            continue;
        const int moved = (c - base + k + 26) % 26;
        ch = static_cast<char>(base + moved);
    }
    return out;
}

std::string GroupText(std::string_view text, int size) {
    std::string out;
    int inGroup = 0;
    for (char ch : text) {
        if (IsSpace(static_cast<unsigned char>(ch)))
            continue;
        out.push_back(ch);
        if (size > 0 && ++inGroup == size) {
            out.push_back(' ');
            inGroup = 0;
        }
    }
    while (!out.empty() && IsSpace(static_cast<unsigned char>(out.back())))
        out.pop_back();
    return out;
}

std::string CipherAlphabet(std::string_view keyword) {
    std::string out;
    bool used[26] = {};
    const auto take = [&](unsigned char c) {
        const int i = IsUpper(c) ? c - 'A' : IsLower(c) ? c - 'a' : -1;
        if (i < 0 || used[i])
            return;
        used[i] = true;
        out.push_back(static_cast<char>('a' + i));
    };
    for (char c : keyword)
        take(static_cast<unsigned char>(c));
    for (int i = 0; i < 26; ++i)
        take(static_cast<unsigned char>('a' + i));
    return out;
}

std::array<int, 26> KeywordOffsets(std::string_view keyword, bool decode) {
    std::array<int, 26> offsets{};
    const std::string cipher = CipherAlphabet(keyword);
    for (int i = 0; i < 26; ++i) {
        const int p = 'a' + i;
        const int q = static_cast<unsigned char>(cipher[static_cast<std::size_t>(i)]);
        if (decode)
            offsets[static_cast<std::size_t>(q - 'a')] = p - q;
        else
            offsets[static_cast<std::size_t>(i)] = q - p;
    }
    return offsets;
}

std::string SubstituteText(std::string_view text, const std::array<int, 26>& offsets) {
    std::string out(text);
    for (char& ch : out) {
        const unsigned char c = static_cast<unsigned char>(ch);
        const int base = IsUpper(c) ? 'A' : IsLower(c) ? 'a' : 0;
        if (base == 0)
            continue;
        const int moved = (c - base + offsets[static_cast<std::size_t>(c - base)] + 26) % 26;
        ch = static_cast<char>(base + moved);
    }
    return out;
}

bool HasDuplicateCharacters(std::string_view keyword) {
    for (std::size_t i = 0; i < keyword.size(); ++i)
        if (keyword.find(keyword[i], i + 1) != std::string_view::npos)
            return true;
    return false;
}

std::string RemoveDuplicateCharacters(std::string_view keyword) {
    std::string out;
    for (std::size_t i = 0; i < keyword.size(); ++i)
        if (keyword.find(keyword[i], i + 1) == std::string_view::npos)
            out.push_back(keyword[i]);
    return out;
}

std::array<int, 26> LetterCounts(std::string_view text) {
    std::array<int, 26> counts{};
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (IsUpper(c))
            ++counts[static_cast<std::size_t>(c - 'A')];
        else if (IsLower(c))
            ++counts[static_cast<std::size_t>(c - 'a')];
    }
    return counts;
}

// --- note cards -------------------------------------------------------------------------------

CFontSpec NoteCardFont() {
    return CFontSpec{"Arial", 110};
}

CNoteCardManipulative::CNoteCardManipulative() {
    SetRect({0, 0, 150, 30});
}

CNoteCardManipulative::CNoteCardManipulative(CPoint topLeft, ITextMetrics& metrics) {
    SetRect({topLeft.x, topLeft.y, topLeft.x + 1, topLeft.y + 1});
    FitToText(metrics);
}

CNoteCardManipulative::CNoteCardManipulative(const CNoteCardManipulative& other)
    : CCardManipulative(other), m_text(other.m_text), m_keywordUsed(other.m_keywordUsed),
      m_hiddenText(other.m_hiddenText) {}

std::unique_ptr<CManipulative> CNoteCardManipulative::Clone() const {
    return std::make_unique<CNoteCardManipulative>(*this);
}

void CNoteCardManipulative::SerializeLinked(CArchive& ar, const CPatternIndex& index) {
    CPatternManipulative::SerializeLinked(ar, index);
    // What the card shows: its message, or "?" while hidden.
    std::string shown = m_hidden ? std::string("?") : m_text;
    ar.Exchange(shown, "text");
    ar.ExchangeTab();
    ar.Exchange(m_keywordUsed, "keyword used");
    ar.ExchangeTab();
    ar.Exchange(m_hiddenText, "hidden text");
    ar.ExchangeTab();
    std::string editText = shown;
    CRect rect = m_rect;
    // The edit window's further value carries the card's own state: 1 hidden, 2 read-only.
    std::int32_t state = (m_hidden ? 1 : 0) | (m_readOnly ? 2 : 0);
    {
        CArchive::Scope edit(ar, "edit");
        ar.Exchange(editText, "text");
        ar.Exchange(m_shown, "shown");
        ar.Exchange(rect, "rectangle");
        ar.Exchange(state, "state");
        ar.Exchange(m_editEnabled, "enabled");
    }
    if (ar.IsStoring())
        return;
    if (state < 0 || state > 3)
        ar.Fail("note card state " + std::to_string(state) + " is none of 0..3", "state");
    if (rect.Width() <= 0 || rect.Height() <= 0)
        ar.Fail("a note card of no size", "rectangle");
    m_hidden = (state & 1) != 0;
    m_readOnly = (state & 2) != 0;
    m_hiddenText = std::string(FirstChars(m_hiddenText, kNoteMaxChars));
    m_text = m_hidden ? m_hiddenText : std::string(FirstChars(shown, kNoteMaxChars));
    auto c = [](std::int32_t v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); };
    rect = {c(rect.left), c(rect.top), c(rect.right), c(rect.bottom)};
    rect.right = std::clamp(rect.right, rect.left + 1, rect.left + kMaxNoteWidth);
    rect.bottom = std::clamp(rect.bottom, rect.top + 1, rect.top + kMaxNoteWidth);
    SetRect(rect);
    m_boardOrder = 0;
}

void CNoteCardManipulative::Draw(IDrawingSurface& dc) const {
    if (!m_visible || !m_shown)
        return;
    const CRect& r = m_rect;
    const Color fill = m_hidden ? kHiddenFill : m_readOnly ? kReadOnlyFill : kNoteFill;
    dc.SetPen(m_selected ? 2 : 1, m_selected ? kSelectInk : kInk);
    dc.SetBrush(fill);
    // A note with its top-right corner turned down.
    constexpr int fold = 7;
    dc.Polygon({{r.left, r.top},
                {r.right - 1 - fold, r.top},
                {r.right - 1, r.top + fold},
                {r.right - 1, r.bottom - 1},
                {r.left, r.bottom - 1}});
    dc.Polyline({{r.right - 1 - fold, r.top},
                 {r.right - 1 - fold, r.top + fold},
                 {r.right - 1, r.top + fold}});
    const CFontSpec font = NoteCardFont();
    if (m_hidden) {
        Label(dc, TextRect(), "?", BoldFont(), kHiddenInk);
        return;
    }
    Label(dc, TextRect(), Fitted(dc.Metrics(), font, m_text, TextRect().Width()), font, kInk,
          kAlignLeft | kAlignVCenter | kSingleLine);
}

std::string CNoteCardManipulative::GetText() const {
    return m_hidden ? m_hiddenText : m_text;
}

void CNoteCardManipulative::SetText(std::string_view text, ITextMetrics& metrics) {
    m_text = std::string(FirstChars(text, kNoteMaxChars));
    FitToText(metrics);
}

void CNoteCardManipulative::FitToText(ITextMetrics& metrics) {
    const CFontSpec font = NoteCardFont();
    const int line = metrics.LineHeight(font);
    const int width = std::max(metrics.TextExtent(font, "abcdefghijklmnopqrst").cx,
                               metrics.TextExtent(font, m_text).cx);
    const int height = m_text.empty() ? 3 * line / 2 : line;
    CRect r = m_rect;
    r.right = r.left + std::min(width + 2 * kNotePad, kMaxNoteWidth);
    r.bottom = r.top + height + 2 * kNotePad;
    SetRect(r);
}

int CNoteCardManipulative::ToggleHidden() {
    if (!m_hidden && !m_readOnly && m_text.empty())
        return kMsgHideEmptyNote;
    if (!m_hidden)
        m_hiddenText = m_text;
    m_hidden = !m_hidden;
    return kAccepted;
}

CRect CNoteCardManipulative::TextRect() const {
    return {m_rect.left + kNotePad, m_rect.top + 2, m_rect.right - kNotePad, m_rect.bottom - 2};
}

// --- code machines ----------------------------------------------------------------------------

namespace {

constexpr int kBodyTop = CCodeMachine::kHopperHeight;
constexpr int kBodyBottom = kBodyTop + CCodeMachine::kBodyHeight;
constexpr CRect kInputHopper{70, 0, 150, kBodyTop};
constexpr CRect kOutputHopper{70, kBodyBottom, 150, CCodeMachine::kHeight};
constexpr CRect kTitle{8, kBodyTop + 4, 212, kBodyTop + 22};
constexpr CRect kBox1{80, kBodyTop + 28, 150, kBodyTop + 52};
constexpr CRect kSpin1Up{152, kBodyTop + 28, 170, kBodyTop + 40};
constexpr CRect kSpin1Down{152, kBodyTop + 40, 170, kBodyTop + 52};
constexpr CRect kBox2{80, kBodyTop + 58, 150, kBodyTop + 82};
constexpr CRect kSpin2Up{152, kBodyTop + 58, 170, kBodyTop + 70};
constexpr CRect kSpin2Down{152, kBodyTop + 70, 170, kBodyTop + 82};
constexpr CRect kKeywordBox{80, kBodyTop + 28, 212, kBodyTop + 52};
constexpr CRect kDecode{80, kBodyTop + 58, 180, kBodyTop + 82};
constexpr CRect kMysteryArea{8, kBodyTop + 26, 212, kBodyTop + 84};
constexpr CRect kGo{150, kBodyTop + 92, 212, kBodyTop + 122};

} // namespace

CCodeMachine::CCodeMachine(CPoint topLeft) : m_topLeft(topLeft) {
    m_centre = C3DPointDouble(topLeft.x + kWidth / 2.0, topLeft.y + kHeight / 2.0, 0.0);
    m_rotationPoint = m_centre;
}

CCodeMachine::CCodeMachine(const CCodeMachine& other)
    : CFunctionMachine(other), m_topLeft(other.m_topLeft), m_outputText(other.m_outputText) {}

void CCodeMachine::SerializeLinked(CArchive& ar, const CPatternIndex& index) {
    CFunctionMachine::SerializeLinked(ar, index);
    std::int32_t left = m_topLeft.x, top = m_topLeft.y;
    {
        CArchive::Scope corner(ar, "top-left");
        ar.Exchange(left, "left");
        ar.Exchange(top, "top");
    }
    ar.Exchange(m_outputText, "output text");
    ar.Exchange(m_mysteryLabel, "mystery label");
    SerializeParameters(ar);
    if (ar.IsStoring())
        return;
    const CPoint corner{std::clamp(left, -kCoordinateLimit, kCoordinateLimit - kWidth),
                        std::clamp(top, -kCoordinateLimit, kCoordinateLimit - kHeight)};
    m_topLeft = corner;
    m_centre = C3DPointDouble(corner.x + kWidth / 2.0, corner.y + kHeight / 2.0, 0.0);
    m_rotationPoint = m_centre;
}

CRect CCodeMachine::Offset(const CRect& part) const {
    CRect r = part;
    r.Offset(m_topLeft.x, m_topLeft.y);
    return r;
}

CRect CCodeMachine::Body() const {
    return Offset({0, kBodyTop, kWidth, kBodyBottom});
}

CRect CCodeMachine::Hopper(int which) const {
    if (which == 1)
        return Offset(kInputHopper);
    if (which == 0)
        return Offset(kOutputHopper);
    return {};
}

CRect CCodeMachine::DropArea(int which) const {
    if (which != 1)
        return {};
    CRect r = Hopper(1);
    r.top -= kDropHeight;
    r.Inflate(20, 0);
    return r;
}

CRect CCodeMachine::PartRect(CodePart part) const {
    const bool keyword = GetType() == kTypeKeywordMachine;
    const bool two = BoxCount() > 1;
    switch (part) {
    case CodePart::Body:
        return Body();
    case CodePart::Input:
        return Hopper(1);
    case CodePart::Output:
        return Hopper(0);
    case CodePart::Box1:
        return Offset(keyword ? kKeywordBox : kBox1);
    case CodePart::Spin1Up:
        return BoxSpins(1) ? Offset(kSpin1Up) : CRect{};
    case CodePart::Spin1Down:
        return BoxSpins(1) ? Offset(kSpin1Down) : CRect{};
    case CodePart::Box2:
        return two ? Offset(kBox2) : CRect{};
    case CodePart::Spin2Up:
        return two ? Offset(kSpin2Up) : CRect{};
    case CodePart::Spin2Down:
        return two ? Offset(kSpin2Down) : CRect{};
    case CodePart::Decode:
        return keyword ? Offset(kDecode) : CRect{};
    case CodePart::Go:
        return Offset(kGo);
    case CodePart::None:
        break;
    }
    return {};
}

CodePart CCodeMachine::PartAt(CPoint p) const {
    static constexpr CodePart kOrder[] = {
        CodePart::Go,        CodePart::Spin1Up, CodePart::Spin1Down, CodePart::Spin2Up,
        CodePart::Spin2Down, CodePart::Box1,    CodePart::Box2,      CodePart::Decode,
        CodePart::Input,     CodePart::Output,  CodePart::Body};
    for (CodePart part : kOrder)
        if (PartRect(part).Contains(p))
            return part;
    return CodePart::None;
}

void CCodeMachine::DrawParameters(IDrawingSurface& dc) const {
    const bool live = m_controlsEnabled;
    const Color ink = live ? kInk : kDisabledInk;
    const CFontSpec font = NoteCardFont();
    for (int box = 1; box <= BoxCount(); ++box) {
        const CRect r = PartRect(box == 1 ? CodePart::Box1 : CodePart::Box2);
        const CRect name{m_topLeft.x + 8, r.top, r.left - 4, r.bottom};
        Label(dc, name, BoxName(box), SmallFont(), kInk, kAlignLeft | kAlignVCenter | kSingleLine);
        Box(dc, r, kWhite);
        const bool hidden = BoxHidden(box);
        Label(dc, r,
              hidden ? std::string("?") : Fitted(dc.Metrics(), font, BoxText(box), r.Width() - 4),
              hidden ? BoldFont() : font, hidden ? kHiddenInk : kInk);
        if (!BoxSpins(box))
            continue;
        const CRect up = PartRect(box == 1 ? CodePart::Spin1Up : CodePart::Spin2Up);
        const CRect down = PartRect(box == 1 ? CodePart::Spin1Down : CodePart::Spin2Down);
        DrawSpinButtons(dc, up, down, hidden ? kDisabledInk : ink);
    }
}

void CCodeMachine::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    const bool mysterious = m_mystery != 0;
    DrawHoppers(dc, {Hopper(1)}, Hopper(0));
    DrawBody(dc, Body(), m_selected, mysterious, kBodyFill);
    Label(dc, Offset(kTitle), Title(), BoldFont(), kInk);
    if (mysterious)
        Label(dc, Offset(kMysteryArea), m_mysteryLabel.empty() ? "?" : m_mysteryLabel,
              CFontSpec{"Arial", 140, 0, 700}, kHiddenInk);
    else
        DrawParameters(dc);

    DrawGoButton(dc, PartRect(CodePart::Go), m_goText, BoldFont(),
                 m_goEnabled && m_controlsEnabled);
}

bool CCodeMachine::HitTest(double x, double y) const {
    return m_visible && PartAt({Clamped(x), Clamped(y)}) != CodePart::None;
}

void CCodeMachine::MoveBy(double dx, double dy) {
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
    if (m_input1 && m_input1->IsCard() && m_input1->hopperOwner() == this)
        m_input1->MoveBy(ix, iy);
    for (CPatternManipulative* p : {m_input1, m_output})
        if (auto* link = dynamic_cast<CMachineLink*>(p))
            link->Route();
}

void CCodeMachine::GetFrame(CRect& r) const {
    r = {m_topLeft.x, m_topLeft.y, m_topLeft.x + kWidth, m_topLeft.y + kHeight};
}

void CCodeMachine::GetBounds(CRect& r) const {
    GetFrame(r);
}

bool CCodeMachine::InputsReady() const {
    return m_input1 && m_input1->HasValue();
}

bool CCodeMachine::HasValue() const {
    for (int box = 1; box <= BoxCount(); ++box)
        if (BoxText(box).empty())
            return false;
    return InputsReady();
}

bool CCodeMachine::IsReady() const {
    for (int box = 1; box <= BoxCount(); ++box)
        if (BoxText(box).empty())
            return false;
    if (!m_input1)
        return const_cast<CCodeMachine*>(this)->FirstMachine() == this;
    if (const auto* link = dynamic_cast<const CMachineLink*>(m_input1))
        return link->source() && link->source()->IsReady();
    return m_input1->HasValue();
}

CPoint CCodeMachine::GetOutputPoint() const {
    const CRect h = Hopper(0);
    return {CentreOf(h).x, h.bottom};
}

CPoint CCodeMachine::GetInputPoint(int) const {
    const CRect h = Hopper(1);
    return {CentreOf(h).x, h.top};
}

bool CCodeMachine::HitInput1(CPoint p) const {
    return DropArea(1).Contains(p);
}

CPoint CCodeMachine::CardPlace(CSize card) const {
    const CPoint c = CentreOf(Hopper(1));
    return {c.x - card.cx / 2, c.y - card.cy / 2};
}

int CCodeMachine::AcceptCard(CPatternManipulative* card) {
    if (!card || card->GetType() != kTypeNoteCard)
        return kNotOverHopper;
    CRect frame;
    card->GetFrame(frame);
    if (!DropArea(1).Contains(CentreOf(frame)))
        return kNotOverHopper;
    if (m_input1 && m_input1->IsLink())
        return kNotOverHopper;
    if (m_input1 && m_input1 != card)
        return kMsgNoStacking;
    if (!m_input1) {
        const int result = SetInput1(card);
        if (result != kAccepted)
            return result;
    }
    PlaceCard(card, CardPlace({frame.Width(), frame.Height()}));
    card->SetHopperOwner(this);
    UpdateSupermachineGoButtons();
    return kAccepted;
}

void CCodeMachine::RemoveCard(CPatternManipulative* card) {
    if (m_input1 == card)
        SetInput(1, nullptr);
    std::erase(m_outputCards, card);
}

void CCodeMachine::AdvanceInputCards() {
    if (!m_input1 || !m_input1->IsCard())
        return;
    CRect f;
    m_input1->GetFrame(f);
    const int remaining = Hopper(1).bottom - f.top;
    if (remaining > 0)
        m_input1->MoveBy(0, (remaining + 4) / 5);
}

ComputeResult CCodeMachine::Compute(const CComputeOptions&) {
    m_message.clear();
    if (!m_input1) {
        m_message = kNoInputCard;
        return ComputeResult::Missing;
    }
    if (m_input1->IsLink() && !m_input1Arrived)
        return ComputeResult::Waiting;
    if (const auto wrong = CheckParameters()) {
        m_message = *wrong;
        return ComputeResult::Missing;
    }
    m_outputText = Apply(m_input1->GetText());
    m_ticks = 0;
    return ComputeResult::Computed;
}

// --- shift --------------------------------------------------------------------------------

CShiftMachine::CShiftMachine(CPoint topLeft) : CCodeMachine(topLeft) {}

std::unique_ptr<CManipulative> CShiftMachine::Clone() const {
    return std::make_unique<CShiftMachine>(*this);
}

std::optional<std::string> CShiftMachine::CheckParameters() {
    // A hidden parameter keeps its stored value, which must still be sound.
    if (!m_placesHidden) {
        const auto places = ReadShiftPlaces(m_placesText);
        if (!places)
            return std::string(kShiftPlacesMessage);
        m_places = *places;
    } else if (m_places < 1 || m_places > 26) {
        return std::string(kShiftPlacesMessage);
    }
    if (!m_directionHidden) {
        const auto direction = ReadShiftDirection(m_directionText);
        if (!direction)
            return std::string(kShiftDirectionMessage);
        m_direction = *direction;
    } else if (m_direction != 1 && m_direction != -1) {
        return std::string(kShiftDirectionMessage);
    }
    return std::nullopt;
}

std::string CShiftMachine::Apply(std::string_view text) {
    return ShiftText(text, m_places * m_direction);
}

void CShiftMachine::SetBoxText(int box, const std::string& text) {
    (box == 1 ? m_placesText : m_directionText) = text;
}

std::string CShiftMachine::ToggleBoxHidden(int box) {
    if (box == 1) {
        if (!m_placesHidden) {
            const auto places = ReadShiftPlaces(m_placesText);
            if (!places)
                return kShiftPlacesMessage;
            m_places = *places;
        }
        m_placesHidden = !m_placesHidden;
    } else {
        if (!m_directionHidden) {
            const auto direction = ReadShiftDirection(m_directionText);
            if (!direction)
                return kShiftDirectionMessage;
            m_direction = *direction;
        }
        m_directionHidden = !m_directionHidden;
    }
    return {};
}

void CShiftMachine::Spin(int box, bool up) {
    if (BoxHidden(box))
        return;
    if (box == 1)
        m_placesText = std::to_string(Stepped(ReadBoxInteger(m_placesText), up, 26));
    else
        m_directionText = up ? "right" : "left";
}

void CShiftMachine::SerializeParameters(CArchive& ar) {
    ar.Exchange(m_placesText, "places text");
    ar.Exchange(m_directionText, "direction text");
    ar.Exchange(m_places, "places");
    ar.Exchange(m_direction, "direction");
    ar.Exchange(m_placesHidden, "places hidden");
    ar.Exchange(m_directionHidden, "direction hidden");
}

// --- group --------------------------------------------------------------------------------

CGroupMachine::CGroupMachine(CPoint topLeft) : CCodeMachine(topLeft) {}

std::unique_ptr<CManipulative> CGroupMachine::Clone() const {
    return std::make_unique<CGroupMachine>(*this);
}

std::optional<std::string> CGroupMachine::CheckParameters() {
    if (!m_sizeHidden) {
        const auto size = ReadGroupSize(m_sizeText);
        if (!size)
            return std::string(kGroupSizeMessage);
        m_size = *size;
    } else if (m_size < 1 || m_size > 9) {
        return std::string(kGroupSizeMessage);
    }
    return std::nullopt;
}

std::string CGroupMachine::Apply(std::string_view text) {
    return GroupText(text, m_size);
}

std::string CGroupMachine::ToggleBoxHidden(int) {
    if (!m_sizeHidden) {
        const auto size = ReadGroupSize(m_sizeText);
        if (!size)
            return kGroupSizeMessage;
        m_size = *size;
    }
    m_sizeHidden = !m_sizeHidden;
    return {};
}

void CGroupMachine::Spin(int, bool up) {
    if (!m_sizeHidden)
        m_sizeText = std::to_string(Stepped(ReadBoxInteger(m_sizeText), up, 9));
}

void CGroupMachine::SerializeParameters(CArchive& ar) {
    ar.Exchange(m_sizeText, "size text");
    ar.Exchange(m_size, "size");
    ar.Exchange(m_sizeHidden, "size hidden");
}

// --- keyword ------------------------------------------------------------------------------

CKeywordMachine::CKeywordMachine(CPoint topLeft) : CCodeMachine(topLeft) {}

std::unique_ptr<CManipulative> CKeywordMachine::Clone() const {
    return std::make_unique<CKeywordMachine>(*this);
}

std::optional<std::string> CKeywordMachine::CheckParameters() {
    if (!m_keywordHidden)
        m_keyword = m_keywordText;
    return std::nullopt;
}

std::string CKeywordMachine::Apply(std::string_view text) {
    m_offsets = KeywordOffsets(m_keyword, m_decode);
    m_lastUsed.clear();
    for (char ch : m_keyword) {
        const unsigned char c = static_cast<unsigned char>(ch);
        m_lastUsed.push_back(IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : ch);
    }
    return SubstituteText(text, m_offsets);
}

ComputeResult CKeywordMachine::Compute(const CComputeOptions& options) {
    // A number card, or anything else that carries no message, cannot be decoded.
    if (m_decode && m_input1 && !m_input1->IsLink() && m_input1->GetType() != kTypeNoteCard) {
        m_message = "This input cannot be decoded by this machine.";
        return ComputeResult::Missing;
    }
    return CCodeMachine::Compute(options);
}

std::string CKeywordMachine::ToggleBoxHidden(int) {
    if (!m_keywordHidden) {
        if (m_keywordText.empty())
            return kKeywordBeforeHiding;
        m_keyword = m_keywordText;
    }
    m_keywordHidden = !m_keywordHidden;
    return {};
}

int CKeywordMachine::SetDecode(bool on) {
    if (on && m_input1) {
        const auto* note = dynamic_cast<const CNoteCardManipulative*>(m_input1);
        if (!m_input1->IsLink() &&
            (!note || note->keywordUsed().empty() || note->keywordUsed() != m_lastUsed)) {
            m_decode = false;
            return kMsgNotDecodable;
        }
    }
    m_decode = on;
    return kAccepted;
}

void CKeywordMachine::DrawParameters(IDrawingSurface& dc) const {
    CCodeMachine::DrawParameters(dc);
    const CRect r = PartRect(CodePart::Decode);
    const CRect tick{r.left, r.top + 4, r.left + 16, r.top + 20};
    Box(dc, tick, kWhite, m_controlsEnabled ? kInk : kDisabledInk);
    if (m_decode) {
        dc.SetPen(2, kInk);
        dc.Polyline({{tick.left + 3, tick.top + 8},
                     {tick.left + 7, tick.bottom - 4},
                     {tick.right - 3, tick.top + 3}});
    }
    Label(dc, {tick.right + 4, r.top, r.right, r.bottom}, "Decode", SmallFont(), kInk,
          kAlignLeft | kAlignVCenter | kSingleLine);
}

void CKeywordMachine::SerializeParameters(CArchive& ar) {
    ar.Exchange(m_keywordText, "keyword text");
    ar.Exchange(m_keyword, "keyword");
    ar.Exchange(m_keywordHidden, "keyword hidden");
    ar.Exchange(m_decode, "decode");
    ar.Exchange(m_lastUsed, "keyword last used");
    if (ar.IsLoading())
        m_offsets = KeywordOffsets(m_keyword, m_decode);
}

void RegisterCodesManipulatives() {
    CManipulativeRegistry& registry = CManipulativeRegistry::Instance();
    registry.Register(kTypeNoteCard, [] { return std::make_unique<CNoteCardManipulative>(); });
    registry.Register(kTypeShiftMachine, [] { return std::make_unique<CShiftMachine>(); });
    registry.Register(kTypeGroupMachine, [] { return std::make_unique<CGroupMachine>(); });
    registry.Register(kTypeKeywordMachine, [] { return std::make_unique<CKeywordMachine>(); });
    registry.Register(kTypeMachineLink, [] { return std::make_unique<CMachineLink>(); });
}

} // namespace quorvel
