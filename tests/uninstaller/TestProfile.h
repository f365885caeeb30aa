#pragma once
// A throw-away user profile for the uninstaller's tests, with fake outside programs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QVector>

#include <utility>

class TestProfile
{
public:
    TestProfile();

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    // Laid out as on Windows so the data folder is AppData/Roaming/Velmora.
    QString roamingDir() const { return root() + QStringLiteral("/AppData/Roaming"); }
    QString dataDir() const { return roamingDir() + QStringLiteral("/Velmora"); }
    QString appIniPath() const { return dataDir() + QStringLiteral("/APP.ini"); }
    // Where Qt puts the uninstaller's own per-user folder.
    QString ownDataDir() const { return roamingDir() + QStringLiteral("/ZVUnInstall"); }

    // Environment for a child process, and the same settings for this process.
    QProcessEnvironment environment() const;
    void applyToThisProcess() const;

    // Writes APP.ini as the application and the setup program leave it: plain UTF-8 INI.
    // Each entry is a "section/name" key and its value.
    void writeAppIni(const QVector<std::pair<QString, QString>> &entries) const;

private:
    QTemporaryDir m_dir;
};

// Writes an INI file as plain UTF-8 text; entries are "section/name" keys with their values.
void writeIniFile(const QString &path, const QVector<std::pair<QString, QString>> &entries);

// Writes an executable script at path that appends "run" and one "arg:" line per argument
// to logPath, then runs the shell commands in extra.
void writeFakeProgram(const QString &path, const QString &logPath, const QString &extra = QString());

// The argument lists of the runs a fake program logged, in order; empty when it never ran.
QVector<QStringList> loggedRuns(const QString &logPath);

// Polls until cond holds or timeoutMs passes, processing events meanwhile.
template <typename Cond>
bool waitUntil(Cond cond, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!cond()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}
