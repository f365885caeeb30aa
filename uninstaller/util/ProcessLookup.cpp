#include "ProcessLookup.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <tlhelp32.h>
#else
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#endif

namespace {

#ifdef Q_OS_WIN

class SnapshotHandle
{
public:
    explicit SnapshotHandle(HANDLE handle) : m_handle(handle) {}
    ~SnapshotHandle()
    {
        if (IsValid())
            CloseHandle(m_handle);
    }
    SnapshotHandle(const SnapshotHandle &) = delete;
    SnapshotHandle &operator=(const SnapshotHandle &) = delete;

    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

#else

QByteArray readProcFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// The executable's file name as the Windows snapshot would give it: the file, not the path.
QString executableName(const QString &procDir)
{
    QString target = QFile::symLinkTarget(procDir + QStringLiteral("/exe"));
    const QString deleted = QStringLiteral(" (deleted)");
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    if (!target.isEmpty())
        return QFileInfo(target).fileName();

    const QByteArray commandLine = readProcFile(procDir + QStringLiteral("/cmdline"));
    const QByteArray first = commandLine.left(commandLine.indexOf('\0'));
    if (!first.isEmpty())
        return QFileInfo(QFile::decodeName(first)).fileName();

    const QByteArray stat = readProcFile(procDir + QStringLiteral("/stat"));
    const int open = stat.indexOf('(');
    const int close = stat.lastIndexOf(')');
    if (open >= 0 && close > open)
        return QFile::decodeName(stat.mid(open + 1, close - open - 1));
    return QString();
}

bool parentProcessId(const QString &procDir, quint32 *parent)
{
    // "pid (comm) state ppid ...": the command name may hold blanks and ")", so read after the last one.
    const QByteArray stat = readProcFile(procDir + QStringLiteral("/stat"));
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return false;
    const QList<QByteArray> fields = stat.mid(close + 1).simplified().split(' ');
    if (fields.size() < 2)
        return false;
    bool ok = false;
    *parent = fields.at(1).toUInt(&ok);
    return ok;
}

#endif

} // namespace

ProcessMap findProcessesByName(const QString &name)
{
    ProcessMap processes;
    if (name.isEmpty())
        return processes;

#ifdef Q_OS_WIN
    SnapshotHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid())
        return processes;
    PROCESSENTRY32W entry = {};
    // The record is larger in 64-bit builds; the size must be this build's.
    entry.dwSize = sizeof(entry);
    if (!Process32FirstW(snapshot.Get(), &entry))
        return processes;
    do {
        if (QString::fromWCharArray(entry.szExeFile) == name)
            processes[entry.th32ProcessID] = entry.th32ParentProcessID;
    } while (Process32NextW(snapshot.Get(), &entry));
#else
    const QStringList ids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &idText : ids) {
        bool numeric = false;
        const quint32 id = idText.toUInt(&numeric);
        if (!numeric)
            continue;
        const QString procDir = QStringLiteral("/proc/") + idText;
        // A process may end while it is read; it then simply drops out.
        quint32 parent = 0;
        if (executableName(procDir) == name && parentProcessId(procDir, &parent))
            processes[id] = parent;
    }
#endif
    return processes;
}
