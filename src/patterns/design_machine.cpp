// The design machine: its panel, the chooser and boxes, the run of ticks, stamps and the wipe,
// and the rules a design is redrawn from.
#include "patterns/design_machine.h"

#include "geometry/shape_catalogue.h"
#include "workspace/archive.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quorvel {

namespace {

constexpr double kTickAngle = kDesignPi * 2 * (1.0 / 30);
// A turn whose angle is a whole number of ticks ends on its last full tick: the sum of the
// ticks may miss the angle by a rounding error.
constexpr double kTurnTolerance = 1e-9;

// Panel layout (panel coordinates).
constexpr CRect kDesignWindow{5, 5, 190, 178};
constexpr CRect kPrevious{5, 187, 23, 209};
constexpr CRect kChooser{27, 182, 168, 214};
constexpr CRect kNext{172, 187, 190, 209};
constexpr CRect kTimesLabel{5, 220, 45, 240};
constexpr CRect kTimesBox{47, 220, 83, 240};
constexpr CRect kTimesUp{83, 220, 97, 230};
constexpr CRect kTimesDown{83, 230, 97, 240};
constexpr CRect kShowAxes{104, 220, 192, 240};
constexpr CRect kAngleLabel{5, 244, 45, 264};
constexpr CRect kAngleBox{47, 244, 83, 264};
constexpr CRect kAngleUp{83, 244, 97, 254};
constexpr CRect kAngleDown{83, 254, 97, 264};
constexpr CRect kRecordRule{104, 244, 192, 264};
constexpr CRect kGo{15, 272, 90, 298};
constexpr CRect kClear{105, 272, 180, 298};

constexpr Color kPanel = PaletteRGB(212, 208, 200);
constexpr Color kShadow = PaletteRGB(128, 128, 128);
constexpr Color kLight = PaletteRGB(255, 255, 255);
constexpr Color kGrey = PaletteRGB(128, 128, 128);

const CFontSpec kPanelFont{"MS Sans Serif", 80};
const CFontSpec kRuleFont{"Arial", 80};

constexpr CatalogueShape kShapes[] = {CatalogueShape::Triangle1, CatalogueShape::Square,
                                      CatalogueShape::Rhombus1,  CatalogueShape::Rhombus2,
                                      CatalogueShape::Trapezoid, CatalogueShape::Hexagon};
constexpr CatalogueShape kExtraShapes[] = {CatalogueShape::Triangle2, CatalogueShape::Triangle3,
                                           CatalogueShape::Rhombus3,  CatalogueShape::Rectangle,
                                           CatalogueShape::Pentagon,  CatalogueShape::Octagon};

CRect Intersection(const CRect& a, const CRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

CRect Offset(const CRect& r, CPoint by) {
    return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

bool Contains(const CRect& r, CPoint p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The C library's reading of a box: leading digits, 0 when there are none.
int ReadBox(const std::string& text) {
    return std::atoi(text.c_str());
}

void Bevel(IDrawingSurface& dc, const CRect& r, bool sunken) {
    const Color a = sunken ? kShadow : kLight, b = sunken ? kLight : kShadow;
    dc.SetPen(1, a);
    dc.Line({r.left, r.bottom - 1}, {r.left, r.top});
    dc.Line({r.left, r.top}, {r.right - 1, r.top});
    dc.SetPen(1, b);
    dc.Line({r.right - 1, r.top}, {r.right - 1, r.bottom - 1});
    dc.Line({r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1});
}

void Button(IDrawingSurface& dc, const CRect& r, const std::string& caption, bool enabled) {
    dc.FillRect(r, kPanel);
    dc.SetPen(1, kDesignBlack);
    dc.SetNullBrush();
    dc.Rectangle(r);
    Bevel(dc, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, false);
    dc.SetFont(kPanelFont);
    dc.SetTextColor(enabled ? kDesignBlack : kGrey);
    dc.SetTextBackground(kPanel, true);
    dc.DrawText(r, caption, kAlignCenter | kAlignVCenter | kSingleLine);
}

// A small triangle pointing up (dir -1), down (1), left (-2) or right (2).
void Arrow(IDrawingSurface& dc, const CRect& r, int dir) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    std::vector<CPoint> pts;
    if (dir == -1)
        pts = {{cx - 3, cy + 2}, {cx + 3, cy + 2}, {cx, cy - 2}};
    else if (dir == 1)
        pts = {{cx - 3, cy - 2}, {cx + 3, cy - 2}, {cx, cy + 2}};
    else if (dir == -2)
        pts = {{cx + 3, cy - 5}, {cx + 3, cy + 5}, {cx - 3, cy}};
    else
        pts = {{cx - 3, cy - 5}, {cx - 3, cy + 5}, {cx + 3, cy}};
    dc.SetPen(1, kDesignBlack);
    dc.SetBrush(kDesignBlack);
    dc.Polygon(pts);
}

void CheckBox(IDrawingSurface& dc, const CRect& r, const std::string& caption, bool on) {
    const CRect box{r.left, r.top + 4, r.left + 13, r.top + 17};
    dc.SetPen(1, kDesignBlack);
    dc.SetBrush(kLight);
    dc.Rectangle(box);
    if (on) {
        dc.SetPen(2, kDesignBlack);
        dc.Line({box.left + 3, box.top + 6}, {box.left + 5, box.top + 9});
        dc.Line({box.left + 5, box.top + 9}, {box.left + 10, box.top + 3});
    }
    dc.SetFont(kPanelFont);
    dc.SetTextColor(kDesignBlack);
    dc.SetTextBackground(kPanel, true);
    dc.DrawText({box.right + 4, r.top, r.right, r.bottom}, caption,
                kAlignLeft | kAlignVCenter | kSingleLine);
}

C3DPointDouble ReferencePoint(const CShapeManipulative& shape) {
    return shape.lines().empty() ? shape.centre() : shape.lines().front().start();
}

void CheckRange(CArchive& ar, std::int32_t v, std::int32_t low, std::int32_t high,
                const char* field) {
    if (v < low || v > high)
        ar.Fail(std::string(field) + " " + std::to_string(v) + " is outside " +
                    std::to_string(low) + ".." + std::to_string(high),
                field);
}

} // namespace

const std::array<Color, 6>& RainbowColors() {
    static const std::array<Color, 6> colors = {PaletteRGB(230, 30, 30), PaletteRGB(255, 140, 0),
                                                PaletteRGB(250, 220, 0), PaletteRGB(30, 170, 60),
                                                PaletteRGB(30, 90, 220), PaletteRGB(140, 50, 190)};
    return colors;
}

std::string DesignRuleText(const std::string& angleText, int times) {
    // The degree sign is character 0xB0, here in UTF-8.
    return "Rotate          " + angleText + "\xC2\xB0 " + std::to_string(times) + " times";
}

int DesignTickInterval(int times) {
    return times <= 20 ? 100 : 30;
}

void DrawDesignAxes(IDrawingSurface& dc, const CRect& w) {
    const int cx = w.left + w.Width() / 2, cy = w.top + w.Height() / 2;
    dc.SetPen(1, kDesignBlack);
    dc.Line({w.left + 5, cy}, {w.right - 5, cy});
    dc.Line({cx, w.top + 5}, {cx, w.bottom - 5});
}

void DrawDesignRule(IDrawingSurface& dc, const CRect& w, const std::string& text) {
    const CRect strip{w.left + 1, w.bottom - 17, w.right - 1, w.bottom - 1};
    dc.FillRect(strip, kDesignBackground);
    dc.SetFont(kRuleFont);
    dc.SetTextColor(kDesignBlack);
    dc.SetTextBackground(kDesignBackground, true);
    dc.DrawText(strip, text, kAlignCenter | kAlignVCenter | kSingleLine);
}

// --- the rule ----------------------------------------------------------------------------------

CDesignObjectRule::CDesignObjectRule() : shape(std::make_unique<CShapeManipulative>()) {}

CDesignObjectRule::CDesignObjectRule(const CDesignObjectRule& o)
    : shape(std::make_unique<CShapeManipulative>(*o.shape)), position(o.position),
      angleText(o.angleText), times(o.times), recordRule(o.recordRule), showAxes(o.showAxes),
      firstColor(o.firstColor) {}

CDesignObjectRule& CDesignObjectRule::operator=(const CDesignObjectRule& o) {
    if (this != &o) {
        CDesignObjectRule copy(o);
        *this = std::move(copy);
    }
    return *this;
}

double CDesignObjectRule::AngleStep() const {
    return kDesignPi * 2 * (1.0 / 360) * ReadBox(angleText);
}

std::unique_ptr<CShapeManipulative> CDesignObjectRule::StampShape(int k) const {
    auto s = std::make_unique<CShapeManipulative>(*shape);
    s->SetSelected(false, false);
    s->Rotate(AngleStep() * k, C3DPointDouble(position));
    if (firstColor >= 0)
        s->SetColor(RainbowColors()[static_cast<std::size_t>((firstColor + k - 1) % 6)]);
    return s;
}

void CDesignObjectRule::Draw(IDrawingSurface& dc, CPoint origin, CSize window, int stamps,
                             bool finished) const {
    for (int k = 1; k <= std::min(stamps, times); ++k) {
        auto s = StampShape(k);
        s->MoveBy(origin.x, origin.y);
        s->Draw(dc);
    }
    if (!finished)
        return;
    const CRect w{origin.x, origin.y, origin.x + window.cx, origin.y + window.cy};
    if (showAxes)
        DrawDesignAxes(dc, w);
    if (recordRule)
        DrawDesignRule(dc, w, DesignRuleText(angleText, times));
}

void CDesignObjectRule::Serialize(CArchive& ar) {
    {
        CArchive::Scope s(ar, "position");
        ar.Exchange(position.x, "x");
        ar.Exchange(position.y, "y");
    }
    ar.ExchangeTab();
    ar.Exchange(angleText, "angle text");
    ar.ExchangeTab();
    ar.Exchange(times, "times");
    ar.ExchangeTab();
    ar.Exchange(recordRule, "record rule");
    ar.ExchangeTab();
    ar.Exchange(showAxes, "show axes");
    ar.ExchangeTab();
    ar.Exchange(firstColor, "first colour");
    ar.ExchangeTab();
    if (ar.IsLoading()) {
        CheckRange(ar, position.x, -1000, 1000, "x");
        CheckRange(ar, position.y, -1000, 1000, "y");
        CheckRange(ar, times, 1, kMaxDesignTimes, "times");
        CheckRange(ar, ReadBox(angleText), 1, 360, "angle text");
        CheckRange(ar, firstColor, -1, 5, "first colour");
        shape = std::make_unique<CShapeManipulative>();
    }
    CArchive::Scope s(ar, "shape");
    CArchive::NestingGuard guard(ar);
    shape->Serialize(ar);
}

// --- the picture -------------------------------------------------------------------------------

CDesignPicture::CDesignPicture(const CRect& rect) : m_rect(rect) {
    m_centre = C3DPointDouble(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
    m_rotationPoint = m_centre;
}

std::unique_ptr<CManipulative> CDesignPicture::Clone() const {
    return std::make_unique<CDesignPicture>(*this);
}

bool CDesignPicture::HitTest(double x, double y) const {
    return x >= m_rect.left && x < m_rect.right && y >= m_rect.top && y < m_rect.bottom;
}

void CDesignPicture::MoveBy(double dx, double dy) {
    const int ix = static_cast<int>(std::lround(std::clamp(dx, -1e6, 1e6)));
    const int iy = static_cast<int>(std::lround(std::clamp(dy, -1e6, 1e6)));
    m_rect = Offset(m_rect, {ix, iy});
    CManipulative::MoveBy(ix, iy);
}

void CDesignPicture::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    DrawDesign(dc, m_rect, m_rules.empty() ? 0 : m_rules.back().times, true);
    dc.SetPen(1, kDesignBlack);
    dc.SetNullBrush();
    dc.Rectangle(m_rect);
}

void CDesignPicture::DrawDesign(IDrawingSurface& dc, const CRect& window, int lastStamps,
                                bool lastFinished, std::optional<CRect> part) const {
    const CRect shown = part ? Intersection(window, *part) : window;
    if (shown.IsEmpty())
        return;
    dc.FillRect(shown, kDesignBackground);
    dc.SetClip(shown);
    const CPoint origin{window.left, window.top};
    const CSize size{window.Width(), window.Height()};
    for (std::size_t i = 0; i < m_rules.size(); ++i) {
        const bool last = i + 1 == m_rules.size();
        m_rules[i].Draw(dc, origin, size, last ? lastStamps : m_rules[i].times,
                        last ? lastFinished : true);
    }
    dc.ClearClip();
}

void CDesignPicture::Serialize(CArchive& ar) {
    CManipulative::Serialize(ar);
    ar.Exchange(m_rect, "rectangle");
    ar.ExchangeTab();
    if (ar.IsLoading() &&
        (m_rect.Width() <= 0 || m_rect.Height() <= 0 || m_rect.Width() > 4000 ||
         m_rect.Height() > 4000 || std::abs(m_rect.left) > 100000 || std::abs(m_rect.top) > 100000))
        ar.Fail("a design rectangle of no size or out of reach", "rectangle");
    // A rule holds at least its position, two tabs, an empty string, five values and a shape.
    const std::size_t count = ar.ExchangeCount(m_rules.size(), "run count", "runs", 40);
    ar.ExchangeTab();
    if (ar.IsLoading()) {
        if (count > kMaxDesignRuns)
            ar.Fail("more than " + std::to_string(kMaxDesignRuns) + " runs", "run count");
        m_rules.assign(count, CDesignObjectRule{});
    }
    CArchive::ArrayScope runs(ar, "runs");
    for (std::size_t i = 0; i < m_rules.size(); ++i) {
        CArchive::Item item(ar, i);
        m_rules[i].Serialize(ar);
    }
}

// --- the machine -------------------------------------------------------------------------------

CDesignFunctionMachine::CDesignFunctionMachine()
    : m_design(CRect{0, 0, kDesignWindow.Width(), kDesignWindow.Height()}) {
    SetExtraShapes(false);
}

CRect CDesignFunctionMachine::Bounds() const {
    return {m_position.x, m_position.y, m_position.x + kDesignMachineWidth,
            m_position.y + kDesignMachineHeight};
}

CRect CDesignFunctionMachine::PartRect(DesignPart part) const {
    CRect r;
    switch (part) {
    case DesignPart::None:
        return {};
    case DesignPart::Panel:
        return Bounds();
    case DesignPart::Design:
        r = kDesignWindow;
        break;
    case DesignPart::Previous:
        r = kPrevious;
        break;
    case DesignPart::Chooser:
        r = kChooser;
        break;
    case DesignPart::Next:
        r = kNext;
        break;
    case DesignPart::TimesBox:
        r = kTimesBox;
        break;
    case DesignPart::TimesUp:
        r = kTimesUp;
        break;
    case DesignPart::TimesDown:
        r = kTimesDown;
        break;
    case DesignPart::AngleBox:
        r = kAngleBox;
        break;
    case DesignPart::AngleUp:
        r = kAngleUp;
        break;
    case DesignPart::AngleDown:
        r = kAngleDown;
        break;
    case DesignPart::ShowAxes:
        r = kShowAxes;
        break;
    case DesignPart::RecordRule:
        r = kRecordRule;
        break;
    case DesignPart::Go:
        r = kGo;
        break;
    case DesignPart::Clear:
        r = kClear;
        break;
    }
    return Offset(r, m_position);
}

DesignPart CDesignFunctionMachine::PartAt(CPoint p) const {
    if (!Contains(Bounds(), p))
        return DesignPart::None;
    for (DesignPart part :
         {DesignPart::Design, DesignPart::Previous, DesignPart::Chooser, DesignPart::Next,
          DesignPart::TimesBox, DesignPart::TimesUp, DesignPart::TimesDown, DesignPart::AngleBox,
          DesignPart::AngleUp, DesignPart::AngleDown, DesignPart::ShowAxes, DesignPart::RecordRule,
          DesignPart::Go, DesignPart::Clear}) {
        // Hidden parameters have no spin buttons.
        if ((part == DesignPart::TimesUp || part == DesignPart::TimesDown) && m_timesHidden)
            continue;
        if ((part == DesignPart::AngleUp || part == DesignPart::AngleDown) && m_angleHidden)
            continue;
        if (part == DesignPart::RecordRule && !m_recordRuleOffered)
            continue;
        if (Contains(PartRect(part), p))
            return part;
    }
    return DesignPart::Panel;
}

void CDesignFunctionMachine::OfferRecordRule(bool offered) {
    m_recordRuleOffered = offered;
    if (!offered)
        m_recordRule = 0;
}

void CDesignFunctionMachine::SetExtraShapes(bool extra) {
    m_shapes.clear();
    const auto add = [this](CatalogueShape s) {
        m_shapes.push_back(BuildCatalogueShape(s, C3DPointDouble(0, 0)));
    };
    for (CatalogueShape s : kShapes)
        add(s);
    if (extra)
        for (CatalogueShape s : kExtraShapes)
            add(s);
    if (m_current >= static_cast<int>(m_shapes.size()))
        m_current = -1;
}

void CDesignFunctionMachine::NextShape() {
    const int n = static_cast<int>(m_shapes.size());
    m_current = m_current < 0 || m_current + 1 >= n ? 0 : m_current + 1;
}

void CDesignFunctionMachine::PreviousShape() {
    const int n = static_cast<int>(m_shapes.size());
    m_current = m_current <= 0 ? n - 1 : m_current - 1;
}

const CShapeManipulative* CDesignFunctionMachine::ChosenShape() const {
    return m_current >= 0 && m_current < static_cast<int>(m_shapes.size())
               ? m_shapes[static_cast<std::size_t>(m_current)].get()
               : nullptr;
}

void CDesignFunctionMachine::SetTimesText(const std::string& text) {
    m_timesText = text.substr(0, 3);
}

void CDesignFunctionMachine::SetAngleText(const std::string& text) {
    m_angleText = text.substr(0, 3);
}

std::string CDesignFunctionMachine::BoxText(DesignPart box) const {
    if (box == DesignPart::TimesBox)
        return m_timesHidden ? "?" : m_timesText;
    return m_angleHidden ? "?" : m_angleText;
}

void CDesignFunctionMachine::SetHidden(DesignPart box, bool hidden) {
    if (box == DesignPart::TimesBox) {
        // The value a hidden box keeps is what it showed.
        if (hidden && !m_timesHidden && !m_timesText.empty())
            m_times = ReadBox(m_timesText);
        m_timesHidden = hidden;
    } else {
        if (hidden && !m_angleHidden && !m_angleText.empty())
            m_angle = ReadBox(m_angleText);
        m_angleHidden = hidden;
    }
}

void CDesignFunctionMachine::Spin(DesignPart button) {
    const bool times = button == DesignPart::TimesUp || button == DesignPart::TimesDown;
    const bool up = button == DesignPart::TimesUp || button == DesignPart::AngleUp;
    std::string& text = times ? m_timesText : m_angleText;
    int v = std::clamp(ReadBox(text), 1, 360);
    if (!text.empty())
        v = std::clamp(v + (up ? 1 : -1), 1, 360);
    text = std::to_string(v);
}

bool CDesignFunctionMachine::GoEnabled() const {
    return !animating() && ChosenShape() != nullptr && (m_timesHidden || !m_timesText.empty()) &&
           (m_angleHidden || !m_angleText.empty());
}

std::optional<std::string> CDesignFunctionMachine::Validate() {
    // A hidden box is not read again, but what it holds (from a file: anything) is checked.
    const int times = m_timesHidden ? m_times : ReadBox(m_timesText);
    if (times < 1 || times > 360)
        return "Please enter a number of times to repeat from 1 to 360";
    const int angle = m_angleHidden ? m_angle : ReadBox(m_angleText);
    if (angle < 1 || angle > 360)
        return "Please enter a rotation angle from 1 to 360";
    m_times = times;
    m_angle = angle;
    if (!m_angleHidden)
        m_angleText = std::to_string(angle);
    return std::nullopt;
}

std::optional<int> CDesignFunctionMachine::Go(bool rainbow) {
    const CShapeManipulative* chosen = ChosenShape();
    if (!chosen || animating() || m_design.rules().size() >= kMaxDesignRuns)
        return std::nullopt;
    m_angleStep = kDesignPi * 2 * (1.0 / 360) * m_angle;
    const CSize window{kDesignWindow.Width(), kDesignWindow.Height()};
    const CPoint centre{window.cx / 2, window.cy / 2};
    if (!m_working) {
        m_working = std::make_unique<CShapeManipulative>(*chosen);
        m_working->SetSelected(false, false);
        const C3DPointDouble ref = ReferencePoint(*m_working);
        m_working->MoveBy(centre.x - ref.x, centre.y - ref.y);
    }
    m_working->SetColor(rainbow ? RainbowColors()[static_cast<std::size_t>(m_colorIndex)]
                                : kNoColor);
    CDesignObjectRule rule;
    rule.shape = std::make_unique<CShapeManipulative>(*m_working);
    rule.position = centre;
    rule.angleText = std::to_string(m_angle);
    rule.times = m_times;
    rule.recordRule = m_recordRule;
    rule.showAxes = m_showAxes;
    rule.firstColor = rainbow ? m_colorIndex : -1;
    m_design.rules().push_back(std::move(rule));
    m_stampsDone = 0;
    m_phase = Phase::Turning;
    StartTurn();
    return DesignTickInterval(m_times);
}

void CDesignFunctionMachine::StartTurn() {
    m_rotated = 0.0;
    m_ticksThisTurn = 0;
}

void CDesignFunctionMachine::UpdateWorking() {
    const CDesignObjectRule& rule = m_design.rules().back();
    auto s = std::make_unique<CShapeManipulative>(*rule.shape);
    s->Rotate(m_angleStep * m_stampsDone + m_rotated, C3DPointDouble(rule.position));
    if (rule.firstColor >= 0)
        s->SetColor(RainbowColors()[static_cast<std::size_t>(m_colorIndex)]);
    m_working = std::move(s);
}

DesignTick CDesignFunctionMachine::Tick() {
    if (m_phase != Phase::Turning || m_design.rules().empty())
        return DesignTick::Stopped;
    // The angle is 1 to 360 degrees: the turn always goes forward.
    const double next = m_rotated + kTickAngle;
    const bool ends = next >= m_angleStep - kTurnTolerance;
    m_rotated = ends ? m_angleStep : next;
    ++m_ticksThisTurn;
    if (!ends) {
        UpdateWorking();
        return DesignTick::Turned;
    }
    ++m_stampsDone;
    m_rotated = 0.0;
    const CDesignObjectRule& rule = m_design.rules().back();
    if (rule.firstColor >= 0)
        m_colorIndex = (m_colorIndex + 1) % 6;
    UpdateWorking();
    if (m_stampsDone < rule.times) {
        StartTurn();
        return DesignTick::Stamped;
    }
    m_phase = Phase::Wipe;
    m_wipe = 0;
    return DesignTick::Finished;
}

bool CDesignFunctionMachine::WipeTick() {
    if (m_phase != Phase::Wipe)
        return false;
    m_wipe += kDesignWipeStrip;
    if (m_wipe < kDesignWindow.Width())
        return true;
    m_phase = Phase::Idle;
    return false;
}

void CDesignFunctionMachine::Finish() {
    while (m_phase == Phase::Turning && Tick() != DesignTick::Stopped) {
    }
    m_phase = Phase::Idle;
}

void CDesignFunctionMachine::Stop() {
    if (m_phase == Phase::Turning && !m_design.rules().empty()) {
        // What was stamped stays; the run's rule keeps only those stamps.
        CDesignObjectRule& rule = m_design.rules().back();
        if (m_stampsDone == 0)
            m_design.rules().pop_back();
        else
            rule.times = m_stampsDone;
    }
    m_phase = Phase::Idle;
}

void CDesignFunctionMachine::Clear() {
    m_phase = Phase::Idle;
    m_current = -1;
    m_working.reset();
    if (!m_timesHidden)
        m_timesText.clear();
    if (!m_angleHidden)
        m_angleText.clear();
    m_design.rules().clear();
}

std::string CDesignFunctionMachine::RuleText() const {
    if (m_design.rules().empty())
        return {};
    const CDesignObjectRule& r = m_design.rules().back();
    return DesignRuleText(r.angleText, r.times);
}

void CDesignFunctionMachine::DrawDesign(IDrawingSurface& dc, const CRect& w) const {
    const auto& rules = m_design.rules();
    const int last = rules.empty() ? 0 : rules.back().times;
    if (m_phase == Phase::Turning) {
        m_design.DrawDesign(dc, w, m_stampsDone, false);
        if (m_working) {
            auto s = std::make_unique<CShapeManipulative>(*m_working);
            s->MoveBy(w.left, w.top);
            dc.SetClip(w);
            s->Draw(dc);
            dc.ClearClip();
        }
        return;
    }
    if (m_phase != Phase::Wipe) {
        m_design.DrawDesign(dc, w, last, true);
        return;
    }
    // The finished design is revealed strip by strip from the left.
    const int edge = std::min(w.right, w.left + m_wipe);
    m_design.DrawDesign(dc, w, last, false);
    if (edge > w.left)
        m_design.DrawDesign(dc, w, last, true, CRect{w.left, w.top, edge, w.bottom});
}

void CDesignFunctionMachine::Draw(IDrawingSurface& dc) const {
    const CRect panel = Bounds();
    dc.FillRect(panel, kPanel);
    dc.SetPen(1, kDesignBlack);
    dc.SetNullBrush();
    dc.Rectangle(panel);
    Bevel(dc, {panel.left + 1, panel.top + 1, panel.right - 1, panel.bottom - 1}, false);

    const CRect design = DesignRect();
    DrawDesign(dc, design);
    Bevel(dc, {design.left - 1, design.top - 1, design.right + 1, design.bottom + 1}, true);

    // The chooser: the chosen shape, made small enough to fit.
    const CRect chooser = PartRect(DesignPart::Chooser);
    dc.FillRect(chooser, kLight);
    Bevel(dc, chooser, true);
    if (const CShapeManipulative* chosen = ChosenShape()) {
        CShapeManipulative s(*chosen);
        CRect b;
        s.GetBounds(b);
        if (b.Width() > 0 && b.Height() > 0) {
            const double k = std::min(
                {1.0, (chooser.Width() - 8.0) / b.Width(), (chooser.Height() - 8.0) / b.Height()});
            s.Scale(k, s.centre());
            s.GetBounds(b);
            s.MoveBy((chooser.left + chooser.right) / 2.0 - (b.left + b.right) / 2.0,
                     (chooser.top + chooser.bottom) / 2.0 - (b.top + b.bottom) / 2.0);
            dc.SetClip(chooser);
            s.Draw(dc);
            dc.ClearClip();
        }
    }
    for (DesignPart part : {DesignPart::Previous, DesignPart::Next}) {
        const CRect r = PartRect(part);
        Button(dc, r, "", true);
        Arrow(dc, r, part == DesignPart::Previous ? -2 : 2);
    }

    dc.SetFont(kPanelFont);
    dc.SetTextColor(kDesignBlack);
    dc.SetTextBackground(kPanel, true);
    dc.DrawText(Offset(kTimesLabel, m_position), "Times", kAlignLeft | kAlignVCenter | kSingleLine);
    dc.DrawText(Offset(kAngleLabel, m_position), "Angle", kAlignLeft | kAlignVCenter | kSingleLine);
    for (DesignPart box : {DesignPart::TimesBox, DesignPart::AngleBox}) {
        const CRect r = PartRect(box);
        dc.FillRect(r, kLight);
        Bevel(dc, r, true);
        dc.SetFont(kPanelFont);
        dc.SetTextColor(kDesignBlack);
        dc.SetTextBackground(kLight, true);
        dc.DrawText(r, BoxText(box), kAlignCenter | kAlignVCenter | kSingleLine);
        const bool hidden = box == DesignPart::TimesBox ? m_timesHidden : m_angleHidden;
        if (hidden)
            continue;
        const DesignPart up =
            box == DesignPart::TimesBox ? DesignPart::TimesUp : DesignPart::AngleUp;
        const DesignPart down =
            box == DesignPart::TimesBox ? DesignPart::TimesDown : DesignPart::AngleDown;
        Button(dc, PartRect(up), "", true);
        Arrow(dc, PartRect(up), -1);
        Button(dc, PartRect(down), "", true);
        Arrow(dc, PartRect(down), 1);
    }
    CheckBox(dc, PartRect(DesignPart::ShowAxes), "Show Axes", showAxes());
    if (m_recordRuleOffered)
        CheckBox(dc, PartRect(DesignPart::RecordRule), "Record Rule", recordRule());
    Button(dc, PartRect(DesignPart::Go), "Go", GoEnabled());
    Button(dc, PartRect(DesignPart::Clear), "Clear", ClearEnabled() || m_current >= 0);
}

void CDesignFunctionMachine::Serialize(CArchive& ar) {
    {
        CArchive::Scope s(ar, "position");
        ar.Exchange(m_position.x, "x");
        ar.Exchange(m_position.y, "y");
    }
    ar.ExchangeTab();
    ar.Exchange(m_times, "times");
    ar.ExchangeTab();
    ar.Exchange(m_current, "current");
    ar.ExchangeTab();
    ar.Exchange(m_angleText, "angle text");
    ar.ExchangeTab();
    ar.Exchange(m_timesText, "times text");
    ar.ExchangeTab();
    std::int32_t timesHidden = m_timesHidden ? 1 : 0, angleHidden = m_angleHidden ? 1 : 0;
    ar.Exchange(timesHidden, "times hidden");
    ar.ExchangeTab();
    ar.Exchange(angleHidden, "angle hidden");
    ar.ExchangeTab();
    ar.Exchange(m_colorIndex, "colour index");
    ar.ExchangeTab();
    ar.Exchange(m_angle, "angle");
    ar.ExchangeTab();
    ar.Exchange(m_showAxes, "show axes");
    ar.ExchangeTab();
    ar.Exchange(m_recordRule, "record rule");
    ar.ExchangeTab();
    if (ar.IsStoring())
        return;
    CheckRange(ar, m_position.x, -10000, 10000, "x");
    CheckRange(ar, m_position.y, -10000, 10000, "y");
    CheckRange(ar, m_current, -1, static_cast<int>(m_shapes.size()) - 1, "current");
    CheckRange(ar, m_colorIndex, 0, 5, "colour index");
    if (m_angleText.size() > 3 || m_timesText.size() > 3)
        ar.Fail("a box holds at most 3 characters", "angle text");
    m_timesHidden = timesHidden != 0;
    m_angleHidden = angleHidden != 0;
    m_showAxes = m_showAxes != 0 ? 1 : 0;
    m_recordRule = m_recordRule != 0 ? 1 : 0;
    m_phase = Phase::Idle;
    m_working.reset();
}

void CDesignFunctionMachine::AfterLoading() {
    m_phase = Phase::Idle;
    m_working.reset();
    if (m_design.rules().empty())
        return;
    const CDesignObjectRule& rule = m_design.rules().back();
    m_working = rule.StampShape(rule.times);
    if (rule.firstColor >= 0)
        m_working->SetColor(RainbowColors()[static_cast<std::size_t>(m_colorIndex)]);
}

} // namespace quorvel
