#include "StyleSheets.h"

#include <QFile>

// Q_INIT_RESOURCE must be used outside any namespace.
void initUninstallerResources()
{
    Q_INIT_RESOURCE(uninstaller);
}

QString loadStyleSheet(const QString &resourcePath)
{
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}
