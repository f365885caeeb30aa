// ZVUnInstall: hands over to the application's retention screen, then runs the uninstall window.

#include "Launch.h"
#include "MainWindow.h"
#include "StyleSheets.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    QApplication app(argc, argv);
    initUninstallerResources();

    if (needsUninstallReturn() && runRetentionHandOff(kRetentionWaitMs))
        return 0;

    MainWindow window;
    window.show();
    return app.exec();
}
