#pragma once
// Frameless, translucent main-window base that a chosen child widget drags around.

#include <QMainWindow>

class BaseMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit BaseMainWindow(QWidget *parent = nullptr);

    void maximizeWindow();
    void restoreWindow();

signals:
    void exitMaximized();

protected:
    // The widget whose left-button drags move the window; null for none.
    virtual QWidget *titleBarWidget() = 0;
    // The widget that takes drops; null for none.
    virtual QWidget *dropTargetWidget() = 0;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool filterTitleBarEvent(QEvent *event);

    QWidget *m_titleBar = nullptr;
    QWidget *m_dropTarget = nullptr;
    bool m_dragging = false;
    QPoint m_dragOffset;
    bool m_firstShow = true;
};
