// Code machines run without a page, on a simulated clock.
#include "patterns/codes_runner.h"

#include "patterns/codes_controller.h"
#include "patterns/headless.h"

#include <algorithm>

namespace quorvel {

namespace {

using namespace headless;

constexpr const char* kGoNotAvailableText = "Go is not available";

CPoint CentreOf(const CRect& r) {
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

struct CCodesPage {
    explicit CCodesPage(CCodePatternsDocument& d) : doc(d) {
        previousHost = doc.host();
        doc.SetHost(&host);
        auto t = std::make_unique<CSimulatedTimers>();
        timers = t.get();
        controller = std::make_unique<CCodesViewController>(doc, window, std::move(t),
                                                            std::make_unique<CFixedMetrics>());
    }
    ~CCodesPage() {
        controller.reset();
        doc.SetView(nullptr);
        doc.SetHost(previousHost);
    }
    CCodesPage(const CCodesPage&) = delete;
    CCodesPage& operator=(const CCodesPage&) = delete;

    void Type(CPoint at, const std::string& text) {
        controller->MouseDown(at, false, false);
        controller->MouseUp(at);
        controller->EditChanged(text);
        controller->EndEdit();
    }
    void RunFrom(CCodeMachine& first) {
        controller->PressGo(first);
        while (timers->FireNext()) {
        }
    }

    CCodePatternsDocument& doc;
    IDocumentHost* previousHost = nullptr;
    CHeadlessHost host;
    CHeadlessWindow window;
    CSimulatedTimers* timers = nullptr;
    std::unique_ptr<CCodesViewController> controller;
};

template <typename Setup>
CCodeRun RunOne(CodesDrawerItem item, const std::string& text, Setup setup) {
    CCodePatternsDocument doc;
    CCodesOptions o = doc.options();
    o.shiftOnly = 0;
    doc.SetOptions(o);
    CCodesPage page(doc);
    auto& machine = static_cast<CCodeMachine&>(*page.controller->TakeFromDrawer(item, {300, 300}));
    setup(page, machine);
    auto& card = static_cast<CNoteCardManipulative&>(
        *page.controller->TakeFromDrawer(CodesDrawerItem::NoteCard, CentreOf(machine.Hopper(1))));
    card.SetText(text, page.controller->metrics());
    page.controller->codesDocument().SetModifiedFlag();
    // The card's new size, centred on the hopper again.
    machine.AcceptCard(&card);
    CCodeRun run;
    page.host.prompter.messages.clear();
    if (!machine.goEnabled()) {
        run.text = page.host.prompter.messages.empty() ? kGoNotAvailableText
                                                       : page.host.prompter.messages.front();
        return run;
    }
    page.RunFrom(machine);
    if (!page.host.prompter.messages.empty()) {
        run.text = page.host.prompter.messages.front();
        return run;
    }
    if (machine.outputCards().empty()) {
        run.text = kGoNotAvailableText;
        return run;
    }
    run.ok = true;
    run.text = machine.outputCards().front()->GetText();
    return run;
}

} // namespace

CCodeRun RunShift(const std::string& places, const std::string& direction,
                  const std::string& text) {
    return RunOne(CodesDrawerItem::ShiftMachine, text, [&](CCodesPage& page, CCodeMachine& m) {
        m.SetBoxText(1, places);
        m.SetBoxText(2, direction);
        page.controller->codesDocument().SetModifiedFlag();
    });
}

CCodeRun RunGroup(const std::string& size, const std::string& text) {
    return RunOne(CodesDrawerItem::GroupMachine, text, [&](CCodesPage& page, CCodeMachine& m) {
        m.SetBoxText(1, size);
        page.controller->codesDocument().SetModifiedFlag();
    });
}

CCodeRun RunKeyword(const std::string& keyword, bool decode, const std::string& text) {
    return RunOne(CodesDrawerItem::KeywordMachine, text, [&](CCodesPage& page, CCodeMachine& m) {
        // Typed into the box: the duplicate letters question comes when the box is left.
        page.Type(CentreOf(m.PartRect(CodePart::Box1)), keyword);
        if (decode)
            page.controller->ToggleDecode(static_cast<CKeywordMachine&>(m));
    });
}

std::vector<std::string> RunCodeSupermachines(CCodePatternsDocument& doc) {
    CCodesPage page(doc);
    std::vector<std::string> lines;
    std::vector<CCodeMachine*> firsts;
    for (const auto& m : doc.manipulatives()) {
        auto* p = dynamic_cast<CPatternManipulative*>(m.get());
        if (!p || !p->IsMachine())
            continue;
        auto* first =
            dynamic_cast<CCodeMachine*>(static_cast<CFunctionMachine&>(*p).FirstMachine());
        if (first && std::find(firsts.begin(), firsts.end(), first) == firsts.end())
            firsts.push_back(first);
    }
    std::vector<std::string> names;
    for (CCodeMachine* first : firsts)
        names.push_back("machine " + std::to_string(doc.IndexOf(first)) + ": ");
    for (std::size_t f = 0; f < firsts.size(); ++f) {
        CCodeMachine* first = firsts[f];
        if (!first->goEnabled()) {
            lines.push_back(names[f] + kGoNotAvailableText);
            continue;
        }
        auto* head = static_cast<CCodeMachine*>(first->Head());
        const std::size_t before = head->outputCards().size();
        page.host.prompter.messages.clear();
        page.RunFrom(*first);
        const auto& out = head->outputCards();
        for (std::size_t i = out.size() - before; i-- > 0;)
            lines.push_back(names[f] + out[i]->GetText());
        for (const std::string& message : page.host.prompter.messages)
            lines.push_back(names[f] + message);
    }
    return lines;
}

} // namespace quorvel
