#pragma once
// Folders, file-name classes, single-file and folder-tree copies, folder deletion, and
// temporary copies of files whose names trouble other tools. Paths may use "/" or "\".

#include <QString>

// True when the folder exists or one level of it could be made; false for an empty path.
bool ensureDir(const QString &path);

// True when the folder exists or could be made with its missing parents.
bool ensurePath(const QString &path);

// QDir::tempPath() + "/Velmora/", made when missing; QDir::tempPath() + "/" when it cannot
// be made. Always ends in "/".
QString tempWorkDir();

// The folder of the running program.
QString appDirPath();

QString emptyText();

// Suffix classes: images (.jpg .jpeg .gif .png .bmp .tif .tiff), PDF, and office documents
// (.xlsx .xls .et .docx .doc .wps .pptx .ppt .dps), all without regard to case.
bool isImageFile(const QString &name);
bool isPdfFile(const QString &name);
bool isOfficeFile(const QString &name);

// "C:", "C:/" and any other 2- or 3-character text with ':' second.
bool isDriveRoot(const QString &path);

// More than one character and ':' second.
bool hasDrivePrefix(const QString &path);

// The size of an existing file; 0 for an empty path, a missing file or a folder.
qint64 fileSizeOf(const QString &path);

// Copies source to destination after rewriting destination's "\" to "/" (the caller sees
// the change). Copying a file onto itself succeeds and touches nothing. An existing
// destination fails the copy without overwrite; with it, the old file is kept aside
// until the copy has succeeded and put back when it fails.
bool copyFileTo(const QString &source, QString &destination, bool overwrite);

// For a file name with white space: a copy named after the current time stamp + ".pdf" in
// the output folder, AppDataLocation + "/output/" (made when missing); the path itself
// when the name has no white space or the copy fails.
QString copyBlankNamedToOutput(const QString &path);

// For a path with Chinese characters: a copy in tempWorkDir() named by a braced UUID plus
// the source's suffix. path, name (the UUID, or the source's file name) and suffix
// describe the file to use; without Chinese characters, or when the copy fails, they
// describe the source itself.
void plainNameCopy(const QString &source, QString &path, QString &name, QString &suffix);

// Deletes every file of the folder tree and, with removeSelf, its folders and the folder
// itself, which gives the result (true without removeSelf, and for a missing folder).
// Symbolic links inside are removed as links and never followed; a folder that is itself
// a link is not walked. Hidden and system entries are not listed, so they and their
// folders stay. Nothing outside the folder is removed.
bool removeDirectory(const QString &path, bool removeSelf);

// Deletes everything listed inside the folder and keeps the folder, with the same rules.
void clearDirectory(const QString &path);

// Copies the tree below source into destination (one level of it made when missing),
// skipping entries named "CONFIG" and ignoring failures of single entries. False when
// the destination cannot be made or lies inside the source (or is it). Folders reached
// again through links are not copied a second time.
bool copyDirectory(const QString &source, const QString &destination, bool overwrite);

// As copyDirectory, but "CONFIG" entries of the top level are copied too (their
// sub-folders with copyDirectory), and the first entry that fails ends the copy with false.
bool copyDirectoryStrict(const QString &source, const QString &destination, bool overwrite);
