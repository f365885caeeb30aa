#include "BaseDialog.h"

#include <QMouseEvent>

BaseDialog::BaseDialog(QWidget *parent, bool translucent)
    : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    if (translucent)
        setAttribute(Qt::WA_TranslucentBackground);
}

void BaseDialog::showEvent(QShowEvent *event)
{
    if (m_firstShow) {
        m_firstShow = false;
        m_dragHandle = dragHandleWidget();
        if (m_dragHandle)
            m_dragHandle->installEventFilter(this);
        if (QWidget *parent = parentWidget()) {
            move(parent->mapToGlobal(QPoint((parent->width() - width()) / 2,
                                            (parent->height() - height()) / 2)));
        }
    }
    QDialog::showEvent(event);
}

bool BaseDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_dragHandle || watched != m_dragHandle)
        return QDialog::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        m_dragOffset = mouse->screenPos().toPoint() - pos();
        m_dragging = true;
        mouse->accept();
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_dragging && mouse->buttons() != Qt::NoButton) {
            move(mouse->screenPos().toPoint() - m_dragOffset);
            mouse->accept();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
