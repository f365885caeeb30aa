#include "FileFunctions.h"

#include "TextFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QUuid>

namespace {

const char kProductName[] = "Velmora";

#ifdef Q_OS_WIN
const Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
const Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

bool endsWithAny(const QString &name, const char *const *suffixes, Qt::CaseSensitivity cs)
{
    for (const char *const *suffix = suffixes; *suffix; ++suffix) {
        if (name.endsWith(QLatin1String(*suffix), cs))
            return true;
    }
    return false;
}

// --- path identity ---

QString cleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The path with links resolved as far as it exists; the missing tail is kept as written.
QString resolvedPath(const QString &path)
{
    QString existing = cleanAbsolute(path);
    QString tail;
    while (!QFileInfo::exists(existing)) {
        const int slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0)
            break;
        tail.prepend(existing.mid(slash));
        existing.truncate(slash);
        if (existing.endsWith(QLatin1Char(':'))) // keep "C:/", not the drive-relative "C:"
            existing += QLatin1Char('/');
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    if (canonical.isEmpty())
        return cleanAbsolute(path);
    return QDir::cleanPath(canonical + tail);
}

bool isSameOrInside(const QString &path, const QString &folder)
{
    if (path.compare(folder, kPathCase) == 0)
        return true;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix, kPathCase);
}

bool isSameFile(const QString &a, const QString &b)
{
    return resolvedPath(a).compare(resolvedPath(b), kPathCase) == 0;
}

bool isLink(const QFileInfo &info)
{
#ifdef Q_OS_WIN
    return info.isSymLink() || info.isJunction();
#else
    return info.isSymLink();
#endif
}

// --- single files ---

// Replaces an existing destination by a copy of source. The old file is moved aside
// first so that a failed copy can put it back instead of losing it.
bool replaceByCopy(const QString &source, const QString &destination)
{
    const QFileInfo target(destination);
    if (target.isDir() && !isLink(target))
        return false;
#ifdef Q_OS_WIN
    // Windows refuses to delete a read-only file, so a read-only destination stays as it is.
    if (!target.isWritable())
        return false;
#endif
    const QString aside = target.absolutePath() + QLatin1Char('/') + target.fileName()
                          + QStringLiteral(".old-") + QUuid::createUuid().toString(QUuid::Id128);
    if (!QFile::rename(destination, aside))
        return false;
    if (QFile::copy(source, destination)) {
        QFile::remove(aside);
        return true;
    }
    if (QFileInfo::exists(destination) || QFileInfo(destination).isSymLink())
        QFile::remove(destination);
    QFile::rename(aside, destination);
    return false;
}

bool copyOneFile(const QString &source, const QString &destination, bool overwrite)
{
    if (isSameFile(source, destination))
        return true; // removing the target would remove the source
    const QFileInfo target(destination);
    if (target.exists() || target.isSymLink()) {
        if (!overwrite)
            return false;
        return replaceByCopy(source, destination);
    }
    return QFile::copy(source, destination);
}

// --- deleting ---

// Removes a link itself; a link to a folder on Windows needs the folder call.
void removeLink(const QString &path)
{
    if (!QFile::remove(path))
        QDir().rmdir(path);
}

void removeContents(const QString &folder, bool removeFolders)
{
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Drives | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString entryPath = folder + QLatin1Char('/') + entry.fileName();
        if (isLink(entry))
            removeLink(entryPath); // never walk into what a link points at
        else if (entry.isDir())
            removeDirectory(entryPath, removeFolders);
        else
            QFile::remove(entryPath);
    }
}

// --- copying ---

struct CopyWalk
{
    bool overwrite = false;
    QStringList openFolders; // resolved source folders being copied, to stop link loops
};

bool copyTree(const QString &source, const QString &destination, CopyWalk &walk, bool strict,
              bool skipConfig)
{
    const QString sourceFolder = resolvedPath(source);
    // Copying a folder into itself would feed on its own output; into the same folder
    // with overwrite it would remove each file before copying it.
    if (isSameOrInside(resolvedPath(destination), sourceFolder))
        return false;
    if (walk.openFolders.contains(sourceFolder, kPathCase))
        return false;

    QDir target(destination);
    if (!target.exists() && !target.mkdir(target.absolutePath()))
        return false;

    walk.openFolders.append(sourceFolder);
    bool ok = true;
    const QFileInfoList entries = QDir(source).entryInfoList();
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        if (skipConfig && name == QLatin1String("CONFIG"))
            continue;
        const QString from = entry.filePath();
        const QString to = target.filePath(name);
        const bool copied = entry.isDir() ? copyTree(from, to, walk, false, true)
                                          : copyOneFile(from, to, walk.overwrite);
        if (!copied && strict) {
            ok = false;
            break;
        }
    }
    walk.openFolders.removeLast();
    return ok;
}

bool hasChineseCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FA5)
            return true;
    }
    return false;
}

} // namespace

// --- folders ---

bool ensureDir(const QString &path)
{
    if (path.isEmpty())
        return false;
    QDir current;
    if (current.exists(path))
        return true;
    return current.mkdir(path);
}

bool ensurePath(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (QDir(path).exists())
        return true;
    return QDir().mkpath(path);
}

QString tempWorkDir()
{
    const QString folder = QDir::tempPath() + QLatin1Char('/') + QLatin1String(kProductName)
                           + QLatin1Char('/');
    if (ensurePath(folder))
        return folder;
    return QDir::tempPath() + QLatin1Char('/');
}

QString appDirPath()
{
    return QCoreApplication::applicationDirPath();
}

QString emptyText()
{
    return QString();
}

// --- names ---

bool isImageFile(const QString &name)
{
    static const char *const suffixes[] = {".jpg", ".jpeg", ".gif", ".png", ".bmp", ".tif", ".tiff",
                                           nullptr};
    return !name.isEmpty() && endsWithAny(name.toLower(), suffixes, Qt::CaseSensitive);
}

bool isPdfFile(const QString &name)
{
    static const char *const suffixes[] = {".pdf", nullptr};
    return !name.isEmpty() && endsWithAny(name.toLower(), suffixes, Qt::CaseSensitive);
}

bool isOfficeFile(const QString &name)
{
    static const char *const suffixes[] = {".xlsx", ".xls", ".et", ".docx", ".doc", ".wps",
                                           ".pptx", ".ppt", ".dps", nullptr};
    return endsWithAny(name, suffixes, Qt::CaseInsensitive);
}

bool isDriveRoot(const QString &path)
{
    return (path.size() == 2 || path.size() == 3) && path.at(1) == QLatin1Char(':');
}

bool hasDrivePrefix(const QString &path)
{
    return path.size() > 1 && path.at(1) == QLatin1Char(':');
}

qint64 fileSizeOf(const QString &path)
{
    if (path.isEmpty() || !QFile::exists(path))
        return 0;
    const QFileInfo info(path);
    return info.isFile() ? info.size() : 0;
}

// --- copies ---

bool copyFileTo(const QString &source, QString &destination, bool overwrite)
{
    destination.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (source == destination)
        return true;
    if (!QFile::exists(source))
        return false;
    return copyOneFile(source, destination, overwrite);
}

QString copyBlankNamedToOutput(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (path.isEmpty() || slash < 0)
        return path;
    const QString name = path.mid(slash + 1);
    bool hasBlank = false;
    for (const QChar c : name)
        hasBlank = hasBlank || c.isSpace();
    if (!hasBlank)
        return path;

    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                           + QStringLiteral("/output/");
    if (!ensurePath(folder))
        return path;
    const QString target = folder + timeStampText() + QStringLiteral(".pdf");
    return copyOneFile(path, target, true) ? target : path;
}

void plainNameCopy(const QString &source, QString &path, QString &name, QString &suffix)
{
    const QFileInfo info(source);
    path = source;
    name = info.fileName();
    suffix = info.suffix();
    if (!hasChineseCharacter(source))
        return;

    const QString uuidName = QUuid::createUuid().toString();
    const QString copy = tempWorkDir() + uuidName + QLatin1Char('.') + suffix;
    if (QFile::copy(source, copy)) {
        path = copy;
        name = uuidName;
    }
}

// --- deleting ---

bool removeDirectory(const QString &path, bool removeSelf)
{
    if (path.isEmpty())
        return false;
    // Lexically cleaned, so that "a/link/.." means "a" for the walk and the removal alike.
    const QString folder = cleanAbsolute(path);
    const QFileInfo info(folder);
    if (isLink(info)) {
        if (!removeSelf)
            return true;
        removeLink(folder);
        const QFileInfo after(folder);
        return !after.exists() && !after.isSymLink();
    }
    if (!info.isDir())
        return true;
    removeContents(folder, removeSelf);
    // Only the folder itself: its parents are not ours to remove, empty or not.
    return !removeSelf || QDir().rmdir(folder);
}

void clearDirectory(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString folder = cleanAbsolute(path);
    const QFileInfo info(folder);
    if (isLink(info) || !info.isDir())
        return;
    removeContents(folder, true);
}

bool copyDirectory(const QString &source, const QString &destination, bool overwrite)
{
    CopyWalk walk;
    walk.overwrite = overwrite;
    return copyTree(source, destination, walk, false, true);
}

bool copyDirectoryStrict(const QString &source, const QString &destination, bool overwrite)
{
    CopyWalk walk;
    walk.overwrite = overwrite;
    return copyTree(source, destination, walk, true, false);
}
