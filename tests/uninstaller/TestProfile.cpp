#include "TestProfile.h"

#include <QDir>
#include <QFile>

namespace {

QString shellQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

TestProfile::TestProfile()
{
    QDir().mkpath(dataDir());
    QDir().mkpath(root() + QStringLiteral("/config"));
    QDir().mkpath(root() + QStringLiteral("/runtime"));
    QFile::setPermissions(root() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QProcessEnvironment TestProfile::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), root());
    env.insert(QStringLiteral("XDG_DATA_HOME"), roamingDir());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root() + QStringLiteral("/runtime"));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

void TestProfile::applyToThisProcess() const
{
    const QProcessEnvironment env = environment();
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, env.value(QLatin1String(name)).toLocal8Bit());
}

void TestProfile::writeAppIni(const QVector<std::pair<QString, QString>> &entries) const
{
    writeIniFile(appIniPath(), entries);
}

void writeIniFile(const QString &path, const QVector<std::pair<QString, QString>> &entries)
{
    QString text;
    QString section;
    for (const auto &entry : entries) {
        const QString entrySection = entry.first.section(QLatin1Char('/'), 0, 0);
        if (entrySection != section) {
            section = entrySection;
            text += QStringLiteral("[%1]\r\n").arg(section);
        }
        text += QStringLiteral("%1=%2\r\n").arg(entry.first.section(QLatin1Char('/'), 1), entry.second);
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

void writeFakeProgram(const QString &path, const QString &logPath, const QString &extra)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const QString log = shellQuote(logPath);
    QString script = QStringLiteral("#!/bin/sh\n"
                                    "{ echo run; for a in \"$@\"; do echo \"arg:$a\"; done; } >> %1\n")
                         .arg(log);
    script += extra + QLatin1Char('\n');
    file.write(script.toUtf8());
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                        | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
}

QVector<QStringList> loggedRuns(const QString &logPath)
{
    QVector<QStringList> runs;
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return runs;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line == QLatin1String("run"))
            runs.append(QStringList());
        else if (line.startsWith(QLatin1String("arg:")) && !runs.isEmpty())
            runs.last().append(line.mid(4));
    }
    return runs;
}
