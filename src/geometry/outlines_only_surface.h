// The surface that prints the workspace with the print option "Outlines Only": shapes lose
// their filled polygons and keep their segments.
#pragma once

#include "workspace/drawing_surface.h"

namespace quorvel {

class COutlinesOnlySurface : public IDrawingSurface {
public:
    explicit COutlinesOnlySurface(IDrawingSurface& inner) : m_inner(inner) {}

    void Polygon(const std::vector<CPoint>&) override {}

    void SetPen(int width, Color color) override { m_inner.SetPen(width, color); }
    void SetNullPen() override { m_inner.SetNullPen(); }
    void SetBrush(Color color) override { m_inner.SetBrush(color); }
    void SetNullBrush() override { m_inner.SetNullBrush(); }
    void Line(CPoint from, CPoint to) override { m_inner.Line(from, to); }
    void Polyline(const std::vector<CPoint>& points) override { m_inner.Polyline(points); }
    void Rectangle(const CRect& r) override { m_inner.Rectangle(r); }
    void FillRect(const CRect& r, Color color) override { m_inner.FillRect(r, color); }
    void Ellipse(const CRect& r) override { m_inner.Ellipse(r); }
    void Arc(const CRect& r, CPoint start, CPoint end) override { m_inner.Arc(r, start, end); }
    void Pie(const CRect& r, CPoint start, CPoint end) override { m_inner.Pie(r, start, end); }
    void SetFont(const CFontSpec& font) override { m_inner.SetFont(font); }
    void SetTextColor(Color color) override { m_inner.SetTextColor(color); }
    void SetTextBackground(Color color, bool transparent) override {
        m_inner.SetTextBackground(color, transparent);
    }
    void TextOut(CPoint at, std::string_view utf8) override { m_inner.TextOut(at, utf8); }
    void DrawText(const CRect& r, std::string_view utf8, unsigned align) override {
        m_inner.DrawText(r, utf8, align);
    }
    void SetClip(const CRect& r) override { m_inner.SetClip(r); }
    void ClearClip() override { m_inner.ClearClip(); }
    ITextMetrics& Metrics() override { return m_inner.Metrics(); }

private:
    IDrawingSurface& m_inner;
};

} // namespace quorvel
