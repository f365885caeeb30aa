// Data folder, settings files and centring, against a data folder in a temporary directory.

#include "AppSettings.h"
#include "TestCodePage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>
#include <QThread>
#include <QWidget>

class AppSettingsTest : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_root;

    // Points Qt's AppDataLocation at root/relativeBase/appName and returns that location.
    QString useLocation(const QString &relativeBase, const QString &appName)
    {
        const QString base = m_root->path() + QLatin1Char('/') + relativeBase;
        QDir().mkpath(base);
        qputenv("XDG_DATA_HOME", QFile::encodeName(base));
        QCoreApplication::setOrganizationName(QString());
        QCoreApplication::setApplicationName(appName);
        return base + QLatin1Char('/') + appName;
    }

    static void writeRawFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private slots:
    void init()
    {
        m_root.reset(new QTemporaryDir);
        QVERIFY(m_root->isValid());
    }

    void dataFolderIsCutAtLastRoaming_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("expected");
        QTest::newRow("usual") << "Users/u/AppData/Roaming"
                               << "Users/u/AppData//Roaming/Velmora";
        QTest::newRow("user named Roaming") << "Users/Roaming1/AppData/Roaming"
                                            << "Users/Roaming1/AppData//Roaming/Velmora";
        QTest::newRow("no Roaming") << "home/u/.local/share"
                                    << "home/u/.local/share/X/Roaming/Velmora";
    }

    void dataFolderIsCutAtLastRoaming()
    {
        QFETCH(QString, base);
        QFETCH(QString, expected);
        useLocation(base, QStringLiteral("X"));
        const QString want = m_root->path() + QLatin1Char('/') + expected;
        QCOMPARE(appDataDir(), want);
        QCOMPARE(appIniPath(), want + QStringLiteral("/APP.ini"));
    }

    void dataFolderIsMadeOneLevelOnly()
    {
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("X"));
        const QString dir = appDataDir();
        QVERIFY(QFileInfo(dir).isDir());

        // Without a Roaming folder below the location the parent is missing: no tree is made.
        useLocation(QStringLiteral("plain"), QStringLiteral("Y"));
        QVERIFY(!QFileInfo::exists(appDataDir()));
    }

    void readsUtf8ValuesAndMissingKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("chinese folder") << "Install/exepath" << QStringLiteral("D:/软件/维摩拉");
        QTest::newRow("number") << "user/uninstreturn" << "2";
        QTest::newRow("missing key") << "user/type" << "";
        QTest::newRow("missing section") << "nosuch/key" << "";
    }

    void readsUtf8ValuesAndMissingKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("X"));
        writeRawFile(appIniPath(), QStringLiteral("[Install]\nexepath=D:/软件/维摩拉\n"
                                                  "[user]\nuninstreturn=2\n").toUtf8());
        QCOMPARE(readAppSetting(key), expected);
    }

    // What the application may leave under Install/exepath, byte for byte, and the folder meant.
    void readsInstallFolderAsWritten_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const QString programFiles = QStringLiteral("C:\\Program Files (x86)\\Velmora");
        const QByteArray tail = "\r\n[user]\r\ntype=2\r\n";

        QTest::newRow("single backslashes")
            << "[Install]\r\nexepath=C:\\Program Files (x86)\\Velmora" + tail << programFiles;
        QTest::newRow("names that look like escapes")
            << "[Install]\r\nexepath=D:\\tools\\new\\x41bc" + tail << QStringLiteral("D:\\tools\\new\\x41bc");
        QTest::newRow("a name that looks like a hex escape")
            << "[Install]\r\nexepath=D:\\x41bc" + tail << QStringLiteral("D:\\x41bc");
        QTest::newRow("trailing backslash")
            << "[Install]\r\nexepath=C:\\Velmora\\\r\nchannel=web" + tail << QStringLiteral("C:\\Velmora\\");
        QTest::newRow("network share")
            << "[Install]\r\nexepath=\\\\server\\share\\Velmora" + tail << QStringLiteral("\\\\server\\share\\Velmora");
        QTest::newRow("comma and semicolon kept")
            << "[Install]\r\nexepath=D:\\A,B;C\\Velmora" + tail << QStringLiteral("D:\\A,B;C\\Velmora");
        QTest::newRow("Chinese name, UTF-8, single backslashes")
            << "[Install]\r\nexepath=" + QStringLiteral("D:\\软件\\维摩拉").toUtf8() + tail
            << QStringLiteral("D:\\软件\\维摩拉");
        QTest::newRow("Qt's doubled backslashes")
            << "[Install]\r\nexepath=C:\\\\Program Files (x86)\\\\Velmora" + tail << programFiles;
        QTest::newRow("Qt's forward slashes")
            << "[Install]\r\nexepath=C:/Program Files (x86)/Velmora" + tail
            << QStringLiteral("C:/Program Files (x86)/Velmora");
        QTest::newRow("Qt's escapes of non-ASCII, no codec")
            << "[Install]\r\nexepath=D:/\\x8f6f\\x4ef6\\x61/Velmora" + tail << QStringLiteral("D:/软件a/Velmora");
        QTest::newRow("Qt's quotes")
            << "[Install]\r\nexepath=\"D:\\\\A,B;C\\\\Velmora\"" + tail << QStringLiteral("D:\\A,B;C\\Velmora");
        QTest::newRow("UTF-8 byte-order mark")
            << "\xEF\xBB\xBF[Install]\r\nexepath=C:\\Program Files (x86)\\Velmora" + tail << programFiles;
        const QString unicodeFile = QStringLiteral("[Install]\r\nexepath=D:\\软件\\维摩拉\r\n[user]\r\ntype=2\r\n");
        QTest::newRow("UTF-16 byte-order mark")
            << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(unicodeFile.utf16()),
                                                   unicodeFile.size() * 2)
            << QStringLiteral("D:\\软件\\维摩拉");
    }

    void readsInstallFolderAsWritten()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("X"));
        writeRawFile(appIniPath(), file);
        QCOMPARE(readAppPathSetting(QStringLiteral("Install/exepath")), expected);
    }

    // An ANSI program writes the folder in the system code page, here Chinese (936).
    void readsInstallFolderInTheCodePage_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("single backslashes") << QStringLiteral("D:\\软件\\维摩拉");
        QTest::newRow("forward slashes") << QStringLiteral("D:/软件/维摩拉");
    }

    void readsInstallFolderInTheCodePage()
    {
#ifdef Q_OS_WIN
        QSKIP("the code page is the system's own there");
#endif
        QFETCH(QString, folder);
        QTextCodec *gbk = QTextCodec::codecForName("GBK");
        QVERIFY(gbk);
        const TestCodePage system("GBK");
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("X"));
        // The application's own lines stay UTF-8; only the folder is in the code page.
        writeRawFile(appIniPath(), "[Install]\r\nname=" + QStringLiteral("维摩拉").toUtf8()
                                       + "\r\nexepath=" + gbk->fromUnicode(folder) + "\r\n");
        QCOMPARE(readAppPathSetting(QStringLiteral("Install/exepath")), folder);
    }

    // Every way a Windows program may leave APP.ini, against what each key must read as.
    void everyKeyReadsAsWritten_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("codePage"); // the system code page for the row; empty: as it is
        QTest::addColumn<QString>("exepath");
        QTest::addColumn<int>("uninstreturn");
        QTest::addColumn<int>("type");

        // "|" stands for the line break.
        const auto ini = [](const QString &text, const char *eol = "\r\n") {
            return QString(text).replace(QLatin1Char('|'), QLatin1String(eol)).toUtf8();
        };
        const auto usual = [](const QString &exepath) {
            return QStringLiteral("[Install]|exepath=%1|[user]|uninstreturn=1|type=2|").arg(exepath);
        };
        const QString chinese = QStringLiteral("D:\\软件\\维摩拉\\");
        const QString unicode = QString::fromUtf8(ini(usual(chinese)));
        const QByteArray none;

        QTest::newRow("drive root, trailing backslash") << ini(usual("D:\\")) << none << "D:\\" << 1 << 2;
        QTest::newRow("folder picker's trailing backslash")
            << ini(usual("C:\\Program Files\\Velmora\\")) << none << "C:\\Program Files\\Velmora\\" << 1 << 2;
        QTest::newRow("unmatched quote") << ini(usual("\"D:\\V")) << none << "\"D:\\V" << 1 << 2;
        QTest::newRow("UTF-16LE with a byte-order mark")
            << "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(unicode.utf16()), unicode.size() * 2) << none
            << chinese << 1 << 2;
        QTest::newRow("UTF-8 with a byte-order mark") << "\xEF\xBB\xBF" + ini(usual(chinese)) << none << chinese << 1 << 2;
        QTest::newRow("code-page bytes")
            << "[Install]\r\nexepath=" + QTextCodec::codecForName("GBK")->fromUnicode(chinese)
                   + ini("|[user]|uninstreturn=1|type=2|")
            << QByteArray("GBK") << chinese << 1 << 2;
        QTest::newRow("[User] and Type=") << ini("[INSTALL]|ExePath=D:\\V|[User]|UninstReturn=1|Type=2|") << none
                                          << "D:\\V" << 1 << 2;
        QTest::newRow("two [user] sections and two types: the first of each")
            << ini("[user]|type=3|TYPE=4|[Install]|exepath=D:\\V|[user]|uninstreturn=1|") << none << "D:\\V" << 0 << 3;
        QTest::newRow("keys before any section belong to none")
            << ini("exepath=D:\\X|type=5|[Install]|exepath=D:\\V|[user]|uninstreturn=1|") << none << "D:\\V" << 1 << 0;
        QTest::newRow("LF") << ini(usual("D:\\"), "\n") << none << "D:\\" << 1 << 2;
        QTest::newRow("CR") << ini(usual("D:\\"), "\r") << none << "D:\\" << 1 << 2;
        QTest::newRow("blanks and quotes")
            << ini("[Install]|  exepath =  'D:\\V\\'  |[user]|uninstreturn = \"1\"|type=2 (kept)|") << none
            << "D:\\V\\" << 1 << 2;
        QTest::newRow("sign and base prefix") << ini("[user]|uninstreturn=-3|type=0x10|") << none << "" << -3 << 16;
        QTest::newRow("wrapping at 32 bits, no leading digits")
            << ini("[user]|uninstreturn=4294967297|type=B2|") << none << "" << 1 << 0;
        QTest::newRow("a name without = hides a later one")
            << ini("[user]|type|type=2|uninstreturn=1|") << none << "" << 1 << 0;
    }

    void everyKeyReadsAsWritten()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, codePage);
        QFETCH(QString, exepath);
        QFETCH(int, uninstreturn);
        QFETCH(int, type);
#ifdef Q_OS_WIN
        if (!codePage.isEmpty())
            QSKIP("the code page is the system's own there");
#endif
        const TestCodePage system(codePage);
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("X"));
        writeRawFile(appIniPath(), file);
        QCOMPARE(readAppPathSetting(QStringLiteral("Install/exepath")), exepath);
        QCOMPARE(readAppIntSetting(QStringLiteral("user/uninstreturn")), uninstreturn);
        QCOMPARE(readAppIntSetting(QStringLiteral("user/type")), type);
    }

    void missingFileReadsEmpty()
    {
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("X"));
        QVERIFY(!QFile::exists(appIniPath()));
        QCOMPARE(readAppSetting(QStringLiteral("Install/exepath")), QString());
        QCOMPARE(readAppPathSetting(QStringLiteral("Install/exepath")), QString());
    }

    void everyReadSeesTheFileAnew()
    {
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("X"));
        writeRawFile(appIniPath(), "[user]\ntype=0\n");
        QCOMPARE(readAppSetting(QStringLiteral("user/type")), QStringLiteral("0"));
        writeRawFile(appIniPath(), "[user]\ntype=3\n");
        // The application writes seconds later; QSettings keys its cache on size and time.
        QFile changed(appIniPath());
        QVERIFY(changed.open(QIODevice::ReadWrite));
        QVERIFY(changed.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                    QFileDevice::FileModificationTime));
        changed.close();
        QCOMPARE(readAppSetting(QStringLiteral("user/type")), QStringLiteral("3"));
    }

    void writtenValuesReadBackAsUtf8()
    {
#ifdef Q_OS_WIN
        QSKIP("the code page is the system's own there");
#endif
        // On a UTF-8 system the code page, which the profile functions read, is UTF-8.
        const TestCodePage system("UTF-8");
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("X"));
        QVERIFY(writeAppSetting(QStringLiteral("Install"), QStringLiteral("exepath"), QStringLiteral("C:/维摩拉")));
        QCOMPARE(readAppSetting(QStringLiteral("Install/exepath")), QStringLiteral("C:/维摩拉"));
        QFile file(appIniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(QStringLiteral("维摩拉").toUtf8()));
    }

    void configValuesRoundTrip()
    {
        const QString location = useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("Tool"));
        QCOMPARE(configFilePath(), location + QStringLiteral("/CONFIG.dat"));
        QCOMPARE(readConfigInt(QStringLiteral("a"), QStringLiteral("n")), 0);
        writeConfigValue(QStringLiteral("a"), QStringLiteral("n"), QStringLiteral("42"));
        writeConfigValue(QStringLiteral("a"), QStringLiteral("s"), QStringLiteral("text"));
        QCOMPARE(readConfigInt(QStringLiteral("a"), QStringLiteral("n")), 42);
        QCOMPARE(readConfigInt(QStringLiteral("a"), QStringLiteral("s")), 0);
        QCOMPARE(readConfigValue(QStringLiteral("a/s")), QStringLiteral("text"));
    }

    void activityIsRecentForLessThanADay_data()
    {
        QTest::addColumn<qint64>("ageSeconds");
        QTest::addColumn<bool>("recent");
        QTest::newRow("just under a day") << qint64(86399) << true;
        QTest::newRow("one hour") << qint64(3600) << true;
        QTest::newRow("exactly a day") << qint64(86400) << false;
        QTest::newRow("older") << qint64(200000) << false;
        QTest::newRow("now") << qint64(0) << false;
        QTest::newRow("future") << qint64(-60) << false;
    }

    void activityIsRecentForLessThanADay()
    {
        QFETCH(qint64, ageSeconds);
        QFETCH(bool, recent);
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("Tool"));
        // Start just after a second boundary so that the clock does not tick between write and read.
        while (QDateTime::currentMSecsSinceEpoch() % 1000 > 500)
            QThread::msleep(20);
        const qint64 now = QDateTime::currentDateTimeUtc().toSecsSinceEpoch();
        writeConfigValue(QStringLiteral("init"), QStringLiteral("activity"),
                         QString::number(now - ageSeconds));
        QCOMPARE(isActivityRecent(), recent);
    }

    void missingActivityIsNotRecent()
    {
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("Tool"));
        QVERIFY(!isActivityRecent());
    }

    void userUuidIsMadeOnceAndKept()
    {
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("Tool"));
        const QString first = userUuid();
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(first).hasMatch());
        QCOMPARE(readConfigValue(QStringLiteral("user/uuid")), first);
        QCOMPARE(userUuid(), first);
        QVERIFY(newUuidText() != newUuidText());
    }

    void ownAppIniKeys()
    {
        const QString location = useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("Tool"));
        QCOMPARE(installChannel(), QStringLiteral("default"));
        QCOMPARE(nativeInstallName(), QString());

        QVERIFY(markInstallActive());
        QSettings check(location + QStringLiteral("/APP.ini"), QSettings::IniFormat);
        QCOMPARE(check.value(QStringLiteral("Install/active")).toString(), QStringLiteral("1"));

        writeRawFile(location + QStringLiteral("/APP.ini"),
                     "[Install]\nactive=1\nchannel=web\nnative=1\nname=Velmora Pro\n");
        const QDateTime before = QFileInfo(location + QStringLiteral("/APP.ini")).lastModified();
        QVERIFY(!markInstallActive());
        QCOMPARE(QFileInfo(location + QStringLiteral("/APP.ini")).lastModified(), before);
        QCOMPARE(installChannel(), QStringLiteral("web"));
        QCOMPARE(nativeInstallName(), QStringLiteral("Velmora Pro"));

        writeRawFile(location + QStringLiteral("/APP.ini"), "[Install]\nactive=0\nnative=2\nname=x\n");
        QCOMPARE(nativeInstallName(), QString());
        QVERIFY(markInstallActive());

        // A file that cannot be written (a folder stands in its place) is no success.
        QVERIFY(QFile::remove(location + QStringLiteral("/APP.ini")));
        QVERIFY(QDir().mkpath(location + QStringLiteral("/APP.ini")));
        QVERIFY(!markInstallActive());
        QVERIFY(QDir().rmdir(location + QStringLiteral("/APP.ini")));
    }

    void toolIniMapsTheProgramName()
    {
        useLocation(QStringLiteral("AppData/Roaming"), QStringLiteral("Tavrell"));
        const QString expected = m_root->path() + QStringLiteral("/AppData/Roaming/Velmora/APP.ini");
        QCOMPARE(toolIniPath(), expected);
        writeToolSetting(QStringLiteral("g"), QStringLiteral("k"), QStringLiteral("v"));
        QCOMPARE(readToolSetting(QStringLiteral("g/k")), QStringLiteral("v"));
        QVERIFY(QFile::exists(expected));
    }

    void centresOverAnotherWidget_data()
    {
        QTest::addColumn<QSize>("overSize");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("close box") << QSize(718, 434) << QSize(416, 212) << QPoint(151, 111);
        QTest::newRow("odd difference") << QSize(101, 101) << QSize(50, 50) << QPoint(25, 25);
        QTest::newRow("wider than over") << QSize(50, 50) << QSize(101, 101) << QPoint(-25, -25);
    }

    void centresOverAnotherWidget()
    {
        QFETCH(QSize, overSize);
        QFETCH(QSize, size);
        QFETCH(QPoint, expected);

        QWidget over;
        over.resize(overSize);
        QWidget child(&over);
        child.resize(size);
        centerOver(&child, &over, true);
        QCOMPARE(child.pos(), expected);

        over.move(120, 80);
        over.show();
        QVERIFY(QTest::qWaitForWindowExposed(&over));
        QWidget box;
        box.resize(size);
        centerOver(&box, &over, false);
        QCOMPARE(box.pos(), over.mapToGlobal(expected));
        QVERIFY(box.pos() != expected);
    }

    void centringIgnoresNullWidgets()
    {
        QWidget w;
        w.move(7, 9);
        centerOver(&w, nullptr, true);
        centerOver(nullptr, &w, false);
        QCOMPARE(w.pos(), QPoint(7, 9));
    }
};

QTEST_MAIN(AppSettingsTest)
#include "AppSettingsTest.moc"
