#include "Launch.h"

#include "AppSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

bool needsUninstallReturn()
{
    return readAppSetting(QStringLiteral("user/uninstreturn")).toInt() <= 0;
}

int readUserType()
{
    return readAppSetting(QStringLiteral("user/type")).toInt();
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

void openProgram(const QString &path)
{
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(path);
    ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(native.utf16()), L"", nullptr,
                  SW_SHOWNORMAL);
#else
    QProcess::startDetached(path, QStringList());
#endif
}
