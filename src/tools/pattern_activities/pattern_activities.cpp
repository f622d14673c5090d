// The Patterns activity documents, worked out by the program's own controllers.
#include "tools/pattern_activities/pattern_activities.h"

#include "patterns/code_machines.h"
#include "patterns/codes_controller.h"
#include "patterns/designs_controller.h"
#include "patterns/headless.h"
#include "patterns/number_machine.h"
#include "patterns/numbers_controller.h"
#include "patterns/patterns_documents.h"
#include "tools/pattern_activities/mystery_problems.h"
#include "workspace/tool_palette.h"

#include <functional>
#include <map>

namespace quorvel {
namespace {

using headless::CFixedMetrics;
using headless::CHeadlessHost;
using headless::CHeadlessWindow;
using headless::CSimulatedTimers;

CPoint Centre(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::int32_t Flag(const CStatement& s, std::size_t i, const char* on, const char* off) {
    const std::string& w = Word(s, i);
    if (w == on)
        return 1;
    if (w == off)
        return 0;
    Fail(s, "expected " + std::string(on) + " or " + off + ", not \"" + w + "\"");
}

// "at X Y" starting at word i.
CPoint At(const CStatement& s, std::size_t i) {
    if (Word(s, i) != "at")
        Fail(s, "expected \"at X Y\"");
    return {ParseWholeNumber(Word(s, i + 1), s.line), ParseWholeNumber(Word(s, i + 2), s.line)};
}

// The words after position i as "key value" pairs (a flag key has no value when listed in
// `flags`).
std::map<std::string, std::string> Pairs(const CStatement& s, std::size_t i,
                                         std::initializer_list<const char*> flags = {}) {
    std::map<std::string, std::string> out;
    while (i < s.words.size()) {
        const std::string& key = s.words[i];
        bool flag = false;
        for (const char* f : flags)
            flag = flag || key == f;
        if (flag) {
            out[key] = "";
            ++i;
        } else {
            out[key] = Word(s, i + 1);
            i += 2;
        }
    }
    return out;
}

// Messages the controllers showed are refusals: a source must not cause any.
void NoMessages(const CStatement& s, CHeadlessHost& host) {
    if (!host.prompter.messages.empty())
        Fail(s, "the program said: " + host.prompter.messages.front());
}

void RunOut(CSimulatedTimers& timers) {
    for (int guard = 0; guard < 100000 && timers.FireNext(); ++guard) {
    }
}

void Inside(const CStatement& s, const CRect& frame, const CRect& view) {
    if (frame.left < view.left || frame.top < view.top || frame.right > view.right ||
        frame.bottom > view.bottom)
        Fail(s, "something reaches out of the part of the workspace the page shows: " +
                    std::to_string(frame.left) + "," + std::to_string(frame.top) + " to " +
                    std::to_string(frame.right) + "," + std::to_string(frame.bottom));
}

// What each page's builder works: its document on a headless host, the page's controller over
// it with a headless window and simulated timers, and the options the file gets.
template <typename Document, typename Controller, typename Options> struct CPageBuild {
    template <typename... More> explicit CPageBuild(const CRect& view, More&&... more) {
        m_doc->SetHost(&m_host);
        m_doc->SetPresentViewRect(view);
        auto timers = std::make_unique<CSimulatedTimers>();
        m_timers = timers.get();
        m_c = std::make_unique<Controller>(*m_doc, m_window, std::move(timers),
                                           std::forward<More>(more)...);
    }

    // The document as its file keeps it: unmodified, and on its own.
    std::unique_ptr<CUnitDocument> Release() {
        m_doc->SetModifiedFlag(false);
        m_doc->SetHost(nullptr);
        m_c.reset();
        return std::move(m_doc);
    }

    CHeadlessHost m_host;
    CHeadlessWindow m_window;
    std::unique_ptr<Document> m_doc = std::make_unique<Document>();
    CSimulatedTimers* m_timers = nullptr;
    std::unique_ptr<Controller> m_c;
    Options m_options;
};

// --- Numbers ---------------------------------------------------------------------------------

class CNumbersBuild
    : public CPageBuild<CNumberPatternsDocument, CNumbersViewController, CNumbersOptions> {
public:
    CNumbersBuild() : CPageBuild(kNumbersClassView, std::make_unique<CFixedMetrics>()) {}
    void Statement(const CStatement& s) {
        const std::string& h = s.head();
        if (h == "option")
            Option(s);
        else if (h == "machine")
            Machine(s);
        else if (h == "link")
            Link(s);
        else if (h == "card")
            Card(s);
        else if (h == "go")
            Go(s, Named(s, 1));
        else if (h == "run")
            Run(s);
        else if (h == "mystery")
            Mystery(s);
        else
            Fail(s, "unknown statement \"" + h + "\"");
        NoMessages(s, m_host);
    }

    std::unique_ptr<CUnitDocument> Finish(const CStatement& last) {
        m_c->SelectTool(ToolCommand(kToolArrow));
        m_doc->SetOptions(m_options);
        // The page opens with nothing selected, whatever was dragged last.
        for (const auto& m : m_doc->manipulatives()) {
            m->SetSelected(false, false);
            if (m->visible())
                Inside(last, m->GetFrameOf(), kNumbersClassView);
        }
        return Release();
    }

private:
    void Option(const CStatement& s) {
        const std::string& what = Word(s, 1);
        if (what == "mystery-tool")
            m_options.mysteryTool = Flag(s, 2, "on", "off");
        else if (what == "computer-checked")
            m_options.computerChecked = Flag(s, 2, "on", "off");
        else if (what == "wires")
            m_options.wiresShown = Flag(s, 2, "show", "hide");
        else if (what == "autotrigger")
            m_options.autotrigger = Flag(s, 2, "on", "off");
        else if (what == "output")
            m_options.decimalOutput = Flag(s, 2, "decimal", "fractional");
        else
            Fail(s, "unknown option \"" + what + "\"");
        // While building, the Mystery tool is always at hand; the file gets the option.
        CNumbersOptions working = m_options;
        working.mysteryTool = 1;
        m_doc->SetOptions(working);
    }

    CNumberMachine& Named(const CStatement& s, std::size_t i) {
        const auto it = m_machines.find(Word(s, i));
        if (it == m_machines.end())
            Fail(s, "no machine \"" + s.words[i] + "\"");
        return *it->second;
    }

    void Type(CPoint at, const std::string& text) {
        m_c->MouseDown(at, false, false);
        m_c->MouseUp(at);
        m_c->EditChanged(text);
        m_c->EndEdit();
    }

    void Drag(CPoint from, CPoint to) {
        m_c->MouseDown(from, false, false);
        m_c->MouseMove(to);
        m_c->MouseUp(to);
    }

    // A card typed with `text`, its top left corner at `at`.
    CNumberCardManipulative& NewCard(const CStatement& s, const std::string& text, CPoint at) {
        auto* card =
            static_cast<CNumberCardManipulative*>(m_c->TakeFromDrawer(NumbersDrawerItem::Card, at));
        if (!card)
            Fail(s, "the drawer gave no card");
        Type(Centre(card->rect()), text);
        if (card->text() != text)
            Fail(s, "the card took \"" + card->text() + "\", not \"" + text + "\"");
        return *card;
    }

    // machine NAME at X Y [op SYMBOL] [builtin VALUE] [label TEXT]
    void Machine(const CStatement& s) {
        const std::string& name = Word(s, 1);
        if (m_machines.count(name))
            Fail(s, "a second machine \"" + name + "\"");
        auto* m =
            static_cast<CNumberMachine*>(m_c->TakeFromDrawer(NumbersDrawerItem::Machine, At(s, 2)));
        if (!m)
            Fail(s, "the drawer gave no machine");
        m_machines[name] = m;
        for (const auto& [key, value] : Pairs(s, 5)) {
            if (key == "op") {
                m_c->MouseDown(Centre(m->PartRect(MachinePart::Operator)), false, false);
                m_c->EditChanged(value);
                m_c->EndEdit();
                if (m->operation() != OperationForText(value))
                    Fail(s, "the machine did not take the operator " + value);
            } else if (key == "builtin") {
                CNumberCardManipulative& card = NewCard(s, value, {m->topLeft().x, 440});
                Drag(Centre(card.rect()), Centre(m->Hopper(2)));
                m_c->ToggleBuiltIn(*m, 2);
                if (!m->IsBuiltIn(2))
                    Fail(s, "the machine did not take the built-in input");
            } else if (key == "label") {
                Type(Centre(m->PartRect(MachinePart::Label)), value);
                if (m->label() != value)
                    Fail(s, "the machine did not take its label");
            } else {
                Fail(s, "unknown machine setting \"" + key + "\"");
            }
        }
    }

    // link FROM TO: FROM's output into TO's first input.
    void Link(const CStatement& s) {
        CNumberMachine& from = Named(s, 1);
        CNumberMachine& to = Named(s, 2);
        m_c->SelectTool(ToolCommand(kToolLinking));
        m_c->MouseDown(Centre(from.Hopper(0)), false, false);
        m_c->MouseUp(Centre(to.Hopper(1)));
        m_c->SelectTool(ToolCommand(kToolArrow));
        if (!to.input1() || !to.input1()->IsLink())
            Fail(s, "the machines were not linked: output hopper " +
                        std::to_string(from.Hopper(0).left) + "," +
                        std::to_string(from.Hopper(0).top) + ", the other machine's frame " +
                        std::to_string(to.GetFrameOf().top));
    }

    // card VALUE at X Y | card VALUE on MACHINE [input 2]
    void Card(const CStatement& s) {
        const std::string& text = Word(s, 1);
        if (Word(s, 2) == "at") {
            NewCard(s, text, At(s, 2));
            return;
        }
        if (Word(s, 2) != "on")
            Fail(s, "expected \"at X Y\" or \"on MACHINE\"");
        CNumberMachine& m = Named(s, 3);
        const int which =
            s.words.size() > 5 && s.words[4] == "input" ? ParseWholeNumber(s.words[5], s.line) : 1;
        CNumberCardManipulative& card = NewCard(s, text, {m.topLeft().x, 440});
        Drag(Centre(card.rect()), Centre(m.Hopper(which)));
        if (card.hopperOwner() != &m)
            Fail(s, "the machine did not take the card");
    }

    // Runs the supermachine that `m` belongs to until its clock stops.
    void Go(const CStatement& s, CNumberMachine& m) {
        RunOut(*m_timers);
        if (m.IsReady())
            m_c->PressGo(m);
        RunOut(*m_timers);
        NoMessages(s, m_host);
    }

    // run FIRST [to LAST] with V1 V2 ... rows at X Y [hide inputs]: each value on a card into
    // FIRST, the run to the end, then the card that went in and the card that came out of LAST
    // laid side by side, one row a card.
    void Run(const CStatement& s) {
        CNumberMachine& first = Named(s, 1);
        std::size_t i = 2;
        CNumberMachine* last = &first;
        if (Word(s, i) == "to") {
            last = &Named(s, i + 1);
            i += 2;
        }
        if (Word(s, i) != "with")
            Fail(s, "expected \"with\"");
        std::vector<std::string> values;
        for (++i; i < s.words.size() && s.words[i] != "rows"; ++i)
            values.push_back(s.words[i]);
        if (Word(s, i) != "rows")
            Fail(s, "expected \"rows at X Y\"");
        const CPoint at = At(s, i + 1);
        const bool hideInputs = s.words.size() > i + 4 && s.words[i + 4] == "hide";
        const int rowHeight = NumberCardSize(m_metrics).cy + 8;
        const int columnGap = NumberCardSize(m_metrics).cx + 30;
        int row = 0;
        for (const std::string& value : values) {
            // The card that goes in comes out changed; a copy typed in its row shows what went in.
            const CPoint place{at.x, at.y + row * rowHeight};
            CNumberCardManipulative& shown = NewCard(s, value, place);
            CNumberCardManipulative& in = NewCard(s, value, {first.topLeft().x, 440});
            Drag(Centre(in.rect()), Centre(first.Hopper(1)));
            Go(s, first);
            if (last->outputCards().empty())
                Fail(s, "no card came out");
            auto* out = static_cast<CNumberCardManipulative*>(last->outputCards().front());
            const CPoint outPlace{at.x + columnGap, place.y};
            Drag(Centre(out->rect()),
                 Centre(CRect{outPlace.x, outPlace.y, outPlace.x + out->rect().Width(),
                              outPlace.y + out->rect().Height()}));
            if (out->rect().left != outPlace.x || out->rect().top != outPlace.y ||
                out->hopperOwner())
                Fail(s, "the card that came out did not go to its row");
            if (hideInputs) {
                m_c->SelectTool(ToolCommand(kToolMystery));
                m_c->MysteryAt(Centre(shown.rect()));
                m_c->SelectTool(ToolCommand(kToolArrow));
            }
            ++row;
        }
    }

    // mystery MACHINE [operator|builtin|label]
    void Mystery(const CStatement& s) {
        CNumberMachine& m = Named(s, 1);
        MachinePart part = MachinePart::Body;
        if (s.words.size() > 2) {
            const std::string& what = s.words[2];
            part = what == "operator"  ? MachinePart::Operator
                   : what == "builtin" ? MachinePart::BuiltIn2
                   : what == "label"   ? MachinePart::Label
                                       : MachinePart::None;
            if (part == MachinePart::None)
                Fail(s, "unknown machine part \"" + what + "\"");
        }
        CPoint p = Centre(m.PartRect(part == MachinePart::Body ? MachinePart::Go : part));
        if (part == MachinePart::Body) {
            const CRect b = m.Body();
            for (int y = b.top; y < b.bottom && m.PartAt(p) != MachinePart::Body; y += 2)
                for (int x = b.left; x < b.right; x += 2)
                    if (m.PartAt({x, y}) == MachinePart::Body) {
                        p = {x, y};
                        break;
                    }
        }
        m_c->SelectTool(ToolCommand(kToolMystery));
        m_c->MysteryAt(p);
        m_c->SelectTool(ToolCommand(kToolArrow));
        if (part == MachinePart::Body && m.mystery() == 0)
            Fail(s, "the machine did not become a mystery");
    }

    CFixedMetrics m_metrics;
    std::map<std::string, CNumberMachine*> m_machines;
};

// --- Codes -----------------------------------------------------------------------------------

// The text a code machine makes of `text` when the program runs it: a machine of `kind` set up
// with `box1` and `box2`, a note card through it, Go.
std::string Encode(const CStatement& s, const std::string& kind, const std::string& box1,
                   const std::string& box2, const std::string& text);

class CCodesBuild : public CPageBuild<CCodePatternsDocument, CCodesViewController, CCodesOptions> {
public:
    CCodesBuild() : CPageBuild(kCodesClassView, std::make_unique<CFixedMetrics>()) {
        m_options.shiftOnly = 0; // all machines while building; the file gets the option
        m_c->SetOptions(m_options);
        m_options.shiftOnly = 1;
    }

    void Statement(const CStatement& s) {
        const std::string& h = s.head();
        if (h == "option")
            Option(s);
        else if (h == "machine")
            Machine(s);
        else if (h == "note")
            Note(s);
        else if (h == "link")
            Link(s);
        else if (h == "go")
            Go(s, Named(s, 1));
        else if (h == "mystery")
            Mystery(s);
        else
            Fail(s, "unknown statement \"" + h + "\"");
        NoMessages(s, m_host);
    }

    std::unique_ptr<CUnitDocument> Finish(const CStatement& last) {
        m_c->SelectTool(ToolCommand(kToolArrow));
        m_c->SetOptions(m_options);
        for (const auto& m : m_doc->manipulatives()) {
            m->SetSelected(false, false);
            if (m->visible())
                Inside(last, m->GetFrameOf(), kCodesClassView);
        }
        return Release();
    }

    CCodeMachine& MakeMachine(const CStatement& s, const std::string& kind, CPoint at,
                              const std::string& box1, const std::string& box2) {
        CodesDrawerItem item = CodesDrawerItem::ShiftMachine;
        if (kind == "keyword")
            item = CodesDrawerItem::KeywordMachine;
        else if (kind == "group")
            item = CodesDrawerItem::GroupMachine;
        else if (kind != "shift")
            Fail(s, "unknown code machine \"" + kind + "\"");
        auto* m = static_cast<CCodeMachine*>(m_c->TakeFromDrawer(item, at));
        if (!m)
            Fail(s, "the drawer gave no machine");
        if (!box1.empty())
            Type(Centre(m->PartRect(CodePart::Box1)), box1);
        if (!box2.empty())
            Type(Centre(m->PartRect(CodePart::Box2)), box2);
        return *m;
    }

    CNoteCardManipulative& MakeNote(const CStatement& s, const std::string& text, CPoint at) {
        auto* card =
            static_cast<CNoteCardManipulative*>(m_c->TakeFromDrawer(CodesDrawerItem::NoteCard, at));
        if (!card)
            Fail(s, "the drawer gave no note card");
        Type(Centre(card->rect()), text);
        if (card->text() != text)
            Fail(s, "the note card took \"" + card->text() + "\"");
        return *card;
    }

    void DropOn(const CStatement& s, CNoteCardManipulative& card, CCodeMachine& m) {
        const CPoint from = Centre(card.rect()), to = Centre(m.Hopper(1));
        m_c->MouseDown(from, false, false);
        m_c->MouseMove(to);
        m_c->MouseUp(to);
        if (card.hopperOwner() != &m)
            Fail(s, "the machine did not take the card");
    }

    void Go(const CStatement& s, CCodeMachine& m) {
        m_c->PressGo(m);
        RunOut(*m_timers);
        NoMessages(s, m_host);
        if (m.outputCards().empty() && !m.output())
            Fail(s, "no card came out");
    }

    const std::string& LastOutputText(const CStatement& s, CCodeMachine& last) {
        if (last.outputCards().empty())
            Fail(s, "no card came out");
        return static_cast<CNoteCardManipulative*>(last.outputCards().front())->text();
    }

    CCodeMachine& Named(const CStatement& s, std::size_t i) {
        const auto it = m_machines.find(Word(s, i));
        if (it == m_machines.end())
            Fail(s, "no machine \"" + s.words[i] + "\"");
        return *it->second;
    }

private:
    void Option(const CStatement& s) {
        const std::string& what = Word(s, 1);
        if (what == "machines")
            m_options.shiftOnly = Flag(s, 2, "shift-only", "all");
        else if (what == "mystery-tool")
            m_options.mysteryTool = Flag(s, 2, "on", "off");
        else if (what == "computer-checked")
            m_options.computerChecked = Flag(s, 2, "on", "off");
        else if (what == "message-board")
            m_options.messageBoard = Flag(s, 2, "on", "off");
        else if (what == "linking")
            m_options.linking = Flag(s, 2, "on", "off");
        else
            Fail(s, "unknown option \"" + what + "\"");
    }

    void Type(CPoint at, const std::string& text) {
        m_c->MouseDown(at, false, false);
        m_c->MouseUp(at);
        m_c->EditChanged(text);
        m_c->EndEdit();
    }

    // machine NAME shift|keyword|group at X Y [places N] [direction D] [size N] [keyword W]
    void Machine(const CStatement& s) {
        const std::string& name = Word(s, 1);
        if (m_machines.count(name))
            Fail(s, "a second machine \"" + name + "\"");
        std::string box1, box2;
        for (const auto& [key, value] : Pairs(s, 6)) {
            if (key == "places" || key == "size" || key == "keyword")
                box1 = value;
            else if (key == "direction")
                box2 = value;
            else
                Fail(s, "unknown machine setting \"" + key + "\"");
        }
        m_machines[name] = &MakeMachine(s, Word(s, 2), At(s, 3), box1, box2);
    }

    // note TEXT at X Y [on MACHINE] | note TEXT coded KIND BOX1 [BOX2] at X Y
    void Note(const CStatement& s) {
        std::string text = Word(s, 1);
        std::size_t i = 2;
        if (Word(s, i) == "coded") {
            const std::string& kind = Word(s, i + 1);
            const std::string& box1 = Word(s, i + 2);
            std::string box2;
            i += 3;
            if (kind == "shift")
                box2 = Word(s, i++);
            text = Encode(s, kind, box1, box2, text);
        }
        CNoteCardManipulative& card = MakeNote(s, text, At(s, i));
        if (s.words.size() > i + 4 && s.words[i + 3] == "on")
            DropOn(s, card, Named(s, i + 4));
    }

    void Link(const CStatement& s) {
        CCodeMachine& from = Named(s, 1);
        CCodeMachine& to = Named(s, 2);
        m_c->SelectTool(ToolCommand(kToolLinking));
        m_c->MouseDown(Centre(from.Hopper(0)), false, false);
        m_c->MouseUp(Centre(to.Hopper(1)));
        m_c->SelectTool(ToolCommand(kToolArrow));
        if (!to.input1() || !to.input1()->IsLink())
            Fail(s, "the machines were not linked");
    }

    void Mystery(const CStatement& s) {
        CCodeMachine& m = Named(s, 1);
        m_c->SelectTool(ToolCommand(kToolMystery));
        m_c->MysteryAt(Centre(m.PartRect(CodePart::Body)));
        m_c->SelectTool(ToolCommand(kToolArrow));
        if (m.mystery() == 0)
            Fail(s, "the machine did not become a mystery");
    }

    std::map<std::string, CCodeMachine*> m_machines;
};

std::string Encode(const CStatement& s, const std::string& kind, const std::string& box1,
                   const std::string& box2, const std::string& text) {
    CCodesBuild scratch;
    CCodeMachine& m = scratch.MakeMachine(s, kind, {100, 40}, box1, box2);
    CNoteCardManipulative& card = scratch.MakeNote(s, text, {100, 260});
    scratch.DropOn(s, card, m);
    scratch.Go(s, m);
    NoMessages(s, scratch.m_host);
    return scratch.LastOutputText(s, m);
}

// --- Designs ---------------------------------------------------------------------------------

class CDesignsBuild
    : public CPageBuild<CDesignPatternsDocument, CDesignsViewController, CDesignOptions> {
public:
    CDesignsBuild() : CPageBuild(kDesignsClassView) {}

    void Statement(const CStatement& s) {
        const std::string& h = s.head();
        CDesignFunctionMachine& m = m_doc->machine();
        if (h == "option") {
            Option(s);
        } else if (h == "shape") {
            const int wanted = ParseWholeNumber(Word(s, 1), s.line);
            for (int guard = 0; guard < 64 && m.current() != wanted; ++guard)
                Click(DesignPart::Next);
            if (m.current() != wanted)
                Fail(s, "the chooser has no shape " + s.words[1]);
        } else if (h == "angle" || h == "times") {
            const DesignPart box = h == "angle" ? DesignPart::AngleBox : DesignPart::TimesBox;
            Click(box);
            m_c->EditChanged(Word(s, 1));
            m_c->EndEdit();
        } else if (h == "axes" || h == "record-rule") {
            const bool on = Flag(s, 1, "on", "off") != 0;
            const bool now = h == "axes" ? m.showAxes() : m.recordRule();
            if (on != now)
                Click(h == "axes" ? DesignPart::ShowAxes : DesignPart::RecordRule);
        } else if (h == "go") {
            Click(DesignPart::Go);
            RunOut(*m_timers);
            NoMessages(s, m_host);
            if (m.design().rules().empty())
                Fail(s, "Go drew no design");
        } else if (h == "mystery") {
            const std::string& what = Word(s, 1);
            if (what != "angle" && what != "times")
                Fail(s, "the Mystery tool hides \"angle\" or \"times\"");
            m_c->SelectTool(ToolCommand(kToolMystery));
            m_c->MysteryAt(
                Centre(m.PartRect(what == "angle" ? DesignPart::AngleBox : DesignPart::TimesBox)));
            m_c->SelectTool(ToolCommand(kToolArrow));
        } else {
            Fail(s, "unknown statement \"" + h + "\"");
        }
        NoMessages(s, m_host);
    }

    std::unique_ptr<CUnitDocument> Finish(const CStatement& last) {
        m_c->SelectTool(ToolCommand(kToolArrow));
        m_doc->SetOptions(m_options);
        if (m_doc->machineShown())
            Inside(last, m_doc->machine().Bounds(), kDesignsClassView);
        return Release();
    }

private:
    void Click(DesignPart part) { m_c->MouseDown(Centre(m_doc->machine().PartRect(part))); }

    void Option(const CStatement& s) {
        const std::string& what = Word(s, 1);
        if (what == "record-rule")
            m_options.recordRule = Flag(s, 2, "on", "off");
        else if (what == "mystery-tool")
            m_options.mysteryTool = Flag(s, 2, "on", "off");
        else if (what == "computer-checked")
            m_options.computerChecked = Flag(s, 2, "on", "off");
        else if (what == "rotation-point")
            m_options.rotationPointControl = Flag(s, 2, "on", "off");
        else if (what == "stamp-colour")
            m_options.stampColor = Flag(s, 2, "rainbow", "black");
        else if (what == "extra-shapes")
            m_options.extraShapes = Flag(s, 2, "on", "off");
        else
            Fail(s, "unknown option \"" + what + "\"");
        CDesignOptions working = m_options;
        working.mysteryTool = 1;
        m_doc->SetOptions(working);
    }
};

template <typename Build>
std::unique_ptr<CUnitDocument> BuildWith(const std::vector<CStatement>& statements) {
    Build build;
    for (std::size_t i = 1; i < statements.size(); ++i)
        build.Statement(statements[i]);
    return build.Finish(statements.back());
}

} // namespace

CPatternActivity BuildPatternActivity(const std::string& name, std::string_view source) {
    const std::vector<CStatement> statements = ParseClassSource(source);
    if (statements.empty())
        throw CSourceError(1, "an empty source");
    const CStatement& first = statements.front();
    CPatternActivity out;
    out.name = name;
    if (first.head() == "numbers") {
        out.extension = "qvn";
        out.doc = BuildWith<CNumbersBuild>(statements);
    } else if (first.head() == "codes") {
        out.extension = "qvc";
        out.doc = BuildWith<CCodesBuild>(statements);
    } else if (first.head() == "designs") {
        out.extension = "qvd";
        out.doc = BuildWith<CDesignsBuild>(statements);
    } else if (first.head() == "problem") {
        out = std::move(BuildMysteryProblem(name, statements).activity);
    } else {
        Fail(first, "the first line is \"numbers\", \"codes\", \"designs\" or \"problem\"");
    }
    return out;
}

} // namespace quorvel
