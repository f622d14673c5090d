// Documents from bytes, as Open reads them, then what the workspace does with an opened file:
// draw it, frame the selection, hit-test, copy, and save it again. A document that opens must
// save into bytes that open again and save the same.
#include "fuzz/fuzz_targets.h"

#include "app/document_factory.h"
#include "patterns/patterns_documents.h"
#include "statistics/stats_document.h"
#include "workspace/drawing_surface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace quorvel::fuzz {
namespace {

// Takes every drawing call and draws nothing.
class CNullMetrics : public ITextMetrics {
public:
    CSize TextExtent(const CFontSpec&, std::string_view s) override {
        return {static_cast<int>(s.size()) * 7, 16};
    }
    CSize WrappedExtent(const CFontSpec&, std::string_view s, int) override {
        return {static_cast<int>(s.size()) * 7, 16};
    }
    int LineHeight(const CFontSpec&) override { return 16; }
    int AverageCharWidth(const CFontSpec&) override { return 7; }
};

class CNullSurface : public IDrawingSurface {
public:
    void SetPen(int, Color) override {}
    void SetNullPen() override {}
    void SetBrush(Color) override {}
    void SetNullBrush() override {}
    void Line(CPoint, CPoint) override {}
    void Polygon(const std::vector<CPoint>&) override {}
    void Polyline(const std::vector<CPoint>&) override {}
    void Rectangle(const CRect&) override {}
    void FillRect(const CRect&, Color) override {}
    void Ellipse(const CRect&) override {}
    void Arc(const CRect&, CPoint, CPoint) override {}
    void Pie(const CRect&, CPoint, CPoint) override {}
    void SetFont(const CFontSpec&) override {}
    void SetTextColor(Color) override {}
    void SetTextBackground(Color, bool) override {}
    void TextOut(CPoint, std::string_view) override {}
    void DrawText(const CRect&, std::string_view, unsigned) override {}
    void SetClip(const CRect&) override {}
    void ClearClip() override {}
    ITextMetrics& Metrics() override { return m_metrics; }

private:
    CNullMetrics m_metrics;
};

// What the workspace asks of every manipulative when it shows a document.
void Exercise(CUnitDocument& doc) {
    CNullSurface dc;
    for (const auto& m : doc.manipulatives()) {
        m->Draw(dc);
        m->DrawOutline(dc);
        CRect frame, bounds;
        m->GetFrame(frame);
        m->GetBounds(bounds);
        std::vector<CPoint> vertices;
        m->GetVertices(vertices);
        const CPoint centre = m->centre().Rounded();
        doc.HitTest(centre);
        const auto copy = m->Clone();
        if (copy)
            copy->IsEqualTo(*m);
    }
    doc.DrawContents(dc);
    doc.DrawSelection(dc);
    CRect r;
    doc.GetSelectionFrame(r);
    doc.GetSelectionBounds(r);
    doc.IsOnSelectionRotationPoint(doc.selectionRotationPoint().Rounded());
}

// What the Statistics page does with an opened file: the summary of every column (the first
// few), painted; a sort each way; and its table taken out as CSV and brought in again, which
// settles after one round.
void ExerciseStatistics(CStatsUnitDocument& doc) {
    CNullSurface dc;
    CStatsDataSet& data = doc.dataSet();
    const int current = data.currentColumn();
    for (int c = -1; c < std::min(data.columnCount(), 6); ++c) {
        data.SetCurrentColumn(c);
        doc.summary().Recompute();
        const CSize size = doc.summary().FitSize(dc.Metrics());
        doc.summary().Paint(dc, {0, 0}, size.cx);
        doc.summary().PrintedLines(dc.Metrics());
    }
    data.SetCurrentColumn(current);
    if (static_cast<long long>(data.rowCount()) * data.columnCount() > 20000)
        return;
    CStatsUnitDocument once;
    if (once.ImportCsv(doc.ExportCsv()))
        return;
    const std::string settled = once.ExportCsv();
    CStatsUnitDocument twice;
    if (twice.ImportCsv(settled) || twice.ExportCsv() != settled)
        Broken("CSV brought in and taken out again changes");
    doc.SortByCurrentColumn(false);
    doc.SortByCurrentColumn(true);
    if (data.rowCount() < 1 || (data.selectedRow() < -1 || data.selectedRow() >= data.rowCount()))
        Broken("a sort lost the selected row");
}

int FuzzDocument(UnitKind kind, const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    const auto doc = CreateUnitDocument(kind);
    std::string error;
    const OpenResult result = doc->LoadFromBytes(bytes, &error);
    if (result == OpenResult::Failed && !doc->manipulatives().empty())
        Broken("a failed open left manipulatives behind: " + error);
    if (result != OpenResult::Opened)
        return 0;

    Exercise(*doc);

    const std::vector<std::uint8_t> saved = doc->SaveToBytes();
    const auto again = CreateUnitDocument(kind);
    if (again->LoadFromBytes(saved, &error) != OpenResult::Opened)
        Broken("a saved document does not open again: " + error);
    if (again->SaveToBytes() != saved)
        Broken("a reopened document saves different bytes");

    if (auto* stats = dynamic_cast<CStatsUnitDocument*>(doc.get()))
        ExerciseStatistics(*stats);

    // A pupil's first steps in a Numbers file: its output cards erased, then put back.
    if (auto* numbers = dynamic_cast<CNumberPatternsDocument*>(doc.get())) {
        numbers->DeselectAll();
        const std::vector<std::uint8_t> before = numbers->SaveToBytes();
        numbers->MarkUndoStep();
        numbers->DeleteOutputCards();
        numbers->Undo();
        if (numbers->SaveToBytes() != before)
            Broken("undoing the erased output cards does not restore the document");
    }
    return 0;
}

} // namespace

void Broken(const std::string& what) {
    std::fprintf(stderr, "fuzz target: %s\n", what.c_str());
    std::abort();
}

int FuzzGeometryDocument(const std::uint8_t* data, std::size_t size) {
    return FuzzDocument(UnitKind::Geometry, data, size);
}
int FuzzDesignsDocument(const std::uint8_t* data, std::size_t size) {
    return FuzzDocument(UnitKind::Designs, data, size);
}
int FuzzCodesDocument(const std::uint8_t* data, std::size_t size) {
    return FuzzDocument(UnitKind::Codes, data, size);
}
int FuzzNumbersDocument(const std::uint8_t* data, std::size_t size) {
    return FuzzDocument(UnitKind::Numbers, data, size);
}
int FuzzStatisticsDocument(const std::uint8_t* data, std::size_t size) {
    return FuzzDocument(UnitKind::Statistics, data, size);
}

} // namespace quorvel::fuzz
