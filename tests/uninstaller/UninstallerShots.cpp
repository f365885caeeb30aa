// Writes PNG pictures of the three pages, of the close box over the dimmed window and of the
// box that says the remover could not be started.
// Usage: uninstaller_shots OUTPUT_FOLDER (not a test; for looking at the windows).

#include "MainWindow.h"
#include "MessageBoxDialog.h"
#include "StyleSheets.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Saves the modal box shown soon after, drawn over window, and answers it with its main button.
void saveNextBox(QWidget &window, const QString &path)
{
    QTimer::singleShot(300, [&window, path] {
        auto *box = qobject_cast<MessageBoxDialog *>(QApplication::activeModalWidget());
        if (!box)
            return;
        QImage combined = window.grab().toImage();
        QPainter painter(&combined);
        painter.drawImage(box->mapToGlobal(QPoint()) - window.mapToGlobal(QPoint()), box->grab().toImage());
        painter.end();
        combined.save(path);
        box->findChild<QPushButton *>(QStringLiteral("btn_cancel"))->click();
    });
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}

} // namespace

int main(int argc, char *argv[])
{
    // A throw-away profile: APP.ini names an install folder whose remover does nothing.
    QTemporaryDir profile;
    const QString roaming = profile.path() + QStringLiteral("/AppData/Roaming");
    const QString install = profile.path() + QStringLiteral("/install");
    QDir().mkpath(roaming + QStringLiteral("/Velmora"));
    QDir().mkpath(install);
    qputenv("XDG_DATA_HOME", QFile::encodeName(roaming));
    const QString appIni = roaming + QStringLiteral("/Velmora/APP.ini");
    writeText(appIni, "[Install]\r\nexepath=" + install.toUtf8() + "\r\n");
    writeText(install + QStringLiteral("/uninst.data"), "#!/bin/sh\n");
    QFile::setPermissions(install + QStringLiteral("/uninst.data"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

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

    // The box that says the remover could not be started, here for lack of an install folder.
    writeText(appIni, "[Install]\r\nexepath=\r\n");
    MainWindow second;
    second.show();
    QApplication::processEvents();
    saveNextBox(second, out + QStringLiteral("/no_remover_over_window.png"));
    second.findChild<QPushButton *>(QStringLiteral("btn_continueUninstall"))->click();
    return 0;
}
