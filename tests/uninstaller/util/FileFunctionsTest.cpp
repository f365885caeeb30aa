// Folders, names, single-file and tree copies, and deletion, on trees in a temporary folder.

#include "FileFunctions.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class FileFunctionsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmpRoot; // TMPDIR and XDG_DATA_HOME live in here
    QScopedPointer<QTemporaryDir> m_dir;

    QString at(const QString &relative) const { return m_dir->path() + QLatin1Char('/') + relative; }

    // Entries like "a/b.txt=text" (a file with that content) or "a/c/" (a folder).
    void makeTree(const QStringList &entries)
    {
        for (const QString &entry : entries) {
            if (entry.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir().mkpath(at(entry)));
                continue;
            }
            const int eq = entry.indexOf(QLatin1Char('='));
            const QString path = at(eq < 0 ? entry : entry.left(eq));
            QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(eq < 0 ? QByteArray() : entry.mid(eq + 1).toUtf8());
        }
    }

    // Every entry below folder, hidden ones included, as "name" or "name/" relative to it.
    static QStringList listTree(const QString &folder)
    {
        QStringList names;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            const QString relative = QDir(folder).relativeFilePath(it.filePath());
            names << (it.fileInfo().isDir() && !it.fileInfo().isSymLink() ? relative + QLatin1Char('/')
                                                                           : relative);
        }
        names.sort();
        return names;
    }

    static QByteArray contentOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmpRoot.isValid());
        QDir().mkpath(m_tmpRoot.path() + QStringLiteral("/tmp"));
        qputenv("TMPDIR", QFile::encodeName(m_tmpRoot.path() + QStringLiteral("/tmp")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_tmpRoot.path() + QStringLiteral("/data")));
        QCoreApplication::setOrganizationName(QString());
        QCoreApplication::setApplicationName(QStringLiteral("Tool"));
    }

    void init()
    {
        m_dir.reset(new QTemporaryDir(m_tmpRoot.path() + QStringLiteral("/case-XXXXXX")));
        QVERIFY(m_dir->isValid());
    }

    // --- folders ---

    void makesFolders_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("oneLevel");
        QTest::addColumn<bool>("allLevels");
        QTest::newRow("existing") << "." << true << true;
        QTest::newRow("one missing level") << "a" << true << true;
        QTest::newRow("two missing levels") << "b/c" << false << true;
    }

    void makesFolders()
    {
        QFETCH(QString, relative);
        QFETCH(bool, oneLevel);
        QFETCH(bool, allLevels);
        QCOMPARE(ensureDir(at(relative)), oneLevel);
        QCOMPARE(ensurePath(at(relative)), allLevels);
        QVERIFY(QFileInfo(at(relative)).isDir());
        QVERIFY(!ensureDir(QString()));
        QVERIFY(!ensurePath(QString()));
    }

    void workFolderAndProgramFolder()
    {
        const QString work = tempWorkDir();
        QCOMPARE(work, QDir::tempPath() + QStringLiteral("/Velmora/"));
        QVERIFY(QFileInfo(work).isDir());
        QCOMPARE(appDirPath(), QFileInfo(QCoreApplication::applicationFilePath()).absolutePath());
        QVERIFY(emptyText().isEmpty());
    }

    // --- names ---

    void classifiesSuffixes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("image");
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<bool>("office");
        QTest::newRow("upper-case jpg") << "A.JPG" << true << false << false;
        QTest::newRow("tiff") << "scan.tiff" << true << false << false;
        QTest::newRow("mixed-case docx") << "b.DocX" << false << false << true;
        QTest::newRow("wps sheet") << "t.ET" << false << false << true;
        QTest::newRow("pdf") << "report.PDF" << false << true << false;
        QTest::newRow("pdf then txt") << "x.pdf.txt" << false << false << false;
        QTest::newRow("suffix only") << ".png" << true << false << false;
        QTest::newRow("no dot") << "png" << false << false << false;
        QTest::newRow("empty") << "" << false << false << false;
    }

    void classifiesSuffixes()
    {
        QFETCH(QString, name);
        QFETCH(bool, image);
        QFETCH(bool, pdf);
        QFETCH(bool, office);
        QCOMPARE(isImageFile(name), image);
        QCOMPARE(isPdfFile(name), pdf);
        QCOMPARE(isOfficeFile(name), office);
    }

    void recognisesDrives_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("root");
        QTest::addColumn<bool>("prefix");
        QTest::newRow("C:") << "C:" << true << true;
        QTest::newRow("C:/") << "C:/" << true << true;
        QTest::newRow("C:x") << "C:x" << true << true;
        QTest::newRow("C") << "C" << false << false;
        QTest::newRow("C:/a") << "C:/a" << false << true;
        QTest::newRow("C:/a/b") << "C:/a/b" << false << true;
        QTest::newRow("unix path") << "/a:" << false << false;
        QTest::newRow("empty") << "" << false << false;
    }

    void recognisesDrives()
    {
        QFETCH(QString, path);
        QFETCH(bool, root);
        QFETCH(bool, prefix);
        QCOMPARE(isDriveRoot(path), root);
        QCOMPARE(hasDrivePrefix(path), prefix);
    }

    void measuresFiles_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<qint64>("size");
        QTest::newRow("five bytes") << "five.bin" << qint64(5);
        QTest::newRow("empty file") << "empty.bin" << qint64(0);
        QTest::newRow("missing") << "nothing.bin" << qint64(0);
        QTest::newRow("folder") << "folder" << qint64(0);
    }

    void measuresFiles()
    {
        QFETCH(QString, relative);
        QFETCH(qint64, size);
        makeTree({QStringLiteral("five.bin=12345"), QStringLiteral("empty.bin"), QStringLiteral("folder/")});
        QCOMPARE(fileSizeOf(at(relative)), size);
        QCOMPARE(fileSizeOf(QString()), qint64(0));
    }

    // --- single-file copies ---

    void copiesSingleFiles_data()
    {
        QTest::addColumn<QString>("source");      // relative to the case folder
        QTest::addColumn<QString>("destination"); // relative, "\" kept as typed
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QByteArray>("destinationContent");
        QTest::newRow("new file") << "src.pdf" << "out/new.pdf" << false << true << QByteArray("new");
        QTest::newRow("backslashes") << "src.pdf" << "out\\bs.pdf" << false << true << QByteArray("new");
        QTest::newRow("existing kept") << "src.pdf" << "out/old.pdf" << false << false << QByteArray("old");
        QTest::newRow("existing replaced") << "src.pdf" << "out/old.pdf" << true << true << QByteArray("new");
        QTest::newRow("missing source") << "none.pdf" << "out/old.pdf" << true << false << QByteArray("old");
        QTest::newRow("failed copy keeps old") << "folder" << "out/old.pdf" << true << false << QByteArray("old");
        QTest::newRow("same text") << "src.pdf" << "src.pdf" << true << true << QByteArray("new");
        QTest::newRow("same file other spelling") << "src.pdf" << "out/../src.pdf" << true << true
                                                  << QByteArray("new");
        QTest::newRow("onto a folder") << "src.pdf" << "out" << true << false << QByteArray("<missing>");
    }

    void copiesSingleFiles()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(bool, overwrite);
        QFETCH(bool, result);
        QFETCH(QByteArray, destinationContent);
        makeTree({QStringLiteral("src.pdf=new"), QStringLiteral("out/old.pdf=old"), QStringLiteral("folder/")});
        const QStringList before = listTree(at(QStringLiteral("out")));

        QString target = at(destination);
        QCOMPARE(copyFileTo(at(source), target, overwrite), result);
        QVERIFY(!target.contains(QLatin1Char('\\')));
        QCOMPARE(target, at(destination).replace(QLatin1Char('\\'), QLatin1Char('/')));
        QCOMPARE(contentOf(target), destinationContent);
        QCOMPARE(contentOf(at(QStringLiteral("src.pdf"))), QByteArray("new"));
        // Nothing set aside is left behind.
        QStringList after = listTree(at(QStringLiteral("out")));
        after.removeAll(QFileInfo(target).fileName());
        QStringList expected = before;
        expected.removeAll(QFileInfo(target).fileName());
        QCOMPARE(after, expected);
    }

    void copyOntoALinkToItselfTouchesNothing()
    {
        makeTree({QStringLiteral("src.pdf=new")});
        QVERIFY(QFile::link(at(QStringLiteral("src.pdf")), at(QStringLiteral("alias.pdf"))));
        QString target = at(QStringLiteral("alias.pdf"));
        QVERIFY(copyFileTo(at(QStringLiteral("src.pdf")), target, true));
        QCOMPARE(contentOf(at(QStringLiteral("src.pdf"))), QByteArray("new"));
        QVERIFY(QFileInfo(target).isSymLink());
    }

    // --- copies under other names ---

    void copiesBlankNamesToOutput_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("copied");
        QTest::newRow("no white space") << "plain.pdf" << false;
        QTest::newRow("blank in name") << "my file.pdf" << true;
        QTest::newRow("tab in name") << "tab\tname.pdf" << true;
        QTest::newRow("blank only in folder") << "a folder/plain.pdf" << false;
        QTest::newRow("missing file") << "gone file.pdf" << false;
    }

    void copiesBlankNamesToOutput()
    {
        QFETCH(QString, relative);
        QFETCH(bool, copied);
        makeTree({QStringLiteral("plain.pdf=p"), QStringLiteral("my file.pdf=m"),
                  QStringLiteral("tab\tname.pdf=t"), QStringLiteral("a folder/plain.pdf=f")});
        const QString path = at(relative);
        const QString result = copyBlankNamedToOutput(path);
        if (!copied) {
            QCOMPARE(result, path);
            return;
        }
        const QString output = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                               + QStringLiteral("/output/");
        QVERIFY2(result.startsWith(output), qPrintable(result));
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9-]+\\.pdf$"))
                    .match(result.mid(output.size())).hasMatch());
        QCOMPARE(contentOf(result), contentOf(path));
    }

    void nameWithoutSlashIsReturnedAsItIs()
    {
        QCOMPARE(copyBlankNamedToOutput(QStringLiteral("a b.pdf")), QStringLiteral("a b.pdf"));
        QCOMPARE(copyBlankNamedToOutput(QString()), QString());
    }

    void copiesChineseNamesToPlainNames_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("copied");
        QTest::newRow("plain") << "report.pdf" << false;
        QTest::newRow("chinese name") << QStringLiteral("报告.pdf") << true;
        QTest::newRow("chinese folder") << QStringLiteral("文档/report.pdf") << true;
        QTest::newRow("chinese missing") << QStringLiteral("没有.pdf") << false;
    }

    void copiesChineseNamesToPlainNames()
    {
        QFETCH(QString, relative);
        QFETCH(bool, copied);
        makeTree({QStringLiteral("report.pdf=r"), QStringLiteral("报告.pdf=c"),
                  QStringLiteral("文档/report.pdf=d")});
        const QString source = at(relative);
        const QStringList workBefore = listTree(tempWorkDir());
        QString path, name, suffix;
        plainNameCopy(source, path, name, suffix);
        QCOMPARE(suffix, QStringLiteral("pdf"));
        if (!copied) {
            QCOMPARE(path, source);
            QCOMPARE(name, QFileInfo(source).fileName());
            QCOMPARE(listTree(tempWorkDir()), workBefore);
            return;
        }
        QVERIFY(QRegularExpression(QStringLiteral("^\\{[0-9a-f-]{36}\\}$")).match(name).hasMatch());
        QCOMPARE(path, tempWorkDir() + name + QStringLiteral(".pdf"));
        QCOMPARE(contentOf(path), contentOf(source));
    }

    // --- deleting ---

    void removesFolderTrees_data()
    {
        QTest::addColumn<bool>("removeSelf");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("files only") << false << QStringList() << true
                                    << QStringList{"tree/", "tree/a/", "tree/a/b/", "tree/c/"};
        QTest::newRow("whole tree") << true << QStringList() << true << QStringList();
        QTest::newRow("hidden file keeps its folders")
            << true << QStringList{"tree/a/.hidden=h"} << false
            << QStringList{"tree/", "tree/a/", "tree/a/.hidden"};
    }

    void removesFolderTrees()
    {
        QFETCH(bool, removeSelf);
        QFETCH(QStringList, extra);
        QFETCH(bool, result);
        QFETCH(QStringList, left);
        makeTree(QStringList{"tree/1.txt=1", "tree/a/2.txt=2", "tree/a/b/3.txt=3", "tree/c/"} + extra);
        QCOMPARE(removeDirectory(at(QStringLiteral("tree")), removeSelf), result);
        QCOMPARE(listTree(m_dir->path()), left);
    }

    void removingNothing()
    {
        QVERIFY(!removeDirectory(QString(), true));
        QVERIFY(removeDirectory(at(QStringLiteral("missing")), true));
        clearDirectory(QString());
        clearDirectory(at(QStringLiteral("missing")));
    }

    void removingNeverReachesOutside_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("clear"); // clearDirectory instead of removeDirectory(…, true)
        QTest::addColumn<QStringList>("left");
        // The case folder always keeps the outside folder and the link beside the tree.
        const QStringList kept{"outside/", "outside/keep.txt", "parent/", "parent/link"};
        QTest::newRow("empty parent stays") << "parent/tree" << false << kept;
        QTest::newRow("cleared folder stays") << "parent/tree" << true
                                              << kept + QStringList{"parent/tree/"};
        QTest::newRow("dot-dot after a link") << "parent/tree/link/.." << false << kept;
        QTest::newRow("folder that is a link")
            << "parent/link" << false
            << QStringList{"outside/", "outside/keep.txt", "parent/", "parent/tree/", "parent/tree/a/",
                           "parent/tree/a/f.txt", "parent/tree/link", "parent/tree/x/"};
    }

    void removingNeverReachesOutside()
    {
        QFETCH(QString, target);
        QFETCH(bool, clear);
        QFETCH(QStringList, left);
        left.sort();
        makeTree({QStringLiteral("parent/tree/a/f.txt=f"), QStringLiteral("parent/tree/x/"),
                  QStringLiteral("outside/keep.txt=k")});
        // A link inside the tree to a folder outside it, and one beside it to the same folder.
        QVERIFY(QFile::link(at(QStringLiteral("outside")), at(QStringLiteral("parent/tree/link"))));
        QVERIFY(QFile::link(at(QStringLiteral("outside")), at(QStringLiteral("parent/link"))));
        if (target == QLatin1String("parent/link"))
            QVERIFY(removeDirectory(at(target), true));
        else if (clear)
            clearDirectory(at(target));
        else
            QVERIFY(removeDirectory(at(target), true));
        QCOMPARE(listTree(m_dir->path()), left);
    }

    void clearingKeepsOnlyTheFolderAndHiddenEntries()
    {
        makeTree({QStringLiteral("tree/1.txt=1"), QStringLiteral("tree/a/2.txt=2"),
                  QStringLiteral("tree/.h=h"), QStringLiteral("tree/b/.h=h")});
        clearDirectory(at(QStringLiteral("tree")));
        QCOMPARE(listTree(m_dir->path()),
                 (QStringList{"tree/", "tree/.h", "tree/b/", "tree/b/.h"}));
    }

    // --- tree copies ---

    void copiesTrees_data()
    {
        QTest::addColumn<bool>("strict");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<QByteArray>("oldContent");
        const QStringList withoutConfig{"a.txt", "old.txt", "sub/", "sub/b.txt"};
        QTest::newRow("skips CONFIG") << false << false << true << withoutConfig << QByteArray("dst");
        QTest::newRow("overwrites") << false << true << true << withoutConfig << QByteArray("src");
        QTest::newRow("strict copies top CONFIG")
            << true << true << true
            << QStringList{"CONFIG/", "CONFIG/c.txt", "a.txt", "old.txt", "sub/", "sub/b.txt"}
            << QByteArray("src");
        QTest::newRow("strict stops at existing file")
            << true << false << false << QStringList{"CONFIG/", "CONFIG/c.txt", "a.txt", "old.txt"}
            << QByteArray("dst");
    }

    void copiesTrees()
    {
        QFETCH(bool, strict);
        QFETCH(bool, overwrite);
        QFETCH(bool, result);
        QFETCH(QStringList, copied);
        QFETCH(QByteArray, oldContent);
        makeTree({QStringLiteral("src/a.txt=a"), QStringLiteral("src/old.txt=src"),
                  QStringLiteral("src/CONFIG/c.txt=c"), QStringLiteral("src/sub/b.txt=b"),
                  QStringLiteral("src/sub/CONFIG/d.txt=d"), QStringLiteral("src/.hidden=h"),
                  QStringLiteral("dst/old.txt=dst")});
        const QString source = at(QStringLiteral("src"));
        const QString destination = at(QStringLiteral("dst"));
        QCOMPARE(strict ? copyDirectoryStrict(source, destination, overwrite)
                        : copyDirectory(source, destination, overwrite),
                 result);
        QCOMPARE(listTree(destination), copied);
        QCOMPARE(contentOf(destination + QStringLiteral("/old.txt")), oldContent);
        QCOMPARE(contentOf(destination + QStringLiteral("/a.txt")), QByteArray("a"));
    }

    void copyMakesOneLevelOfDestination_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("result");
        QTest::newRow("one level") << "new" << true;
        QTest::newRow("two levels") << "new/deeper" << false;
        QTest::newRow("empty source") << "empty-copy" << true;
    }

    void copyMakesOneLevelOfDestination()
    {
        QFETCH(QString, destination);
        QFETCH(bool, result);
        makeTree({QStringLiteral("src/a.txt=a"), QStringLiteral("empty/")});
        const QString source = at(destination == QLatin1String("empty-copy") ? QStringLiteral("empty")
                                                                             : QStringLiteral("src"));
        QCOMPARE(copyDirectory(source, at(destination), false), result);
        QCOMPARE(copyDirectoryStrict(source, at(destination + QStringLiteral("-strict")), false), result);
    }

    void copyNeverFeedsOnItself_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::newRow("into itself") << "src";
        QTest::newRow("into a sub-folder") << "src/sub/copy";
        QTest::newRow("same folder spelled otherwise") << "src/sub/..";
    }

    void copyNeverFeedsOnItself()
    {
        QFETCH(QString, destination);
        makeTree({QStringLiteral("src/a.txt=a"), QStringLiteral("src/sub/b.txt=b")});
        const QStringList before = listTree(at(QStringLiteral("src")));
        QVERIFY(!copyDirectory(at(QStringLiteral("src")), at(destination), true));
        QVERIFY(!copyDirectoryStrict(at(QStringLiteral("src")), at(destination), true));
        QCOMPARE(listTree(at(QStringLiteral("src"))), before);
        QCOMPARE(contentOf(at(QStringLiteral("src/a.txt"))), QByteArray("a"));
    }

    void copyStopsAtLinkLoops()
    {
        makeTree({QStringLiteral("src/a.txt=a")});
        QVERIFY(QFile::link(at(QStringLiteral("src")), at(QStringLiteral("src/loop"))));
        QVERIFY(copyDirectory(at(QStringLiteral("src")), at(QStringLiteral("dst")), false));
        const QStringList copied = listTree(at(QStringLiteral("dst")));
        QVERIFY(copied.contains(QStringLiteral("a.txt")));
        QVERIFY2(copied.size() < 10, qPrintable(copied.join(QLatin1Char(' '))));
    }
};

QTEST_GUILESS_MAIN(FileFunctionsTest)
#include "FileFunctionsTest.moc"
