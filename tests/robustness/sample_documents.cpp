// Sample documents: each unit's workspace filled the way a pupil fills it, then saved.
#include "sample_documents.h"

#include "geometry/anglemeter_manipulative.h"
#include "geometry/geometry_document.h"
#include "geometry/poly_shape_manipulative.h"
#include "patterns/code_machines.h"
#include "patterns/machine_table.h"
#include "patterns/number_machine.h"
#include "patterns/patterns_documents.h"
#include "statistics/stats_document.h"
#include "workspace/annotator.h"
#include "workspace/drawing_surface.h"
#include "workspace/line.h"
#include "workspace/manipulative_registry.h"
#include "workspace/tool_palette.h"

#include <memory>

namespace quorvel::testing {
namespace {

std::unique_ptr<CLineManipulative> Polygon(const std::vector<CPoint>& corners) {
    std::vector<CLine> lines;
    for (std::size_t i = 0; i < corners.size(); ++i)
        lines.emplace_back(corners[i], corners[(i + 1) % corners.size()]);
    return std::make_unique<CLineManipulative>(lines);
}

std::string Stem(UnitKind kind) {
    switch (kind) {
    case UnitKind::Geometry:
        return "geometry";
    case UnitKind::Designs:
        return "designs";
    case UnitKind::Codes:
        return "codes";
    case UnitKind::Numbers:
        return "numbers";
    case UnitKind::Statistics:
        return "statistics";
    }
    return "unknown";
}

// Outlines of several sizes and styles: a selected square, a fixed triangle with a hidden
// side, a wide coloured line turned off the pixel grid, and one object of every other
// registered manipulative class.
void FillWorkspace(CUnitDocument& doc, int copies) {
    for (int i = 0; i < copies; ++i) {
        const int x = 40 + (i % 10) * 60;
        const int y = 40 + (i / 10) * 60;

        auto square = Polygon({{x, y}, {x + 40, y}, {x + 40, y + 40}, {x, y + 40}});
        square->SetKind(i % 7);
        CManipulative* s = doc.AddManipulative(std::move(square));
        if (i == 0)
            doc.Select(s);

        auto triangle = Polygon({{x + 5, y + 50}, {x + 35, y + 50}, {x + 20, y + 25}});
        triangle->lines()[1].SetVisible(false);
        triangle->SetFixed(i % 2 == 0);
        doc.AddManipulative(std::move(triangle));

        auto line = std::make_unique<CLineManipulative>(
            std::vector<CLine>{CLine(CPoint{x, y + 55}, CPoint{x + 50, y + 58})});
        line->lines()[0].SetWidth(3);
        line->lines()[0].SetColor(PaletteRGB(200, 30, 30));
        line->Rotate(0.3, line->centre());
        doc.AddManipulative(std::move(line));
    }
    const CManipulativeRegistry& registry = CManipulativeRegistry::Instance();
    for (std::int32_t type = 1; type <= 64; ++type) {
        // The Numbers manipulatives hold references to each other; FillNumbersSample makes them.
        // So do the Codes manipulatives (FillCodesSample).
        const bool numbers = type == kTypeNumberMachine || type == kTypeMachineLink ||
                             type == kTypeNumberCard || type == kTypeTable ||
                             (type >= kTypeNoteCard && type <= kTypeGroupMachine);

        if (!registry.IsRegistered(type) || numbers)
            continue;
        if (auto m = registry.Create(type)) {
            m->MoveBy(300, 300);
            doc.AddManipulative(std::move(m));
        }
    }
}

// Label boxes measured as 7-pixel characters on 16-pixel lines.
ITextMetrics& FixedMetrics() {
    class CFixedMetrics : public ITextMetrics {
    public:
        CSize TextExtent(const CFontSpec&, std::string_view s) override {
            return {static_cast<int>(s.size()) * 7, 16};
        }
        CSize WrappedExtent(const CFontSpec& f, std::string_view s, int) override {
            return TextExtent(f, s);
        }
        int LineHeight(const CFontSpec&) override { return 16; }
        int AverageCharWidth(const CFontSpec&) override { return 7; }
    };
    static CFixedMetrics metrics;
    return metrics;
}

// Tiles and Tessellations: a shape from the first slots of every drawer, a group holding a
// group put into a labelled student drawer, an annotator, an anglemeter, a script of a few
// steps and options other than the defaults. Kept small, as fuzz seeds are best small.
void FillGeometry(CGeometryUnitDocument& doc) {
    const int first = doc.currentDrawer();
    std::vector<CManipulative*> shapes;
    int x = 60;
    for (int d = 0; d < 6 && doc.currentDrawer() >= 0; ++d) {
        for (int slot = 0; slot < 2; ++slot) {
            if (CManipulative* m = doc.AddShapeFromDrawer(slot, C3DPointDouble(x, 400, 0)))
                shapes.push_back(m);
            x += 50;
        }
        doc.NextDrawer();
        if (doc.currentDrawer() == first)
            break;
    }
    if (shapes.size() >= 2) {
        CPolyShapeManipulative::MemberList inner;
        inner.push_back(shapes[0]->Clone());
        CPolyShapeManipulative::MemberList outer;
        outer.push_back(std::make_unique<CPolyShapeManipulative>(std::move(inner)));
        outer.push_back(shapes[1]->Clone());
        auto group = std::make_unique<CPolyShapeManipulative>(std::move(outer));
        group->MoveBy(0, 120);
        CManipulative* g = doc.AddManipulative(std::move(group));
        // A slot of student drawer 4, with its label, takes the group.
        for (int i = 0; i < 6 && doc.currentDrawer() != 3; ++i)
            doc.NextDrawer();
        doc.SetStudentDrawerLabel(3, 0, "two tiles");
        doc.DeselectAll();
        doc.Select(g);
        doc.PutSelectionIntoStudentDrawer(0);
        doc.DeselectAll();
    }
    auto note = std::make_unique<CAnnotatorManipulative>(CPoint{60, 520});
    note->SetText("tiles that fit");
    note->SetVisible(true);
    doc.AddManipulative(std::move(note));
    const C3DPointDouble vertex(400, 300, 0.0);
    doc.AddManipulative(std::make_unique<CAnglemeterManipulative>(vertex, FixedMetrics()));
    CGeometryOptions options = doc.options();
    options.teacher[kOptScriptControls] = 1;
    options.teacher[kOptPhotoFunctionality] = kPhotoFunctionStripBox;
    options.user[kOptPhotoFeatures] = kPhotoStripViewer;
    doc.SetOptions(options);
    ScriptStructList script;
    script.name = "turns";
    script.windowX = 120;
    script.windowY = 80;
    script.steps.push_back({1, "ROTATE 30", 0, 0, 30.0, 0});
    script.steps.push_back({2, "SLIDE", 12, -7, 0.0, 0});
    script.steps.push_back({3, RepeatStepText(3), 0, 0, 0.0, 3});
    doc.scripts().Add(script);
}

// Statistics: a class's names, heights as fractions and pets, with tags, an ignored and an
// excluded case, clusters of both kinds, graph labels, a note and the summary window shown.
void FillStatistics(CStatsUnitDocument& doc) {
    CStatsDataSet& d = doc.dataSet();
    doc.InsertNamedColumn(2, "Height", StatsColumnFormat::Fractions);
    doc.InsertNamedColumn(3, "Pet", StatsColumnFormat::Categories);
    doc.InsertNamedColumn(4, "Score", StatsColumnFormat::TwoDecimals);
    const char* rows[][4] = {{"Ann", "1 1/2", "cat", "7.25"},
                             {"Bob", "2", "Dog", ""},
                             {"Cy", "", "dog ", "3.5"},
                             {"Di", "0.75", "", "9"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            d.EnterCell(r + 1, c + 1, rows[r][c], true);
    for (int r = 0; r < d.rowCount(); ++r) {
        d.Case(r).numberTilePosition = {250.0 + 30 * r, 400.5};
        d.Case(r).categoryTilePosition = {260.0 + 60 * r, 401.25};
    }
    d.SetCellColour(2, 3, 0x83B3FF, true);
    d.Case(2).state = CaseState::Ignored;
    d.Case(3).state = CaseState::Excluded;
    d.SetCurrentColumn(2);
    d.SetSelectedRow(1);
    d.SetScale(2, CNumber(5, 2));
    CStatsViewState& v = doc.viewState();
    v.viewMode = static_cast<int>(StatsViewMode::Board);
    v.clusters.push_back({0, 4, {1, 4}, 0, "", {}});
    v.clusters.push_back({1, 0, {2, 3}, 1, "dogs", {300, 200, 360, 220}});
    v.graphLabels[1] = {"", "names", "heights", "pets"};
    v.showMean = 1;
    doc.summary().window().visible = 1;
    doc.summary().window().rect = {520, 90, 700, 300};
    auto note = std::make_unique<CAnnotatorManipulative>(CPoint{250, 320});
    note->SetText("our class");
    note->FitToText(FixedMetrics());
    note->SetVisible(true);
    doc.AddManipulative(std::move(note));
}

void SetProblems(CUnitDocument& doc) {
    CQuestionSet& q = doc.questions();
    q[0].prompt = "3/4 + 1/8 = ?";
    q[0].choices = {"7/8", "1", "4/12", "", "½"};
    q[0].type = 1;
    q[0].answer = 0.875;
    q[0].partsMask = 1;
    q[1].prompt = "Which shape has the most lines of symmetry? π ≈ 3.14";
    q[1].choices = {"square", "rectangle", "kite", "équilatéral", "—"};
    q[1].type = 2;
    q[1].partsMask = 0x7F;
    for (std::size_t i = 0; i < q[1].moreAnswers.size(); ++i)
        q[1].moreAnswers[i] = static_cast<double>(i) * 1.5;
    q[2].prompt = std::string(300, 'x'); // longer than a one-byte length
    doc.SetQuestionCount(3);
    doc.SetProblemSetMode(true);
    doc.SetProblemPosition({2, 1, 1});
    doc.SetLevel(1);
}

std::vector<std::uint8_t> Saved(UnitKind kind, int copies, bool problems) {
    auto doc = CreateUnitDocument(kind);
    if (auto* numbers = dynamic_cast<CNumberPatternsDocument*>(doc.get()); numbers && copies > 0) {
        FillNumbersSample(*numbers);
    } else if (auto* designs = dynamic_cast<CDesignPatternsDocument*>(doc.get());
               designs && copies > 0) {
        FillDesignsSample(*designs);
    } else if (auto* codes = dynamic_cast<CCodePatternsDocument*>(doc.get()); codes && copies > 0) {
        FillCodesSample(*codes);
    } else if (auto* stats = dynamic_cast<CStatsUnitDocument*>(doc.get()); stats && copies > 0) {
        FillStatistics(*stats);
    } else if (copies > 0) {
        FillWorkspace(*doc, copies);
        if (auto* geometry = dynamic_cast<CGeometryUnitDocument*>(doc.get()))
            FillGeometry(*geometry);
    }
    if (problems)
        SetProblems(*doc);
    return doc->SaveToBytes();
}

} // namespace

std::vector<CSampleDocument> SampleDocuments() {
    std::vector<CSampleDocument> out;
    for (UnitKind kind : AllUnitKinds()) {
        const std::string ext = "." + CreateUnitDocument(kind)->identity().defaultExtension;
        const std::string stem = Stem(kind);
        out.push_back({stem + "-empty" + ext, kind, Saved(kind, 0, false)});
        out.push_back({stem + "-workspace" + ext, kind, Saved(kind, 2, false)});
        out.push_back({stem + "-problems" + ext, kind, Saved(kind, 1, true)});
    }
    out.push_back({"geometry-large.qvg", UnitKind::Geometry, Saved(UnitKind::Geometry, 70, true)});
    return out;
}

void FillNumbersSample(CNumberPatternsDocument& doc) {
    ITextMetrics& metrics = FixedMetrics();
    const CSize size = NumberCardSize(metrics);
    const auto add = [&doc](auto made) { return doc.AddManipulative(std::move(made)); };
    auto* first =
        static_cast<CNumberMachine*>(add(std::make_unique<CNumberMachine>(CPoint{60, 60})));
    auto* second =
        static_cast<CNumberMachine*>(add(std::make_unique<CNumberMachine>(CPoint{60, 380})));
    first->SetOperation(0);
    second->SetOperation(3);
    const auto drop = [&](int which, const char* text) {
        const CRect area = first->DropArea(which);
        auto card = std::make_unique<CNumberCardManipulative>(
            CPoint{(area.left + area.right - size.cx) / 2, (area.top + area.bottom - size.cy) / 2},
            metrics);
        card->SetText(text);
        first->AcceptCard(static_cast<CPatternManipulative*>(add(std::move(card))));
    };
    drop(1, "1/2");
    drop(2, "7");
    drop(1, "-2.5");
    auto link = std::make_unique<CMachineLink>();
    CMachineLink* wire = link.get();
    second->SetInput1(wire);
    wire->SetInput1(first);
    wire->Route();
    doc.AddManipulative(std::move(link));
    second->SetBuiltIn(2, true);
    second->builtInCard(2).SetText("3");
    second->ToggleOperatorHidden();
    second->SetSupermachineMystery(1);
    second->SetLabel("mystery");
    auto output =
        std::make_unique<CNumberCardManipulative>(second->OutputCardPlace(0, size), metrics);
    output->SetReadOnly(true);
    output->SetShownValue(CNumber(5, 2));
    output->SetProducer(second);
    second->outputCards().insert(second->outputCards().begin(),
                                 static_cast<CPatternManipulative*>(add(std::move(output))));
    auto loose = std::make_unique<CNumberCardManipulative>(CPoint{400, 100}, metrics);
    loose->SetText("12");
    doc.Select(add(std::move(loose)));
    auto note = std::make_unique<CAnnotatorManipulative>(CPoint{400, 300});
    note->SetText("what does it do?");
    note->FitToText(metrics);
    note->SetVisible(true);
    doc.AddManipulative(std::move(note));
    // A table of both machines: the second's output, then the first's input 1 and output, with
    // two runs, the second one stopped before its outputs.
    auto table = std::make_unique<CTableManipulative>(CPoint{330, 380});
    table->AttachColumn(first, kColumnOutput);
    table->AttachColumn(first, kColumnInput1);
    table->AttachColumn(second, kColumnOutput);
    table->PrepareRun();
    table->AddEntry(first, kColumnInput1, CNumber(1, 2));
    table->AddEntry(first, kColumnOutput, CNumber(15, 2));
    table->AddEntry(second, kColumnOutput, CNumber(2.5));
    table->PrepareRun();
    table->AddEntry(first, kColumnInput1, CNumber(-2.5));
    table->grid().SetSelectedColumn(2);
    doc.AddManipulative(std::move(table));
    CNumbersOptions options;
    options.autotrigger = 0;
    options.decimalOutput = 0;
    doc.SetOptions(options);
    doc.SetPaneOffset({30, 40});
    doc.SetCurrentTool(9);
}

void FillDesignsSample(CDesignPatternsDocument& doc) {
    CDesignOptions options;
    options.stampColor = 1;
    options.extraShapes = 1;
    doc.SetOptions(options);
    CDesignFunctionMachine& m = doc.machine();
    const auto run = [&m](const char* angle, const char* times, bool rainbow) {
        m.SetAngleText(angle);
        m.SetTimesText(times);
        if (!m.Validate() && m.Go(rainbow))
            m.Finish();
    };
    m.PreviousShape();
    m.SetShowAxes(true);
    run("60", "6", true);
    m.SetRecordRule(true);
    run("45", "3", false);
    m.SetHidden(DesignPart::TimesBox, true);
    m.SetPosition({40, 30});
    // A picture of another design beside the machine, and a note.
    auto picture = std::make_unique<CDesignPicture>(CRect{300, 40, 485, 198});
    picture->rules() = m.design().rules();
    doc.AddManipulative(std::move(picture));
    auto note = std::make_unique<CAnnotatorManipulative>(CPoint{300, 260});
    note->SetText("a flower");
    note->FitToText(FixedMetrics());
    note->SetVisible(true);
    doc.AddManipulative(std::move(note));
    doc.SetCurrentTool(kToolMystery);
}

void FillCodesSample(CCodePatternsDocument& doc) {
    ITextMetrics& metrics = FixedMetrics();
    const auto add = [&doc](auto made) { return doc.AddManipulative(std::move(made)); };
    auto* shift = static_cast<CShiftMachine*>(add(std::make_unique<CShiftMachine>(CPoint{60, 60})));
    auto* keyword =
        static_cast<CKeywordMachine*>(add(std::make_unique<CKeywordMachine>(CPoint{60, 360})));
    shift->SetBoxText(1, "3");
    shift->ToggleBoxHidden(2);
    keyword->SetBoxText(1, "zebra");
    auto card = std::make_unique<CNoteCardManipulative>(CPoint{0, 0}, metrics);
    card->SetText("Meet me at noon", metrics);
    const CRect area = shift->DropArea(1);
    card->MoveTo(C3DPointDouble((area.left + area.right) / 2.0, (area.top + area.bottom) / 2.0, 0));
    shift->AcceptCard(static_cast<CPatternManipulative*>(add(std::move(card))));
    auto link = std::make_unique<CMachineLink>();
    CMachineLink* wire = link.get();
    keyword->SetInput1(wire);
    wire->SetInput1(shift);
    wire->Route();
    add(std::move(link));
    keyword->SetSupermachineMystery(1);
    keyword->SetLabel("secret");
    auto output = std::make_unique<CNoteCardManipulative>(CPoint{0, 0}, metrics);
    output->SetText("Phhw ph dw qrrq", metrics);
    output->SetReadOnly(true);
    output->SetKeywordUsed("zebra");
    const CRect r = output->rect();
    const CPoint at = keyword->OutputCardPlace(0, {r.Width(), r.Height()});
    output->SetRect({at.x, at.y, at.x + r.Width(), at.y + r.Height()});
    output->SetProducer(keyword);
    output->ToggleHidden();
    keyword->outputCards().insert(keyword->outputCards().begin(),
                                  static_cast<CPatternManipulative*>(add(std::move(output))));
    auto loose = std::make_unique<CNoteCardManipulative>(CPoint{400, 100}, metrics);
    loose->SetText("attack at dawn", metrics);
    doc.Select(add(std::move(loose)));
    CNoteCardManipulative copy(CPoint{0, 0}, metrics);
    copy.SetText("Hello, World!", metrics);
    doc.AddToBoard(copy);
    auto note = std::make_unique<CAnnotatorManipulative>(CPoint{400, 300});
    note->SetText("a code for Friday");
    note->FitToText(metrics);
    note->SetVisible(true);
    doc.AddManipulative(std::move(note));
    CCodesOptions options;
    options.shiftOnly = 0;
    options.linking = 1;
    doc.SetOptions(options);
    doc.SetPaneOffset({20, 10});
    doc.SetCurrentTool(kToolMystery);
}

std::string DocumentFuzzTarget(UnitKind kind) {
    return "fuzz_" + Stem(kind) + "_document";
}

} // namespace quorvel::testing
