// The start-up decisions in-process: which install folders may be used, and how the wait
// for the application's retention screen ends.

#include "Launch.h"
#include "TestProfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

class LaunchTest : public QObject
{
    Q_OBJECT

public:
    explicit LaunchTest(const TestProfile &profile) : m_profile(profile) {}

private slots:
    void init();

    void installFolderIsUsedOnlyWhenItExists_data();
    void installFolderIsUsedOnlyWhenItExists();
    void handOffWaitsForTheApplication();
    void handOffLeavesApplicationRunningWhenTheWaitEnds();
    void startFailureGoesOnToTheWindow();

private:
    QString installDir() const { return m_profile.root() + QStringLiteral("/安装目录/Velmora"); }
    QString marker() const { return m_profile.root() + QStringLiteral("/finished.txt"); }
    void writeIni(const QString &exepath, const QString &type) const
    {
        m_profile.writeAppIni({{QStringLiteral("Install/exepath"), exepath},
                               {QStringLiteral("user/uninstreturn"), QStringLiteral("0")},
                               {QStringLiteral("user/type"), type}});
    }

    const TestProfile &m_profile;
};

void LaunchTest::init()
{
    QVERIFY(QDir().mkpath(installDir()));
    QFile::remove(marker());
    QFile::remove(m_profile.root() + QStringLiteral("/velmora.log"));
    QDir::setCurrent(m_profile.root());
}

void LaunchTest::installFolderIsUsedOnlyWhenItExists_data()
{
    QTest::addColumn<QString>("exepath");
    QTest::addColumn<bool>("usable");

    QTest::newRow("existing folder, Chinese name") << QStringLiteral("@INSTALL@") << true;
    QTest::newRow("trailing separator") << QStringLiteral("@INSTALL@/") << true;
    // Written as a Windows program writes it; here a backslash is part of the folder's name.
    QTest::newRow("single backslash kept") << QStringLiteral("@INSTALL@/a\\new") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("relative") << QStringLiteral("安装目录/Velmora") << false;
    QTest::newRow("dot") << QStringLiteral(".") << false;
    QTest::newRow("missing") << QStringLiteral("@INSTALL@/gone") << false;
    QTest::newRow("a file") << QStringLiteral("@INSTALL@/file.txt") << false;
}

void LaunchTest::installFolderIsUsedOnlyWhenItExists()
{
    QFETCH(QString, exepath);
    QFETCH(bool, usable);
    QVERIFY(QDir().mkpath(installDir() + QStringLiteral("/a\\new")));
    QFile file(installDir() + QStringLiteral("/file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    exepath.replace(QStringLiteral("@INSTALL@"), installDir());
    writeIni(exepath, QStringLiteral("0"));

    QCOMPARE(installFolder(), usable ? exepath : QString());
}

void LaunchTest::handOffWaitsForTheApplication()
{
    writeIni(installDir(), QStringLiteral("0"));
    const QString after = m_profile.root() + QStringLiteral("/after.ini");
    writeIniFile(after, {{QStringLiteral("user/type"), QStringLiteral("2")}});
    writeFakeProgram(installDir() + QStringLiteral("/Velmora.exe"), m_profile.root() + QStringLiteral("/velmora.log"),
                     QStringLiteral("sleep 0.6; cp '%1' '%2'").arg(after, m_profile.appIniPath()));

    QElapsedTimer clock;
    clock.start();
    QVERIFY(runRetentionHandOff(20000));
    QVERIFY(clock.elapsed() >= 500);
    QCOMPARE(loggedRuns(m_profile.root() + QStringLiteral("/velmora.log")),
             QVector<QStringList>{QStringList{QStringLiteral("-uninstall")}});
}

void LaunchTest::handOffLeavesApplicationRunningWhenTheWaitEnds()
{
    writeIni(installDir(), QStringLiteral("0"));
    writeFakeProgram(installDir() + QStringLiteral("/Velmora.exe"), m_profile.root() + QStringLiteral("/velmora.log"),
                     QStringLiteral("sleep 1.5; echo still here > '%1'").arg(marker()));

    QElapsedTimer clock;
    clock.start();
    QVERIFY(!runRetentionHandOff(300));
    QVERIFY(clock.elapsed() < 1400);
    QVERIFY(!QFile::exists(marker()));
    // The user's screen was not closed under them: the program finishes its work.
    QVERIFY(waitUntil([&] { return QFile::exists(marker()); }, 5000));
}

void LaunchTest::startFailureGoesOnToTheWindow()
{
    // The folder exists but holds no Velmora.exe.
    writeIni(installDir(), QStringLiteral("0"));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!runRetentionHandOff(20000));
    QVERIFY(clock.elapsed() < 5000);
}

int main(int argc, char *argv[])
{
    TestProfile profile;
    profile.applyToThisProcess();
    QCoreApplication app(argc, argv);
    LaunchTest test(profile);
    return QTest::qExec(&test, argc, argv);
}

#include "LaunchTest.moc"
