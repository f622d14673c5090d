// For tests of the class material on the real pages: the size of a unit's page, a class
// document's bytes, and playing a problem-set level as a pupil does (each problem answered and
// checked, Continue to the next, and the score the last Continue shows).
#pragma once

#include "problemsets/problem_set_controller.h"
#include "ui/app/bitmap_button.h"
#include "ui/app/main_frame.h"
#include "ui/problemsets/score_dialog.h"
#include "ui/workspace/unit_view.h"
#include "workspace/file_store.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorvel::testing {

// The page a unit gets in the main window as it opens: what the window leaves under its menu
// bar.
inline void UnitPageSize(QSize& size) {
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    size = frame.centralWidget()->size();
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    ReadDocumentFile(path, bytes);
    return bytes;
}

inline void Click(QAbstractButton* b) {
    QVERIFY(b);
    QVERIFY(b->isVisible());
    QTest::mouseClick(b, Qt::LeftButton);
}

// Plays a level's problems on `view`: `answer(problem)` looks at problem `problem` (0 first),
// answers it and presses CHECK. After each, Continue; the last one's score dialog is read into
// `score` and closed.
inline void PlayLevel(CUnitView& view, const std::function<void(int)>& answer, QString& score) {
    for (int problem = 0; problem < kProblemsPerRun; ++problem) {
        QCoreApplication::processEvents();
        answer(problem);
        if (QTest::currentTestFailed())
            return;
        if (problem == kProblemsPerRun - 1)
            QTimer::singleShot(0, [&score] {
                auto* dialog = qobject_cast<CScoreDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                score = dialog->label()->text();
                dialog->closeButton()->click();
            });
        Click(view.button(kContinueCommand));
    }
}

} // namespace quorvel::testing
