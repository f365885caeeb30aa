#include "MainWindow.h"

#include "AppSettings.h"
#include "MessageBoxDialog.h"
#include "ShadowWindow.h"
#include "StyleSheets.h"
#include "ui_MainWindow.h"

#include <QDir>
#include <QStandardPaths>
#include <QTimer>

namespace {

const char kProductName[] = "Velmora";
constexpr int kTickMs = 80;
constexpr int kShadowInset = 4;

QString progressText(int percent)
{
    return QStringLiteral("正在卸载，请不要关闭 %1%").arg(percent);
}

void makeFolder(const QString &path)
{
    if (!QDir(path).exists())
        QDir().mkpath(path);
}

// The product's program folder. Off Windows there is no "Program Files (x86)"; the
// per-user data location stands in so nothing lands in the working folder.
QString programFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/Program Files (x86)/%1").arg(QLatin1String(kProductName));
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QLatin1Char('/') + QLatin1String(kProductName);
#endif
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : BaseMainWindow(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
    setStyleSheet(loadStyleSheet(QStringLiteral(":/styles/MainWindow.qss")));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    showPage(0);

    const QString product = QLatin1String(kProductName);
    m_ui->label_softName1->setText(product);
    m_ui->label_softName->setText(product);
    m_ui->label_softname3->setText(product);
    m_ui->stackedWidget->setCurrentIndex(0);

    makeFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    makeFolder(programFolder());

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::recTimeOut);

    m_shadow = new ShadowWindow(this);
    m_shadow->setObjectName(QStringLiteral("ShadowWindowObj"));
    m_shadow->setStyleSheet(QStringLiteral(
        "#ShadowWindowObj{background-color: rgba(0, 0, 0, 20%);border-radius:0px;}"));
    hideShadow();
}

MainWindow::~MainWindow() = default;

QWidget *MainWindow::titleBarWidget()
{
    return m_ui->centralwidget;
}

QWidget *MainWindow::dropTargetWidget()
{
    return nullptr;
}

void MainWindow::on_btn_min_clicked()
{
    showMinimized();
}

void MainWindow::on_btn_close_clicked()
{
    MessageBoxDialog box(this);
    if (runBox(box) != 0)
        close();
}

int MainWindow::runBox(MessageBoxDialog &box)
{
    showShadow();
    centerOver(&box, this, true);
    box.setFocus(Qt::OtherFocusReason);
    box.raise();
    const int result = box.exec();
    hideShadow();
    return result;
}

void MainWindow::showPage(int index)
{
    m_ui->stackedWidget->setCurrentIndex(index);
    static const char *const backgrounds[] = {"bk01", "bk02", "bk03"};
    if (index < 0 || index > 2)
        return;
    m_ui->label_softName1->setVisible(index == 0);
    m_ui->centralwidget->setStyleSheet(
        QStringLiteral("#centralwidget{border-image: url(:/Resources/home/%1.png);}")
            .arg(QLatin1String(backgrounds[index])));
    m_ui->centralwidget->repaint();
    m_ui->centralwidget->update();
}

void MainWindow::on_btn_finished_clicked()
{
    close();
}

void MainWindow::on_btn_installNew_clicked()
{
    close();
    // The window is gone by now; a missing installer.exe leaves nothing to tell it on.
    static_cast<void>(openProgram(appDataDir() + QStringLiteral("/installer.exe")));
}

void MainWindow::on_btn_thinkAgain_clicked()
{
    close();
}

void MainWindow::on_btn_continueUninstall_clicked()
{
    showPage(1);
    m_count = 0;
    if (m_timer) {
        m_timer->stop();
        m_timer->start(kTickMs);
    }

    // The progress page shows before the remover starts; it runs its fixed time once it has.
    const RemoverStart started = startRemover();
    if (started == RemoverStart::Started)
        return;
    // Nothing runs: the progress and the finish page would say the program is gone.
    if (m_timer)
        m_timer->stop();
    tellRemoverNotStarted(started);
    m_count = 0;
    m_ui->horizontalSlider->setValue(0);
    m_ui->label_2->setText(progressText(0));
    showPage(0);
}

void MainWindow::tellRemoverNotStarted(RemoverStart why)
{
    QString tip;
    switch (why) {
    case RemoverStart::NoInstallFolder:
        tip = QStringLiteral("找不到安装目录");
        break;
    case RemoverStart::NoRemover:
        tip = QStringLiteral("安装目录中缺少 uninst.data");
        break;
    case RemoverStart::MoveFailed:
        tip = QStringLiteral("无法将 uninst.data 改名为 nuninst.exe");
        break;
    case RemoverStart::OpenFailed:
    case RemoverStart::Started:
        tip = QStringLiteral("无法运行 nuninst.exe");
        break;
    }
    MessageBoxDialog box(this);
    box.setNotice(QStringLiteral("无法启动卸载程序"), tip);
    runBox(box);
}

void MainWindow::recTimeOut()
{
    if (m_count > 99) {
        if (m_timer) {
            m_timer->stop();
            m_timer->deleteLater();
        }
        showPage(2);
        return;
    }
    ++m_count;
    m_ui->horizontalSlider->setValue(m_count);
    m_ui->label_2->setText(progressText(m_count));
}

void MainWindow::showShadow()
{
    if (!m_shadow)
        return;
    m_shadow->setGeometry(kShadowInset, kShadowInset, width() - 2 * kShadowInset,
                          height() - 2 * kShadowInset);
    m_shadow->show();
}

void MainWindow::hideShadow()
{
    if (!m_shadow)
        return;
    m_shadow->hide();
    m_ui->centralwidget->repaint();
    m_ui->centralwidget->update();
}
