// ZVUnInstall: hands over to the application's retention screen, then runs the uninstall window.

#include "Launch.h"
#include "MainWindow.h"
#include "StyleSheets.h"

#include <QApplication>

int main(int argc, char *argv[])
{
#ifndef Q_OS_WIN
    // The windows draw with the raster engine only. On X11 the platform plugin would otherwise
    // set up OpenGL before the first window (about 30 ms under Xvfb) for nothing the user sees;
    // an explicit choice in the environment still wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
#endif
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
