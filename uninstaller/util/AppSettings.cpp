#include "AppSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPoint>
#include <QSettings>
#include <QStandardPaths>
#include <QTextCodec>
#include <QUuid>
#include <QVariant>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const char kProductName[] = "Velmora";

QString appDataLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// One level only, failure ignored: callers use the path whether or not it could be made.
void makeFolderOneLevel(const QString &path)
{
    QDir dir(path);
    if (!dir.exists())
        dir.mkdir(dir.absolutePath());
}

// The program's own APP.ini, not the product's one (they coincide only when the program's
// AppDataLocation is the product folder).
QString ownAppIniPath()
{
    return appDataLocation() + QStringLiteral("/APP.ini");
}

QString readIniText(const QString &path, const QString &key)
{
    QSettings settings(path, QSettings::IniFormat);
    return settings.value(key, QVariant()).toString();
}

void writeIniText(const QString &path, const QString &group, const QString &key,
                  const QString &value)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(group);
    settings.setValue(key, value);
    settings.endGroup();
}

// --- APP.ini as a Windows program writes it ---

// APP.ini holds a few short lines; anything far larger is not it.
constexpr qint64 kMaxAppIniBytes = 1 << 20;

QString fromSystemCodePage(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
#ifdef Q_OS_WIN
    // What an ANSI program's WritePrivateProfileStringA leaves in the file.
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.constData(), bytes.size(), nullptr, 0);
    if (length <= 0)
        return QString();
    QString text(length, Qt::Uninitialized);
    if (MultiByteToWideChar(CP_ACP, 0, bytes.constData(), bytes.size(),
                            reinterpret_cast<wchar_t *>(text.data()), length) != length)
        return QString();
    return text;
#else
    QTextCodec *codec = QTextCodec::codecForLocale();
    return codec ? codec->toUnicode(bytes) : QString::fromLatin1(bytes);
#endif
}

QString fromUtf8OrCodePage(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(),
                                                                       &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    return fromSystemCodePage(bytes);
}

// One line per entry, as the private-profile functions see the file: a backslash at the end
// of a line is part of the value, never a continuation.
QStringList iniLines(const QByteArray &bytes)
{
    QStringList lines;
    QString text;
    if (bytes.startsWith("\xFF\xFE")) {
        text = QTextCodec::codecForName("UTF-16LE")->toUnicode(bytes.mid(2));
    } else if (bytes.startsWith("\xFE\xFF")) {
        text = QTextCodec::codecForName("UTF-16BE")->toUnicode(bytes.mid(2));
    } else {
        // Decoded line by line: a folder name in the code page may share the file with UTF-8.
        const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
        for (QByteArray line : body.split('\n')) {
            if (line.endsWith('\r'))
                line.chop(1);
            lines.append(fromUtf8OrCodePage(line));
        }
        return lines;
    }
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        lines.append(line);
    }
    return lines;
}

// The first value of section/name, trimmed; null when missing.
QString iniRawValue(const QStringList &lines, const QString &section, const QString &name)
{
    bool inSection = false;
    for (const QString &line : lines) {
        const QString entry = line.trimmed();
        if (entry.isEmpty() || entry.startsWith(QLatin1Char(';')))
            continue;
        if (entry.startsWith(QLatin1Char('['))) {
            const int close = entry.indexOf(QLatin1Char(']'));
            const QString header = entry.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = header.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const int equals = entry.indexOf(QLatin1Char('='));
        if (!inSection || equals < 0)
            continue;
        if (entry.left(equals).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return entry.mid(equals + 1).trimmed();
    }
    return QString();
}

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
           || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
           || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// Undoes Qt's INI escapes when the text is what Qt's own writer makes of a folder path.
// That writer doubles every backslash, escapes control characters (which no Windows name
// holds) and writes \x only for characters outside printable ASCII or for a hex digit right
// after such an escape. Any other backslash was written by a program that keeps backslashes
// as they are: false then, and the text is the path itself.
bool unescapeQtPath(const QString &text, QString *path)
{
    if (!text.contains(QLatin1Char('\\'))) {
        *path = text;
        return true;
    }
    // Qt's writer separates with "/" or a doubled backslash; single ones are Windows' own.
    if (!text.contains(QLatin1String("\\\\")) && !text.contains(QLatin1Char('/')))
        return false;

    QString result;
    result.reserve(text.size());
    bool afterHexEscape = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\')) {
            result.append(c);
            afterHexEscape = false;
            continue;
        }
        if (++i == text.size())
            return false;
        const QChar escaped = text.at(i);
        if (escaped == QLatin1Char('\\') || escaped == QLatin1Char('"')) {
            result.append(escaped);
            afterHexEscape = false;
            continue;
        }
        if (escaped != QLatin1Char('x'))
            return false; // \n, \t, \0 ... stand for control characters; anything else Qt never writes
        // One UTF-16 unit, up to four digits; Qt escapes a hex digit that follows, so a
        // fifth digit means the backslash was not Qt's.
        int end = i + 1;
        while (end < text.size() && end - i <= 4 && isHexDigit(text.at(end)))
            ++end;
        if (end == i + 1 || (end < text.size() && isHexDigit(text.at(end))))
            return false;
        const ushort code = text.mid(i + 1, end - i - 1).toUShort(nullptr, 16);
        const bool plausible = code >= 0x7F || (afterHexEscape && isHexDigit(QChar(code)));
        if (!plausible)
            return false;
        result.append(QChar(code));
        afterHexEscape = true;
        i = end - 1;
    }
    *path = result;
    return true;
}

QString iniPathValue(QString value)
{
    // Both kinds of writer may quote a value; both readers drop the pair.
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    QString path;
    return unescapeQtPath(value, &path) ? path : value;
}

} // namespace

// --- the product's APP.ini ---

QString appDataDir()
{
    const QString location = appDataLocation();
    const int cut = location.lastIndexOf(QStringLiteral("Roaming"));
    const QString base = cut >= 0 ? location.left(cut) : location;
    const QString folder = base + QStringLiteral("/Roaming/") + QLatin1String(kProductName);
    makeFolderOneLevel(folder);
    return folder;
}

QString appIniPath()
{
    const QString dir = appDataDir();
    if (dir.isEmpty())
        return QString();
    return dir + QStringLiteral("/APP.ini");
}

QString readAppSetting(const QString &key)
{
    QSettings settings(appIniPath(), QSettings::IniFormat);
    // The codec must be in place before the first read, or Chinese folder names come back garbled.
    settings.setIniCodec(QTextCodec::codecForName("utf-8"));
    return settings.value(key, QVariant()).toString();
}

QString readAppPathSetting(const QString &key)
{
    QFile file(appIniPath());
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxAppIniBytes)
        return QString();
    const QString section = key.section(QLatin1Char('/'), 0, 0);
    const QString name = key.section(QLatin1Char('/'), 1);
    return iniPathValue(iniRawValue(iniLines(file.readAll()), section, name));
}

void writeAppSetting(const QString &group, const QString &key, const QString &value)
{
    QSettings settings(appIniPath(), QSettings::IniFormat);
    settings.beginGroup(group);
    settings.setIniCodec(QTextCodec::codecForName("utf-8"));
    settings.setValue(key, value);
    settings.endGroup();
}

// --- CONFIG.dat ---

QString configFilePath()
{
    return appDataLocation() + QStringLiteral("/CONFIG.dat");
}

QString readConfigValue(const QString &key)
{
    return readIniText(configFilePath(), key);
}

int readConfigInt(const QString &group, const QString &key)
{
    QSettings settings(configFilePath(), QSettings::IniFormat);
    return settings.value(group + QLatin1Char('/') + key, QVariant()).toInt();
}

void writeConfigValue(const QString &group, const QString &key, const QString &value)
{
    writeIniText(configFilePath(), group, key, value);
}

bool isActivityRecent()
{
    const quint32 stamp = readConfigValue(QStringLiteral("init/activity")).toUInt(nullptr, 10);
    const quint32 now = static_cast<quint32>(QDateTime::currentDateTimeUtc().toSecsSinceEpoch());
    const quint32 dayLater = stamp + 86400u; // unsigned on purpose: the stamp is a 32-bit value
    return stamp < now && now < dayLater;
}

QString newUuidText()
{
    QString text = QUuid::createUuid().toString();
    text.remove(QLatin1Char('{'));
    text.remove(QLatin1Char('}'));
    text.remove(QLatin1Char('-'));
    return text;
}

QString userUuid()
{
    QString uuid = readConfigValue(QStringLiteral("user/uuid"));
    if (uuid.isEmpty()) {
        uuid = newUuidText();
        writeConfigValue(QStringLiteral("user"), QStringLiteral("uuid"), uuid);
    }
    return uuid;
}

// --- the program's own APP.ini ---

QString installChannel()
{
    const QString channel = readIniText(ownAppIniPath(), QStringLiteral("Install/channel"));
    return channel.isEmpty() ? QStringLiteral("default") : channel;
}

bool markInstallActive()
{
    QSettings settings(ownAppIniPath(), QSettings::IniFormat);
    if (settings.value(QStringLiteral("Install/active"), QVariant()).toString() == QLatin1String("1"))
        return false;
    settings.beginGroup(QStringLiteral("Install"));
    settings.setValue(QStringLiteral("active"), QStringLiteral("1"));
    settings.endGroup();
    // "Written" only once the file really holds it.
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString nativeInstallName()
{
    QSettings settings(ownAppIniPath(), QSettings::IniFormat);
    if (settings.value(QStringLiteral("Install/native"), QVariant()).toString() != QLatin1String("1"))
        return QString();
    return settings.value(QStringLiteral("Install/name"), QVariant()).toString();
}

// --- the sibling tool's APP.ini ---

QString toolIniPath()
{
    QString folder = appDataLocation();
    folder.replace(QStringLiteral("Tavrell"), QLatin1String(kProductName));
    makeFolderOneLevel(folder);
    return folder + QStringLiteral("/APP.ini");
}

QString readToolSetting(const QString &key)
{
    return readIniText(toolIniPath(), key);
}

void writeToolSetting(const QString &group, const QString &key, const QString &value)
{
    writeIniText(toolIniPath(), group, key, value);
}

// --- placement ---

void centerOver(QWidget *widget, QWidget *over, bool local)
{
    if (!widget || !over)
        return;
    // Plain int division truncates towards zero: a widget wider than over by 51 goes to -25.
    QPoint pos((over->width() - widget->width()) / 2, (over->height() - widget->height()) / 2);
    if (!local)
        pos = over->mapToGlobal(pos);
    widget->move(pos);
}
