// A seeded random-input soak of the real main window on the offscreen platform: clicks, drags
// and keys on every unit page and menu page, menu commands, and dialogs answered at random.
// After each burst: every document saved so far reopens and saves to the same bytes, and the
// current document's undo history unwinds to its start and redoes back to the same bytes.
//
//   quorvel_soak [--seconds N] [--seed S] [--burst K] [--only UNIT|menus] [--tolerate UNIT]...
//
// Prints one summary line; exits 1 on a fault (with the seed and burst to replay), aborts on a
// hang. Built with the sanitizers, their reports end the run too.
#include "app/document_factory.h"
#include "app/workshop_app.h"
#include "ui/app/main_frame.h"
#include "workspace/file_store.h"
#include "workspace/random.h"
#include "workspace/tool_palette.h"
#include "workspace/unit_document.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

using namespace quorvel;
namespace fs = std::filesystem;

namespace {

std::mt19937 g_rng;

int Pick(int n) {
    return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(g_rng);
}
bool Chance(double p) {
    return std::uniform_real_distribution<double>(0, 1)(g_rng) < p;
}

// Dialog answers at random.
class SoakPrompter : public IPrompter {
public:
    MessageResult MessageBox(const std::string&, MessageIcon, MessageButtons buttons,
                             const std::string&) override {
        switch (buttons) {
        case MessageButtons::Ok:
            return MessageResult::Ok;
        case MessageButtons::OkCancel:
            return Chance(0.5) ? MessageResult::Ok : MessageResult::Cancel;
        case MessageButtons::YesNo:
            return Chance(0.5) ? MessageResult::Yes : MessageResult::No;
        case MessageButtons::YesNoCancel:
            return std::array{MessageResult::Yes, MessageResult::No,
                              MessageResult::Cancel}[Pick(3)];
        }
        return MessageResult::Cancel;
    }
    int Choose(const std::string&, const std::vector<std::string>& buttons,
               const std::string&) override {
        return Pick(static_cast<int>(buttons.size()) + 1) - 1;
    }
    std::optional<std::string> AskText(const std::string&, const std::string& initial,
                                       const std::string&, std::size_t) override {
        static const char* texts[] = {"", "7", "-3", "1/2", "abc", "12345678901234567890"};
        if (Chance(0.2))
            return std::nullopt;
        return Chance(0.2) ? initial : std::string(texts[Pick(6)]);
    }
};

// Open and Save As choose among a few names in the run's folder, or cancel.
class SoakChooser : public IFileChooser {
public:
    explicit SoakChooser(std::string dir) : m_dir(std::move(dir)) {}
    std::optional<CFileDialogResult> Choose(const CFileDialogRequest& r) override {
        if (Chance(0.2))
            return std::nullopt;
        std::string ext = r.defaultExtension.empty() ? "qvg" : r.defaultExtension;
        if (!r.save && Chance(0.5)) {
            static const char* kinds[] = {"qvg", "qvd", "qvc", "qvn", "qvs"};
            ext = kinds[Pick(5)];
        }
        return CFileDialogResult{m_dir + "/doc" + std::to_string(Pick(3)) + "." + ext, r.directory};
    }

private:
    std::string m_dir;
};

class SoakHost : public IDocumentHost {
public:
    explicit SoakHost(const std::string& dir) : m_chooser(dir) {}
    IPrompter& Prompter() override { return m_prompter; }
    IFileChooser& FileChooser() override { return m_chooser; }
    const CDirectories& Directories() const override { return m_directories; }
    std::string MainCaption() const override { return m_caption; }
    void SetMainCaption(const std::string& c) override { m_caption = c; }
    void SetStatusText(const std::string&) override {}
    void LogError(const std::string&) override {}
    CDirectories m_directories;

private:
    SoakPrompter m_prompter;
    SoakChooser m_chooser;
    std::string m_caption;
};

struct Stats {
    long events = 0, bursts = 0, checkedFiles = 0, undoSteps = 0, faults = 0, knownFaults = 0;
};

class Soak {
public:
    Soak(const std::string& dir, std::uint32_t seed) : m_dir(dir), m_host(dir), m_seed(seed) {}

    bool Start(const std::string& programDir) {
        m_frame = std::make_unique<CMainFrame>(&m_host);
        m_frame->SetDesktopOpener([](const std::string&) { return true; });
        if (!m_frame->Start({}, programDir, m_dir))
            return false;
        m_host.m_directories = m_frame->app().Directories();
        SeedRandom(m_seed);
        m_frame->show();
        // Modal dialogs of the shell (options, score, file and print dialogs) get an answer
        // from inside their own event loop. The answer is posted, not given in the timer's
        // slot: Qt does not fire a timer again while its slot runs, so a button that opens a
        // second dialog would leave that one unanswered for ever.
        m_dialogs.setInterval(5);
        QObject::connect(&m_dialogs, &QTimer::timeout, [] {
            QMetaObject::invokeMethod(
                qApp, [] { AnswerDialog(); }, Qt::QueuedConnection);
        });
        m_dialogs.start();
        return true;
    }
    ~Soak() {
        m_dialogs.stop();
        if (CUnitDocument* doc = m_frame ? m_frame->app().currentUnitDocument() : nullptr)
            doc->SetModifiedFlag(false);
        m_frame.reset();
    }

    // One burst on unit `unit` (or on the menu pages when none).
    void Burst(std::optional<UnitKind> unit, int events) {
        CWorkshopApp& app = m_frame->app();
        if (unit && (!app.currentUnitDocument() || app.currentUnit() != *unit)) {
            Drop();
            app.OpenUnit(*unit);
        } else if (!unit) {
            Drop();
            app.LeaveUnit();
            static const MenuView views[] = {MenuView::Main,
                                             MenuView::GeometryUnit,
                                             MenuView::PatternsUnit,
                                             MenuView::StatsUnit,
                                             MenuView::StatsInvestigations,
                                             MenuView::PatternsInvestigations,
                                             MenuView::GeometryInvestigations};
            const MenuView v = views[Pick(7)];
            if (const int n = UnitMenuOf(v); n > 0)
                app.ShowUnitMenu(n);
            else if (const int i = InvestigationsMenuOf(v); i >= 0)
                app.GetInvestigationsMenu(i);
            else
                app.ShowMainMenu();
        }
        for (int i = 0; i < events; ++i) {
            OneEvent();
            ++m_stats.events;
            if (!m_frame->isVisible())
                m_frame->show();
        }
        ++m_stats.bursts;
        Check();
    }

    const Stats& stats() const { return m_stats; }
    std::vector<std::string> tolerated;

private:
    // Leaving or replacing the unit must not wait on its save question.
    void Drop() {
        if (CUnitDocument* doc = m_frame->app().currentUnitDocument())
            doc->SetModifiedFlag(false);
    }

    static void AnswerDialog() {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            return;
        }
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        const QByteArray cls = dialog->metaObject()->className();
        if (qobject_cast<QFileDialog*>(dialog) || cls.contains("Print") ||
            cls.contains("PageSetup") || Chance(0.4)) {
            dialog->reject();
            return;
        }
        const auto buttons = dialog->findChildren<QAbstractButton*>();
        if (!buttons.isEmpty() && Chance(0.6)) {
            QAbstractButton* b = buttons[Pick(static_cast<int>(buttons.size()))];
            if (b->isVisible() && b->isEnabled())
                b->click();
        }
        if (dialog->isVisible())
            Chance(0.5) ? dialog->accept() : dialog->reject();
    }

    std::vector<QAction*> MenuActions() const {
        std::vector<QAction*> out;
        std::vector<QMenu*> menus;
        for (QAction* top : m_frame->menuBar()->actions())
            if (top->isVisible() && top->menu())
                menus.push_back(top->menu());
        while (!menus.empty()) {
            QMenu* m = menus.back();
            menus.pop_back();
            QMetaObject::invokeMethod(m, "aboutToShow");
            for (QAction* a : m->actions()) {
                if (!a->isVisible() || !a->isEnabled() || a->isSeparator())
                    continue;
                if (a->menu()) {
                    menus.push_back(a->menu());
                    continue;
                }
                const QString t = a->text();
                // Real printers, the desktop's calculator and closing the program stay out.
                if (t.contains(QLatin1String("Print")) || t.contains(QLatin1String("Calculator")) ||
                    t.contains(QLatin1String("About")) || t == QLatin1String("E&xit"))
                    continue;
                out.push_back(a);
            }
        }
        return out;
    }

    void OneEvent() {
        QWidget* page = m_frame->currentPage();
        if (!page)
            return;
        const double r = std::uniform_real_distribution<double>(0, 1)(g_rng);
        if (r < 0.07) {
            const auto actions = MenuActions();
            if (!actions.empty())
                actions[Pick(static_cast<int>(actions.size()))]->trigger();
        } else if (r < 0.35) {
            std::vector<QWidget*> targets;
            for (QWidget* w : page->findChildren<QWidget*>())
                if (w->isVisible() && w->isEnabled() && w->width() > 2 && w->height() > 2)
                    targets.push_back(w);
            if (!targets.empty()) {
                QWidget* w = targets[Pick(static_cast<int>(targets.size()))];
                QTest::mouseClick(w, Chance(0.9) ? Qt::LeftButton : Qt::RightButton, Qt::NoModifier,
                                  QPoint(Pick(w->width()), Pick(w->height())));
            }
        } else if (r < 0.75) {
            const QPoint from(Pick(page->width()), Pick(page->height()));
            QWidget* w = page->childAt(from);
            if (!w)
                w = page;
            const QPoint at = w->mapFrom(page, from);
            const Qt::MouseButton button = Chance(0.9) ? Qt::LeftButton : Qt::RightButton;
            if (Chance(0.1)) {
                QTest::mouseDClick(w, button, Qt::NoModifier, at);
            } else {
                QPointer<QWidget> guard(w);
                QTest::mousePress(w, button, Qt::NoModifier, at);
                QPoint p = at;
                for (int steps = Pick(6); steps > 0 && guard; --steps) {
                    p += QPoint(Pick(81) - 40, Pick(81) - 40);
                    QTest::mouseMove(w, p, 1);
                }
                if (guard)
                    QTest::mouseRelease(w, button, Qt::NoModifier, p);
            }
        } else {
            static const int keys[] = {
                Qt::Key_A,      Qt::Key_Z,         Qt::Key_1,      Qt::Key_5,      Qt::Key_Minus,
                Qt::Key_Period, Qt::Key_Left,      Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down,
                Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Tab,
                Qt::Key_Space,  Qt::Key_Y};
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : page;
            const Qt::KeyboardModifiers mods = Chance(0.15)  ? Qt::ControlModifier
                                               : Chance(0.1) ? Qt::ShiftModifier
                                                             : Qt::NoModifier;
            QTest::keyClick(target, static_cast<Qt::Key>(keys[Pick(17)]), mods);
        }
        if (Chance(0.1))
            QTest::qWait(Pick(20)); // animations take their steps
        QCoreApplication::processEvents();
    }

    // A fault in `unit`; a unit named with --tolerate counts it apart (its faults are known
    // and open), never a crash, a hang or a sanitizer report.
    void Fault(UnitKind unit, const std::string& what) {
        const bool known =
            std::find(tolerated.begin(), tolerated.end(), UnitKindName(unit)) != tolerated.end();
        ++(known ? m_stats.knownFaults : m_stats.faults);
        std::fprintf(stderr, "soak %s (seed %u, burst %ld): %s: %s\n",
                     known ? "known fault" : "fault", m_seed, m_stats.bursts,
                     UnitKindName(unit).c_str(), what.c_str());
    }

    // Help and Mystery wait for one click: a document saved with either opens with the Arrow,
    // and is otherwise the same.
    static bool OpensWithArrowOnly(CUnitDocument& reopened,
                                   const std::vector<std::uint8_t>& bytes) {
        auto stored = CreateDocumentForSignature(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                                 static_cast<std::uint32_t>(bytes[3]) << 24);
        if (!stored || stored->LoadFromBytes(bytes) != OpenResult::Opened)
            return false;
        const int tool = stored->currentTool();
        if ((tool != kToolHelp && tool != kToolMystery) || reopened.currentTool() != kToolArrow)
            return false;
        reopened.SetCurrentTool(tool);
        const bool same = reopened.SaveToBytes() == bytes;
        reopened.SetCurrentTool(kToolArrow);
        return same;
    }

    // Every document saved since the last look is opened in its unit's page, as the File
    // menu opens it, and must hold the same bytes.
    void CheckSavedFiles() {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(m_dir, ec)) {
            const std::string path = entry.path().string();
            const std::string ext = entry.path().extension().string();
            if (ext != ".qvg" && ext != ".qvd" && ext != ".qvc" && ext != ".qvn" && ext != ".qvs")
                continue;
            std::vector<std::uint8_t> bytes;
            if (ReadDocumentFile(path, bytes) != ReadResult::Ok || bytes.empty() ||
                m_checked[path] == bytes)
                continue;
            m_checked[path] = bytes;
            ++m_stats.checkedFiles;
            Drop();
            CWorkshopApp& app = m_frame->app();
            CUnitDocument* doc = app.OpenDocumentFile(path) ? app.currentUnitDocument() : nullptr;
            // Drawn once, as the pupil would see it before saving again.
            if (QWidget* page = m_frame->currentPage())
                page->grab();
            const std::uint32_t sig = bytes.size() < 4
                                          ? 0
                                          : bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                                static_cast<std::uint32_t>(bytes[3]) << 24;
            const UnitKind unit = UnitKindForSignature(sig).value_or(UnitKind::Geometry);
            if (!doc) {
                Fault(unit, path + " does not reopen");
            } else if (doc->SaveToBytes() != bytes && !OpensWithArrowOnly(*doc, bytes)) {
                Fault(unit, path + " reopens with other bytes");
                fs::create_directories(m_dir + "/faults");
                SaveFileAtomically(m_dir + "/faults/" + entry.path().filename().string(), bytes);
                SaveFileAtomically(m_dir + "/faults/reopened-" + entry.path().filename().string(),
                                   doc->SaveToBytes());
            }
        }
    }

    // An event still queued from the burst (a launched activity, a closed unit) may run while
    // the check lets events through, and take the document away.
    bool Left(const CUnitDocument* doc) const {
        return m_frame->app().currentUnitDocument() != doc;
    }

    void Check() {
        // Nothing in progress: a drag or an edit ends as Escape ends it.
        if (QWidget* page = m_frame->currentPage())
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : page,
                            Qt::Key_Escape);
        QCoreApplication::processEvents();
        CUnitDocument* doc = m_frame->app().currentUnitDocument();
        if (!doc) {
            CheckSavedFiles();
            return;
        }
        const UnitKind unit = m_frame->app().currentUnit();
        const std::vector<std::uint8_t> before = doc->SaveToBytes();
        int undone = 0;
        while (doc->CanUndo() && undone < 200) {
            if (!doc->Undo()) {
                Fault(unit, "Undo refused after " + std::to_string(undone) + " steps");
                return;
            }
            ++undone;
            QCoreApplication::processEvents();
            if (Left(doc))
                return;
        }
        if (doc->CanUndo())
            Fault(unit, "the undo history does not unwind");
        m_stats.undoSteps += undone;
        // Only what was undone here: the pupil may have left steps to redo.
        for (int redone = 0; redone < undone; ++redone) {
            if (!doc->Redo()) {
                Fault(unit, "Redo refused after " + std::to_string(redone) + " steps");
                return;
            }
            QCoreApplication::processEvents();
            if (Left(doc))
                return;
        }
        if (doc->SaveToBytes() != before) {
            Fault(unit, "Redo does not come back to the same bytes after " +
                            std::to_string(undone) + " Undo steps");
            fs::create_directories(m_dir + "/faults");
            SaveFileAtomically(m_dir + "/faults/before-redo." + doc->identity().defaultExtension,
                               before);
            SaveFileAtomically(m_dir + "/faults/after-redo." + doc->identity().defaultExtension,
                               doc->SaveToBytes());
        }
        CheckSavedFiles();
    }

    std::string m_dir;
    SoakHost m_host;
    std::uint32_t m_seed;
    std::unique_ptr<CMainFrame> m_frame;
    QTimer m_dialogs;
    Stats m_stats;
    std::map<std::string, std::vector<std::uint8_t>> m_checked;
};

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int seconds = 30, burst = 40;
    std::uint32_t seed = 1;
    std::vector<std::string> tolerated;
    std::string only; // a unit's name, or "menus"
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        const long v = std::strtol(argv[i + 1], nullptr, 10);
        if (a == "--seconds")
            seconds = static_cast<int>(v);
        else if (a == "--seed")
            seed = static_cast<std::uint32_t>(v);
        else if (a == "--burst")
            burst = static_cast<int>(v);
        else if (a == "--tolerate")
            tolerated.push_back(argv[i + 1]);
        else if (a == "--only")
            only = argv[i + 1];
    }
    g_rng.seed(seed);
    QTemporaryDir dir, programDir;
    // QUORVEL_SOAK_KEEP keeps the run's documents for a look at a fault.
    if (qEnvironmentVariableIsSet("QUORVEL_SOAK_KEEP")) {
        dir.setAutoRemove(false);
        std::fprintf(stderr, "soak: documents in %s\n", qPrintable(dir.path()));
    }
    QDir(programDir.path()).mkpath(QStringLiteral("class"));
    QDir(programDir.path()).mkpath(QStringLiteral("docs"));

    // A burst that does not finish within a minute is a hang.
    std::atomic<long> progress{0};
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        long seen = -1;
        auto since = std::chrono::steady_clock::now();
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (progress != seen) {
                seen = progress;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > std::chrono::seconds(60)) {
                std::fprintf(stderr, "soak hang (seed %u, burst %ld)\n", seed, seen);
                std::abort();
            }
        }
    });

    Stats stats;
    {
        Soak soak(dir.path().toStdString(), seed);
        soak.tolerated = tolerated;
        if (!soak.Start(programDir.path().toStdString())) {
            std::fprintf(stderr, "soak: the program did not start\n");
            return 1;
        }
        // The units in turn, and the menu pages, a share of the time each.
        std::vector<std::optional<UnitKind>> phases = {UnitKind::Geometry,   UnitKind::Designs,
                                                       UnitKind::Codes,      UnitKind::Numbers,
                                                       UnitKind::Statistics, std::nullopt};
        if (!only.empty())
            std::erase_if(phases, [&](const std::optional<UnitKind>& p) {
                return (p ? UnitKindName(*p) : std::string("menus")) != only;
            });
        const auto start = std::chrono::steady_clock::now();
        const auto share =
            std::chrono::milliseconds(seconds * 1000L / static_cast<long>(phases.size()));
        for (std::size_t p = 0; p < phases.size(); ++p) {
            while (std::chrono::steady_clock::now() - start < share * static_cast<long>(p + 1)) {
                soak.Burst(phases[p], burst);
                progress = soak.stats().bursts;
            }
        }
        stats = soak.stats();
    }
    done = true;
    watchdog.join();
    std::printf("soak seed=%u seconds=%d events=%ld bursts=%ld files-checked=%ld undo-steps=%ld "
                "faults=%ld known-faults=%ld\n",
                seed, seconds, stats.events, stats.bursts, stats.checkedFiles, stats.undoSteps,
                stats.faults, stats.knownFaults);
    return stats.faults == 0 ? 0 : 1;
}
