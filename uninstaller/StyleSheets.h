#pragma once
// The style sheets and images compiled into the program's resource bundle.

#include <QString>

// Registers the resource bundle; call once before the first window is made.
void initUninstallerResources();

// The text of a style sheet in the bundle, empty when it is missing.
QString loadStyleSheet(const QString &resourcePath);
