// Annotators: fitting, drawing, moving and the archive forms of the two annotator classes.
#include "workspace/annotator.h"

#include "workspace/archive.h"
#include "workspace/unit_document.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel {

namespace {

constexpr Color kBlack = PaletteRGB(0, 0, 0);

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// Whole pixels toward zero; offsets from a hostile file or a runaway drag saturate.
int TruncToInt(double v) {
    if (std::isnan(v))
        return 0;
    if (v <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (v >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

bool IsTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::uint64_t NextSerial() {
    static std::uint64_t next = 0;
    return ++next;
}

} // namespace

CFontSpec AnnotatorFont() {
    CFontSpec f;
    f.face = "Arial";
    f.pointSizeTenths = 120;
    return f;
}

std::string TrimTrailingSpace(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && IsTrailingSpace(text[n - 1]))
        --n;
    return std::string(text.substr(0, n));
}

CAnnotatorManipulative::CAnnotatorManipulative() : m_serial(NextSerial()) {
    m_visible = false;
}

CAnnotatorManipulative::CAnnotatorManipulative(CPoint at)
    : m_rect{at.x, at.y, ClampToInt(std::int64_t{at.x} + kNewAnnotatorWidth),
             ClampToInt(std::int64_t{at.y} + 1)},
      m_serial(NextSerial()) {
    m_visible = false;
    PinCentre();
}

CAnnotatorManipulative::CAnnotatorManipulative(const CAnnotatorManipulative& other)
    : CManipulative(other), m_rect(other.m_rect), m_text(other.m_text), m_serial(NextSerial()) {}

std::unique_ptr<CManipulative> CAnnotatorManipulative::Clone() const {
    return std::make_unique<CAnnotatorManipulative>(*this);
}

void CAnnotatorManipulative::Serialize(CArchive& ar) {
    CManipulative::Serialize(ar);
    ar.Exchange(m_text, "text");
    ar.ExchangeTab();
    ar.Exchange(m_rect, "text rectangle");
    ar.ExchangeTab();
    // The base part holds the same flag; this copy is the one that counts when reading.
    ar.Exchange(m_visible, "text visible");
    ar.ExchangeTab();
}

void CAnnotatorManipulative::SetText(std::string_view text) {
    m_text = TrimTrailingSpace(text);
}

void CAnnotatorManipulative::PinCentre() {
    m_centre =
        C3DPointDouble(static_cast<double>(m_rect.left), static_cast<double>(m_rect.top), 0.0);
    m_rotationPoint = m_centre;
}

void CAnnotatorManipulative::FitToText(ITextMetrics& metrics) {
    const CFontSpec font = AnnotatorFont();
    const std::int64_t average = metrics.AverageCharWidth(font);
    const std::int64_t line = metrics.LineHeight(font);
    if (!m_text.empty()) {
        m_rect.right = ClampToInt(std::int64_t{m_rect.left} + kFitMeasureWidth);
        const CSize size = metrics.WrappedExtent(font, m_text, m_rect.right - m_rect.left);
        m_rect.right = ClampToInt(std::int64_t{m_rect.left} + size.cx + average);
        m_rect.bottom = ClampToInt(std::int64_t{m_rect.top} + size.cy + line / 2);
    } else {
        m_rect.right = ClampToInt(std::int64_t{m_rect.left} + 2 * average);
        m_rect.bottom = ClampToInt(std::int64_t{m_rect.top} + line * 3 / 2);
    }
    PinCentre();
}

void CAnnotatorManipulative::DrawWrappedText(IDrawingSurface& dc) const {
    dc.SetFont(AnnotatorFont());
    dc.SetTextColor(kBlack);
    dc.SetTextBackground(kNoColor, true);
    dc.DrawText(m_rect, m_text, kWordBreak | kNoClip);
}

void CAnnotatorManipulative::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    DrawWrappedText(dc);
    if (m_selected) {
        dc.SetPen(1, kBlack);
        dc.SetNullBrush();
        dc.Rectangle(m_rect);
    }
}

bool CAnnotatorManipulative::HitTest(double x, double y) const {
    return m_visible && x >= m_rect.left && x < m_rect.right && y >= m_rect.top &&
           y < m_rect.bottom;
}

void CAnnotatorManipulative::MoveBy(double dx, double dy) {
    if (m_fixed)
        return;
    // Centre and corner move by the same whole pixels, so that they stay together.
    const std::int64_t ix = TruncToInt(dx);
    const std::int64_t iy = TruncToInt(dy);
    m_rect = {ClampToInt(m_rect.left + ix), ClampToInt(m_rect.top + iy),
              ClampToInt(m_rect.right + ix), ClampToInt(m_rect.bottom + iy)};
    PinCentre();
}

void CAnnotatorManipulative::MoveTo(const C3DPointDouble& p) {
    if (m_fixed)
        return;
    const std::int64_t width = std::int64_t{m_rect.right} - m_rect.left;
    const std::int64_t height = std::int64_t{m_rect.bottom} - m_rect.top;
    const std::int64_t x = TruncToInt(p.x);
    const std::int64_t y = TruncToInt(p.y);
    m_rect = {ClampToInt(x), ClampToInt(y), ClampToInt(x + width), ClampToInt(y + height)};
    PinCentre();
}

void CAnnotatorManipulative::GetFrame(CRect& r) const {
    r = m_rect;
}

void CAnnotatorManipulative::GetBounds(CRect& r) const {
    r = m_rect;
}

CStaticAnnotatorManipulative::CStaticAnnotatorManipulative(
    const CStaticAnnotatorManipulative& other)
    : CAnnotatorManipulative(other), m_background(other.m_background) {}

std::unique_ptr<CManipulative> CStaticAnnotatorManipulative::Clone() const {
    return std::make_unique<CStaticAnnotatorManipulative>(*this);
}

void CStaticAnnotatorManipulative::Serialize(CArchive& ar) {
    CAnnotatorManipulative::Serialize(ar);
    ar.ExchangeColor(m_background, "background colour");
}

CRect CStaticAnnotatorManipulative::BackgroundRect() const {
    return {ClampToInt(std::int64_t{m_rect.left} - 2), ClampToInt(std::int64_t{m_rect.top} - 2),
            m_rect.right, m_rect.bottom};
}

void CStaticAnnotatorManipulative::Draw(IDrawingSurface& dc) const {
    if (!m_visible)
        return;
    const CRect background = BackgroundRect();
    dc.SetPen(1, kBlack);
    dc.SetBrush(m_background);
    dc.Rectangle(background);
    DrawWrappedText(dc);
    if (m_selected) {
        CRect outer;
        GetFrame(outer);
        dc.SetPen(1, kBlack);
        dc.SetNullBrush();
        dc.Rectangle(outer);
    }
}

void CStaticAnnotatorManipulative::GetFrame(CRect& r) const {
    const CRect b = BackgroundRect();
    r = {ClampToInt(std::int64_t{b.left} - 1), ClampToInt(std::int64_t{b.top} - 1),
         ClampToInt(std::int64_t{b.right} + 1), ClampToInt(std::int64_t{b.bottom} + 1)};
}

CAnnotatorManipulative* AddAnnotatorAt(CUnitDocument& doc, CPoint at, ITextMetrics& metrics) {
    auto annotator = std::make_unique<CAnnotatorManipulative>(at);
    annotator->FitToText(metrics);
    return static_cast<CAnnotatorManipulative*>(doc.AddManipulative(std::move(annotator)));
}

} // namespace quorvel
