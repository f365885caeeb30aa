#include "ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextCodec>
#include <QVector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// APP.ini holds a few short lines; anything far larger is not it.
constexpr qint64 kMaxProfileBytes = 1 << 20;

// --- code pages ---

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

// Characters the code page lacks come out as its default character; callers read the bytes back
// to see whether anything was lost.
QByteArray toSystemCodePage(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
#ifdef Q_OS_WIN
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, text.size(), nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return QByteArray();
    QByteArray bytes(length, Qt::Uninitialized);
    if (WideCharToMultiByte(CP_ACP, 0, wide, text.size(), bytes.data(), length, nullptr, nullptr) != length)
        return QByteArray();
    return bytes;
#else
    QTextCodec *codec = QTextCodec::codecForLocale();
    return codec ? codec->fromUnicode(text) : text.toLatin1();
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

// --- the file as lines ---

enum class Encoding {
    Bytes,   // no byte-order mark: UTF-8 or code page, line by line
    Utf8Bom, // read as Bytes, written as UTF-8
    Utf16Le,
    Utf16Be,
};

struct Line {
    int begin = 0; // byte offsets of the text, without the line break
    int end = 0;
    QString text;
};

struct Profile {
    QByteArray bytes;
    Encoding encoding = Encoding::Bytes;
    int bodyBegin = 0; // after the byte-order mark
    int bodyEnd = 0;   // before an odd last byte of a UTF-16 file
    QString lineBreak = QStringLiteral("\r\n");
    QVector<Line> lines; // the lines that hold anything
};

bool isUtf16(Encoding encoding)
{
    return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
}

ushort unitAt(const Profile &profile, int at)
{
    const auto byte = [&](int i) { return static_cast<ushort>(static_cast<uchar>(profile.bytes.at(i))); };
    switch (profile.encoding) {
    case Encoding::Utf16Le:
        return static_cast<ushort>(byte(at) | byte(at + 1) << 8);
    case Encoding::Utf16Be:
        return static_cast<ushort>(byte(at) << 8 | byte(at + 1));
    default:
        return byte(at);
    }
}

int unitSize(const Profile &profile)
{
    return isUtf16(profile.encoding) ? 2 : 1;
}

bool isLineBreak(ushort unit)
{
    return unit == '\r' || unit == '\n';
}

QString decode(const Profile &profile, int begin, int end)
{
    if (!isUtf16(profile.encoding))
        return fromUtf8OrCodePage(profile.bytes.mid(begin, end - begin));
    QString text;
    text.reserve((end - begin) / 2);
    for (int at = begin; at < end; at += 2)
        text.append(QChar(unitAt(profile, at)));
    return text;
}

QByteArray encodeUtf16(const QString &text, Encoding encoding)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        const char low = static_cast<char>(c.unicode() & 0xFF);
        const char high = static_cast<char>(c.unicode() >> 8);
        bytes.append(encoding == Encoding::Utf16Le ? low : high);
        bytes.append(encoding == Encoding::Utf16Le ? high : low);
    }
    return bytes;
}

Profile parseProfile(const QByteArray &bytes)
{
    Profile profile;
    profile.bytes = bytes;
    if (bytes.startsWith("\xFF\xFE")) {
        profile.encoding = Encoding::Utf16Le;
        profile.bodyBegin = 2;
    } else if (bytes.startsWith("\xFE\xFF")) {
        profile.encoding = Encoding::Utf16Be;
        profile.bodyBegin = 2;
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        profile.encoding = Encoding::Utf8Bom;
        profile.bodyBegin = 3;
    }
    const int unit = unitSize(profile);
    profile.bodyEnd = bytes.size() - (bytes.size() - profile.bodyBegin) % unit;

    bool breakSeen = false;
    int begin = profile.bodyBegin;
    for (int at = profile.bodyBegin; at <= profile.bodyEnd; at += unit) {
        const bool atEnd = at == profile.bodyEnd;
        const ushort c = atEnd ? 0 : unitAt(profile, at);
        if (!atEnd && !isLineBreak(c))
            continue;
        if (!atEnd && !breakSeen) {
            breakSeen = true;
            const bool crlf = c == '\r' && at + unit < profile.bodyEnd && unitAt(profile, at + unit) == '\n';
            profile.lineBreak = crlf ? QStringLiteral("\r\n") : QString(QChar(c));
        }
        if (at > begin)
            profile.lines.append({begin, at, decode(profile, begin, at)});
        begin = at + unit;
    }
    return profile;
}

// --- finding an entry ---

bool sectionHeader(const QString &entry, QString *name)
{
    if (!entry.startsWith(QLatin1Char('[')))
        return false;
    const int close = entry.lastIndexOf(QLatin1Char(']'));
    if (close < 1)
        return false;
    *name = entry.mid(1, close - 1);
    return true;
}

QString entryName(const QString &entry)
{
    const int equals = entry.indexOf(QLatin1Char('='));
    return (equals < 0 ? entry : entry.left(equals)).trimmed();
}

// Where section/name is, as the profile functions find it; indexes into Profile::lines.
struct Location {
    int section = -1; // the header of the first section of the name
    int last = -1;    // the last line of that section (its header when it holds nothing)
    int entry = -1;
};

Location locate(const Profile &profile, const QString &section, const QString &name)
{
    Location location;
    for (int i = 0; i < profile.lines.size(); ++i) {
        const QString entry = profile.lines.at(i).text.trimmed();
        if (entry.isEmpty())
            continue;
        QString header;
        if (sectionHeader(entry, &header)) {
            if (location.section >= 0)
                break; // a later section of the same name is never looked in
            if (header.compare(section, Qt::CaseInsensitive) == 0)
                location.section = location.last = i;
            continue;
        }
        if (location.section < 0)
            continue;
        location.last = i;
        if (location.entry < 0 && entryName(entry).compare(name, Qt::CaseInsensitive) == 0)
            location.entry = i;
    }
    return location;
}

// A value of more than one character that starts and ends with the same quote (" or ').
bool inOwnQuotes(const QString &value)
{
    const QChar first = value.isEmpty() ? QChar() : value.front();
    return value.size() >= 2 && (first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first;
}

QString entryValue(const QString &line)
{
    const QString entry = line.trimmed();
    const int equals = entry.indexOf(QLatin1Char('='));
    if (equals < 0)
        return QString();
    QString value = entry.mid(equals + 1).trimmed();
    if (inOwnQuotes(value))
        value = value.mid(1, value.size() - 2);
    // Present but empty is not missing.
    return value.isNull() ? QStringLiteral("") : value;
}

bool readProfile(const QString &path, Profile *profile)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *profile = parseProfile(QByteArray());
        return true;
    }
    QFile file(path);
    if (!info.isFile() || info.size() > kMaxProfileBytes || !file.open(QIODevice::ReadOnly))
        return false;
    *profile = parseProfile(file.readAll());
    return true;
}

// --- writing ---

// One change of the file: the bytes from `at` on, `remove` long, give way to `text`.
struct Edit {
    int at = 0;
    int remove = 0;
    QString text;
};

// The first "=" of a line, as a byte offset; -1 when it has none. In the code pages that matter
// here no second byte of a character is below 0x40, so the byte "=" is the character.
int equalsOffset(const Profile &profile, const Line &line)
{
    const int unit = unitSize(profile);
    for (int at = line.begin; at < line.end; at += unit) {
        if (unitAt(profile, at) == '=')
            return at;
    }
    return -1;
}

Edit planEdit(const Profile &profile, const QString &section, const QString &name, const QString &stored)
{
    const Location location = locate(profile, section, name);
    Edit edit;
    if (location.entry >= 0) {
        const Line &line = profile.lines.at(location.entry);
        const int equals = equalsOffset(profile, line);
        if (equals < 0) {
            edit.at = line.end;
            edit.text = QLatin1Char('=') + stored;
        } else {
            edit.at = equals + unitSize(profile);
            edit.remove = line.end - edit.at;
            edit.text = stored;
        }
    } else if (location.section >= 0) {
        edit.at = profile.lines.at(location.last).end;
        edit.text = profile.lineBreak + name + QLatin1Char('=') + stored;
    } else {
        edit.at = profile.bodyEnd;
        const bool endsInBreak = profile.bodyEnd == profile.bodyBegin
                                 || isLineBreak(unitAt(profile, profile.bodyEnd - unitSize(profile)));
        edit.text = (endsInBreak ? QString() : profile.lineBreak) + QLatin1Char('[') + section
                    + QLatin1Char(']') + profile.lineBreak + name + QLatin1Char('=') + stored
                    + profile.lineBreak;
    }
    return edit;
}

QByteArray encodeFor(const Profile &profile, const QString &text)
{
    switch (profile.encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return encodeUtf16(text, profile.encoding);
    case Encoding::Utf8Bom:
        return text.toUtf8();
    case Encoding::Bytes:
        break;
    }
    return toSystemCodePage(text);
}

// The file as UTF-16LE with a byte-order mark, each line as the reader decoded it.
Profile asUtf16(const Profile &profile)
{
    QString text;
    int at = profile.bodyBegin;
    for (const Line &line : profile.lines) {
        text += QString::fromLatin1(profile.bytes.mid(at, line.begin - at)); // line breaks only
        text += line.text;
        at = line.end;
    }
    text += QString::fromLatin1(profile.bytes.mid(at, profile.bodyEnd - at));
    return parseProfile(QByteArray("\xFF\xFE") + encodeUtf16(text, Encoding::Utf16Le));
}

QByteArray applied(const Profile &profile, const Edit &edit)
{
    QByteArray bytes = profile.bytes;
    return bytes.replace(edit.at, edit.remove, encodeFor(profile, edit.text));
}

bool readsBack(const QByteArray &bytes, const QString &section, const QString &name, const QString &value)
{
    const Profile written = parseProfile(bytes);
    const Location location = locate(written, section, name);
    return location.entry >= 0 && entryValue(written.lines.at(location.entry).text) == value;
}

// Blanks at the ends of a value, and a pair of quotes around it, go on reading; one more pair of
// quotes keeps them.
QString storedValue(const QString &value)
{
    if (value.isEmpty())
        return value;
    const bool blankEnds = value.front().isSpace() || value.back().isSpace();
    return blankEnds || inOwnQuotes(value) ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

bool holdsLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

} // namespace

QString readProfileString(const QString &path, const QString &section, const QString &name)
{
    Profile profile;
    if (!readProfile(path, &profile))
        return QString();
    const Location location = locate(profile, section.trimmed(), name.trimmed());
    return location.entry < 0 ? QString() : entryValue(profile.lines.at(location.entry).text);
}

int profileInt(const QString &value)
{
    int i = 0;
    while (i < value.size() && value.at(i).unicode() <= ' ')
        ++i;
    bool negative = false;
    if (i < value.size() && (value.at(i) == QLatin1Char('+') || value.at(i) == QLatin1Char('-'))) {
        negative = value.at(i) == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i + 1 < value.size() && value.at(i) == QLatin1Char('0')) {
        const QChar prefix = value.at(i + 1);
        base = prefix == QLatin1Char('x') ? 16 : prefix == QLatin1Char('o') ? 8 : prefix == QLatin1Char('b') ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    quint32 result = 0; // unsigned: the number wraps at 32 bits as Windows' does
    for (; i < value.size(); ++i) {
        const ushort c = value.at(i).unicode();
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'z' ? c - 'a' + 10
                          : c >= 'A' && c <= 'Z' ? c - 'A' + 10
                                                 : 99;
        if (digit >= base)
            break;
        result = result * static_cast<quint32>(base) + static_cast<quint32>(digit);
    }
    return static_cast<int>(negative ? 0u - result : result);
}

bool writeProfileString(const QString &path, const QString &section, const QString &name,
                        const QString &value)
{
    const QString sectionName = section.trimmed();
    const QString entryKey = name.trimmed();
    if (sectionName.isEmpty() || entryKey.isEmpty() || holdsLineBreak(sectionName)
        || holdsLineBreak(entryKey) || holdsLineBreak(value) || entryKey.contains(QLatin1Char('='))
        || entryKey.startsWith(QLatin1Char('[')))
        return false;

    Profile profile;
    if (!readProfile(path, &profile))
        return false;
    const QString stored = storedValue(value);
    Edit edit = planEdit(profile, sectionName, entryKey, stored);
    QByteArray bytes = applied(profile, edit);
    // Code-page bytes must read back the same as code-page text (the profile functions) and by
    // the UTF-8-first rule (this reader); where they cannot, the file becomes a Unicode one,
    // which the profile functions keep as it is.
    if (profile.encoding == Encoding::Bytes
        && (fromSystemCodePage(toSystemCodePage(edit.text)) != edit.text
            || !readsBack(bytes, sectionName, entryKey, value))) {
        profile = asUtf16(profile);
        edit = planEdit(profile, sectionName, entryKey, stored);
        bytes = applied(profile, edit);
    }
    if (!readsBack(bytes, sectionName, entryKey, value))
        return false;

    // QSettings, which kept these files before, made a missing folder; callers rely on that.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    // Replacing the file needs a temporary file beside it; where the folder allows none, write
    // in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}
