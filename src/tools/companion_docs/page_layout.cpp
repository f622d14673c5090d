// Pages are laid out in points on A4: a light blue band with the document's name, the page
// title, the blocks one under another, and a footer. A block that would run past the foot of
// its page stops the build instead of overlapping: pages are broken by hand in the text.
#include "tools/companion_docs/page_layout.h"

#include "tools/companion_docs/figures.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace quorvel::companion {

namespace {

constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;
constexpr double kMargin = 48;
constexpr double kBandHeight = 58;
constexpr double kStripHeight = 11;
constexpr double kBodyBottom = kPageHeight - 62;
constexpr double kBodySize = 12.5;
constexpr double kLeading = 1.3;
constexpr double kWritingLine = 26;
constexpr double kPanelPadding = 8;
constexpr double kGridGap = 10;

const QColor kInk(0x1A, 0x1A, 0x1A);
const QColor kTitleBlue(0x00, 0x33, 0x66);
const QColor kBand(0xDC, 0xEF, 0xFF);
const QColor kRule(0x9A, 0x9A, 0x9A);
const QColor kFrame(0x8F, 0xA3, 0xB8);
const QColor kHeaderFill(0xE4, 0xF1, 0xFB);
const QColor kBoxFill(0xFF, 0xF5, 0xD6);
const QColor kBoxEdge(0xE0, 0xBC, 0x5E);

QFont Font(double points, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// One word placed on a line.
struct CPlaced {
    QString text;
    bool bold;
    double x;
};

struct CWrapped {
    std::vector<std::vector<CPlaced>> lines;
    double lineHeight = 0;
    double ascent = 0;
    double height() const { return static_cast<double>(lines.size()) * lineHeight; }
};

class CPageWriter {
public:
    CPageWriter(QPdfWriter& writer, const CCompanionText& text)
        : m_writer(writer), m_text(text), m_painter(&writer) {
        m_painter.setRenderHint(QPainter::Antialiasing);
        m_painter.setRenderHint(QPainter::TextAntialiasing);
    }

    void Write() {
        const int count = static_cast<int>(m_text.pages.size());
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                m_writer.newPage();
            m_page = &m_text.pages[static_cast<std::size_t>(i)];
            Page(i + 1, count);
        }
        m_painter.end();
    }

private:
    // --- text ---------------------------------------------------------------------------------

    CWrapped Wrap(const std::string& text, double width, double size, bool allBold = false) {
        const QFont regular = Font(size), bold = Font(size, true);
        const QFontMetricsF fm(regular, &m_writer), fmBold(bold, &m_writer);
        CWrapped out;
        out.lineHeight = fm.height() * kLeading;
        out.ascent = fm.ascent() + (out.lineHeight - fm.height()) / 2;
        out.lines.emplace_back();
        double x = 0;
        bool spaceBefore = false;
        for (const CRun& run : SplitBold(text)) {
            const bool isBold = allBold || run.bold;
            const QFontMetricsF& m = isBold ? fmBold : fm;
            const QString piece = Q(run.text);
            qsizetype start = 0;
            while (start <= piece.size()) {
                qsizetype space = piece.indexOf(QLatin1Char(' '), start);
                if (space < 0)
                    space = piece.size();
                const QString word = piece.mid(start, space - start);
                if (!word.isEmpty()) {
                    const double w = m.horizontalAdvance(word);
                    const double gap =
                        spaceBefore && x > 0 ? fm.horizontalAdvance(QLatin1Char(' ')) : 0;
                    if (x > 0 && x + gap + w > width) {
                        out.lines.emplace_back();
                        x = 0;
                    } else {
                        x += gap;
                    }
                    out.lines.back().push_back({word, isBold, x});
                    x += w;
                    spaceBefore = false;
                }
                if (space < piece.size())
                    spaceBefore = true;
                start = space + 1;
            }
        }
        return out;
    }

    void DrawWrapped(const CWrapped& w, double x, double y, double size, const QColor& colour,
                     bool centred = false, double width = 0) {
        m_painter.setPen(colour);
        for (std::size_t i = 0; i < w.lines.size(); ++i) {
            const auto& line = w.lines[i];
            double shift = 0;
            if (centred && !line.empty()) {
                const CPlaced& last = line.back();
                const QFontMetricsF m(Font(size, last.bold), &m_writer);
                shift = (width - (last.x + m.horizontalAdvance(last.text))) / 2;
            }
            for (const CPlaced& word : line) {
                m_painter.setFont(Font(size, word.bold));
                m_painter.drawText(QPointF(x + shift + word.x,
                                           y + static_cast<double>(i) * w.lineHeight + w.ascent),
                                   word.text);
            }
        }
    }

    // --- blocks -------------------------------------------------------------------------------

    // The height of a block `width` wide; drawn at (x, y) when `draw`.
    double Block(const CBlock& b, double x, double y, double width, bool draw) {
        switch (b.kind) {
        case BlockKind::Paragraph: {
            const CWrapped w = Wrap(b.text, width, kBodySize);
            if (draw)
                DrawWrapped(w, x, y, kBodySize, kInk);
            return w.height() + 7;
        }
        case BlockKind::Heading: {
            const CWrapped w = Wrap(b.text, width, 15, true);
            if (draw)
                DrawWrapped(w, x, y + 5, 15, kTitleBlue);
            return w.height() + 8;
        }
        case BlockKind::Bullet:
        case BlockKind::Step:
        case BlockKind::Check:
            return Item(b, x, y, width, draw);
        case BlockKind::Lines:
            if (draw)
                WritingLines(x, y, width, b.count);
            return b.count * kWritingLine + 6;
        case BlockKind::Space:
            return b.height;
        case BlockKind::Figure:
            if (draw)
                Figure(b.figure, QRectF(x, y, width, b.height));
            return b.height + 8;
        case BlockKind::Grid:
            return Grid(b, x, y, width, draw);
        case BlockKind::Table:
            return Table(b, x, y, width, draw);
        case BlockKind::Box:
            return Box(b, x, y, width, draw);
        case BlockKind::Name:
            if (draw)
                NameLine(x, y, width);
            return 34;
        }
        return 0;
    }

    double Item(const CBlock& b, double x, double y, double width, bool draw) {
        constexpr double indent = 24;
        const CWrapped w = Wrap(b.text, width - indent, kBodySize);
        if (draw) {
            DrawWrapped(w, x + indent, y, kBodySize, kInk);
            const double base = y + w.ascent;
            m_painter.save();
            if (b.kind == BlockKind::Bullet) {
                m_painter.setPen(Qt::NoPen);
                m_painter.setBrush(kTitleBlue);
                m_painter.drawEllipse(QPointF(x + 8, base - kBodySize * 0.33), 2.6, 2.6);
            } else if (b.kind == BlockKind::Step) {
                m_painter.setPen(kTitleBlue);
                m_painter.setFont(Font(kBodySize, true));
                m_painter.drawText(QPointF(x + 2, base), Q(b.marker));
            } else {
                m_painter.setPen(QPen(kInk, 1));
                m_painter.setBrush(Qt::white);
                m_painter.drawRect(QRectF(x + 3, base - 10.5, 11, 11));
            }
            m_painter.restore();
        }
        return w.height() + 4;
    }

    void WritingLines(double x, double y, double width, int count) {
        m_painter.save();
        m_painter.setPen(QPen(kRule, 0.7));
        for (int i = 1; i <= count; ++i)
            m_painter.drawLine(QPointF(x, y + i * kWritingLine),
                               QPointF(x + width, y + i * kWritingLine));
        m_painter.restore();
    }

    void NameLine(double x, double y, double width) {
        const double base = y + 22;
        m_painter.save();
        m_painter.setFont(Font(kBodySize, true));
        m_painter.setPen(kInk);
        const QFontMetricsF fm(Font(kBodySize, true), &m_writer);
        const QString name = QStringLiteral("Name"), date = QStringLiteral("Date");
        m_painter.drawText(QPointF(x, base), name);
        const double nameEnd = x + width * 0.64;
        const double dateAt = nameEnd + 18;
        m_painter.drawText(QPointF(dateAt, base), date);
        m_painter.setPen(QPen(kInk, 0.8));
        m_painter.drawLine(QPointF(x + fm.horizontalAdvance(name) + 6, base + 2),
                           QPointF(nameEnd, base + 2));
        m_painter.drawLine(QPointF(dateAt + fm.horizontalAdvance(date) + 6, base + 2),
                           QPointF(x + width, base + 2));
        m_painter.restore();
    }

    void Figure(const std::string& name, const QRectF& box) {
        m_painter.save();
        const bool known = DrawFigure(m_painter, name, box);
        m_painter.restore();
        if (!known)
            throw CLayoutError("page \"" + m_page->title + "\": no figure called \"" + name + "\"");
    }

    double Grid(const CBlock& b, double x, double y, double width, bool draw) {
        const int columns = b.count;
        const int rows = (static_cast<int>(b.panels.size()) + columns - 1) / columns;
        const double w = (width - (columns - 1) * kGridGap) / columns;
        // Every panel of a grid gives its figure the same room.
        double below = 0;
        for (const CPanel& p : b.panels)
            below = std::max(below, PanelBelow(p, w - 2 * kPanelPadding));
        for (std::size_t i = 0; i < b.panels.size(); ++i) {
            const int row = static_cast<int>(i) / columns, column = static_cast<int>(i) % columns;
            const QRectF panel(x + column * (w + kGridGap), y + row * (b.height + kGridGap), w,
                               b.height);
            Panel(b.panels[i], panel, below, draw);
        }
        return rows * b.height + (rows - 1) * kGridGap + 10;
    }

    // The room a panel's prompt and writing lines take under its figure.
    double PanelBelow(const CPanel& p, double inner) {
        const double prompt = p.prompt.empty() ? 0 : Wrap(p.prompt, inner, 11.5).height();
        return prompt + p.lines * (kWritingLine - 4) + kPanelPadding;
    }

    void Panel(const CPanel& p, const QRectF& r, double below, bool draw) {
        const double inner = r.width() - 2 * kPanelPadding;
        double top = r.top() + kPanelPadding;
        CWrapped caption;
        if (!p.caption.empty()) {
            caption = Wrap(p.caption, inner, 12, true);
            top += caption.height() + 2;
        }
        const CWrapped prompt = Wrap(p.prompt, inner, 11.5);
        const QRectF figure(r.left() + kPanelPadding, top, inner, r.bottom() - below - top - 4);
        if (figure.height() < 30)
            throw CLayoutError("page \"" + m_page->title + "\": panel \"" + p.caption +
                               "\" leaves no room for its figure");
        if (!draw)
            return;
        m_painter.save();
        m_painter.setPen(QPen(kFrame, 0.9));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRoundedRect(r, 6, 6);
        m_painter.restore();
        if (!p.caption.empty())
            DrawWrapped(caption, r.left() + kPanelPadding, r.top() + kPanelPadding, 12, kTitleBlue);
        if (!p.figure.empty())
            Figure(p.figure, figure);
        double y = figure.bottom() + 4;
        if (!p.prompt.empty()) {
            DrawWrapped(prompt, r.left() + kPanelPadding, y, 11.5, kInk);
            y += prompt.height();
        }
        m_painter.save();
        m_painter.setPen(QPen(kRule, 0.7));
        for (int i = 1; i <= p.lines; ++i) {
            const double ly = y + i * (kWritingLine - 4);
            m_painter.drawLine(QPointF(r.left() + kPanelPadding, ly),
                               QPointF(r.right() - kPanelPadding, ly));
        }
        m_painter.restore();
    }

    double Table(const CBlock& b, double x, double y, double width, bool draw) {
        double total = 0;
        for (double weight : b.weights)
            total += weight;
        std::vector<double> widths, lefts;
        double at = x;
        for (double weight : b.weights) {
            lefts.push_back(at);
            widths.push_back(width * weight / total);
            at += widths.back();
        }
        constexpr double pad = 6, headSize = 10.5, cellSize = 12;
        double head = 0;
        std::vector<CWrapped> heads;
        for (std::size_t c = 0; c < b.header.size(); ++c) {
            heads.push_back(Wrap(b.header[c], widths[c] - 2 * pad, headSize, true));
            head = std::max(head, heads.back().height());
        }
        head += 2 * pad;
        const double height = head + static_cast<double>(b.rows.size()) * b.height;
        if (!draw)
            return height + 10;
        m_painter.save();
        m_painter.fillRect(QRectF(x, y, width, head), kHeaderFill);
        for (std::size_t c = 0; c < heads.size(); ++c)
            DrawWrapped(heads[c], lefts[c] + pad, y + (head - heads[c].height()) / 2, headSize,
                        kTitleBlue, true, widths[c] - 2 * pad);
        for (std::size_t r = 0; r < b.rows.size(); ++r) {
            const double top = y + head + static_cast<double>(r) * b.height;
            for (std::size_t c = 0; c < b.rows[r].size(); ++c) {
                const std::string& cell = b.rows[r][c];
                const QRectF box(lefts[c], top, widths[c], b.height);
                if (cell.rfind("fig:", 0) == 0) {
                    Figure(cell.substr(4), box.adjusted(5, 5, -5, -5));
                } else if (!cell.empty()) {
                    const CWrapped w = Wrap(cell, widths[c] - 2 * pad, cellSize);
                    DrawWrapped(w, box.left() + pad, top + (b.height - w.height()) / 2, cellSize,
                                kInk);
                }
            }
        }
        m_painter.setPen(QPen(kFrame, 0.9));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(QRectF(x, y, width, height));
        for (std::size_t c = 1; c < lefts.size(); ++c)
            m_painter.drawLine(QPointF(lefts[c], y), QPointF(lefts[c], y + height));
        for (std::size_t r = 0; r < b.rows.size(); ++r) {
            const double ly = y + head + static_cast<double>(r) * b.height;
            m_painter.drawLine(QPointF(x, ly), QPointF(x + width, ly));
        }
        m_painter.restore();
        return height + 10;
    }

    double Box(const CBlock& b, double x, double y, double width, bool draw) {
        constexpr double pad = 12;
        const double inner = width - 2 * pad;
        const CWrapped title = Wrap(b.text, inner, 13.5, true);
        double height = pad + (b.text.empty() ? 0 : title.height() + 3);
        for (const CBlock& child : b.children)
            height += Block(child, 0, 0, inner, false);
        height += pad - 6;
        if (!draw)
            return height + 10;
        m_painter.save();
        m_painter.setPen(QPen(kBoxEdge, 1));
        m_painter.setBrush(kBoxFill);
        m_painter.drawRoundedRect(QRectF(x, y, width, height), 8, 8);
        m_painter.restore();
        double at = y + pad;
        if (!b.text.empty()) {
            DrawWrapped(title, x + pad, at, 13.5, kTitleBlue);
            at += title.height() + 3;
        }
        for (const CBlock& child : b.children)
            at += Block(child, x + pad, at, inner, true);
        return height + 10;
    }

    // --- the page -----------------------------------------------------------------------------

    void Page(int number, int count) {
        const CPage& page = *m_page;
        m_painter.fillRect(QRectF(0, 0, kPageWidth, kBandHeight), kBand);
        DrawBandStrip(m_painter, QRectF(0, kBandHeight - kStripHeight, kPageWidth, kStripHeight));
        m_painter.setPen(kTitleBlue);
        m_painter.setFont(Font(13, true));
        m_painter.drawText(QRectF(kMargin, 8, kPageWidth - 2 * kMargin, 34),
                           Qt::AlignLeft | Qt::AlignVCenter, Q(m_text.label));
        m_painter.setFont(Font(12));
        m_painter.drawText(QRectF(kMargin, 8, kPageWidth - 2 * kMargin, 34),
                           Qt::AlignRight | Qt::AlignVCenter, Q(m_text.unit));

        const double width = kPageWidth - 2 * kMargin;
        double y = kBandHeight + 14;
        const CWrapped title = Wrap(page.title, width, 24, true);
        DrawWrapped(title, kMargin, y, 24, kTitleBlue);
        y += title.height();
        if (!page.with.empty()) {
            m_painter.setFont(Font(11, false, true));
            m_painter.setPen(QColor(0x4A, 0x4A, 0x4A));
            m_painter.drawText(QPointF(kMargin, y + 10), Q(page.with));
            y += 18;
        }
        y += 10;
        double end = y;
        for (const CBlock& block : page.blocks)
            end += Block(block, kMargin, end, width, false);
        if (end > kBodyBottom + 6)
            throw CLayoutError("page \"" + page.title + "\" runs " +
                               std::to_string(static_cast<int>(std::ceil(end - kBodyBottom - 6))) +
                               " points past its foot");
        for (const CBlock& block : page.blocks)
            y += Block(block, kMargin, y, width, true);
        Footer(number, count);
    }

    void Footer(int number, int count) {
        const double base = kPageHeight - 22;
        if (!m_text.note.empty()) {
            m_painter.setPen(QColor(0x55, 0x55, 0x55));
            m_painter.setFont(Font(9, false, true));
            m_painter.drawText(QRectF(kMargin, base - 29, kPageWidth - 2 * kMargin, 13),
                               Qt::AlignRight | Qt::AlignVCenter, Q(m_text.note));
        }
        m_painter.setPen(QPen(kRule, 0.6));
        m_painter.drawLine(QPointF(kMargin, base - 14), QPointF(kPageWidth - kMargin, base - 14));
        m_painter.setPen(QColor(0x55, 0x55, 0x55));
        m_painter.setFont(Font(9));
        const QString left = QStringLiteral("Quorvel \u00b7 ") + Q(m_text.unit) +
                             QStringLiteral(" \u00b7 ") + Q(m_text.label);
        const QRectF line(kMargin, base - 10, kPageWidth - 2 * kMargin, 14);
        m_painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, left);
        m_painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                           QStringLiteral("Page %1 of %2").arg(number).arg(count));
    }

    QPdfWriter& m_writer;
    const CCompanionText& m_text;
    QPainter m_painter;
    const CPage* m_page = nullptr;
};

// Qt stamps the file with the time it was written; the stamp is replaced by `date`, which has
// the same length, so that no offset in the file moves.
void FixCreationDate(const QString& path, const std::string& date) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw CLayoutError("cannot open " + path.toStdString());
    QByteArray bytes = file.readAll();
    const QByteArray key = "/CreationDate (";
    const qsizetype at = bytes.indexOf(key);
    if (at < 0)
        return;
    const qsizetype start = at + key.size();
    const qsizetype end = bytes.indexOf(')', start);
    if (end - start != static_cast<qsizetype>(date.size()))
        throw CLayoutError("unexpected creation date in " + path.toStdString());
    bytes.replace(start, end - start, QByteArray::fromStdString(date));
    file.seek(0);
    file.write(bytes);
}

} // namespace

void WriteCompanionPdf(const CCompanionText& text, const QString& path, const std::string& date) {
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        writer.setResolution(72);
        writer.setTitle(Q(text.title));
        writer.setCreator(QStringLiteral("Quorvel"));
        CPageWriter(writer, text).Write();
    }
    FixCreationDate(path, date);
}

} // namespace quorvel::companion
