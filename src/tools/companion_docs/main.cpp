// Writes the companion documents of the Documents menus whose text is kept in the repository:
// each "<name>.txt" in the text folder becomes "<name>.pdf" in the output folder.
//
//   quorvel_companion_docs <text folder> <output folder>
//
// The same text gives the same bytes: the creation date written into the files is
// SOURCE_DATE_EPOCH when it is set, else the documents' edition date, and hashing is seeded
// the same way every run.
#include "tools/companion_docs/companion_text.h"
#include "tools/companion_docs/page_layout.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHashFunctions>

#include <iostream>

namespace {

constexpr const char* kEditionDate = "D:20250101000000Z";

std::string CreationDate() {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (!ok)
        return kEditionDate;
    return "D:" +
           QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC)
               .toString(QStringLiteral("yyyyMMddHHmmss"))
               .toStdString() +
           "Z";
}

} // namespace

int main(int argc, char* argv[]) {
    // The PDF writer lists the fonts in hash order; a fixed seed keeps the order from run to run.
    QHashSeed::setDeterministicGlobalSeed();
    // A build tool: it draws into files only.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: quorvel_companion_docs <text folder> <output folder>\n";
        return 2;
    }
    const QDir texts(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::cerr << "cannot make " << argv[2] << "\n";
        return 1;
    }
    const QStringList names = texts.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        std::cerr << "no companion texts in " << argv[1] << "\n";
        return 1;
    }
    for (const QString& name : names) {
        QFile file(texts.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            std::cerr << "cannot read " << file.fileName().toStdString() << "\n";
            return 1;
        }
        const QString pdf = out.filePath(name.chopped(4) + QStringLiteral(".pdf"));
        try {
            const auto text = quorvel::companion::ParseCompanionText(file.readAll().toStdString());
            quorvel::companion::WriteCompanionPdf(text, pdf, CreationDate());
        } catch (const std::exception& e) {
            QFile::remove(pdf);
            std::cerr << name.toStdString() << ": " << e.what() << "\n";
            return 1;
        }
    }
    return 0;
}
