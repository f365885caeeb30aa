#include "ShadowWindow.h"

#include "ui_ShadowWindow.h"

ShadowWindow::ShadowWindow(QWidget *parent)
    : QFrame(parent)
    , m_ui(std::make_unique<Ui::ShadowWindow>())
{
    m_ui->setupUi(this);
}

ShadowWindow::~ShadowWindow() = default;

void ShadowWindow::setShadowStyle()
{
    setStyleSheet(QStringLiteral("background: rgba(0,0,0,0.1);"));
}
