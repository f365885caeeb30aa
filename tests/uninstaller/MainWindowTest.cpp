// Drives the uninstaller's window in-process with simulated input, against a throw-away
// profile with fake outside programs, and checks what the user and the file system see.

#include "MainWindow.h"
#include "MessageBoxDialog.h"
#include "StyleSheets.h"
#include "TestProfile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QString kProgress = QStringLiteral("正在卸载，请不要关闭 %1%");

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

public:
    explicit MainWindowTest(const TestProfile &profile) : m_profile(profile) {}

private slots:
    void init();
    void cleanup();

    void opensCentredWithTransparentMargin();
    void productNameInTitleOnlyOnFirstPage();
    void progressCountsToFinishPage();
    void continueMovesRemoverAndStartsItOnce_data();
    void continueMovesRemoverAndStartsItOnce();
    void removerThatCannotStartIsToldNotFinished_data();
    void removerThatCannotStartIsToldNotFinished();
    void pageButtonsCloseTheWindow_data();
    void pageButtonsCloseTheWindow();
    void installNewClosesThenOpensInstaller_data();
    void installNewClosesThenOpensInstaller();
    void minimizeButtonMinimizes();
    void closeAsksFirstOverDimmedWindow_data();
    void closeAsksFirstOverDimmedWindow();
    void progressGoesOnWhileBoxIsOpen();
    void dragByClientAreaMovesWindow_data();
    void dragByClientAreaMovesWindow();
    void boxDragsByTopRowOnly_data();
    void boxDragsByTopRowOnly();

private:
    template <typename T>
    T *child(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }
    int page() const { return child<QStackedWidget>("stackedWidget")->currentIndex(); }
    QString installDir() const { return m_profile.root() + QStringLiteral("/程序/Velmora"); }
    QString log(const char *name) const { return m_profile.root() + QLatin1Char('/') + QLatin1String(name); }
    void writeIni(const QString &exepath) const;
    struct BoxSeen
    {
        bool shown = false;
        bool overDimmedWindow = false;
        QPoint pos;
        QStringList texts; // title, tip, then the text of each visible button
        QImage picture;    // the box over the dimmed window, as the user sees it
    };
    // Clicks "继续卸载" and answers a box that comes up with its visible main button.
    BoxSeen clickContinue();
    // Clicks the title-row close button and runs inBox while the box is open.
    void withCloseBox(const std::function<void(MessageBoxDialog *)> &inBox);

    const TestProfile &m_profile;
    std::unique_ptr<MainWindow> m_window;
};

void MainWindowTest::writeIni(const QString &exepath) const
{
    m_profile.writeAppIni({{QStringLiteral("Install/exepath"), exepath},
                           {QStringLiteral("user/uninstreturn"), QStringLiteral("1")}});
}

void MainWindowTest::init()
{
    QDir(m_profile.root() + QStringLiteral("/程序")).removeRecursively();
    QVERIFY(QDir().mkpath(installDir()));
    for (const char *name : {"remover.log", "installer.log"})
        QFile::remove(log(name));
    QFile::remove(m_profile.dataDir() + QStringLiteral("/installer.exe"));
    writeIni(installDir());
    writeFakeProgram(installDir() + QStringLiteral("/uninst.data"), log("remover.log"));

    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void MainWindowTest::cleanup()
{
    m_window.reset();
    QDir::setCurrent(m_profile.root());
}

void MainWindowTest::withCloseBox(const std::function<void(MessageBoxDialog *)> &inBox)
{
    bool ran = false;
    QTimer::singleShot(50, [&] {
        ran = true;
        auto *box = qobject_cast<MessageBoxDialog *>(QApplication::activeModalWidget());
        inBox(box);
        // Never leave the nested loop running, whatever the check did.
        if (box && box->isVisible())
            box->reject();
    });
    QTest::mouseClick(child<QPushButton>("btn_close"), Qt::LeftButton);
    QVERIFY(ran);
}

MainWindowTest::BoxSeen MainWindowTest::clickContinue()
{
    BoxSeen seen;
    bool ran = false;
    QTimer::singleShot(50, [&] {
        ran = true;
        auto *box = qobject_cast<MessageBoxDialog *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.shown = box->isVisible() && box->isModal();
        auto *overlay = m_window->findChild<QWidget *>(QStringLiteral("ShadowWindowObj"));
        seen.overDimmedWindow = overlay && overlay->isVisible();
        seen.pos = box->pos();
        for (const char *name : {"label", "label_tips"})
            seen.texts.append(box->findChild<QLabel *>(QLatin1String(name))->text());
        QPushButton *answer = nullptr;
        for (const char *name : {"btn_ok", "btn_cancel"}) {
            auto *button = box->findChild<QPushButton *>(QLatin1String(name));
            if (button->isVisible()) {
                seen.texts.append(button->text());
                answer = button;
            }
        }
        seen.picture = m_window->grab().toImage();
        QPainter painter(&seen.picture);
        painter.drawImage(box->mapToGlobal(QPoint()) - m_window->mapToGlobal(QPoint()),
                          box->grab().toImage());
        painter.end();
        if (answer)
            QTest::mouseClick(answer, Qt::LeftButton);
        if (box->isVisible())
            box->reject();
    });
    QTest::mouseClick(child<QPushButton>("btn_continueUninstall"), Qt::LeftButton);
    waitUntil([&] { return ran; }, 3000);
    return seen;
}

// --- layout and pages ---

void MainWindowTest::opensCentredWithTransparentMargin()
{
    QCOMPARE(m_window->size(), QSize(718, 434));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(m_window->pos(), QPoint((screen.width() - 718) / 2, (screen.height() - 434) / 2));
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);

    // The 9-pixel margin is see-through but for a faint shadow; the page starts inside it.
    const QImage picture = m_window->grab().toImage();
    QVERIFY(qAlpha(picture.pixel(2, 200)) < 40);
    QVERIFY(qAlpha(picture.pixel(715, 200)) < 40);
    QCOMPARE(qAlpha(picture.pixel(300, 200)), 255);
    QCOMPARE(page(), 0);
}

void MainWindowTest::productNameInTitleOnlyOnFirstPage()
{
    for (const char *name : {"label_softName1", "label_softName", "label_softname3"})
        QCOMPARE(child<QLabel>(name)->text(), QStringLiteral("Velmora"));
    auto *title = child<QLabel>("label_softName1");
    QVERIFY(title->isVisible());
    QVERIFY(child<QWidget>("centralwidget")->styleSheet().contains(QLatin1String("bk01.png")));

    QTest::mouseClick(child<QPushButton>("btn_continueUninstall"), Qt::LeftButton);
    QCOMPARE(page(), 1);
    QVERIFY(!title->isVisible());
    QVERIFY(child<QWidget>("centralwidget")->styleSheet().contains(QLatin1String("bk02.png")));
}

void MainWindowTest::progressCountsToFinishPage()
{
    auto *label = child<QLabel>("label_2");
    QCOMPARE(label->text(), kProgress.arg(0));

    QStringList seen;
    QElapsedTimer clock;
    qint64 firstTickMs = -1;
    // The clock starts with the click: the remover is started inside it, after the timer.
    clock.start();
    QTest::mouseClick(child<QPushButton>("btn_continueUninstall"), Qt::LeftButton);
    QVERIFY(waitUntil(
        [&] {
            if (seen.isEmpty() || seen.last() != label->text()) {
                seen.append(label->text());
                if (firstTickMs < 0 && label->text() != kProgress.arg(0))
                    firstTickMs = clock.elapsed();
            }
            return page() == 2;
        },
        15000));
    const qint64 totalMs = clock.elapsed();

    QStringList expected{kProgress.arg(0)};
    for (int n = 1; n <= 100; ++n)
        expected.append(kProgress.arg(n));
    QCOMPARE(seen, expected);
    QVERIFY2(firstTickMs >= 60 && firstTickMs < 400, qPrintable(QString::number(firstTickMs)));
    QVERIFY2(totalMs >= 7900 && totalMs < 11000, qPrintable(QString::number(totalMs)));
    QCOMPARE(child<QSlider>("horizontalSlider")->value(), 99);
    QVERIFY(!child<QSlider>("horizontalSlider")->isEnabled());
    QVERIFY(!child<QLabel>("label_softName1")->isVisible());
    QVERIFY(child<QWidget>("centralwidget")->styleSheet().contains(QLatin1String("bk03.png")));

    // The finish page stays as it is.
    QTest::qWait(300);
    QCOMPARE(page(), 2);
    QCOMPARE(label->text(), kProgress.arg(100));
}

// --- the remover ---

void MainWindowTest::continueMovesRemoverAndStartsItOnce_data()
{
    QTest::addColumn<QString>("exepath");
    QTest::addColumn<bool>("source");
    QTest::addColumn<bool>("stale");
    QTest::addColumn<bool>("starts");

    QTest::newRow("remover present") << QStringLiteral("@INSTALL@") << true << false << true;
    QTest::newRow("trailing separator") << QStringLiteral("@INSTALL@/") << true << false << true;
    // A fresh uninst.data belongs to the package installed now; the old remover gives way.
    QTest::newRow("old nuninst.exe in the way") << QStringLiteral("@INSTALL@") << true << true << true;
    // An earlier run moved the remover and was cut off before it ran.
    QTest::newRow("nuninst.exe left by an earlier run") << QStringLiteral("@INSTALL@") << false << true << true;
    // Kept as written, as a Windows program writes its path; here "\n" is part of the name.
    QTest::newRow("single backslash in the folder") << QStringLiteral("@INSTALL@\\new") << true << false << true;
    QTest::newRow("empty exepath") << QString() << true << false << false;
    QTest::newRow("relative exepath") << QStringLiteral("程序/Velmora") << true << false << false;
    QTest::newRow("missing folder") << QStringLiteral("@ROOT@/gone") << true << false << false;
}

void MainWindowTest::continueMovesRemoverAndStartsItOnce()
{
    QFETCH(QString, exepath);
    QFETCH(bool, source);
    QFETCH(bool, stale);
    QFETCH(bool, starts);
    exepath.replace(QStringLiteral("@INSTALL@"), installDir());
    exepath.replace(QStringLiteral("@ROOT@"), m_profile.root());
    // The remover lies in the install folder, or beside it in the one with the backslash.
    const QString folder = exepath.endsWith(QLatin1String("\\new")) ? exepath : installDir();
    QVERIFY(QDir().mkpath(folder));
    writeIni(exepath);
    // A relative folder would resolve to the real one from here.
    QDir::setCurrent(m_profile.root());

    const QString sourcePath = folder + QStringLiteral("/uninst.data");
    const QString target = folder + QStringLiteral("/nuninst.exe");
    QFile::remove(installDir() + QStringLiteral("/uninst.data"));
    if (source)
        writeFakeProgram(sourcePath, log("remover.log"));
    if (stale)
        writeFakeProgram(target, log(source ? "stale.log" : "remover.log"));

    const BoxSeen box = clickContinue();
    QCOMPARE(box.shown, !starts);
    QTest::qWait(600);

    if (starts) {
        QCOMPARE(page(), 1);
        QVERIFY(!QFile::exists(sourcePath));
        QVERIFY(QFile::exists(target));
        QVERIFY(waitUntil([&] { return !loggedRuns(log("remover.log")).isEmpty(); }, 3000));
        QTest::qWait(200);
        QCOMPARE(loggedRuns(log("remover.log")), QVector<QStringList>{QStringList()});
        QVERIFY(loggedRuns(log("stale.log")).isEmpty());
        QVERIFY(child<QLabel>("label_2")->text() != kProgress.arg(0));
    } else {
        QVERIFY(QFile::exists(sourcePath));
        QVERIFY(loggedRuns(log("remover.log")).isEmpty());
        QCOMPARE(page(), 0);
        QCOMPARE(child<QLabel>("label_2")->text(), kProgress.arg(0));
    }
}

// What keeps the remover from starting, and what the box then says.
void MainWindowTest::removerThatCannotStartIsToldNotFinished_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("tip");

    QTest::newRow("install folder missing") << QStringLiteral("folder") << QStringLiteral("找不到安装目录");
    QTest::newRow("uninst.data missing") << QStringLiteral("source") << QStringLiteral("安装目录中缺少 uninst.data");
    QTest::newRow("move to nuninst.exe fails")
        << QStringLiteral("move") << QStringLiteral("无法将 uninst.data 改名为 nuninst.exe");
    QTest::newRow("remover will not start") << QStringLiteral("start") << QStringLiteral("无法运行 nuninst.exe");
}

void MainWindowTest::removerThatCannotStartIsToldNotFinished()
{
    QFETCH(QString, fault);
    QFETCH(QString, tip);
    const QString source = installDir() + QStringLiteral("/uninst.data");
    if (fault == QLatin1String("folder")) {
        writeIni(m_profile.root() + QStringLiteral("/gone"));
    } else if (fault == QLatin1String("source")) {
        QVERIFY(QFile::remove(source));
    } else if (fault == QLatin1String("move")) {
        // A folder that is not empty cannot be replaced by a file.
        QVERIFY(QDir().mkpath(installDir() + QStringLiteral("/nuninst.exe/keep")));
    } else {
        QVERIFY(QFile::setPermissions(source, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }

    const BoxSeen box = clickContinue();
    QVERIFY(box.shown);
    const QString shots = qEnvironmentVariable("UNINSTALLER_SHOTS");
    if (!shots.isEmpty() && QDir().mkpath(shots))
        box.picture.save(QStringLiteral("%1/remover-%2.png").arg(shots, fault));
    QVERIFY(box.overDimmedWindow);
    QCOMPARE(box.texts, (QStringList{QStringLiteral("无法启动卸载程序"), tip, QStringLiteral("确定")}));
    QCOMPARE(box.pos, m_window->mapToGlobal(QPoint((718 - 416) / 2, (434 - 212) / 2)));

    // Back on the first page, ready to try again; no progress runs on to the finish page.
    QVERIFY(!m_window->findChild<QWidget *>(QStringLiteral("ShadowWindowObj"))->isVisible());
    QCOMPARE(page(), 0);
    QTest::qWait(500);
    QCOMPARE(page(), 0);
    QCOMPARE(child<QLabel>("label_2")->text(), kProgress.arg(0));
    QCOMPARE(child<QSlider>("horizontalSlider")->value(), 0);
    QVERIFY(m_window->isVisible());
    QVERIFY(loggedRuns(log("remover.log")).isEmpty());
}

// --- closing ---

void MainWindowTest::pageButtonsCloseTheWindow_data()
{
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QString>("button");

    QTest::newRow("再想想") << 0 << QStringLiteral("btn_thinkAgain");
    QTest::newRow("完成卸载") << 2 << QStringLiteral("btn_finished");
}

void MainWindowTest::pageButtonsCloseTheWindow()
{
    QFETCH(int, pageIndex);
    QFETCH(QString, button);
    QMetaObject::invokeMethod(m_window.get(), "showPage", Q_ARG(int, pageIndex));
    auto *target = m_window->findChild<QPushButton *>(button);
    QVERIFY(target->isVisible());
    QTest::mouseClick(target, Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    QVERIFY(loggedRuns(log("installer.log")).isEmpty());
}

void MainWindowTest::installNewClosesThenOpensInstaller_data()
{
    QTest::addColumn<bool>("present");
    QTest::newRow("installer.exe present") << true;
    QTest::newRow("installer.exe missing") << false;
}

void MainWindowTest::installNewClosesThenOpensInstaller()
{
    QFETCH(bool, present);
    if (present)
        writeFakeProgram(m_profile.dataDir() + QStringLiteral("/installer.exe"), log("installer.log"));
    QMetaObject::invokeMethod(m_window.get(), "showPage", Q_ARG(int, 2));

    QTest::mouseClick(child<QPushButton>("btn_installNew"), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    if (present) {
        QVERIFY(waitUntil([&] { return !loggedRuns(log("installer.log")).isEmpty(); }, 3000));
        QCOMPARE(loggedRuns(log("installer.log")), QVector<QStringList>{QStringList()});
    } else {
        QTest::qWait(300);
        QVERIFY(!QFile::exists(log("installer.log")));
    }
}

void MainWindowTest::minimizeButtonMinimizes()
{
    QTest::mouseClick(child<QPushButton>("btn_min"), Qt::LeftButton);
    QVERIFY(waitUntil([&] { return m_window->isMinimized(); }, 2000));
}

void MainWindowTest::closeAsksFirstOverDimmedWindow_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("closes");

    QTest::newRow("确定") << QStringLiteral("btn_ok") << true;
    QTest::newRow("取消") << QStringLiteral("btn_cancel") << false;
    QTest::newRow("box close button") << QStringLiteral("btn_close") << false;
    QTest::newRow("Escape") << QStringLiteral("escape") << false;
}

void MainWindowTest::closeAsksFirstOverDimmedWindow()
{
    QFETCH(QString, answer);
    QFETCH(bool, closes);

    auto *overlay = m_window->findChild<QFrame *>(QStringLiteral("ShadowWindowObj"));
    QVERIFY(overlay);
    QVERIFY(!overlay->isVisible());

    bool boxShown = false;
    QRect overlayGeometry;
    QPoint boxPos;
    QSize boxSize;
    QStringList texts;
    withCloseBox([&](MessageBoxDialog *box) {
        if (!box)
            return;
        boxShown = box->isVisible() && box->isModal();
        overlayGeometry = overlay->isVisible() ? overlay->geometry() : QRect();
        boxPos = box->pos();
        boxSize = box->size();
        for (const char *name : {"label", "label_tips", "btn_ok", "btn_cancel"}) {
            const QObject *widget = box->findChild<QObject *>(QLatin1String(name));
            texts.append(widget ? widget->property("text").toString() : QString());
        }
        if (answer == QLatin1String("escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else
            QTest::mouseClick(box->findChild<QPushButton *>(answer), Qt::LeftButton);
    });

    QVERIFY(boxShown);
    QCOMPARE(texts, (QStringList{QStringLiteral("确定关闭？"), QStringLiteral("关闭后将中断卸载流程"),
                                 QStringLiteral("确定"), QStringLiteral("取消")}));
    QCOMPARE(overlayGeometry, QRect(4, 4, 710, 426));
    QCOMPARE(boxSize, QSize(416, 212));
    QCOMPARE(boxPos, m_window->mapToGlobal(QPoint((718 - 416) / 2, (434 - 212) / 2)));
    QVERIFY(!overlay->isVisible());
    QCOMPARE(m_window->isVisible(), !closes);
    QVERIFY(!QApplication::activeModalWidget());
}

void MainWindowTest::progressGoesOnWhileBoxIsOpen()
{
    auto *label = child<QLabel>("label_2");
    QTest::mouseClick(child<QPushButton>("btn_continueUninstall"), Qt::LeftButton);
    QString whenOpened;
    QString beforeCancel;
    withCloseBox([&](MessageBoxDialog *box) {
        whenOpened = label->text();
        QTest::qWait(500);
        beforeCancel = label->text();
        if (box)
            QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("btn_cancel")), Qt::LeftButton);
    });
    QVERIFY(m_window->isVisible());
    QVERIFY2(whenOpened != beforeCancel, qPrintable(beforeCancel));
    const QString afterCancel = label->text();
    QTest::qWait(300);
    QVERIFY(label->text() != afterCancel);
}

// --- dragging ---

void MainWindowTest::dragByClientAreaMovesWindow_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("buttonValue");
    QTest::addColumn<bool>("moves");

    QTest::newRow("empty client area, left") << QStringLiteral("centralwidget") << int(Qt::LeftButton) << true;
    QTest::newRow("over a label, left") << QStringLiteral("label_byebye") << int(Qt::LeftButton) << true;
    QTest::newRow("right button") << QStringLiteral("centralwidget") << int(Qt::RightButton) << false;
}

void MainWindowTest::dragByClientAreaMovesWindow()
{
    QFETCH(QString, start);
    QFETCH(int, buttonValue);
    const auto button = static_cast<Qt::MouseButton>(buttonValue);
    QFETCH(bool, moves);

    auto *from = m_window->findChild<QWidget *>(start);
    QVERIFY(from);
    QWindow *handle = m_window->windowHandle();
    const QPoint startPos = start == QLatin1String("centralwidget")
                                ? QPoint(200, 330)
                                : from->mapTo(m_window.get(), QPoint(20, from->height() / 2));
    const QPoint origin = m_window->pos();
    const QPoint delta(-37, 25);

    // The cursor moves over the screen; each event is given where it is in the window now.
    const QPoint grabbed = handle->mapToGlobal(startPos);
    QTest::mousePress(handle, button, Qt::NoModifier, startPos);
    QTest::mouseMove(handle, handle->mapFromGlobal(grabbed + QPoint(-10, 5)));
    QTest::mouseMove(handle, handle->mapFromGlobal(grabbed + delta));
    QApplication::processEvents();
    const QPoint during = m_window->pos();
    QTest::mouseRelease(handle, button, Qt::NoModifier, handle->mapFromGlobal(grabbed + delta));

    if (moves)
        QCOMPARE(during, origin + delta);
    else
        QCOMPARE(during, origin);
}

void MainWindowTest::boxDragsByTopRowOnly_data()
{
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<bool>("moves");

    QTest::newRow("top row") << QPoint(120, 20) << true;
    QTest::newRow("text area") << QPoint(120, 110) << false;
}

void MainWindowTest::boxDragsByTopRowOnly()
{
    QFETCH(QPoint, start);
    QFETCH(bool, moves);

    QPoint before;
    QPoint after;
    withCloseBox([&](MessageBoxDialog *box) {
        if (!box)
            return;
        QWindow *handle = box->windowHandle();
        before = box->pos();
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(handle, start + QPoint(30, 12));
        QApplication::processEvents();
        after = box->pos();
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, start);
    });
    QCOMPARE(after, moves ? before + QPoint(30, 12) : before);
    QVERIFY(m_window->isVisible());
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestProfile profile;
    profile.applyToThisProcess();
    QApplication app(argc, argv);
    initUninstallerResources();
    QDir::setCurrent(profile.root());
    MainWindowTest test(profile);
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
