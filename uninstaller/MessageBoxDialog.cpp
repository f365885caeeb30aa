#include "MessageBoxDialog.h"

#include "StyleSheets.h"
#include "ui_MessageBoxDialog.h"

MessageBoxDialog::MessageBoxDialog(QWidget *parent)
    : BaseDialog(parent, false)
    , m_ui(std::make_unique<Ui::MessageBoxDialog>())
{
    m_ui->setupUi(this);
    setStyleSheet(loadStyleSheet(QStringLiteral(":/styles/MessageBoxDialog.qss")));
    // Only the white rounded panel shows; the corners around it stay see-through.
    setAttribute(Qt::WA_TranslucentBackground);
}

MessageBoxDialog::~MessageBoxDialog() = default;

void MessageBoxDialog::setMessage(const QString &title, const QString &tip)
{
    m_ui->label->setText(title);
    m_ui->label_tips->setText(tip);
}

void MessageBoxDialog::setMessage(const QString &title, const QString &tip,
                                  const QString &okText, const QString &cancelText)
{
    setMessage(title, tip);
    m_ui->btn_ok->setText(okText);
    m_ui->btn_cancel->setText(cancelText);
}

void MessageBoxDialog::setNotice(const QString &title, const QString &tip)
{
    setMessage(title, tip);
    m_ui->btn_ok->hide();
    m_ui->btn_cancel->setText(QStringLiteral("确定"));
}

QWidget *MessageBoxDialog::dragHandleWidget()
{
    return m_ui->widget;
}

void MessageBoxDialog::on_btn_close_clicked()
{
    m_resultCode = -1;
    reject();
}

void MessageBoxDialog::on_btn_ok_clicked()
{
    m_resultCode = 1;
    accept();
}

void MessageBoxDialog::on_btn_cancel_clicked()
{
    m_resultCode = 0;
    reject();
}
