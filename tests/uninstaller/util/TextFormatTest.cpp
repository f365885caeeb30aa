// Size and time text, the serial counter and the page-selection family.

#include "TextFormat.h"

#include <QRegularExpression>
#include <QTest>

#include <climits>

using PageList = QVector<int>;

class TextFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void shortSizeText_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << qint64(0) << "0B";
        QTest::newRow("below a kilobyte") << qint64(1023) << "1023B";
        QTest::newRow("one kilobyte") << qint64(1024) << "1.00KB";
        QTest::newRow("one and a half") << qint64(1536) << "1.50KB";
        QTest::newRow("below a megabyte") << qint64(1048575) << "1024.00KB";
        QTest::newRow("one megabyte") << qint64(1048576) << "1.00MB";
        QTest::newRow("one gigabyte") << qint64(1073741824) << "1.00G";
        QTest::newRow("five gigabytes") << qint64(5368709120LL) << "5.00G";
        QTest::newRow("four terabytes") << qint64(4398046511104LL) << "4096.00G";
        QTest::newRow("negative") << qint64(-5) << "-5B";
        QTest::newRow("large negative") << qint64(-5368709120LL) << "-5368709120B";
    }

    void shortSizeText()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, expected);
        QCOMPARE(sizeText(bytes), expected);
    }

    void sizeTextWithSpacedUnit_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << qint64(0) << "0.0 bytes";
        QTest::newRow("below a kilobyte") << qint64(1023) << "1023.0 bytes";
        QTest::newRow("one and a half KB") << qint64(1536) << "1.5 KB";
        QTest::newRow("one megabyte") << qint64(1048576) << "1.0 MB";
        QTest::newRow("one gigabyte") << qint64(1073741824) << "1.0 GB";
        QTest::newRow("one terabyte") << (qint64(1) << 40) << "1.0 TB";
        QTest::newRow("no unit beyond TB") << (qint64(1) << 50) << "1024.0 TB";
        QTest::newRow("negative stays in bytes") << qint64(-2048) << "-2048.0 bytes";
    }

    void sizeTextWithSpacedUnit()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, expected);
        QCOMPARE(sizeTextWithUnit(bytes), expected);
    }

    void timeStampHasMillisecondFormat()
    {
        const QString stamp = timeStampText();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d{3}$"))
                     .match(stamp).hasMatch(),
                 qPrintable(stamp));
        QCOMPARE(stamp.left(4), QString::number(QDate::currentDate().year()));
    }

    void serialCountsToNineHundredNinetyNineThenWraps()
    {
        // The counter is process-wide: this is the only test that uses it.
        for (int expected = 1; expected <= 999; ++expected)
            QCOMPARE(nextSerial(), expected);
        QCOMPARE(nextSerial(), 0);
        QCOMPARE(nextSerial(), 1);
    }

    void modeValuesAndDefaultRange_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("expected");
        QTest::newRow("0") << 0 << 60;
        QTest::newRow("1") << 1 << 40;
        QTest::newRow("2") << 2 << 20;
        QTest::newRow("-1") << -1 << 40;
        QTest::newRow("7") << 7 << 40;
    }

    void modeValuesAndDefaultRange()
    {
        QFETCH(int, mode);
        QFETCH(int, expected);
        QCOMPARE(valueForMode(mode), expected);
        QCOMPARE(defaultPageRange(), QStringLiteral("1-3"));
    }

    void parsesPageSelections_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxPage");
        QTest::addColumn<PageList>("expected");
        QTest::newRow("input order and duplicates") << "3,1,2-4" << 10 << PageList{3, 1, 2, 3, 4};
        QTest::newRow("tilde range clamped") << "8~12" << 10 << PageList{8, 9, 10};
        QTest::newRow("single above max") << "15" << 10 << PageList{10};
        QTest::newRow("range above max") << "12-20" << 10 << PageList{10};
        QTest::newRow("reversed range") << "7-5" << 10 << PageList{5, 6, 7};
        QTest::newRow("open end") << "5-" << 10 << PageList{5};
        QTest::newRow("two separators") << "1-2-3" << 10 << PageList{};
        QTest::newRow("trailing separator") << "1-2-" << 10 << PageList{1, 2};
        QTest::newRow("four pieces") << "1-2--" << 10 << PageList{};
        QTest::newRow("full-width separators") << QStringLiteral("1；2;3，4") << 10 << PageList{1, 2, 3, 4};
        QTest::newRow("not a number") << "x" << 10 << PageList{0};
        QTest::newRow("open start") << "-4" << 10 << PageList{0, 1, 2, 3, 4};
        QTest::newRow("empty parts skipped") << ";;1,,2;" << 10 << PageList{1, 2};
        QTest::newRow("spaces are not separators") << "1 2" << 10 << PageList{0};
        QTest::newRow("empty text") << "" << 10 << PageList{};
        QTest::newRow("groups with ranges") << QStringLiteral("1-3,5；8~10") << 10
                                            << PageList{1, 2, 3, 5, 8, 9, 10};
    }

    void parsesPageSelections()
    {
        QFETCH(QString, text);
        QFETCH(int, maxPage);
        QFETCH(PageList, expected);
        QCOMPARE(parsePageList(text, maxPage), expected);
    }

    void rangeToIntMaxStops()
    {
        // The last page of a range ending at INT_MAX must not wrap the counter.
        const PageList pages = parsePageList(QStringLiteral("2147483645-2147483647"), INT_MAX);
        QCOMPARE(pages, (PageList{INT_MAX - 2, INT_MAX - 1, INT_MAX}));
        QCOMPARE(normalizePageList(QStringLiteral("2147483647"), INT_MAX), QStringLiteral("2147483647"));
    }

    void countsDistinctValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("overlapping") << "1-3,2,3" << 3;
        QTest::newRow("zero counts") << "abc" << 1;
        QTest::newRow("clamped together") << "15,12-20,10" << 1;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("invalid item") << "1-2-3" << 0;
    }

    void countsDistinctValues()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(countSelectedPages(text, 10), expected);
    }

    void normalizesSelections_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << "" << "1-10";
        QTest::newRow("sorted once") << "3,1,2-4" << "1,2,3,4";
        QTest::newRow("range beyond max") << "5-20" << "5,6,7,8,9,10";
        QTest::newRow("single beyond max") << "15" << "1-10";
        QTest::newRow("zero and text") << "0,abc" << "1-10";
        QTest::newRow("last page kept") << "10,15" << "10";
        QTest::newRow("invalid only") << "1-2-3" << "1-10";
    }

    void normalizesSelections()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(normalizePageList(text, 10), expected);
    }

    void formatsRuns_data()
    {
        QTest::addColumn<PageList>("pages");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<PageList>("sorted");
        QTest::newRow("runs and singles") << PageList{1, 2, 3, 5, 7, 8} << "1-3,5,7-8" << PageList{1, 2, 3, 5, 7, 8};
        QTest::newRow("unsorted") << PageList{5, 3, 4} << "3-5" << PageList{3, 4, 5};
        QTest::newRow("one page") << PageList{4} << "4" << PageList{4};
        QTest::newRow("empty") << PageList{} << "" << PageList{};
        QTest::newRow("equal neighbours") << PageList{1, 1, 2} << "1,1-2" << PageList{1, 1, 2};
        QTest::newRow("run then single") << PageList{9, 1, 2} << "1-2,9" << PageList{1, 2, 9};
        QTest::newRow("extremes") << PageList{INT_MAX, INT_MIN} << QString::number(INT_MIN) + ","
                                         + QString::number(INT_MAX)
                                  << PageList{INT_MIN, INT_MAX};
    }

    void formatsRuns()
    {
        QFETCH(PageList, pages);
        QFETCH(QString, expected);
        QFETCH(PageList, sorted);
        QCOMPARE(formatPageRanges(pages), expected);
        QCOMPARE(pages, sorted);
    }

    void invertsSelections_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxPage");
        QTest::addColumn<QString>("inverted");
        QTest::addColumn<int>("count");
        QTest::newRow("middle") << "2-4" << 6 << "1,5-6" << 3;
        QTest::newRow("everything") << "1-6" << 6 << "1" << 0;
        QTest::newRow("empty stays") << "" << 6 << "" << 0;
        QTest::newRow("clamped to last") << "9" << 6 << "1-5" << 5;
        QTest::newRow("no pages") << "3" << 0 << "" << 0;
        QTest::newRow("nothing valid") << "1-2-3" << 4 << "1-4" << 4;
        QTest::newRow("zero is not a page") << "0,x" << 3 << "1-3" << 3;
    }

    void invertsSelections()
    {
        QFETCH(QString, text);
        QFETCH(int, maxPage);
        QFETCH(QString, inverted);
        QFETCH(int, count);
        QCOMPARE(invertPageList(text, maxPage), count);
        QCOMPARE(text, inverted);
    }
};

QTEST_APPLESS_MAIN(TextFormatTest)
#include "TextFormatTest.moc"
