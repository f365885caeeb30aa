#include "AppSettings.h"

#include "ProfileFile.h"

#include <QDateTime>
#include <QDir>
#include <QPoint>
#include <QSettings>
#include <QStandardPaths>
#include <QUuid>
#include <QVariant>
#include <QWidget>

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

// CONFIG.dat: only this module writes it, through QSettings, so QSettings reads it back.
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

// --- a folder path in APP.ini ---

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

QString iniPathValue(const QString &value)
{
    QString path;
    return unescapeQtPath(value, &path) ? path : value;
}

// A "section/name" key, read with the profile functions' rules.
QString readProfileKey(const QString &path, const QString &key)
{
    return readProfileString(path, key.section(QLatin1Char('/'), 0, 0), key.section(QLatin1Char('/'), 1));
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
    return readProfileKey(appIniPath(), key);
}

int readAppIntSetting(const QString &key)
{
    return profileInt(readAppSetting(key));
}

QString readAppPathSetting(const QString &key)
{
    return iniPathValue(readAppSetting(key));
}

bool writeAppSetting(const QString &group, const QString &key, const QString &value)
{
    return writeProfileString(appIniPath(), group, key, value);
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
    const QString channel = readProfileKey(ownAppIniPath(), QStringLiteral("Install/channel"));
    return channel.isEmpty() ? QStringLiteral("default") : channel;
}

bool markInstallActive()
{
    if (readProfileKey(ownAppIniPath(), QStringLiteral("Install/active")) == QLatin1String("1"))
        return false;
    // "Written" only once the file really holds it.
    return writeProfileString(ownAppIniPath(), QStringLiteral("Install"), QStringLiteral("active"),
                              QStringLiteral("1"));
}

QString nativeInstallName()
{
    const QString path = ownAppIniPath();
    if (readProfileKey(path, QStringLiteral("Install/native")) != QLatin1String("1"))
        return QString();
    return readProfileKey(path, QStringLiteral("Install/name"));
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
    return readProfileKey(toolIniPath(), key);
}

bool writeToolSetting(const QString &group, const QString &key, const QString &value)
{
    return writeProfileString(toolIniPath(), group, key, value);
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
