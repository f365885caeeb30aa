// Writes PNG pictures of the three pages and of the close box over the dimmed window.
// Usage: uninstaller_shots OUTPUT_FOLDER (not a test; for looking at the windows).

#include "MainWindow.h"
#include "MessageBoxDialog.h"
#include "StyleSheets.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    initUninstallerResources();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);

    MainWindow window;
    window.show();
    QApplication::processEvents();
    for (int page = 0; page < 3; ++page) {
        QMetaObject::invokeMethod(&window, "showPage", Q_ARG(int, page));
        QApplication::processEvents();
        window.grab().save(QStringLiteral("%1/page%2.png").arg(out).arg(page));
    }
    QMetaObject::invokeMethod(&window, "showPage", Q_ARG(int, 0));

    QTimer::singleShot(300, [&] {
        auto *box = qobject_cast<MessageBoxDialog *>(QApplication::activeModalWidget());
        if (!box)
            return;
        const QImage dimmed = window.grab().toImage();
        const QImage boxImage = box->grab().toImage();
        box->grab().save(out + QStringLiteral("/box.png"));
        QImage combined = dimmed;
        QPainter painter(&combined);
        painter.drawImage(box->mapToGlobal(QPoint()) - window.mapToGlobal(QPoint()), boxImage);
        painter.end();
        combined.save(out + QStringLiteral("/box_over_window.png"));
        box->findChild<QPushButton *>(QStringLiteral("btn_cancel"))->click();
    });
    window.findChild<QPushButton *>(QStringLiteral("btn_close"))->click();

    // The progress page part-way through its run.
    window.findChild<QPushButton *>(QStringLiteral("btn_continueUninstall"))->click();
    QEventLoop wait;
    QTimer::singleShot(3300, &wait, &QEventLoop::quit);
    wait.exec();
    window.grab().save(out + QStringLiteral("/page1_running.png"));
    return 0;
}
