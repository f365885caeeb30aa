// Runs the built ZVUnInstall as a child process against a throw-away profile and checks
// the retention hand-off from outside: which program ran, with what, and whether the
// uninstaller went on to its window or ended.

#include "TestProfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWindowGraceMs = 1500;

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void handOffRunsApplicationUnlessReturned_data();
    void handOffRunsApplicationUnlessReturned();
    void userTypeDecidesWhetherTheWindowFollows_data();
    void userTypeDecidesWhetherTheWindowFollows();
    void installFolderEndingInABackslash_data();
    void installFolderEndingInABackslash();
    void unusableInstallFolderStartsNothing_data();
    void unusableInstallFolderStartsNothing();
    void missingAppIniGoesStraightToTheWindow();

private:
    void startUninstaller();
    // True when the program ended by itself with exit code 0.
    bool endsWithoutWindow(int timeoutMs);
    // True when the program is still up after the grace period and made its own folder,
    // which only the main window does.
    bool showsWindow();

    QString installDir() const { return m_profile->root() + QStringLiteral("/程序/Velmora"); }
    QString velmoraLog() const { return m_profile->root() + QStringLiteral("/velmora.log"); }

    std::unique_ptr<TestProfile> m_profile;
    std::unique_ptr<QProcess> m_process;
};

void StartupTest::init()
{
    m_profile = std::make_unique<TestProfile>();
    QVERIFY(m_profile->isValid());
    QVERIFY(QDir().mkpath(installDir()));
}

void StartupTest::cleanup()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    m_process.reset();
    m_profile.reset();
}

void StartupTest::startUninstaller()
{
    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(m_profile->environment());
    m_process->setWorkingDirectory(m_profile->root());
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(QStringLiteral(ZVUNINSTALL_EXE), QStringList());
    QVERIFY2(m_process->waitForStarted(5000), qPrintable(m_process->errorString()));
}

bool StartupTest::endsWithoutWindow(int timeoutMs)
{
    if (!m_process->waitForFinished(timeoutMs))
        return false;
    return m_process->exitStatus() == QProcess::NormalExit && m_process->exitCode() == 0
           && !QFileInfo::exists(m_profile->ownDataDir());
}

bool StartupTest::showsWindow()
{
    if (m_process->waitForFinished(kWindowGraceMs))
        return false;
    return QFileInfo(m_profile->ownDataDir()).isDir();
}

// --- the hand-off ---

void StartupTest::handOffRunsApplicationUnlessReturned_data()
{
    QTest::addColumn<bool>("hasKey");
    QTest::addColumn<QString>("uninstreturn");
    QTest::addColumn<bool>("runs");

    QTest::newRow("key missing") << false << QString() << true;
    QTest::newRow("empty") << true << QString() << true;
    QTest::newRow("not a number") << true << QStringLiteral("abc") << true;
    QTest::newRow("negative") << true << QStringLiteral("-3") << true;
    QTest::newRow("zero") << true << QStringLiteral("0") << true;
    QTest::newRow("one") << true << QStringLiteral("1") << false;
    QTest::newRow("above one") << true << QStringLiteral("7") << false;
}

void StartupTest::handOffRunsApplicationUnlessReturned()
{
    QFETCH(bool, hasKey);
    QFETCH(QString, uninstreturn);
    QFETCH(bool, runs);

    QVector<std::pair<QString, QString>> ini = {{QStringLiteral("Install/exepath"), installDir()},
                                                {QStringLiteral("user/type"), QStringLiteral("0")}};
    if (hasKey)
        ini.append({QStringLiteral("user/uninstreturn"), uninstreturn});
    m_profile->writeAppIni(ini);
    writeFakeProgram(installDir() + QStringLiteral("/Velmora.exe"), velmoraLog());

    startUninstaller();
    QVERIFY(showsWindow());

    const QVector<QStringList> logged = loggedRuns(velmoraLog());
    if (runs) {
        QCOMPARE(logged.size(), 1);
        QCOMPARE(logged.first(), QStringList{QStringLiteral("-uninstall")});
    } else {
        QVERIFY(logged.isEmpty());
    }
}

void StartupTest::userTypeDecidesWhetherTheWindowFollows_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("ends");

    QTest::newRow("0 to 2 ends") << QStringLiteral("0") << QStringLiteral("2") << true;
    QTest::newRow("missing to 5 ends") << QString() << QStringLiteral("5") << true;
    QTest::newRow("3 to 2 ends") << QStringLiteral("3") << QStringLiteral("2") << true;
    QTest::newRow("0 to 1 shows window") << QStringLiteral("0") << QStringLiteral("1") << false;
    QTest::newRow("2 unchanged shows window") << QStringLiteral("2") << QStringLiteral("2") << false;
    QTest::newRow("2 to 0 shows window") << QStringLiteral("2") << QStringLiteral("0") << false;
    QTest::newRow("0 to text shows window") << QStringLiteral("0") << QStringLiteral("vip") << false;
}

void StartupTest::userTypeDecidesWhetherTheWindowFollows()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, ends);

    const auto ini = [&](const QString &type) {
        return QVector<std::pair<QString, QString>>{
            {QStringLiteral("Install/exepath"), installDir()},
            {QStringLiteral("user/uninstreturn"), QStringLiteral("0")},
            {QStringLiteral("user/type"), type}};
    };
    m_profile->writeAppIni(ini(before));
    // The application's screen takes a moment, then records the user's choice.
    const QString afterIni = m_profile->root() + QStringLiteral("/after.ini");
    writeIniFile(afterIni, ini(after));
    writeFakeProgram(installDir() + QStringLiteral("/Velmora.exe"), velmoraLog(),
                     QStringLiteral("sleep 0.3; cp '%1' '%2'").arg(afterIni, m_profile->appIniPath()));

    startUninstaller();
    if (ends)
        QVERIFY(endsWithoutWindow(10000));
    else
        QVERIFY(showsWindow());
    QCOMPARE(loggedRuns(velmoraLog()).size(), 1);
}

// A Windows program leaves the folder's line ending in a backslash (a drive's root, or a folder
// picker's answer); the keys on the lines after it are read all the same.
void StartupTest::installFolderEndingInABackslash_data()
{
    QTest::addColumn<QString>("uninstreturn");
    QTest::addColumn<bool>("handOff");

    QTest::newRow("returned: window, no hand-off") << QStringLiteral("1") << false;
    QTest::newRow("kept on the retention screen: no window") << QStringLiteral("0") << true;
}

void StartupTest::installFolderEndingInABackslash()
{
    QFETCH(QString, uninstreturn);
    QFETCH(bool, handOff);

    // Here the backslash is part of the folder's name.
    const QString folder = installDir() + QStringLiteral("\\");
    QVERIFY(QDir().mkpath(folder));
    const auto ini = [&](const QString &type) {
        return QVector<std::pair<QString, QString>>{{QStringLiteral("Install/exepath"), folder},
                                                    {QStringLiteral("user/uninstreturn"), uninstreturn},
                                                    {QStringLiteral("user/type"), type}};
    };
    m_profile->writeAppIni(ini(QStringLiteral("0")));
    const QString afterIni = m_profile->root() + QStringLiteral("/after.ini");
    writeIniFile(afterIni, ini(QStringLiteral("2")));
    writeFakeProgram(folder + QStringLiteral("/Velmora.exe"), velmoraLog(),
                     QStringLiteral("sleep 0.3; cp '%1' '%2'").arg(afterIni, m_profile->appIniPath()));

    startUninstaller();
    if (handOff) {
        QVERIFY(endsWithoutWindow(10000));
        QCOMPARE(loggedRuns(velmoraLog()), QVector<QStringList>{QStringList{QStringLiteral("-uninstall")}});
    } else {
        QVERIFY(showsWindow());
        QVERIFY(loggedRuns(velmoraLog()).isEmpty());
    }
}

// --- install folders that must not be used ---

void StartupTest::unusableInstallFolderStartsNothing_data()
{
    QTest::addColumn<QString>("exepath");

    QTest::newRow("empty") << QString();
    QTest::newRow("relative") << QStringLiteral("程序/Velmora");
    QTest::newRow("missing folder") << QStringLiteral("@ROOT@/gone");
    QTest::newRow("a file") << QStringLiteral("@ROOT@/程序/Velmora/Velmora.exe");
}

void StartupTest::unusableInstallFolderStartsNothing()
{
    QFETCH(QString, exepath);
    exepath.replace(QStringLiteral("@ROOT@"), m_profile->root());

    // A Velmora.exe sits where a relative path would find it from the working folder.
    writeFakeProgram(installDir() + QStringLiteral("/Velmora.exe"), velmoraLog());
    m_profile->writeAppIni({{QStringLiteral("Install/exepath"), exepath},
                            {QStringLiteral("user/uninstreturn"), QStringLiteral("0")}});

    startUninstaller();
    QVERIFY(showsWindow());
    QVERIFY(loggedRuns(velmoraLog()).isEmpty());
}

void StartupTest::missingAppIniGoesStraightToTheWindow()
{
    QVERIFY(!QFileInfo::exists(m_profile->appIniPath()));
    startUninstaller();
    QVERIFY(showsWindow());
}

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
