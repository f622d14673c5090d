// The graphs' validation, labels, averages and label modes.
#include "statistics/stats_graph_controller.h"

#include "workspace/prompter.h"
#include "workspace/string_table.h"

namespace quorvel {

namespace {

// The label lists are kept per graph in the order line, bar, pie.
std::size_t GraphIndex(StatsViewMode mode) {
    return static_cast<std::size_t>(static_cast<int>(mode) -
                                    static_cast<int>(StatsViewMode::LineGraph));
}

std::int32_t CStatsViewState::*const kAverageFields[] = {
    &CStatsViewState::showMean, &CStatsViewState::showMedian, &CStatsViewState::showMode};

} // namespace

bool IsGraphMode(StatsViewMode mode) {
    return mode == StatsViewMode::LineGraph || mode == StatsViewMode::BarGraph ||
           mode == StatsViewMode::PieGraph;
}

CStatsGraphController::CStatsGraphController(CStatsUnitDocument& doc, IPrompter* prompter)
    : m_doc(doc), m_prompter(prompter) {
    for (CStatsGraph* g : {static_cast<CStatsGraph*>(&m_line), static_cast<CStatsGraph*>(&m_bar),
                           static_cast<CStatsGraph*>(&m_pie)})
        doc.dataSet().Attach(g);
}

CStatsGraphController::~CStatsGraphController() {
    for (CStatsGraph* g : {static_cast<CStatsGraph*>(&m_line), static_cast<CStatsGraph*>(&m_bar),
                           static_cast<CStatsGraph*>(&m_pie)})
        m_doc.dataSet().Detach(g);
}

const CStatsGraph* CStatsGraphController::graph(StatsViewMode mode) const {
    switch (mode) {
    case StatsViewMode::LineGraph:
        return &m_line;
    case StatsViewMode::BarGraph:
        return &m_bar;
    case StatsViewMode::PieGraph:
        return &m_pie;
    case StatsViewMode::Table:
    case StatsViewMode::Board:
        break;
    }
    return nullptr;
}

bool CStatsGraphController::Validate(StatsViewMode mode) {
    const CStatsGraph* g = graph(mode);
    const int problem = g ? g->Problem() : 0;
    if (problem == 0)
        return true;
    if (m_prompter)
        m_prompter->MessageBox(std::string(LoadString(problem).value_or("")));
    return false;
}

std::string CStatsGraphController::Label(StatsViewMode mode) const {
    const int column = m_doc.dataSet().currentColumn();
    if (!IsGraphMode(mode) || column < 0)
        return {};
    const auto& labels = m_doc.viewState().graphLabels[GraphIndex(mode)];
    return static_cast<std::size_t>(column) < labels.size()
               ? labels[static_cast<std::size_t>(column)]
               : std::string();
}

void CStatsGraphController::SetLabel(StatsViewMode mode, const std::string& text) {
    const int column = m_doc.dataSet().currentColumn();
    if (!IsGraphMode(mode) || column < 0 || column >= m_doc.dataSet().columnCount())
        return;
    auto& labels = m_doc.viewState().graphLabels[GraphIndex(mode)];
    if (labels.size() <= static_cast<std::size_t>(column))
        labels.resize(static_cast<std::size_t>(column) + 1);
    labels[static_cast<std::size_t>(column)] = text;
    m_doc.SetModifiedFlag(true);
}

bool CStatsGraphController::average(int which) const {
    return which >= 0 && which < 3 && m_doc.viewState().*kAverageFields[which] != 0;
}

void CStatsGraphController::SetAverage(int which, bool on) {
    if (which < 0 || which >= 3)
        return;
    m_doc.viewState().*kAverageFields[which] = on ? 1 : 0;
    m_doc.SetModifiedFlag(true);
}

bool CStatsGraphController::OnCommand(int id) {
    switch (id) {
    case kCmdPieValues:
        m_pieLabels = PieLabels::Values;
        return true;
    case kCmdPiePercentages:
        m_pieLabels = PieLabels::Percentages;
        return true;
    case kCmdPieNeither:
        m_pieLabels = PieLabels::Neither;
        return true;
    default:
        return false;
    }
}

bool CStatsGraphController::IsChecked(int id) const {
    return (id == kCmdPieValues && m_pieLabels == PieLabels::Values) ||
           (id == kCmdPiePercentages && m_pieLabels == PieLabels::Percentages) ||
           (id == kCmdPieNeither && m_pieLabels == PieLabels::Neither);
}

CGraphStyle CStatsGraphController::Style(StatsViewMode mode) const {
    CGraphStyle style;
    style.decimals = m_doc.summary().decimals();
    style.pieLabels = m_pieLabels;
    style.summary = &m_doc.summary();
    // The lines go with their check boxes, which a computer-checked problem hides.
    if (mode != StatsViewMode::PieGraph && !m_doc.computerChecked())
        style.averages = {average(0), average(1), average(2)};
    return style;
}

void CStatsGraphController::Draw(IDrawingSurface& dc, const CRect& client,
                                 StatsViewMode mode) const {
    const CStatsGraph* g = graph(mode);
    if (!g || g->Problem() != 0)
        return;
    const CRect area{client.left, client.top, client.right, client.bottom - kGraphLabelStrip};
    g->Draw(dc, area, Style(mode));
    const std::string label = Label(mode);
    if (label.empty())
        return;
    CFontSpec font = StatsGraphFont();
    font.weight = 700;
    dc.SetFont(font);
    dc.SetTextColor(PaletteRGB(0, 0, 0));
    dc.SetTextBackground(kNoColor, true);
    dc.DrawText({client.left, area.bottom, client.right, client.bottom}, label,
                kAlignCenter | kAlignVCenter | kSingleLine);
}

} // namespace quorvel
