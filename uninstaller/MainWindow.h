#pragma once
// The uninstaller's window: goodbye page, timed progress page and finish page.

#include "BaseMainWindow.h"
#include "Launch.h"

#include <QPointer>

#include <memory>

class MessageBoxDialog;
class QTimer;
class ShadowWindow;

namespace Ui {
class MainWindow;
}

class MainWindow : public BaseMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    QWidget *titleBarWidget() override;
    QWidget *dropTargetWidget() override;

private slots:
    void on_btn_min_clicked();
    void on_btn_close_clicked();
    void showPage(int index);
    void on_btn_finished_clicked();
    void on_btn_installNew_clicked();
    void on_btn_thinkAgain_clicked();
    void on_btn_continueUninstall_clicked();
    void recTimeOut();

private:
    void showShadow();
    void hideShadow();
    // Runs box modally over the dimmed window; its exec result.
    int runBox(MessageBoxDialog &box);
    void tellRemoverNotStarted(RemoverStart why);

    std::unique_ptr<Ui::MainWindow> m_ui;
    QPointer<QTimer> m_timer;
    int m_count = 0;
    ShadowWindow *m_shadow = nullptr;
};
