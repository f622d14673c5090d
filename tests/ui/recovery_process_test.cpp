// The real program as a child process: work modified and then lost to SIGKILL or SIGTERM is
// offered at the next start and comes back byte for byte, modified, with its own path; a
// running program's copy is never offered to another.
#include "app/document_factory.h"
#include "geometry/shape_catalogue.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace quorvel;

namespace {

class Child {
public:
    Child(const QString& root, const QString& answers, int intervalMs) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_STATE_HOME"), root + QStringLiteral("/state"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QUORVEL_TEST_CONTROL"), QStringLiteral("1"));
        env.insert(QStringLiteral("QUORVEL_TEST_ANSWERS"), answers);
        env.insert(QStringLiteral("QUORVEL_AUTOSAVE_MS"), QString::number(intervalMs));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QUORVEL_PROGRAM), {});
    }
    ~Child() {
        if (m_process.state() != QProcess::NotRunning)
            Kill(SIGKILL);
    }
    void Send(const QString& line) { m_process.write((line + QLatin1Char('\n')).toUtf8()); }
    // Waits until the output holds `text`.
    bool WaitFor(const QString& text, int ms = 20000) {
        QElapsedTimer t;
        t.start();
        while (!m_output.contains(text.toUtf8()) && t.elapsed() < ms) {
            m_process.waitForReadyRead(100);
            m_output += m_process.readAllStandardOutput();
        }
        return m_output.contains(text.toUtf8());
    }
    int Kill(int sig) {
        ::kill(static_cast<pid_t>(m_process.processId()), sig);
        m_process.waitForFinished(20000);
        m_output += m_process.readAllStandardOutput();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    const QByteArray& output() const { return m_output; }

private:
    QProcess m_process;
    QByteArray m_output;
};

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The copies in the recovery folder.
QStringList Copies(const QString& root) {
    return QDir(root + QStringLiteral("/state/quorvel/recovery"))
        .entryList({QStringLiteral("*.qvg")}, QDir::Files);
}

bool WaitForCopyOf(const QString& root, const QByteArray& bytes) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000) {
        for (const QString& name : Copies(root))
            if (ReadAll(root + QStringLiteral("/state/quorvel/recovery/") + name) == bytes)
                return true;
        QTest::qWait(50);
    }
    return false;
}

} // namespace

class RecoveryProcessTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_doc;

    // Starts a program, opens the document and moves a shape; the bytes it then holds.
    QByteArray StartAndModify(Child& child) {
        child.Send(QStringLiteral("open ") + m_doc);
        child.Send(QStringLiteral("edit"));
        const QString dump = m_dir.filePath(QStringLiteral("modified.bin"));
        child.Send(QStringLiteral("dump ") + dump);
        if (!child.WaitFor(QStringLiteral("dumped")))
            return {};
        return ReadAll(dump);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        auto doc = CreateUnitDocument(UnitKind::Geometry);
        doc->AddManipulative(MakeDrawerShape(1, C3DPointDouble(100, 100, 0.0)));
        m_doc = m_dir.filePath(QStringLiteral("work.qvg"));
        QVERIFY(doc->OnSaveDocument(m_doc.toStdString()));
    }

    void init() { QDir(m_dir.filePath(QStringLiteral("state"))).removeRecursively(); }

    void lostWorkComesBack_data() {
        QTest::addColumn<int>("sig");
        QTest::addColumn<int>("intervalMs");
        QTest::addColumn<QString>("answers");
        // SIGKILL after the interval's copy; SIGTERM before any tick writes its own. Answered
        // late, the question outlasts the splash's time.
        QTest::newRow("killed") << int(SIGKILL) << 100 << QStringLiteral("yes");
        QTest::newRow("terminated") << int(SIGTERM) << 600000 << QStringLiteral("yes");
        QTest::newRow("answered late") << int(SIGTERM) << 600000 << QStringLiteral("wait 4000,yes");
    }

    void lostWorkComesBack() {
        QFETCH(int, sig);
        QFETCH(int, intervalMs);
        QFETCH(QString, answers);
        const QString root = m_dir.path();
        QByteArray modified;
        {
            Child first(root, QString(), intervalMs);
            modified = StartAndModify(first);
            QVERIFY(!modified.isEmpty());
            QVERIFY(modified != ReadAll(m_doc));
            if (sig == SIGKILL)
                QVERIFY(WaitForCopyOf(root, modified));
            else
                QVERIFY(Copies(root).isEmpty());
            const int code = first.Kill(sig);
            if (sig == SIGTERM)
                QCOMPARE(code, 0);
            QVERIFY(WaitForCopyOf(root, modified));
        }
        Child second(root, answers, intervalMs);
        second.Send(QStringLiteral("state"));
        second.Send(QStringLiteral("dump ") + m_dir.filePath(QStringLiteral("recovered.bin")));
        QVERIFY(second.WaitFor(QStringLiteral("dumped")));
        QVERIFY(second.output().contains(
            "message: Quorvel closed before your work was saved. Recover it? |  | Unit: Tiles "
            "and Tessellations | Document: work.qvg | Time: "));
        QVERIFY(
            second.output().contains((QStringLiteral("state modified=1 path=") + m_doc).toUtf8()));
        QCOMPARE(ReadAll(m_dir.filePath(QStringLiteral("recovered.bin"))), modified);
        // The first program's copy is taken; the second keeps its own of the same work.
        QVERIFY(WaitForCopyOf(root, modified));
        QCOMPARE(Copies(root).size(), 1);
        second.Kill(SIGKILL);
    }

    void runningProgramKeepsItsCopy() {
        const QString root = m_dir.path();
        auto first = std::make_unique<Child>(root, QString(), 100);
        const QByteArray modified = StartAndModify(*first);
        QVERIFY(WaitForCopyOf(root, modified));
        {
            Child other(root, QStringLiteral("yes"), 100);
            QVERIFY(other.WaitFor(QStringLiteral("ready")));
            QVERIFY(!other.output().contains("Recover it?"));
            other.Kill(SIGKILL);
        }
        first->Kill(SIGKILL);
        first.reset();
        Child later(root, QStringLiteral("no"), 100);
        QVERIFY(later.WaitFor(QStringLiteral("ready")));
        QCOMPARE(later.output().count("Recover it?"), 1);
        // No: the copy is gone.
        QVERIFY(Copies(root).isEmpty());
    }
};

QTEST_GUILESS_MAIN(RecoveryProcessTest)
#include "recovery_process_test.moc"
