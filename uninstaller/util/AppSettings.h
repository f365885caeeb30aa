#pragma once
// Per-user data folder, the INI settings files beside it, and centring one widget over another.

#include <QString>

class QWidget;

// --- the product's APP.ini (shared with the application and the setup program) ---

// The product's per-user data folder: the text before the last "Roaming" of Qt's
// AppDataLocation, then "/Roaming/Velmora" (so usually with a doubled separator, which
// Windows and Qt both accept). When the location holds no "Roaming", as under XDG on
// Linux, the whole location is followed by "/Roaming/Velmora". The folder is made when
// missing (one level only: its parent must exist); the path is returned either way.
QString appDataDir();

// appDataDir() + "/APP.ini"; empty when appDataDir() is empty.
QString appIniPath();

// The value of key ("section/name") in APP.ini as the program that wrote it meant it: read
// with the Windows private-profile functions' rules (readProfileString in ProfileFile.h), the
// file anew on every call. Empty when the file, section or key is missing.
QString readAppSetting(const QString &key);

// The value of key as a number, as GetPrivateProfileInt reads it (profileInt): leading digits,
// 0 when missing or when there are none.
int readAppIntSetting(const QString &key);

// A folder path stored under key in APP.ini. The application writes it with the profile
// functions, which keep single backslashes as they are; a value in Qt's form (backslashes
// doubled, or forward slashes, with Qt's escapes) reads as QSettings reads it.
QString readAppPathSetting(const QString &key);

// Stores value under group/key in APP.ini so that the profile functions read it back
// (writeProfileString); false when it could not be stored.
bool writeAppSetting(const QString &group, const QString &key, const QString &value);

// --- CONFIG.dat in the running program's own AppDataLocation (QSettings' own file) ---

QString configFilePath();
QString readConfigValue(const QString &key);
int readConfigInt(const QString &group, const QString &key);
void writeConfigValue(const QString &group, const QString &key, const QString &value);

// Whether init/activity (seconds since 1970, UTC) lies less than one day before now.
// A stamp equal to now or in the future is not recent.
bool isActivityRecent();

// The stored user/uuid; a new one is made and stored on first use.
QString userUuid();

// A new random UUID as 32 lower-case hexadecimal digits.
QString newUuidText();

// --- APP.ini in the running program's own AppDataLocation, read and written as the product's ---

// Install/channel, or "default" when it is empty.
QString installChannel();

// Sets Install/active to "1"; false when it already reads "1" (nothing is written then) or when
// the file cannot be written.
bool markInstallActive();

// Install/name when Install/native reads "1", otherwise empty.
QString nativeInstallName();

// --- the sibling tool's APP.ini ---

// AppDataLocation with "Tavrell" replaced by "Velmora", made when missing (one level),
// followed by "/APP.ini".
QString toolIniPath();
// Read and written as the product's APP.ini.
QString readToolSetting(const QString &key);
bool writeToolSetting(const QString &group, const QString &key, const QString &value);

// --- placement ---

// Moves widget so that it is centred over over. With local true the offset is used as it
// is (widget a child of over); otherwise it is mapped from over to screen coordinates.
// Does nothing when either pointer is null.
void centerOver(QWidget *widget, QWidget *over, bool local);
