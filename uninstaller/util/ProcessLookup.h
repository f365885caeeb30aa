#pragma once
// Finding the running processes of one executable name.

#include <QMap>
#include <QString>

// Process id -> parent process id, ordered by process id.
using ProcessMap = QMap<quint32, quint32>;

// Every running process whose executable file name equals name exactly (case-sensitive,
// whole text, such as "Velmora.exe"). On Windows this walks a Toolhelp snapshot. Elsewhere
// it walks /proc: the name is that of the file behind /proc/<pid>/exe, or, for processes
// whose executable cannot be read, that of the first command-line word, or the kernel's
// short command name; systems without /proc give an empty map.
ProcessMap findProcessesByName(const QString &name);
