// Renders the desktop icons (SVG) to PNG at the icon theme's sizes:
//   quorvel_desktop_icons OUT_DIR SIZE... -- NAME=FILE.svg:CONTEXT...
// writes OUT_DIR/hicolor/<size>x<size>/<CONTEXT>/<NAME>.png for every size and icon.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    const auto sep = args.indexOf(QStringLiteral("--"));
    if (args.size() < 4 || sep < 3) {
        std::fputs("usage: quorvel_desktop_icons OUT_DIR SIZE... -- NAME=FILE.svg:CONTEXT...\n",
                   stderr);
        return 2;
    }
    const QDir out(args[1]);
    std::vector<int> sizes;
    for (qsizetype i = 2; i < sep; ++i)
        sizes.push_back(args[i].toInt());
    for (qsizetype i = sep + 1; i < args.size(); ++i) {
        const QString spec = args[i];
        const auto eq = spec.indexOf(QLatin1Char('='));
        const auto colon = spec.lastIndexOf(QLatin1Char(':'));
        if (eq <= 0 || colon <= eq) {
            std::fprintf(stderr, "bad icon: %s\n", qPrintable(spec));
            return 2;
        }
        QSvgRenderer svg(spec.mid(eq + 1, colon - eq - 1));
        if (!svg.isValid()) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(spec));
            return 1;
        }
        for (int size : sizes) {
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            svg.render(&painter);
            painter.end();
            const QString folder =
                QStringLiteral("hicolor/%1x%1/%2").arg(size).arg(spec.mid(colon + 1));
            if (!out.mkpath(folder) ||
                !image.save(out.filePath(folder + QLatin1Char('/') + spec.left(eq) +
                                         QStringLiteral(".png")))) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(folder));
                return 1;
            }
        }
    }
    return 0;
}
