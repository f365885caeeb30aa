#pragma once
// Translucent child overlay that dims the main window while a box is open.

#include <QFrame>

#include <memory>

namespace Ui {
class ShadowWindow;
}

class ShadowWindow : public QFrame
{
public:
    explicit ShadowWindow(QWidget *parent = nullptr);
    ~ShadowWindow() override;

    void setShadowStyle();

private:
    std::unique_ptr<Ui::ShadowWindow> m_ui;
};
