#include "AppSettings.h"

#include <QDateTime>
#include <QDir>
#include <QPoint>
#include <QSettings>
#include <QStandardPaths>
#include <QTextCodec>
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
