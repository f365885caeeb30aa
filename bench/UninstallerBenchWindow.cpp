// The uninstaller bench's baseline: a bare QWidget window of the uninstaller's size, started with
// the same application attributes.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    QApplication app(argc, argv);
    QWidget window;
    window.resize(718, 434);
    window.show();
    return app.exec();
}
