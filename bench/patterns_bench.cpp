// One model tick of the run cycle: a supermachine of 12 linked machines whose first machine
// has 1,000 cards stacked at its hopper and a built-in second input, run as a series.
#include "patterns/numbers_controller.h"

#include "fakes/fakes.h"

#include <benchmark/benchmark.h>

using namespace quorvel;

namespace {

class QuietWindow : public IUnitViewWindow {
public:
    void EnableView(bool) override {}
    void ShowButton(int, bool) override {}
    CRect ButtonRect(int) const override { return {}; }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int) override {}
    void CloseUnit() override {}
};

CPoint Middle(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Type(CNumbersViewController& c, CPoint at, const std::string& text) {
    c.MouseDown(at, false, false);
    c.MouseUp(at);
    c.EditChanged(text);
    c.EndEdit();
}

void SupermachineTick(benchmark::State& state) {
    testing::FakeDocumentHost host;
    CNumberPatternsDocument doc;
    doc.SetHost(&host);
    QuietWindow window;
    auto owned = std::make_unique<testing::FakeTimerHost>();
    testing::FakeTimerHost& timers = *owned;
    CNumbersViewController c(doc, window, std::move(owned),
                             std::make_unique<testing::FakeTextMetrics>());
    std::vector<CNumberMachine*> machines;
    for (int i = 0; i < 12; ++i) {
        auto* m = static_cast<CNumberMachine*>(
            c.TakeFromDrawer(NumbersDrawerItem::Machine, {200 + (i % 4) * 260, 150 + i * 260}));
        Type(c, Middle(m->PartRect(MachinePart::Operator)), "+");
        c.ToggleBuiltIn(*m, 2);
        Type(c, Middle(m->PartRect(MachinePart::BuiltIn2)), "1");
        if (!machines.empty()) {
            c.SelectTool(ToolCommand(kToolLinking));
            c.MouseDown(Middle(machines.back()->Hopper(0)), false, false);
            c.MouseUp(Middle(m->Hopper(1)));
            c.SelectTool(ToolCommand(kToolArrow));
        }
        machines.push_back(m);
    }
    for (int i = 0; i < 1000; ++i) {
        auto* card = static_cast<CNumberCardManipulative*>(
            c.TakeFromDrawer(NumbersDrawerItem::Card, Middle(machines[0]->Hopper(1))));
        card->SetText(std::to_string(i));
    }
    c.PressGo(*machines[0]);
    std::int64_t ticks = 0;
    for (auto _ : state) {
        if (!timers.Fire(kMachineTickTimer)) {
            if (timers.running.empty()) {
                state.SkipWithError("the series ended before the benchmark did");
                break;
            }
            timers.Fire(timers.running.begin()->first);
        }
        ++ticks;
    }
    state.counters["cards_left"] = static_cast<double>(machines[0]->waiting1().size());
    state.counters["ticks"] = static_cast<double>(ticks);
}
BENCHMARK(SupermachineTick)->Unit(benchmark::kMicrosecond)->Iterations(3000);

} // namespace
