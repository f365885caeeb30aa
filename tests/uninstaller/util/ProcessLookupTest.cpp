// Process lookup against two helper processes started under a name of our own.

#include "ProcessLookup.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Longer than the kernel's 15-character short command name, so that the full name must be found.
const char kHelperName[] = "velmora-probe-sleeper";

} // namespace

class ProcessLookupTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QProcess m_first;
    QProcess m_second;

private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("The helper is a POSIX sleep program");
#endif
        const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
        if (sleep.isEmpty())
            QSKIP("No sleep program to run as a helper");
        QVERIFY(m_dir.isValid());
        const QString helper = m_dir.filePath(QLatin1String(kHelperName));
        QVERIFY(QFile::copy(sleep, helper));
        QVERIFY(QFile::setPermissions(helper, QFile::permissions(helper) | QFile::ExeOwner));
        for (QProcess *process : {&m_first, &m_second}) {
            process->start(helper, {QStringLiteral("60")});
            QVERIFY(process->waitForStarted());
        }
    }

    void cleanupTestCase()
    {
        for (QProcess *process : {&m_first, &m_second}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished();
            }
        }
    }

    void findsProcessesByExactName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::newRow("exact name") << QString::fromLatin1(kHelperName) << true;
        QTest::newRow("upper case") << QString::fromLatin1(kHelperName).toUpper() << false;
        QTest::newRow("prefix only") << QStringLiteral("velmora-probe") << false;
        QTest::newRow("short command name") << QString::fromLatin1(kHelperName).left(15) << false;
        QTest::newRow("with suffix") << QString::fromLatin1(kHelperName) + QStringLiteral(".exe") << false;
        QTest::newRow("whole path") << m_dir.filePath(QLatin1String(kHelperName)) << false;
        QTest::newRow("empty") << QString() << false;
    }

    void findsProcessesByExactName()
    {
        QFETCH(QString, name);
        QFETCH(bool, found);
        const ProcessMap processes = findProcessesByName(name);
        if (!found) {
            QVERIFY(processes.isEmpty());
            return;
        }
        // Two instances give two entries, each with its own parent: this test process.
        QCOMPARE(processes.size(), 2);
        const quint32 self = quint32(QCoreApplication::applicationPid());
        QCOMPARE(processes.value(quint32(m_first.processId()), 0), self);
        QCOMPARE(processes.value(quint32(m_second.processId()), 0), self);
    }

    void endedProcessesDropOut()
    {
        m_second.kill();
        QVERIFY(m_second.waitForFinished());
        const ProcessMap processes = findProcessesByName(QString::fromLatin1(kHelperName));
        QCOMPARE(processes.keys(), QList<quint32>{quint32(m_first.processId())});
    }
};

QTEST_GUILESS_MAIN(ProcessLookupTest)
#include "ProcessLookupTest.moc"
