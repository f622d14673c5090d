// The class folder's Tiles and Tessellations documents as the program finds them: every file an
// investigation button opens and every "What's My Core?" problem opens cleanly, each problem's
// tessellation is what its source grows, its answer is the core the tessellation grew from, and
// by the mix of shapes no other core shown is as small and could make it. The Patterns
// investigations' documents are what their sources build, and keep their mysteries.
#include "app/activities.h"
#include "geometry/core_problems.h"
#include "geometry/geometry_document.h"
#include "patterns/number_machine.h"
#include "patterns/patterns_documents.h"
#include "problemsets/problem_files.h"
#include "tools/class_builder/class_builder.h"
#include "tools/class_builder/class_tool.h"
#include "tools/class_builder/tiling.h"
#include "tools/pattern_activities/pattern_activities.h"
#include "tools/stats_activities/stats_documents.h"
#include "workspace/annotator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

#include <unistd.h>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

const fs::path kClassDir = QUORVEL_CLASS_DIR;
const fs::path kSourceDir = QUORVEL_CLASS_SOURCE_DIR;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::unique_ptr<CGeometryUnitDocument> Open(const fs::path& path) {
    auto doc = std::make_unique<CGeometryUnitDocument>();
    std::string error;
    const OpenResult result = doc->LoadFromBytes(ReadBytes(path), &error);
    EXPECT_EQ(result, OpenResult::Opened) << path << ": " << error;
    return result == OpenResult::Opened ? std::move(doc) : nullptr;
}

CClassDocument Regrow(const std::string& name) {
    return BuildClassDocument(name, ReadText(kSourceDir / (name + ".tess")));
}

// --- what a shape is, whatever its place, turn or flip -------------------------------------

// The kind of a piece: the distances between every two of its corners in order of size (its
// sides and its diagonals, so that rhombi of different angles differ), and its colour.
struct CPieceKind {
    std::vector<long> distances; // hundredths of a pixel
    Color color = kNoColor;
    auto operator<=>(const CPieceKind&) const = default;
};

CPieceKind KindOf(const CManipulative& shape) {
    CPieceKind kind;
    const CPolygonPoints corners = CornersOf(shape);
    for (std::size_t i = 0; i < corners.size(); ++i)
        for (std::size_t j = i + 1; j < corners.size(); ++j)
            kind.distances.push_back(std::lround(Distance(corners[i], corners[j]) * 100));
    std::sort(kind.distances.begin(), kind.distances.end());
    kind.color = shape.GetColor();
    return kind;
}

using CShapeMix = std::map<CPieceKind, int>;

CShapeMix MixOf(const std::vector<const CManipulative*>& shapes) {
    CShapeMix mix;
    for (const CManipulative* s : shapes)
        ++mix[KindOf(*s)];
    return mix;
}

int PieceCount(const CShapeMix& mix) {
    int n = 0;
    for (const auto& [kind, count] : mix)
        n += count;
    return n;
}

// Copies of a core make a tessellation only when the tessellation holds the same kinds of
// piece, each kind the same whole number of times over.
bool CouldMake(const CShapeMix& core, const CShapeMix& tessellation) {
    if (core.empty() || core.size() != tessellation.size())
        return false;
    int times = 0;
    for (const auto& [kind, count] : core) {
        const auto it = tessellation.find(kind);
        if (it == tessellation.end() || it->second % count != 0)
            return false;
        if (times == 0)
            times = it->second / count;
        else if (it->second / count != times)
            return false;
    }
    return times >= 1;
}

// Two shapes overlap unless a line parallel to one of their sides keeps them apart; every
// drawer shape is convex.
bool Overlap(const CPolygonPoints& a, const CPolygonPoints& b) {
    for (const CPolygonPoints* p : {&a, &b})
        for (std::size_t i = 0; i < p->size(); ++i) {
            const C3DPointDouble& s = (*p)[i];
            const C3DPointDouble& e = (*p)[(i + 1) % p->size()];
            const double nx = s.y - e.y, ny = e.x - s.x;
            const auto span = [&](const CPolygonPoints& q) {
                double lo = 1e300, hi = -1e300;
                for (const C3DPointDouble& v : q) {
                    lo = std::min(lo, v.x * nx + v.y * ny);
                    hi = std::max(hi, v.x * nx + v.y * ny);
                }
                return std::pair{lo, hi};
            };
            const auto [alo, ahi] = span(a);
            const auto [blo, bhi] = span(b);
            const double slack = 1e-4 * std::hypot(nx, ny);
            if (ahi <= blo + slack || bhi <= alo + slack)
                return false;
        }
    return true;
}

// The distances between the centres of every two pieces, sorted: the same for two sets of
// pieces laid out alike, wherever they lie and however they are turned.
std::vector<long> CentreDistances(const std::vector<const CManipulative*>& shapes) {
    std::vector<long> d;
    for (std::size_t i = 0; i < shapes.size(); ++i)
        for (std::size_t j = i + 1; j < shapes.size(); ++j)
            d.push_back(std::lround(Distance(shapes[i]->centre(), shapes[j]->centre()) * 100));
    std::sort(d.begin(), d.end());
    return d;
}

std::vector<const CManipulative*> Pieces(const CFigure& figure) {
    std::vector<const CManipulative*> list;
    for (const auto& p : figure.pieces)
        list.push_back(p.get());
    return list;
}

bool IsLabel(const CManipulative& m) {
    return m.GetType() == kTypeStaticAnnotator;
}

CRect ShownArea(const CGeometryUnitDocument& doc) {
    CRect shown = kClassVisibleArea;
    if (doc.options().Teacher(kOptScriptControls))
        shown.bottom -= kClassScriptPanelHeight;
    return shown;
}

bool Inside(const CRect& inner, const CRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// --- the activity documents ----------------------------------------------------------------

std::vector<std::string> GeometryActivityFiles() {
    std::vector<std::string> files;
    for (int k = 0; k < kInvestigationsPerMenu; ++k)
        for (const CActivityRow& row : FindInvestigation(kGeometryInvestigations, k)->rows)
            for (const CActivity& a : row.activities)
                if (a.kind == ActivityKind::Document && !a.file.empty())
                    files.push_back(a.file);
    return files;
}

TEST(ClassActivityDocuments, EveryInvestigationButtonFindsItsDocument) {
    const std::vector<std::string> files = GeometryActivityFiles();
    ASSERT_EQ(files.size(), 18u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(fs::exists(kClassDir / file));
        const auto doc = Open(kClassDir / file);
        ASSERT_TRUE(doc);
        // An activity is no problem: it opens outside problem-set mode.
        EXPECT_FALSE(doc->problemSetMode());
        EXPECT_FALSE(doc->manipulatives().empty());
        for (const auto& m : doc->manipulatives())
            EXPECT_TRUE(Inside(m->GetFrameOf(), ShownArea(*doc)));
        // Its workspace is the page's, so that opening it spreads nothing.
        EXPECT_EQ(doc->workspaceRect().Width(), 2 * kClassVisibleArea.Width());
        // It is what its source builds, byte for byte.
        const std::string stem = fs::path(file).stem().string();
        EXPECT_EQ(Regrow(stem).doc->SaveToBytes(), ReadBytes(kClassDir / file));
    }
}

TEST(ClassActivityDocuments, EveryPatternsDocumentIsWhatItsSourceBuilds) {
    int seen = 0;
    for (int k = 0; k < kInvestigationsPerMenu; ++k)
        for (const CActivityRow& row : FindInvestigation(kPatternsInvestigations, k)->rows)
            for (const CActivity& a : row.activities) {
                if (a.kind != ActivityKind::Document || a.file.empty())
                    continue;
                SCOPED_TRACE(a.file);
                ++seen;
                const fs::path file(a.file);
                const CPatternActivity built = BuildPatternActivity(
                    file.stem().string(), ReadText(fs::path(QUORVEL_PATTERN_SOURCE_DIR) /
                                                   (file.stem().string() + ".txt")));
                EXPECT_EQ("." + built.extension, file.extension().string());
                EXPECT_EQ(built.doc->SaveToBytes(), ReadBytes(kClassDir / file));
                // A number challenge that hides a machine does not hand the pupil the tool that
                // shows it; a mystery design keeps the tool, to check a guess with.
                bool hides = false;
                if (const auto* numbers =
                        dynamic_cast<const CNumberPatternsDocument*>(built.doc.get())) {
                    for (const auto& m : numbers->manipulatives())
                        if (const auto* machine = dynamic_cast<const CNumberMachine*>(m.get()))
                            hides = hides || machine->mystery() != 0;
                    EXPECT_TRUE(!hides || numbers->options().mysteryTool == 0);
                }
                if (const auto* designs =
                        dynamic_cast<const CDesignPatternsDocument*>(built.doc.get())) {
                    hides = designs->machine().angleHidden() || designs->machine().timesHidden();
                    EXPECT_TRUE(!hides || designs->options().mysteryTool != 0);
                    EXPECT_EQ(hides, !designs->machine().design().rules().empty());
                }
            }
    EXPECT_EQ(seen, 18);
}

TEST(ClassActivityDocuments, PatternsSourcesThatCannotBeBuiltStopTheBuild) {
    const struct {
        const char* source;
        const char* says;
    } cases[] = {
        {"numbers\nmachine a at 40 50\nmachine a at 300 50", "a second machine"},
        {"numbers\nmachine a at 600 50", "reaches out"},
        {"numbers\nmachine a at 40 50 op / builtin 0\nrun a with 3 rows at 300 60",
         "the program said"},
        {"codes\nnote \"hi\" coded shift 30 right at 40 40", "the program said"},
        {"designs\nshape 0\nangle 400\ntimes 4\ngo", "the program said"},
        {"tiles", "the first line"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        try {
            BuildPatternActivity("bad", c.source);
            ADD_FAILURE() << "built";
        } catch (const CSourceError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

TEST(ClassActivityDocuments, OutlinesToFillAreClosedAndFixed) {
    for (const char* file : {"11c1.qvg", "11c2.qvg", "11c3.qvg", "11c4.qvg"}) {
        SCOPED_TRACE(file);
        const auto doc = Open(kClassDir / file);
        ASSERT_TRUE(doc);
        int outlines = 0;
        for (const auto& m : doc->manipulatives()) {
            if (m->GetType() != kTypeLine)
                continue;
            ++outlines;
            EXPECT_TRUE(m->fixed());
            const auto& lines = m->lines();
            ASSERT_GE(lines.size(), 3u);
            for (std::size_t i = 0; i < lines.size(); ++i)
                EXPECT_LT(Distance(lines[i].end(), lines[(i + 1) % lines.size()].start()), 1e-6);
        }
        EXPECT_EQ(outlines, 1);
    }
}

TEST(ClassActivityDocuments, AnglesStartWithTheAnglemeter) {
    const auto doc = Open(kClassDir / "21w.qvg");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->currentTool(), kToolAnglemeter);
    const bool hasAnglemeter =
        std::any_of(doc->manipulatives().begin(), doc->manipulatives().end(),
                    [](const auto& m) { return m->GetType() == kTypeAnglemeter; });
    EXPECT_TRUE(hasAnglemeter);
}

// --- the problem files ---------------------------------------------------------------------

std::vector<std::string> ProblemNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kSourceDir)) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() == ".tess" && stem.rfind("geops", 0) == 0)
            names.push_back(stem);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ClassProblemFiles, EachLevelHasAsManyFilesAsTheDocumentDraws) {
    for (int level = kLevelA; level <= kLevelC; ++level) {
        SCOPED_TRACE(level);
        const int count = kGeometryProblemsPerLevel[static_cast<std::size_t>(level)];
        int present = 0;
        for (const auto& entry : fs::directory_iterator(kClassDir)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(kGeometryProblemFiles.stems[static_cast<std::size_t>(level)], 0) == 0)
                ++present;
        }
        EXPECT_EQ(present, count);
        // A run draws every problem of its level once before any repeats, and each is there.
        CGeometryUnitDocument doc;
        std::set<std::string> drawn;
        for (int i = 0; i < count; ++i) {
            std::string path = kClassDir.string();
            doc.AppendProblemFileName(path, level);
            EXPECT_TRUE(fs::exists(path)) << path;
            drawn.insert(path);
        }
        EXPECT_EQ(static_cast<int>(drawn.size()), count);
    }
}

class ClassProblemFile : public ::testing::TestWithParam<std::string> {};

TEST_P(ClassProblemFile, AsksForTheCoreTheTessellationGrewFrom) {
    const std::string name = GetParam();
    const auto doc = Open(kClassDir / (name + ".qvg"));
    ASSERT_TRUE(doc);
    const CClassDocument source = Regrow(name);
    ASSERT_TRUE(source.problem);
    const CCoreProblemSource& problem = *source.problem;

    // The question record: a computer-checked multiple choice of the four cores.
    EXPECT_TRUE(doc->problemSetMode());
    EXPECT_EQ(doc->level(), name[5] - 'A');
    EXPECT_EQ(problem.level, doc->level());
    ASSERT_EQ(doc->questionCount(), 1);
    const CQuestion& q = doc->questions()[0];
    EXPECT_EQ(q.type, 2);
    EXPECT_EQ(q.prompt, kCoreQuestionPrompt);
    EXPECT_EQ(q.choices,
              (std::array<std::string, 5>{"Core #1", "Core #2", "Core #3", "Core #4", ""}));
    EXPECT_EQ(q.answer, problem.answer);
    ASSERT_GE(problem.answer, 0);
    ASSERT_LT(problem.answer, 4);

    // The workspace: the tessellation's fixed shapes, then each core under its label.
    std::vector<const CManipulative*> tiles;
    std::vector<const CManipulative*> cores;
    std::vector<const CManipulative*> labels;
    for (const auto& m : doc->manipulatives()) {
        if (IsLabel(*m))
            labels.push_back(m.get());
        else if (m->fixed())
            tiles.push_back(m.get());
        else
            cores.push_back(m.get());
    }
    ASSERT_EQ(cores.size(), 4u);
    ASSERT_EQ(labels.size(), 4u);

    // The tessellation is what the source's commands grow, moved as a whole.
    const CFigure& grown = source.figures.at(problem.tessellation);
    ASSERT_EQ(tiles.size(), grown.pieces.size());
    const double dx = tiles[0]->centre().x - grown.pieces[0]->centre().x;
    const double dy = tiles[0]->centre().y - grown.pieces[0]->centre().y;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const auto mine = CornersOf(*tiles[i]);
        const auto theirs = CornersOf(*grown.pieces[i]);
        ASSERT_EQ(mine.size(), theirs.size());
        for (std::size_t k = 0; k < mine.size(); ++k) {
            EXPECT_NEAR(mine[k].x, theirs[k].x + dx, 1e-6);
            EXPECT_NEAR(mine[k].y, theirs[k].y + dy, 1e-6);
        }
        EXPECT_EQ(tiles[i]->GetColor(), grown.pieces[i]->GetColor());
    }

    // It is a tessellation: no two pieces overlap and it has no holes.
    std::vector<CPolygonPoints> polygons;
    for (const CManipulative* t : tiles)
        polygons.push_back(CornersOf(*t));
    for (std::size_t i = 0; i < polygons.size(); ++i)
        for (std::size_t j = i + 1; j < polygons.size(); ++j)
            EXPECT_FALSE(Overlap(polygons[i], polygons[j])) << "pieces " << i << " and " << j;
    EXPECT_EQ(OutlineLoops(polygons).size(), 1u);

    // The answer's core is the core the tessellation grew from.
    const CFigure& core = source.figures.at(grown.grownFrom);
    const auto answerShapes = ShapesOf({cores[static_cast<std::size_t>(problem.answer)]});
    EXPECT_EQ(MixOf(answerShapes), MixOf(Pieces(core)));
    EXPECT_EQ(CentreDistances(answerShapes), CentreDistances(Pieces(core)));

    // By the mix of shapes: the answer could make the tessellation; no core with the same mix
    // in fewer pieces could; every other core shown either could not or is bigger.
    const CShapeMix tessellation = MixOf(tiles);
    const CShapeMix answer = MixOf(answerShapes);
    EXPECT_TRUE(CouldMake(answer, tessellation));
    int common = 0;
    for (const auto& [kind, count] : answer)
        common = std::gcd(common, count);
    EXPECT_EQ(common, 1) << "a core of fewer pieces in the same proportions would make it";
    for (std::size_t i = 0; i < cores.size(); ++i) {
        if (static_cast<int>(i) == problem.answer)
            continue;
        const CShapeMix other = MixOf(ShapesOf({cores[i]}));
        EXPECT_TRUE(!CouldMake(other, tessellation) || PieceCount(other) > PieceCount(answer))
            << "core #" << i + 1;
        EXPECT_NE(other, answer) << "core #" << i + 1;
    }

    // Each core under its own label, nothing overlapping, nothing under the prompt window,
    // everything where the pane shows it.
    std::vector<CRect> frames{};
    CRect tessellationFrame;
    for (const CManipulative* t : tiles)
        tessellationFrame = tessellationFrame.United(t->GetFrameOf());
    frames.push_back(tessellationFrame);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto* label = static_cast<const CAnnotatorManipulative*>(labels[i]);
        EXPECT_EQ(label->text(), "Core #" + std::to_string(i + 1));
        const CRect l = label->GetFrameOf();
        const CRect c = cores[i]->GetFrameOf();
        EXPECT_LE(l.bottom, c.top);
        EXPECT_TRUE((l.left + l.right) / 2 > c.left && (l.left + l.right) / 2 < c.right);
        frames.push_back(l);
        frames.push_back(c);
    }
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(Inside(frames[i], ShownArea(*doc)));
        EXPECT_FALSE(frames[i].Intersects(kClassPromptArea));
        for (std::size_t j = i + 1; j < frames.size(); ++j)
            EXPECT_FALSE(frames[i].Intersects(frames[j])) << i << " and " << j;
    }
}

TEST_P(ClassProblemFile, IsBuiltTheSameEveryTime) {
    const std::string name = GetParam();
    const std::vector<std::uint8_t> file = ReadBytes(kClassDir / (name + ".qvg"));
    EXPECT_EQ(Regrow(name).doc->SaveToBytes(), file);
    EXPECT_EQ(Regrow(name).doc->SaveToBytes(), file);
}

INSTANTIATE_TEST_SUITE_P(WhatsMyCore, ClassProblemFile, ::testing::ValuesIn(ProblemNames()),
                         [](const auto& param) { return param.param; });

TEST(ClassActivityDocuments, EveryStatisticsDocumentIsWhatItsSourceBuilds) {
    int seen = 0;
    for (int k = 0; k < kInvestigationsPerMenu; ++k)
        for (const CActivityRow& row : FindInvestigation(kStatsInvestigations, k)->rows)
            for (const CActivity& a : row.activities) {
                if (a.kind != ActivityKind::Document || a.file.empty())
                    continue;
                SCOPED_TRACE(a.file);
                ++seen;
                const std::string stem = fs::path(a.file).stem().string();
                const auto built = BuildStatsActivity(
                    stem, ReadText(fs::path(QUORVEL_STATS_SOURCE_DIR) / (stem + ".stats")));
                EXPECT_EQ(built->SaveToBytes(), ReadBytes(kClassDir / a.file));
                // A class's worth of data, every case with a value in the column it is about.
                const CStatsDataSet& data = built->dataSet();
                int cases = 0;
                for (int r = 1; r < data.rowCount(); ++r)
                    if (!data.Case(r).IsBlank()) {
                        ++cases;
                        EXPECT_FALSE(data.Cell(r, data.currentColumn()).empty) << r;
                    }
                EXPECT_GE(cases, 18);
                EXPECT_FALSE(built->computerChecked());
            }
    EXPECT_EQ(seen, 9);
}

TEST(ClassActivityDocuments, StatisticsSourcesThatCannotBeBuiltStopTheBuild) {
    const struct {
        const char* source;
        const char* says;
    } cases[] = {
        {"view bar\nName\nAmy", "no \"data\" line"},
        {"column Pet\ndata\nName\nAmy", "no column \"Pet\""},
        {"view bar\ncolumn Pet\ndata\nName,Pet\nAmy,\nBen,", "cannot be drawn"},
        {"edit maybe\ndata\nName\nAmy", "expected on or off"},
        {"colour red\ndata\nName\nAmy", "unknown line"},
        {"tag Pet Dog 1\ndata\nName,Pet\nAmy,Cat", "no case with \"Dog\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        try {
            BuildStatsActivity("bad", c.source);
            ADD_FAILURE() << "built";
        } catch (const CSourceError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

// A source that cannot be built fails the run, and the others are still written.
TEST(ClassBuilderTool, BuildsEverySourceItCanAndFailsOnTheOthers) {
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel-class-tool-" + std::to_string(::getpid()));
    fs::create_directories(dir / "src");
    std::ofstream(dir / "src" / "good.stats") << "data\nName\nAmy\n";
    std::ofstream(dir / "src" / "bad.stats") << "colour red\ndata\nName\nAmy\n";
    std::ofstream(dir / "src" / "other.txt") << "not a source of this kind\n";
    std::string src = (dir / "src").string(), out = (dir / "out").string();
    char tool[] = "builder";
    char* argv[] = {tool, src.data(), out.data()};
    const auto build = [](const std::string& stem, const std::string& text) {
        return CBuiltDocument{stem + ".qvs", BuildStatsActivity(stem, text)->SaveToBytes()};
    };
    EXPECT_EQ(RunClassBuilder(3, argv, ".stats", build, {"builder <src> <out>"}), 1);
    EXPECT_TRUE(fs::exists(dir / "out" / "good.qvs"));
    EXPECT_FALSE(fs::exists(dir / "out" / "bad.qvs"));
    EXPECT_EQ(RunClassBuilder(3, argv, ".tess", build, {"builder <src> <out>"}), 1); // none
    EXPECT_EQ(RunClassBuilder(2, argv, ".stats", build, {"builder <src> <out>"}), 2);
    fs::remove_all(dir);
}

} // namespace
} // namespace quorvel
