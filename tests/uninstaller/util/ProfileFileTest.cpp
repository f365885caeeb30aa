// Writing INI files so that the Windows private-profile functions read the values back. The reading
// rules are table-tested through APP.ini's keys in AppSettingsTest.

#include "ProfileFile.h"
#include "TestCodePage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "|" stands for CRLF, to keep the rows readable.
QByteArray crlf(const char *text)
{
    return QByteArray(text).replace('|', "\r\n");
}

QByteArray utf16le(const QString &text)
{
    return "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

} // namespace

class ProfileFileTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path() const { return m_dir.path() + QStringLiteral("/APP.ini"); }

    void writeBytes(const QByteArray &bytes) const
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray bytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    // The file before and after one write, byte for byte; the value reads back.
    void writesOnlyTheEntry_data()
    {
        QTest::addColumn<QByteArray>("codePage"); // the system code page for the row; empty: as it is
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        const QByteArray none;

        QTest::newRow("in place, in the file's own spelling")
            << none << crlf("[Install]|exepath=D:\\|[User]|  Type = 0  |") << "user/type" << "2"
            << crlf("[Install]|exepath=D:\\|[User]|  Type =2|");
        QTest::newRow("the first of two sections, LF kept")
            << none << QByteArray("[user]\ntype=0\n[user]\ntype=5\n") << "user/type" << "2"
            << QByteArray("[user]\ntype=2\n[user]\ntype=5\n");
        QTest::newRow("a new entry after its section's last line")
            << none << crlf("[user]|type=0||[Install]|") << "user/uninstreturn" << "1"
            << crlf("[user]|type=0|uninstreturn=1||[Install]|");
        QTest::newRow("a new section after a last line without a break")
            << none << QByteArray("[user]\rtype=0") << "Install/active" << "1"
            << QByteArray("[user]\rtype=0\r[Install]\ractive=1\r");
        QTest::newRow("blanks at the ends kept by quotes")
            << none << crlf("[s]|k=v|") << "s/k" << " 'v' " << crlf("[s]|k=\" 'v' \"|");
        QTest::newRow("a UTF-16LE file stays UTF-16LE")
            << none << utf16le(QStringLiteral("[Install]\r\nexepath=C:\\V\r\n")) << "Install/exepath"
            << QStringLiteral("D:\\维摩拉") << utf16le(QStringLiteral("[Install]\r\nexepath=D:\\维摩拉\r\n"));
        // Without a byte-order mark the profile functions read the file in the code page. Another
        // program's code-page line ("Zoé" in GBK, A8A6 for the é) must survive either way.
        const QByteArray mixed = crlf("[Install]|name=Zo\xA8\xA6|exe=Zo\xC3\xA9|");
        const QString mixedText = QStringLiteral("[Install]\r\nname=Zoé\r\nexe=Zoé\r\nexepath=");
        QTest::newRow("Chinese in GBK") << QByteArray("GBK") << mixed << "Install/exepath"
                                        << QStringLiteral("D:\\维摩拉") << mixed + "exepath=D:\\\xCE\xAC\xC4\xA6\xC0\xAD\r\n";
        QTest::newRow("a character GBK lacks: the file becomes UTF-16LE")
            << QByteArray("GBK") << mixed << "Install/exepath" << QStringLiteral("D:\\\U0001F600")
            << utf16le(mixedText + QStringLiteral("D:\\\U0001F600\r\n"));
        // C3 A9 would read as UTF-8 "é". The GBK line reads as "Zo¨¦" in this code page, and stays so.
        QTest::newRow("code-page bytes that pass as UTF-8: the file becomes UTF-16LE")
            << QByteArray("ISO-8859-1") << mixed << "Install/exepath" << QStringLiteral("D:\\Ã©")
            << utf16le(QStringLiteral("[Install]\r\nname=Zo¨¦\r\nexe=Zoé\r\nexepath=D:\\Ã©\r\n"));
    }

    void writesOnlyTheEntry()
    {
        QFETCH(QByteArray, codePage);
        QFETCH(QByteArray, before);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
#ifdef Q_OS_WIN
        if (!codePage.isEmpty())
            QSKIP("the code page is the system's own there");
#endif
        const TestCodePage system(codePage);
        writeBytes(before);
        const QString section = key.section(QLatin1Char('/'), 0, 0);
        const QString name = key.section(QLatin1Char('/'), 1);
        QVERIFY(writeProfileString(path(), section, name, value));
        QCOMPARE(bytes(), after);
        QCOMPARE(readProfileString(path(), section, name), value);
    }

    void refusesWhatNoLineCanHold()
    {
        const QByteArray file = crlf("[s]|k=old|");
        writeBytes(file);
        QVERIFY(!writeProfileString(path(), QStringLiteral("s"), QStringLiteral("a=b"), QStringLiteral("v")));
        QVERIFY(!writeProfileString(path(), QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v\n[t]")));
        QCOMPARE(bytes(), file);
        // Too large to be APP.ini: neither read nor rewritten.
        writeBytes(file + QByteArray(1 << 20, ' '));
        QVERIFY(readProfileString(path(), QStringLiteral("s"), QStringLiteral("k")).isNull());
        QVERIFY(!writeProfileString(path(), QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")));
    }
};

QTEST_GUILESS_MAIN(ProfileFileTest)
#include "ProfileFileTest.moc"
