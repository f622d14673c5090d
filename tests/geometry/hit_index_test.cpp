// The hit index answers as a plain scan of the workspace does, over random workspaces and
// random edits: moves, turns, additions, deletions, groups and changes of drawing order.
#include "geometry/geometry_document.h"
#include "geometry/shape_catalogue.h"
#include "geometry/shape_commands.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <random>

using namespace quorvel;
using namespace quorvel::testing;

namespace {

// The hit test as it was before the index: the selection, then every manipulative, topmost
// first, the anglemeters and annotations skipped.
const CManipulative* Scan(const CUnitDocument& doc, CPoint p) {
    const auto hit = [&](const CManipulative* m) {
        return m->GetType() != kTypeAnglemeter && m->GetType() != kTypeAnnotator &&
               m->HitTest(p.x, p.y);
    };
    for (auto it = doc.selection().rbegin(); it != doc.selection().rend(); ++it)
        if (hit(*it))
            return *it;
    for (auto it = doc.manipulatives().rbegin(); it != doc.manipulatives().rend(); ++it)
        if (hit(it->get()))
            return it->get();
    return nullptr;
}

class HitIndexTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(HitIndexTest, AnswersAsAPlainScan) {
    std::mt19937 random(GetParam());
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    CGeometryUnitDocument doc;
    FakePrompter prompter;
    FakeTimerHost timers;
    CShapeCommandController controller(doc, prompter, timers);
    const auto add = [&] {
        if (below(8) == 0)
            doc.AddManipulative(std::make_unique<CLineManipulative>(std::vector<CLine>{
                CLine(CPoint{below(400), below(300)}, CPoint{below(400), below(300)})}));
        else
            doc.AddManipulative(
                MakeDrawerShape(below(11), C3DPointDouble(below(400), below(300), 0.0)));
    };
    for (int i = 40 + below(200); i > 0; --i)
        add();
    const auto any = [&]() -> CManipulative* {
        const auto& list = doc.manipulatives();
        return list.empty()
                   ? nullptr
                   : list[static_cast<std::size_t>(below(static_cast<int>(list.size())))].get();
    };
    for (int step = 0; step < 60; ++step) {
        for (int probe = 0; probe < 150; ++probe) {
            const CPoint p{below(460) - 30, below(360) - 30};
            ASSERT_EQ(doc.HitTest(p), Scan(doc, p))
                << "step " << step << " at " << p.x << "," << p.y;
        }
        CManipulative* m = any();
        switch (below(7)) {
        case 0: // moved or turned outside any command
            if (m) {
                m->MoveBy(below(81) - 40, below(81) - 40);
                m->Rotate(below(360), m->centre());
            }
            break;
        case 1:
            add();
            break;
        case 2:
            if (m)
                doc.DeleteManipulative(m);
            break;
        case 3:
        case 4: // a few selected, then grouped, sent back or brought forward
            doc.DeselectAll();
            for (int k = below(4); k >= 0; --k)
                doc.Select(any());
            if (below(3) == 0)
                controller.OnGroup();
            else if (below(2) == 0)
                controller.OnSendToBack();
            else
                controller.OnBringToFront();
            break;
        case 5:
            doc.DeselectAll();
            doc.Select(m);
            controller.OnUngroup();
            break;
        default: // a selection that stays, and is dragged
            doc.Select(m);
            doc.MoveSelection(below(21) - 10, below(21) - 10);
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, HitIndexTest, ::testing::Values(1u, 2u, 3u, 17u, 2024u));

} // namespace
