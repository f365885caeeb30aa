#include "Launch.h"

#include "AppSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

bool needsUninstallReturn()
{
    return readAppIntSetting(QStringLiteral("user/uninstreturn")) <= 0;
}

int readUserType()
{
    return readAppIntSetting(QStringLiteral("user/type"));
}

QString installFolder()
{
    const QString folder = readAppPathSetting(QStringLiteral("Install/exepath"));
    if (folder.isEmpty())
        return QString();
    const QFileInfo info(folder);
    if (!info.isAbsolute() || !info.isDir())
        return QString();
    return folder;
}

bool runRetentionHandOff(int waitMs)
{
    const QString folder = installFolder();
    if (folder.isEmpty())
        return false;

    const int before = readUserType();
    auto process = std::make_unique<QProcess>();
    // No pipes to us: the program may outlive this process.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(folder + QStringLiteral("/Velmora.exe"), {QStringLiteral("-uninstall")},
                   QIODevice::ReadWrite);
    process->waitForFinished(waitMs);
    if (process->state() != QProcess::NotRunning) {
        // Destroying a QProcess kills its program, and the user may still be in the
        // application's screen: let the object go without destroying it.
        static_cast<void>(process.release());
    }

    const int after = readUserType();
    return after != before && after > 1;
}

bool openProgram(const QString &path)
{
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(path);
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(native.utf16()),
                                           L"", nullptr, SW_SHOWNORMAL);
    // Values up to 32 are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
#else
    return QProcess::startDetached(path, QStringList());
#endif
}

RemoverStart startRemover()
{
    const QString folder = installFolder();
    if (folder.isEmpty())
        return RemoverStart::NoInstallFolder;
    const QString source = folder + QStringLiteral("/uninst.data");
    const QString target = folder + QStringLiteral("/nuninst.exe");

    if (QFileInfo(source).isFile()) {
        // QFile::rename never overwrites. A nuninst.exe that cannot go (still running, or a
        // folder) makes the move fail, and that is said.
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            QFile::remove(target);
        if (!QFile::rename(source, target))
            return RemoverStart::MoveFailed;
    } else if (!QFileInfo(target).isFile()) {
        return RemoverStart::NoRemover;
    }
    return openProgram(target) ? RemoverStart::Started : RemoverStart::OpenFailed;
}
