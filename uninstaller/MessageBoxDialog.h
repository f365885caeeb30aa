#pragma once
// The modal "确定关闭？" box shown before the uninstaller is closed.

#include "BaseDialog.h"

#include <memory>

namespace Ui {
class MessageBoxDialog;
}

class MessageBoxDialog : public BaseDialog
{
    Q_OBJECT

public:
    explicit MessageBoxDialog(QWidget *parent = nullptr);
    ~MessageBoxDialog() override;

    // -1 after the box's own close button, 1 after "确定", 0 after "取消".
    int resultCode() const { return m_resultCode; }
    void setMessage(const QString &title, const QString &tip);
    void setMessage(const QString &title, const QString &tip, const QString &okText,
                    const QString &cancelText);
    // A notice with one "确定", on the box's main (blue) button.
    void setNotice(const QString &title, const QString &tip);

protected:
    QWidget *dragHandleWidget() override;

private slots:
    void on_btn_close_clicked();
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    std::unique_ptr<Ui::MessageBoxDialog> m_ui;
    int m_resultCode = 0;
};
