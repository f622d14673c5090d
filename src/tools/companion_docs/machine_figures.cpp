// Number machines drawn by their own drawing code through the program's Qt drawing surface.
#include "tools/companion_docs/machine_figures.h"

#include "patterns/number_machine.h"
#include "ui/platform/qt_drawing_surface.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <memory>
#include <vector>

namespace quorvel::companion {

namespace {

int OperationOf(const std::string& word) {
    if (word == "plus")
        return 0;
    if (word == "minus")
        return 1;
    if (word == "times")
        return 2;
    if (word == "divide")
        return 3;
    return kNoOperation;
}

std::unique_ptr<CNumberMachine> Machine(CPoint at, int operation, const std::string& value,
                                        bool mystery) {
    auto m = std::make_unique<CNumberMachine>(at);
    m->SetOperation(operation);
    m->builtInCard(2).SetText(value);
    m->SetBuiltIn(2, true);
    if (mystery)
        m->SetMystery(1);
    return m;
}

// The machines scaled to fit the box, centred, with an arrow from each machine's output hopper
// to the next one's first input.
void Draw(QPainter& painter, const QRectF& box,
          const std::vector<std::unique_ptr<CNumberMachine>>& machines) {
    CRect all = machines.front()->GetFrameOf();
    for (const auto& m : machines)
        all = all.United(m->GetFrameOf());
    const double scale = std::min(box.width() / all.Width(), box.height() / all.Height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center());
    painter.scale(scale, scale);
    painter.translate(-(all.left + all.right) / 2.0, -(all.top + all.bottom) / 2.0);
    {
        CQtDrawingSurface dc(painter);
        for (const auto& m : machines)
            m->Draw(dc);
    }
    QPen pen(Qt::black, 2.0);
    painter.setPen(pen);
    for (std::size_t i = 0; i + 1 < machines.size(); ++i) {
        const CRect from = machines[i]->Hopper(0);
        const CRect to = machines[i + 1]->Hopper(1);
        const QPointF a((from.left + from.right) / 2.0, from.bottom);
        const QPointF b((to.left + to.right) / 2.0, to.top);
        QPainterPath wire(a);
        wire.cubicTo(a + QPointF(0, 40), b - QPointF(0, 40), b);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(wire);
        painter.setBrush(Qt::black);
        painter.drawPolygon(QPolygonF({b, b + QPointF(-6, -10), b + QPointF(6, -10)}));
    }
    painter.restore();
}

} // namespace

bool DrawMachineFigure(QPainter& painter, const std::string& name, const QRectF& box) {
    std::vector<std::unique_ptr<CNumberMachine>> machines;
    if (name == "mystery-machine") {
        machines.push_back(Machine({0, 0}, 2, "2", true));
    } else if (name == "mystery-linked") {
        machines.push_back(Machine({0, 0}, 2, "2", true));
        machines.push_back(Machine({260, 230}, 0, "1", true));
    } else if (name.rfind("machine-", 0) == 0) {
        const std::string rest = name.substr(8);
        const std::size_t dash = rest.find('-');
        const int operation =
            dash == std::string::npos ? kNoOperation : OperationOf(rest.substr(0, dash));
        if (operation == kNoOperation || dash + 1 >= rest.size())
            return false;
        machines.push_back(Machine({0, 0}, operation, rest.substr(dash + 1), false));
    } else {
        return false;
    }
    Draw(painter, box, machines);
    return true;
}

} // namespace quorvel::companion
