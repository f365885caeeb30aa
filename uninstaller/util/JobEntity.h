#pragma once
// Base of background jobs that run on a thread of their own and report through signals.

#include <QString>
#include <QThread>

// A job class supplies run(); the signals are emitted from the job's thread, so receivers
// in other threads get them queued. A job class that can be destroyed while running waits
// for its run in its own destructor, before its data goes.
class JobEntity : public QThread
{
    Q_OBJECT

public:
    explicit JobEntity(QObject *parent = nullptr) : QThread(parent) {}

protected:
    void run() override = 0;

public:
    // A hook a job class may give a meaning; the base ignores the value.
    virtual void entityHook(quint32 value);

signals:
    void entityFinished(qulonglong id, int ret, QString);
    void entityCancel(qulonglong id, int ret);
    void showbt(int);
    void percentage(int, qlonglong size = 0);
    void entityValid(bool);
    void ProcessResult(bool result);
};
