// quorvel_intro_pdf: the illustrated introduction that View Intro opens. It starts the program's
// own main window off screen over the program folder the build lays out, opens an activity of
// every unit as a pupil would from the menus, takes a picture of each page and lays the pictures
// out with the introduction's text in the companion documents' page form.
//
//   quorvel_intro_pdf <introduction text> <program folder> <output PDF>
#include "app/activities.h"
#include "app/workshop_app.h"
#include "patterns/headless.h"
#include "statistics/stats_document.h"
#include "tools/companion_docs/companion_text.h"
#include "tools/companion_docs/page_layout.h"
#include "tools/companion_docs/screen_figures.h"
#include "ui/app/main_frame.h"
#include "ui/app/unit_page.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHashFunctions>
#include <QTemporaryDir>

#include <iostream>

namespace {

using namespace quorvel;

// SOURCE_DATE_EPOCH when it is set, else the edition date, as the companion documents do.
std::string CreationDate() {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (!ok)
        return "D:20250101000000Z";
    return "D:" +
           QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC)
               .toString(QStringLiteral("yyyyMMddHHmmss"))
               .toStdString() +
           "Z";
}

// Lets the window lay itself out and paint.
void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

QImage Shot(CMainFrame& frame) {
    Settle();
    return frame.grab().toImage();
}

// A small class survey typed into the Statistics table, as the exploration starts empty.
void TypeSurvey(CUnitDocument& doc) {
    auto* stats = dynamic_cast<CStatsUnitDocument*>(&doc);
    if (!stats)
        return;
    CStatsDataSet& data = stats->dataSet();
    const char* const pets[] = {"cat", "dog", "dog", "fish", "cat", "dog", "rabbit", "dog"};
    const int ages[] = {9, 10, 9, 11, 10, 10, 9, 11};
    const int rows = static_cast<int>(std::size(pets));
    if (data.columnCount() < 2 || data.rowCount() <= rows)
        data.Reset(rows, 2);
    data.SetCellText(0, 1, "Pet");
    for (int r = 0; r < rows; ++r)
        data.SetCellText(r + 1, 1, pets[r]);
    if (data.columnCount() >= 2) {
        data.SetCellText(0, 2, "Age");
        for (int r = 0; r < rows; ++r) {
            if (data.IsNumberColumn(2))
                data.SetCellNumber(r + 1, 2, CNumber(ages[r]));
            else
                data.SetCellText(r + 1, 2, std::to_string(ages[r]));
        }
    }
    stats->UpdateAllViews();
}

// Opens activity `button` of investigation `k` on investigations menu `menu`; its page's picture.
bool ShootActivity(CMainFrame& frame, int menu, int k, int button, const std::string& name,
                   bool survey = false) {
    CWorkshopApp& app = frame.app();
    if (!app.GetInvestigationsMenu(menu) || !app.SelectInvestigation(menu, k) ||
        !app.LaunchActivity(menu, button) || !frame.unitPage()) {
        std::cerr << "cannot open the activity for the picture \"" << name << "\"\n";
        return false;
    }
    if (survey)
        TypeSurvey(frame.unitPage()->document());
    companion::SetScreen(name, Shot(frame));
    frame.unitPage()->document().SetModifiedFlag(false);
    return app.LeaveUnit();
}

} // namespace

int main(int argc, char* argv[]) {
    QHashSeed::setDeterministicGlobalSeed();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 4) {
        std::cerr << "usage: quorvel_intro_pdf <introduction text> <program folder> <output PDF>\n";
        return 2;
    }
    QFile textFile(QString::fromLocal8Bit(argv[1]));
    if (!textFile.open(QIODevice::ReadOnly)) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string text = textFile.readAll().toStdString();
    QTemporaryDir personal;
    headless::CHeadlessHost host;
    CMainFrame frame(&host);
    frame.SetDesktopOpener([](const std::string&) { return true; });
    if (!frame.Start({}, argv[2], personal.path().toStdString())) {
        std::cerr << "the program did not start over " << argv[2] << "\n";
        return 1;
    }
    frame.resize(800, 600);
    frame.show();
    companion::SetScreen("main-menu", Shot(frame));
    bool ok = ShootActivity(frame, kGeometryInvestigations, 4, 1440, "tiles");
    ok = ShootActivity(frame, kPatternsInvestigations, 4, 1431, "numbers") && ok;
    ok = ShootActivity(frame, kPatternsInvestigations, 0, 1451, "codes") && ok;
    ok = ShootActivity(frame, kPatternsInvestigations, 1, 1454, "designs") && ok;
    ok = ShootActivity(frame, kStatsInvestigations, 4, 1430, "statistics", true) && ok;
    if (!ok)
        return 1;
    try {
        companion::WriteCompanionPdf(companion::ParseCompanionText(text),
                                     QString::fromLocal8Bit(argv[3]), CreationDate());
    } catch (const std::exception& e) {
        QFile::remove(QString::fromLocal8Bit(argv[3]));
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
