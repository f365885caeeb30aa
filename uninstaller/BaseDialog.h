#pragma once
// Frameless dialog base, dragged by a chosen child widget and centred over its parent.

#include <QDialog>

class BaseDialog : public QDialog
{
public:
    BaseDialog(QWidget *parent, bool translucent);

protected:
    // The widget whose left-button drags move the dialog; null for none.
    virtual QWidget *dragHandleWidget() = 0;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *m_dragHandle = nullptr;
    bool m_dragging = false;
    QPoint m_dragOffset;
    bool m_firstShow = true;
};
