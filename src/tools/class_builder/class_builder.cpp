// Running a class document's source: pieces from the drawers glued edge to edge into figures,
// figures grown by the shape commands, and the problem or activity laid out on the workspace.
#include "tools/class_builder/class_builder.h"

#include "geometry/anglemeter_manipulative.h"
#include "geometry/core_problems.h"
#include "geometry/poly_shape_manipulative.h"
#include "geometry/shape_catalogue.h"
#include "geometry/shape_commands.h"
#include "geometry/shape_manipulative.h"
#include "tools/class_builder/tiling.h"
#include "workspace/annotator.h"
#include "workspace/prompter.h"
#include "workspace/timer_host.h"
#include "workspace/tool_palette.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>

namespace quorvel {

namespace {

constexpr Color kLabelBackground = PaletteRGB(255, 255, 255);
constexpr int kOutlineWidth = 2;

// Label boxes and anglemeter labels are fitted with a generous fixed pitch, so that the
// program's own font always fits them on one line.
class CLabelMetrics : public ITextMetrics {
public:
    CSize TextExtent(const CFontSpec&, std::string_view s) override {
        return {static_cast<int>(s.size()) * kCharWidth, kLineHeight};
    }
    CSize WrappedExtent(const CFontSpec& f, std::string_view s, int) override {
        int lines = 1;
        std::size_t widest = 0, run = 0;
        for (char c : s) {
            if (c == '\n') {
                ++lines;
                run = 0;
            } else {
                widest = std::max(widest, ++run);
            }
        }
        (void)f;
        return {static_cast<int>(widest) * kCharWidth, lines * kLineHeight};
    }
    int LineHeight(const CFontSpec&) override { return kLineHeight; }
    int AverageCharWidth(const CFontSpec&) override { return kCharWidth; }

private:
    static constexpr int kCharWidth = 8;
    static constexpr int kLineHeight = 18;
};

// A source's commands run without anyone to answer: a message means the workspace refused the
// command, which is a fault of the source. Only the question before colouring a group is
// answered, with Yes, as a teacher colouring a grouped core would.
class CSourcePrompter : public IPrompter {
public:
    explicit CSourcePrompter(const int& line) : m_line(line) {}

    MessageResult MessageBox(const std::string& text, MessageIcon, MessageButtons,
                             const std::string&) override {
        if (text == kGroupColorQuestion)
            return MessageResult::Yes;
        throw CSourceError(m_line, "the workspace refused: \"" + text + "\"");
    }
    int Choose(const std::string& text, const std::vector<std::string>&,
               const std::string&) override {
        throw CSourceError(m_line, "the workspace asked: \"" + text + "\"");
    }
    std::optional<std::string> AskText(const std::string& prompt, const std::string&,
                                       const std::string&, std::size_t) override {
        throw CSourceError(m_line, "the workspace asked: \"" + prompt + "\"");
    }

private:
    const int& m_line;
};

// No timers: every animation of the shape commands completes at once.
class CInstantTimers : public ITimerHost {
public:
    bool StartTimer(std::uint32_t, int, ITimerClient*) override { return false; }
    void KillTimer(std::uint32_t) override {}
    bool IsRunning(std::uint32_t) const override { return false; }
};

double Radians(double degrees) {
    return degrees * 2 * kPi / 360;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "Forest green" is written forest-green.
std::optional<Color> ButtonColor(const std::string& name) {
    for (const CColorButton& b : ColorButtons()) {
        std::string n = Lower(b.name);
        std::replace(n.begin(), n.end(), ' ', '-');
        if (n == Lower(name))
            return b.color;
    }
    return std::nullopt;
}

struct CBox {
    double left = 0, top = 0, right = 0, bottom = 0;
    double cx() const { return (left + right) / 2; }
    double cy() const { return (top + bottom) / 2; }
};

CBox CornerBox(const std::vector<const CManipulative*>& list) {
    CBox box{1e300, 1e300, -1e300, -1e300};
    for (const CManipulative* m : ShapesOf(list))
        for (const C3DPointDouble& p : CornersOf(*m)) {
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x);
            box.bottom = std::max(box.bottom, p.y);
        }
    return box;
}

std::vector<const CManipulative*> View(const std::vector<std::unique_ptr<CManipulative>>& list) {
    std::vector<const CManipulative*> view;
    for (const auto& m : list)
        view.push_back(m.get());
    return view;
}

bool Inside(const CRect& inner, const CRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string RectText(const CRect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

class CBuilder {
public:
    explicit CBuilder(std::string name) { m_out.name = std::move(name); }

    CClassDocument Run(const std::vector<CStatement>& statements) {
        m_out.doc = std::make_unique<CGeometryUnitDocument>();
        if (statements.empty() ||
            (statements.front().head() != "problem" && statements.front().head() != "activity"))
            throw CSourceError(statements.empty() ? 1 : statements.front().line,
                               "a source starts with \"problem A\", \"problem B\", \"problem C\" "
                               "or \"activity\"");
        for (const CStatement& s : statements) {
            m_line = s.line;
            Statement(s);
        }
        Finish();
        return std::move(m_out);
    }

private:
    // --- words ---------------------------------------------------------------------------

    [[noreturn]] void Fail(const std::string& why) const { throw CSourceError(m_line, why); }

    void Count(const CStatement& s, std::size_t least, std::size_t most) const {
        if (s.words.size() < least || s.words.size() > most)
            Fail("\"" + s.head() + "\" takes " +
                 (least == most ? std::to_string(least - 1)
                                : std::to_string(least - 1) + " to " + std::to_string(most - 1)) +
                 " words");
    }

    double Number(const std::string& word) const { return EvaluateExpression(word, m_line); }
    int Whole(const std::string& word) const { return ParseWholeNumber(word, m_line); }

    // "i.k": piece i, edge k, both counted from 1.
    std::pair<int, int> PieceEdge(const std::string& word) const {
        const std::size_t dot = word.find('.');
        if (dot == std::string::npos)
            Fail("'" + word + "' is not a piece and edge such as 1.3");
        return {Whole(word.substr(0, dot)), Whole(word.substr(dot + 1))};
    }

    static const CManipulative& PieceOf(const std::vector<const CManipulative*>& pieces, int i,
                                        int line) {
        if (i < 1 || i > static_cast<int>(pieces.size()))
            throw CSourceError(line, "there is no piece " + std::to_string(i) + " (there are " +
                                         std::to_string(pieces.size()) + ")");
        return *pieces[static_cast<std::size_t>(i - 1)];
    }

    static const CLine& EdgeOf(const CManipulative& piece, int k, int line) {
        if (k < 1 || k > static_cast<int>(piece.lines().size()))
            throw CSourceError(line, "the piece has no edge " + std::to_string(k) + " (it has " +
                                         std::to_string(piece.lines().size()) + ")");
        return piece.lines()[static_cast<std::size_t>(k - 1)];
    }

    // "vertex i.k", "mid i.k" or "centre i" among `pieces`, from word `at` on; `at` moves on.
    C3DPointDouble PointRef(const CStatement& s, std::size_t& at,
                            const std::vector<const CManipulative*>& pieces) const {
        if (at + 1 >= s.words.size())
            Fail("a point is \"vertex i.k\", \"mid i.k\" or \"centre i\"");
        const std::string& kind = s.words[at];
        const std::string& which = s.words[at + 1];
        at += 2;
        if (kind == "centre")
            return PieceOf(pieces, Whole(which), m_line).centre();
        const auto [i, k] = PieceEdge(which);
        const CLine& edge = EdgeOf(PieceOf(pieces, i, m_line), k, m_line);
        if (kind == "vertex")
            return edge.start();
        if (kind == "mid")
            return edge.midpoint();
        Fail("a point is \"vertex i.k\", \"mid i.k\" or \"centre i\", not \"" + kind + "\"");
    }

    const CFigure& FigureNamed(const std::string& name) const {
        const auto it = m_out.figures.find(name);
        if (it == m_out.figures.end())
            Fail("no figure is called \"" + name + "\"");
        return it->second;
    }

    // --- statements ------------------------------------------------------------------------

    void Statement(const CStatement& s) {
        const std::string& h = s.head();
        if (h == "problem" || h == "activity")
            Kind(s);
        else if (h == "drawers")
            Drawers(s);
        else if (h == "option")
            Option(s);
        else if (h == "tool")
            Tool(s);
        else if (h == "drawer")
            OpenDrawer(s);
        else if (h == "angle")
            Angle(s);
        else if (h == "figure")
            Figure(s);
        else if (h == "grow")
            Grow(s);
        else if (h == "place")
            Place(s);
        else if (h == "outline")
            Outline(s);
        else if (h == "label")
            Label(s);
        else if (h == "anglemeter")
            Anglemeter(s);
        else if (h == "line")
            Line(s);
        else if (h == "tessellation")
            Tessellation(s);
        else if (h == "candidate")
            Candidate(s);
        else
            Fail("unknown statement \"" + h + "\"");
    }

    void Kind(const CStatement& s) {
        if (m_kindSet)
            Fail("the kind of document is given once, on the first line");
        m_kindSet = true;
        if (s.head() == "activity") {
            Count(s, 1, 1);
            return;
        }
        Count(s, 2, 2);
        const std::string& level = s.words[1];
        if (level != "A" && level != "B" && level != "C")
            Fail("a problem's level is A, B or C");
        m_problem = CCoreProblemSource{};
        m_problem->level = level[0] - 'A';
        // A problem is computer-checked; the pupil compares cores and may group and stamp
        // them, but the workspace does not scroll away, colour or scale.
        auto& t = m_options.teacher;
        t[kOptComputerChecked] = 1;
        t[kOptScriptControls] = 0;
        t[kOptScrolling] = 0;
        t[kOptScaling] = 0;
        t[kOptColorPalette] = 0;
        t[kOptPhotoFunctionality] = kPhotoFunctionNone;
    }

    void Drawers(const CStatement& s) {
        Count(s, 2, 7);
        for (int o : {kOptDrawer1, kOptDrawer2, kOptDrawer3, kOptStudentDrawers, kOptDrawer6})
            m_options.teacher[static_cast<std::size_t>(o)] = 0;
        if (s.words.size() == 2 && s.words[1] == "none")
            return;
        for (std::size_t i = 1; i < s.words.size(); ++i) {
            const int d = Whole(s.words[i]);
            static constexpr int kOptionOfDrawer[] = {kOptDrawer1,        kOptDrawer2,
                                                      kOptDrawer3,        kOptStudentDrawers,
                                                      kOptStudentDrawers, kOptDrawer6};
            if (d < 1 || d > kDrawerCount)
                Fail("drawers are numbered 1 to 6");
            m_options.teacher[static_cast<std::size_t>(kOptionOfDrawer[d - 1])] = 1;
        }
    }

    void Option(const CStatement& s) {
        Count(s, 3, 3);
        const std::string& name = s.words[1];
        const std::string& value = s.words[2];
        const auto onOff = [&]() -> std::int32_t {
            if (value != "on" && value != "off")
                Fail("option \"" + name + "\" is on or off");
            return value == "on" ? 1 : 0;
        };
        const auto choice = [&](std::initializer_list<const char*> names) -> std::int32_t {
            std::int32_t i = 0;
            for (const char* n : names) {
                if (value == n)
                    return i;
                ++i;
            }
            Fail("option \"" + name + "\" has no value \"" + value + "\"");
        };
        auto& t = m_options.teacher;
        auto& u = m_options.user;
        if (name == "scripts")
            t[kOptScriptControls] = onOff();
        else if (name == "scrolling")
            t[kOptScrolling] = onOff();
        else if (name == "grouping")
            t[kOptGrouping] = onOff();
        else if (name == "scaling")
            t[kOptScaling] = onOff();
        else if (name == "palette")
            t[kOptColorPalette] = onOff();
        else if (name == "photos")
            t[kOptPhotoFunctionality] = choice({"all", "strip", "strip-box", "none"});
        else if (name == "rotation-points")
            u[kOptRotationPoints] = choice({"hide", "show", "set"});
        else if (name == "snapping")
            u[kOptSnapping] = 1 - onOff();
        else if (name == "photo-features")
            u[kOptPhotoFeatures] = choice({"hide", "strip", "strip-box", "all"});
        else
            Fail("unknown option \"" + name + "\"");
    }

    void OpenDrawer(const CStatement& s) {
        Count(s, 2, 2);
        m_openDrawer = Whole(s.words[1]) - 1;
    }

    void Angle(const CStatement& s) {
        Count(s, 2, 2);
        m_angle = Number(s.words[1]);
    }

    void Tool(const CStatement& s) {
        Count(s, 2, 2);
        for (const CToolInfo& tool : ToolTable())
            if (Lower(tool.name) == Lower(s.words[1])) {
                m_tool = tool.code;
                return;
            }
        Fail("unknown tool \"" + s.words[1] + "\"");
    }

    // --- figures ---------------------------------------------------------------------------

    void Figure(const CStatement& s) {
        Count(s, 2, 2);
        const std::string& name = s.words[1];
        if (m_out.figures.count(name))
            Fail("a figure called \"" + name + "\" exists already");
        CFigure figure;
        for (const CStatement& p : s.body) {
            m_line = p.line;
            if (p.head() != "piece")
                Fail("a figure holds only \"piece\" lines");
            Piece(figure, p);
        }
        if (figure.pieces.empty())
            Fail("the figure \"" + name + "\" has no pieces");
        m_out.figures.emplace(name, std::move(figure));
    }

    // piece <shape> [at x y] [flipped] [turn deg] [on i.k [by j]] [colour name]
    void Piece(CFigure& figure, const CStatement& s) {
        Count(s, 2, 12);
        const auto& names = SourceShapeNames();
        const auto shape = names.find(s.words[1]);
        if (shape == names.end())
            Fail("unknown shape \"" + s.words[1] + "\"");
        C3DPointDouble at(0, 0);
        bool flipped = false;
        std::optional<double> turn;
        std::optional<std::pair<int, int>> on;
        std::optional<int> by;
        std::optional<Color> colour;
        for (std::size_t i = 2; i < s.words.size(); ++i) {
            const std::string& w = s.words[i];
            const bool hasNext = i + 1 < s.words.size();
            if (w == "at" && i + 2 < s.words.size()) {
                at = C3DPointDouble(Number(s.words[i + 1]), Number(s.words[i + 2]), 0.0);
                i += 2;
            } else if (w == "flipped") {
                flipped = true;
            } else if (w == "turn" && hasNext) {
                turn = Number(s.words[++i]);
            } else if (w == "on" && hasNext) {
                on = PieceEdge(s.words[++i]);
            } else if (w == "by" && hasNext) {
                by = Whole(s.words[++i]);
            } else if (w == "colour" && hasNext) {
                colour = ButtonColor(s.words[++i]);
                if (!colour)
                    Fail("\"" + s.words[i] + "\" is none of the colour buttons");
            } else {
                Fail("unexpected \"" + w + "\" in a piece");
            }
        }
        std::unique_ptr<CManipulative> piece = MakeDrawerShape(shape->second, at);
        const C3DPointDouble centre = piece->centre();
        if (flipped)
            for (int step = 0; step < kFlipSteps; ++step)
                piece->FlipStepCrossAxis(centre);
        if (turn) {
            if (on)
                Fail("a glued piece takes its direction from the edge it is glued to");
            piece->Rotate(Radians(*turn), centre);
        }
        if (on) {
            const CManipulative& target = PieceOf(View(figure.pieces), on->first, m_line);
            Glue(*piece, by.value_or(LeastTurningEdge(*piece, target, on->second)), target,
                 on->second);
        } else if (!figure.pieces.empty())
            Fail("every piece after the first is glued \"on\" one before it");
        if (colour)
            piece->SetColor(*colour);
        piece->SetRotationPoint(piece->centre());
        figure.pieces.push_back(std::move(piece));
    }

    // How far edge `by` of `piece` must turn to lie along edge `k` of `target`, on its other
    // side: pieces that run the same way meet with their edges in opposite directions.
    double GlueTurn(const CManipulative& piece, int by, const CManipulative& target, int k) const {
        const CLine& mine = EdgeOf(piece, by, m_line);
        const CLine& theirs = EdgeOf(target, k, m_line);
        const bool sameWay =
            (SignedArea(CornersOf(piece)) > 0) == (SignedArea(CornersOf(target)) > 0);
        const C3DPointDouble from = sameWay ? theirs.end() : theirs.start();
        const C3DPointDouble to = sameWay ? theirs.start() : theirs.end();
        const double turn =
            std::atan2(to.y - from.y, to.x - from.x) -
            std::atan2(mine.end().y - mine.start().y, mine.end().x - mine.start().x);
        return std::remainder(turn, 2 * std::acos(-1.0));
    }

    // Without "by", a piece is glued by the edge of the right length that turns it least, so
    // that "a square on the right side of a square" stands upright.
    int LeastTurningEdge(const CManipulative& piece, const CManipulative& target, int k) const {
        const double length = EdgeLength(EdgeOf(target, k, m_line));
        int best = 0;
        double least = 0;
        for (int j = 1; j <= static_cast<int>(piece.lines().size()); ++j) {
            if (std::fabs(EdgeLength(EdgeOf(piece, j, m_line)) - length) > kCornerTolerance)
                continue;
            const double turn = std::fabs(GlueTurn(piece, j, target, k));
            if (best == 0 || turn < least - 1e-9) {
                best = j;
                least = turn;
            }
        }
        if (best == 0)
            Fail("the piece has no edge as long as edge " + std::to_string(k) + " it is glued on");
        return best;
    }

    static double EdgeLength(const CLine& edge) { return Distance(edge.start(), edge.end()); }

    // Turns and moves `piece` so that its edge `by` lies along edge `k` of `target`, on the
    // other side of it.
    void Glue(CManipulative& piece, int by, const CManipulative& target, int k) const {
        const CLine& mine = EdgeOf(piece, by, m_line);
        const CLine& theirs = EdgeOf(target, k, m_line);
        if (std::fabs(EdgeLength(mine) - EdgeLength(theirs)) > kCornerTolerance)
            Fail("edge " + std::to_string(by) + " of the piece and edge " + std::to_string(k) +
                 " it is glued on differ in length");
        const bool sameWay =
            (SignedArea(CornersOf(piece)) > 0) == (SignedArea(CornersOf(target)) > 0);
        const C3DPointDouble a = mine.start();
        const C3DPointDouble from = sameWay ? theirs.end() : theirs.start();
        piece.Rotate(GlueTurn(piece, by, target, k), a);
        piece.MoveBy(from.x - a.x, from.y - a.y);
    }

    // grow <figure> as <name>, then the commands, each run on the selection.
    void Grow(const CStatement& s) {
        if (s.words.size() != 4 || s.words[2] != "as")
            Fail("\"grow\" is written \"grow <figure> as <name>\"");
        const std::string& name = s.words[3];
        if (m_out.figures.count(name))
            Fail("a figure called \"" + name + "\" exists already");
        const CFigure& from = FigureNamed(s.words[1]);

        CGeometryUnitDocument doc;
        CSourcePrompter prompter(m_line);
        CInstantTimers timers;
        CShapeCommandController commands(doc, prompter, timers);
        for (const auto& p : from.pieces)
            doc.Select(doc.AddManipulative(p->Clone()));
        Steps(doc, commands, s.body);

        // What the commands made, as loose shapes: every group opened, nothing selected or
        // highlighted, every rotation point back on its centre.
        m_line = s.line;
        commands.OnSelectAllShapes();
        while (std::any_of(doc.selection().begin(), doc.selection().end(),
                           [](const CManipulative* m) { return m->GetMembers() != nullptr; }))
            commands.OnUngroup();
        doc.DeselectAll();
        doc.ClearMarks();
        CFigure grown;
        grown.grownFrom = s.words[1];
        for (const auto& m : doc.manipulatives()) {
            auto piece = m->Clone();
            piece->SetRotationPoint(piece->centre());
            grown.pieces.push_back(std::move(piece));
        }
        m_out.figures.emplace(name, std::move(grown));
    }

    void Steps(CGeometryUnitDocument& doc, CShapeCommandController& commands,
               const std::vector<CStatement>& steps) {
        for (const CStatement& s : steps) {
            m_line = s.line;
            Step(doc, commands, s);
        }
    }

    void Step(CGeometryUnitDocument& doc, CShapeCommandController& commands, const CStatement& s) {
        const std::string& h = s.head();
        const std::vector<const CManipulative*> pieces =
            ShapesOf({doc.selection().begin(), doc.selection().end()});
        // An optional "about <point>" from word `at` on sets the selection's rotation point.
        const auto about = [&](std::size_t at) {
            if (at == s.words.size())
                return;
            if (s.words[at] != "about")
                Fail("unexpected \"" + s.words[at] + "\"");
            ++at;
            doc.SetSelectionRotationPoint(PointRef(s, at, pieces));
            if (at != s.words.size())
                Fail("unexpected \"" + s.words[at] + "\"");
        };
        if (h == "repeat") {
            Count(s, 2, 2);
            const int times = Whole(s.words[1]);
            if (times < 1 || times > 100)
                Fail("a repeat runs 1 to 100 times");
            for (int i = 0; i < times; ++i)
                Steps(doc, commands, s.body);
        } else if (h == "stamp") {
            Count(s, 1, 1);
            commands.OnStamp();
        } else if (h == "copy") {
            Count(s, 1, 1);
            commands.OnCopy();
        } else if (h == "group") {
            Count(s, 1, 1);
            commands.OnGroup();
        } else if (h == "ungroup") {
            Count(s, 1, 1);
            commands.OnUngroup();
        } else if (h == "select") {
            if (s.words.size() != 2 || s.words[1] != "all")
                Fail("\"select\" is written \"select all\"");
            commands.OnSelectAllShapes();
        } else if (h == "slide") {
            Count(s, 3, 3);
            double dx = 0, dy = 0;
            if (s.words[1] == "along" || s.words[1] == "back") {
                const auto [i, k] = PieceEdge(s.words[2]);
                const CLine& edge = EdgeOf(PieceOf(pieces, i, m_line), k, m_line);
                const double sign = s.words[1] == "along" ? 1 : -1;
                dx = sign * (edge.end().x - edge.start().x);
                dy = sign * (edge.end().y - edge.start().y);
            } else {
                dx = Number(s.words[1]);
                dy = Number(s.words[2]);
            }
            commands.Slide(dx, dy);
        } else if (h == "turn") {
            Count(s, 3, 6);
            if (s.words[1] != "right" && s.words[1] != "left")
                Fail("a turn is \"right\" or \"left\"");
            const double degrees = Number(s.words[2]);
            about(3);
            commands.Rotate(degrees, s.words[1] == "right");
        } else if (h == "flip") {
            Count(s, 2, 5);
            if (s.words[1] != "h" && s.words[1] != "v")
                Fail("a flip is \"h\" (sideways) or \"v\" (upside-down)");
            about(2);
            if (s.words[1] == "h")
                commands.OnFlipHorizontal();
            else
                commands.OnFlipVertical();
        } else if (h == "point") {
            std::size_t at = 1;
            doc.SetSelectionRotationPoint(PointRef(s, at, pieces));
            if (at != s.words.size())
                Fail("unexpected \"" + s.words[at] + "\"");
        } else if (h == "colour") {
            Count(s, 2, 2);
            const auto colour = ButtonColor(s.words[1]);
            if (!colour)
                Fail("\"" + s.words[1] + "\" is none of the colour buttons");
            commands.OnColor(*colour);
        } else {
            Fail("unknown command \"" + h + "\"");
        }
    }

    // --- the workspace ---------------------------------------------------------------------

    // The part of the workspace the pane shows; the script panel takes some of its height.
    CRect ShownArea() const {
        CRect shown = kClassVisibleArea;
        if (m_options.Teacher(kOptScriptControls))
            shown.bottom -= kClassScriptPanelHeight;
        return shown;
    }

    // Adds `m` to the document, checking that it lies in the shown area and, unless `over`,
    // clear of everything placed before.
    CManipulative* Put(std::unique_ptr<CManipulative> m, bool over = false) {
        CheckFrame(m->GetFrameOf(), over);
        return m_out.doc->AddManipulative(std::move(m));
    }

    // Copies of the figure's pieces with their corner box centred on (x, y).
    std::vector<std::unique_ptr<CManipulative>> CopiesAt(const CFigure& figure, double x,
                                                         double y) const {
        const CBox box = CornerBox(View(figure.pieces));
        std::vector<std::unique_ptr<CManipulative>> copies;
        for (const auto& p : figure.pieces) {
            auto copy = p->Clone();
            copy->MoveBy(x - box.cx(), y - box.cy());
            copy->SetRotationPoint(copy->centre());
            copies.push_back(std::move(copy));
        }
        return copies;
    }

    std::unique_ptr<CManipulative> Grouped(std::vector<std::unique_ptr<CManipulative>> pieces) {
        if (pieces.size() == 1)
            return std::move(pieces.front());
        return std::make_unique<CPolyShapeManipulative>(std::move(pieces));
    }

    // place <figure> [piece n] at|right-at x y [turn deg] [fixed] [grouped] [over] [except n]...
    // The figure's corner box is centred on (x, y), or has the middle of its right side there,
    // and is turned about that point; "piece n" takes one piece alone, "except n" leaves a piece
    // out where it would have been.
    void Place(const CStatement& s) {
        const auto& w = s.words;
        if (w.size() < 5)
            Fail("\"place\" is written \"place <figure> at x y\"");
        const CFigure& figure = FigureNamed(w[1]);
        std::size_t i = 2;
        std::optional<int> only;
        if (w[i] == "piece") {
            only = Whole(w[i + 1]);
            PieceOf(View(figure.pieces), *only, m_line);
            i += 2;
        }
        if (i + 2 >= w.size() || (w[i] != "at" && w[i] != "right-at"))
            Fail("\"place\" is written \"place <figure> [piece n] at x y\"");
        const bool rightSide = w[i] == "right-at";
        const double x = Number(w[i + 1]);
        const double y = Number(w[i + 2]);
        bool fixed = false, grouped = false, over = false;
        double turn = 0;
        std::set<int> left;
        for (i += 3; i < w.size(); ++i) {
            if (w[i] == "fixed") {
                fixed = true;
            } else if (w[i] == "grouped") {
                grouped = true;
            } else if (w[i] == "over") {
                over = true;
            } else if (w[i] == "turn" && i + 1 < w.size()) {
                turn = Number(w[++i]);
            } else if (w[i] == "except" && i + 1 < w.size()) {
                const int n = Whole(w[++i]);
                PieceOf(View(figure.pieces), n, m_line);
                left.insert(n);
            } else {
                Fail("unexpected \"" + w[i] + "\"");
            }
        }
        CFigure one;
        if (only)
            one.pieces.push_back(figure.pieces[static_cast<std::size_t>(*only - 1)]->Clone());
        const CFigure& placed = only ? one : figure;
        const CBox box = CornerBox(View(placed.pieces));
        const double cx = rightSide ? x - (box.right - box.left) / 2 : x;
        std::vector<std::unique_ptr<CManipulative>> copies;
        if (only) {
            copies = CopiesAt(one, cx, y);
        } else {
            auto all = CopiesAt(figure, cx, y);
            for (std::size_t k = 0; k < all.size(); ++k)
                if (!left.count(static_cast<int>(k) + 1))
                    copies.push_back(std::move(all[k]));
        }
        for (auto& c : copies) {
            c->Rotate(Radians(turn), C3DPointDouble(x, y, 0.0));
            c->SetRotationPoint(c->centre());
        }
        if (grouped) {
            CManipulative* g = Put(Grouped(std::move(copies)), over);
            g->SetFixed(fixed);
            return;
        }
        // The pieces of one figure touch: the figure as a whole keeps clear of the rest.
        CRect frame;
        for (const auto& c : copies)
            frame = frame.United(c->GetFrameOf());
        CheckFrame(frame, over);
        for (auto& c : copies) {
            c->SetFixed(fixed);
            m_out.doc->AddManipulative(std::move(c));
        }
    }

    void CheckFrame(const CRect& frame, bool over) {
        if (!Inside(frame, ShownArea()))
            Fail("this reaches out of the shown part of the workspace " + RectText(ShownArea()) +
                 ": " + RectText(frame));
        if (m_problem && frame.Intersects(kClassPromptArea))
            Fail("this lies under the problem prompt window " + RectText(kClassPromptArea) + ": " +
                 RectText(frame));
        if (!over)
            for (const auto& [placed, line] : m_placed)
                if (placed.Intersects(frame))
                    Fail("this overlaps what line " + std::to_string(line) + " placed");
        m_placed.emplace_back(frame, m_line);
    }

    // outline <figure> at x y: the figure's boundary as a fixed line for the pupil to fill.
    void Outline(const CStatement& s) {
        Count(s, 5, 5);
        if (s.words[2] != "at")
            Fail("\"outline\" is written \"outline <figure> at x y\"");
        const auto copies =
            CopiesAt(FigureNamed(s.words[1]), Number(s.words[3]), Number(s.words[4]));
        std::vector<CPolygonPoints> polygons;
        for (const auto& c : copies)
            polygons.push_back(CornersOf(*c));
        const auto loops = OutlineLoops(polygons);
        if (loops.size() != 1)
            Fail("the figure's outline is not one closed line (it has " +
                 std::to_string(loops.size()) + ")");
        std::vector<CLine> lines;
        const CPolygonPoints& loop = loops.front();
        for (std::size_t i = 0; i < loop.size(); ++i) {
            CLine line(loop[i], loop[(i + 1) % loop.size()]);
            line.SetWidth(kOutlineWidth);
            lines.push_back(line);
        }
        auto outline = std::make_unique<CLineManipulative>(lines);
        outline->SetFixed(true);
        Put(std::move(outline));
    }

    // label "text" at x y: a framed label with its top-left corner there.
    void Label(const CStatement& s) {
        Count(s, 5, 5);
        if (s.words[2] != "at")
            Fail("\"label\" is written \"label \\\"text\\\" at x y\"");
        Put(MakeLabel(s.words[1], Number(s.words[3]), Number(s.words[4])))->SetFixed(true);
    }

    static std::unique_ptr<CManipulative> MakeLabel(const std::string& text, double x, double y) {
        auto label = std::make_unique<CStaticAnnotatorManipulative>(
            CPoint{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))});
        label->SetText(text);
        CLabelMetrics metrics;
        label->FitToText(metrics);
        label->SetBackgroundColor(kLabelBackground);
        label->SetVisible(true);
        return label;
    }

    // anglemeter at x y: a fresh anglemeter (arms up and to the right) with its vertex there.
    void Anglemeter(const CStatement& s) {
        Count(s, 4, 5);
        if (s.words[1] != "at" || (s.words.size() == 5 && s.words[4] != "over"))
            Fail("\"anglemeter\" is written \"anglemeter at x y [over]\"");
        CLabelMetrics metrics;
        Put(std::make_unique<CAnglemeterManipulative>(
                C3DPointDouble(Number(s.words[2]), Number(s.words[3]), 0.0), metrics),
            s.words.size() == 5);
    }

    // line x1 y1 x2 y2 [colour name]: a fixed thick line.
    void Line(const CStatement& s) {
        Count(s, 5, 7);
        CLine line(C3DPointDouble(Number(s.words[1]), Number(s.words[2]), 0.0),
                   C3DPointDouble(Number(s.words[3]), Number(s.words[4]), 0.0));
        line.SetWidth(kOutlineWidth);
        if (s.words.size() == 7) {
            const auto colour = ButtonColor(s.words[6]);
            if (s.words[5] != "colour" || !colour)
                Fail("a line's colour is one of the colour buttons");
            line.SetColor(*colour);
        } else if (s.words.size() == 6) {
            Fail("unexpected \"" + s.words[5] + "\"");
        }
        auto m = std::make_unique<CLineManipulative>(std::vector<CLine>{line});
        m->SetFixed(true);
        Put(std::move(m), true);
    }

    // --- problems --------------------------------------------------------------------------

    void Tessellation(const CStatement& s) {
        Count(s, 2, 2);
        if (!m_problem)
            Fail("only a problem shows its tessellation by itself");
        if (!m_problem->tessellation.empty())
            Fail("a problem shows one tessellation");
        if (FigureNamed(s.words[1]).grownFrom.empty())
            Fail("the tessellation is a figure grown from a core");
        m_problem->tessellation = s.words[1];
        m_tessellationLine = m_line;
    }

    // candidate <figure> [turn deg]
    void Candidate(const CStatement& s) {
        if (!m_problem)
            Fail("only a problem shows candidate cores");
        if (s.words.size() != 2 && (s.words.size() != 4 || s.words[2] != "turn"))
            Fail("\"candidate\" is written \"candidate <figure> [turn deg]\"");
        FigureNamed(s.words[1]);
        if (m_problem->candidates.size() == kCandidateCount)
            Fail("a problem shows four candidate cores");
        m_problem->candidates.push_back(s.words[1]);
        m_candidateTurns.push_back(s.words.size() == 4 ? Number(s.words[3]) : 0.0);
        m_candidateLines.push_back(m_line);
    }

    void LayOutProblem() {
        CCoreProblemSource& p = *m_problem;
        if (p.tessellation.empty())
            Fail("a problem needs its \"tessellation\"");
        if (p.candidates.size() != kCandidateCount)
            Fail("a problem needs four \"candidate\" lines");
        const CFigure& tessellation = FigureNamed(p.tessellation);
        for (std::size_t i = 0; i < p.candidates.size(); ++i)
            if (p.candidates[i] == tessellation.grownFrom) {
                if (p.answer >= 0)
                    Fail("the core \"" + tessellation.grownFrom + "\" is a candidate twice");
                p.answer = static_cast<int>(i);
            }
        if (p.answer < 0)
            Fail("the core \"" + tessellation.grownFrom +
                 "\" that the tessellation grew from "
                 "is no candidate");

        // The tessellation, fixed, in the middle of its area.
        m_line = m_tessellationLine;
        const CRect& t = kClassTessellationArea;
        auto tiles = CopiesAt(tessellation, (t.left + t.right) / 2.0, (t.top + t.bottom) / 2.0);
        CRect frame;
        for (const auto& c : tiles)
            frame = frame.United(c->GetFrameOf());
        if (!Inside(frame, t))
            Fail("the tessellation " + RectText(frame) + " does not fit its area " + RectText(t));
        CheckFrame(frame, false);
        for (auto& c : tiles) {
            c->SetFixed(true);
            m_out.doc->AddManipulative(std::move(c));
        }

        // The cores in a row, each under its label.
        const CRect& a = kClassCandidateArea;
        const int cellWidth = (a.right - a.left) / kCandidateCount;
        const int cellHeight = a.bottom - a.top;
        for (std::size_t i = 0; i < p.candidates.size(); ++i) {
            m_line = m_candidateLines[i];
            const int left = a.left + static_cast<int>(i) * cellWidth;
            const int top = a.top;
            auto label = MakeLabel("Core #" + std::to_string(i + 1), 0, 0);
            const CRect box = label->GetFrameOf();
            label->MoveBy(left + (cellWidth - box.Width()) / 2 - box.left, top + 2 - box.top);
            const int labelBottom = label->GetFrameOf().bottom;
            Put(std::move(label))->SetFixed(true);
            auto core = Grouped(CopiesAt(FigureNamed(p.candidates[i]), left + cellWidth / 2.0,
                                         (labelBottom + top + cellHeight) / 2.0 + 1));
            if (m_candidateTurns[i] != 0) {
                const C3DPointDouble centre = core->centre();
                core->Rotate(Radians(m_candidateTurns[i]), centre);
                const CBox box2 = CornerBox({core.get()});
                core->MoveBy(left + cellWidth / 2.0 - box2.cx(),
                             (labelBottom + top + cellHeight) / 2.0 + 1 - box2.cy());
                core->SetRotationPoint(core->centre());
            }
            const CRect cell{left, labelBottom, left + cellWidth, top + cellHeight};
            if (!Inside(core->GetFrameOf(), cell))
                Fail("the core " + RectText(core->GetFrameOf()) + " does not fit its place " +
                     RectText(cell));
            Put(std::move(core));
        }

        CGeometryUnitDocument& doc = *m_out.doc;
        doc.questions()[0] = MakeCoreQuestion(kCoreQuestionPrompt, p.answer);
        doc.SetQuestionCount(1);
        doc.SetLevel(p.level);
        m_out.problem = p;
    }

    void Finish() {
        if (m_problem)
            LayOutProblem();
        CGeometryUnitDocument& doc = *m_out.doc;
        doc.SetOptions(m_options);
        if (m_openDrawer) {
            if (!doc.IsDrawerAvailable(*m_openDrawer))
                Fail("drawer " + std::to_string(*m_openDrawer + 1) + " is not available");
            for (int i = 0; i < kDrawerCount && doc.currentDrawer() != *m_openDrawer; ++i)
                doc.NextDrawer();
        }
        doc.SetCurrentTool(m_tool);
        if (m_angle)
            doc.SetAngleValue(*m_angle);
        CRect pane = kClassPaneRect;
        if (m_options.Teacher(kOptScriptControls))
            pane.top += kClassScriptPanelHeight;
        doc.SetPresentGeometry(pane, {0, 0, pane.Width() * kGeometryScreensAcross,
                                      pane.Height() * kGeometryScreensDown});
        doc.ClearUndoHistory();
        doc.SetModifiedFlag(false);
    }

    CClassDocument m_out;
    int m_line = 1;
    bool m_kindSet = false;
    CGeometryOptions m_options;
    std::optional<CCoreProblemSource> m_problem;
    int m_tessellationLine = 0;
    std::vector<double> m_candidateTurns;
    std::vector<int> m_candidateLines;
    int m_tool = kToolArrow;
    std::optional<int> m_openDrawer;
    std::optional<double> m_angle;
    // Frames on the workspace so far, with the lines that placed them.
    std::vector<std::pair<CRect, int>> m_placed;
};

} // namespace

CFigure CFigure::Clone() const {
    CFigure copy;
    copy.grownFrom = grownFrom;
    for (const auto& p : pieces)
        copy.pieces.push_back(p->Clone());
    return copy;
}

CClassDocument BuildClassDocument(const std::string& name, std::string_view source) {
    return CBuilder(name).Run(ParseClassSource(source));
}

const std::map<std::string, int>& SourceShapeNames() {
    static const std::map<std::string, int> kNames{
        {"triangle", 0},   {"square", 1},     {"pentagon", 2},    {"hexagon", 3},
        {"octagon", 4},    {"dodecagon", 5},  {"triangle-1", 6},  {"triangle-2", 7},
        {"triangle-3", 8}, {"triangle-4", 9}, {"triangle-5", 10}, {"rhombus-1", 13},
        {"rhombus-2", 14}, {"rhombus-3", 15}, {"trapezoid", 16},  {"rectangle", 17},
    };
    return kNames;
}

std::string DescribeSourceShapes() {
    std::ostringstream out;
    for (const auto& [name, index] : SourceShapeNames()) {
        const auto shape = MakeDrawerShape(index, C3DPointDouble(0, 0));
        out << name << " (" << CatalogueSlot(index).name << "):\n";
        int k = 1;
        for (const CLine& line : shape->lines()) {
            const double dx = line.end().x - line.start().x;
            const double dy = line.end().y - line.start().y;
            // Directions as a pupil reads them: anticlockwise from the right, y up.
            double degrees = std::atan2(-dy, dx) * 180 / std::acos(-1.0);
            if (degrees < -0.0005)
                degrees += 360;
            char text[96];
            std::snprintf(text, sizeof text, "  edge %d: length %.3f, pointing %.1f degrees\n", k++,
                          std::hypot(dx, dy), degrees);
            out << text;
        }
    }
    return out.str();
}

} // namespace quorvel
