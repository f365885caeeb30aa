#include "BaseMainWindow.h"

#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>

namespace {

constexpr int kMargin = 9;

QPoint globalCursor(const QMouseEvent *event)
{
    return event->screenPos().toPoint();
}

void setCentralMargins(QMainWindow *window, int margin)
{
    if (QWidget *central = window->centralWidget()) {
        if (QLayout *layout = central->layout())
            layout->setContentsMargins(margin, margin, margin, margin);
    }
}

} // namespace

BaseMainWindow::BaseMainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint);
    setAttribute(Qt::WA_TranslucentBackground);
}

void BaseMainWindow::maximizeWindow()
{
    setCentralMargins(this, 0);
    showMaximized();
}

void BaseMainWindow::restoreWindow()
{
    setCentralMargins(this, kMargin);
    showNormal();
}

void BaseMainWindow::showEvent(QShowEvent *event)
{
    if (m_firstShow) {
        m_firstShow = false;
        // A transparent margin on every side; the minimum wins over a fixed maximum,
        // so a form of fixed size grows with it.
        resize(width() + 2 * kMargin, height() + 2 * kMargin);
        setMinimumSize(minimumWidth() + 2 * kMargin, minimumHeight() + 2 * kMargin);
        setCentralMargins(this, kMargin);

        m_titleBar = titleBarWidget();
        if (m_titleBar)
            m_titleBar->installEventFilter(this);
        m_dropTarget = dropTargetWidget();
        if (m_dropTarget) {
            m_dropTarget->installEventFilter(this);
            m_dropTarget->setAcceptDrops(true);
        }

        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move((area.width() - width()) / 2, (area.height() - height()) / 2);
        }
    }
    QMainWindow::showEvent(event);
}

bool BaseMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_titleBar && watched == m_titleBar)
        return filterTitleBarEvent(event) || QMainWindow::eventFilter(watched, event);
    if (m_dropTarget && watched == m_dropTarget && event->type() == QEvent::DragEnter) {
        auto *drag = static_cast<QDragEnterEvent *>(event);
        if (drag->mimeData() && drag->mimeData()->hasFormat(QStringLiteral("*")))
            drag->acceptProposedAction();
    }
    return QMainWindow::eventFilter(watched, event);
}

// True when the event is consumed.
bool BaseMainWindow::filterTitleBarEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_dragOffset = globalCursor(mouse) - pos();
        m_dragging = true;
        mouse->accept();
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (isMaximized()) {
            const QSize before = size();
            emit exitMaximized();
            const QSize after = size();
            // Keep the cursor over the same relative point of the restored window.
            const QPoint local = mouse->pos();
            const QPoint scaled(before.width() ? local.x() * after.width() / before.width() : 0,
                                before.height() ? local.y() * after.height() / before.height() : 0);
            m_dragOffset = scaled;
            move(globalCursor(mouse) - scaled);
            mouse->accept();
            return true;
        }
        if (m_dragging && mouse->buttons() != Qt::NoButton) {
            move(globalCursor(mouse) - m_dragOffset);
            mouse->accept();
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            emit exitMaximized();
        return false;
    default:
        return false;
    }
}
