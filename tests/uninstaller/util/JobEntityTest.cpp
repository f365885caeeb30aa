// The job base: run on its own thread, signals delivered to receivers elsewhere.

#include "JobEntity.h"

#include <QSignalSpy>
#include <QTest>

namespace {

class CountingJob : public JobEntity
{
public:
    ~CountingJob() override { wait(); }

    QThread *ranOn = nullptr;
    quint32 hookValue = 0;

    void entityHook(quint32 value) override { hookValue = value; }

protected:
    void run() override
    {
        ranOn = QThread::currentThread();
        emit entityValid(true);
        emit percentage(50);
        emit percentage(100, 4096);
        emit showbt(2);
        emit ProcessResult(true);
        emit entityFinished(7, 0, QStringLiteral("完成"));
    }
};

class QuietJob : public JobEntity
{
protected:
    void run() override {}
};

} // namespace

class JobEntityTest : public QObject
{
    Q_OBJECT

private slots:
    void runsOnItsOwnThreadAndReports()
    {
        CountingJob job;
        QSignalSpy finished(&job, &JobEntity::entityFinished);
        QSignalSpy progress(&job, &JobEntity::percentage);
        QSignalSpy valid(&job, &JobEntity::entityValid);
        QSignalSpy result(&job, &JobEntity::ProcessResult);
        QSignalSpy button(&job, &JobEntity::showbt);
        // A receiver living on this thread gets the signals queued, on this thread.
        QThread *deliveredOn = nullptr;
        QObject receiver;
        connect(&job, &JobEntity::entityFinished, &receiver,
                [&deliveredOn] { deliveredOn = QThread::currentThread(); });
        job.start();
        QVERIFY(job.wait(5000));
        QTRY_COMPARE(deliveredOn, QThread::currentThread());

        QVERIFY(job.ranOn != nullptr);
        QVERIFY(job.ranOn != QThread::currentThread());
        QCOMPARE(valid.count(), 1);
        QCOMPARE(result.count(), 1);
        QCOMPARE(button.count(), 1);
        QCOMPARE(button.at(0).at(0).toInt(), 2);
        QCOMPARE(progress.count(), 2);
        QCOMPARE(progress.at(0).at(0).toInt(), 50);
        QCOMPARE(progress.at(0).at(1).toLongLong(), 0LL); // one argument means size 0
        QCOMPARE(progress.at(1).at(1).toLongLong(), 4096LL);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toULongLong(), 7ULL);
        QCOMPARE(finished.at(0).at(2).toString(), QStringLiteral("完成"));
    }

    void hookIsVirtualAndIgnoredByTheBase()
    {
        CountingJob counting;
        JobEntity &asBase = counting;
        asBase.entityHook(0xDEADBEEFu);
        QCOMPARE(counting.hookValue, 0xDEADBEEFu);

        QuietJob quiet;
        quiet.entityHook(1);
        quiet.start();
        QVERIFY(quiet.wait(5000));
        QVERIFY(quiet.isFinished());
    }
};

QTEST_GUILESS_MAIN(JobEntityTest)
#include "JobEntityTest.moc"
