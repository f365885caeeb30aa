#pragma once
// Byte counts, time stamps and user-typed page selections as display text.

#include <QString>
#include <QVector>

// "1023B", "1.50KB", "2.00MB", "5.00G" (the gigabyte unit is "G").
QString sizeText(qint64 bytes);

// "1023.0 bytes", "1.5 KB", ... up to "TB".
QString sizeTextWithUnit(qint64 bytes);

// The local time as "yyyy-MM-dd-hh-mm-ss-zzz".
QString timeStampText();

// A process-wide counter: 1, 2, ... 999, then 0, 1, ...
int nextSerial();

// 60 for mode 0, 20 for mode 2, 40 otherwise.
int valueForMode(int mode);

// "1-3".
QString defaultPageRange();

// Page selections such as "1-3,5；8~10": groups split by ";" or "；", items by "," or "，",
// range ends by "-" or "~". A piece that is not a number reads as 0; values above maxPage
// are clamped to maxPage; an item with more than one range separator (other than a
// trailing one) selects nothing.

// The selected pages in input order, duplicates kept.
QVector<int> parsePageList(const QString &text, int maxPage);

// The number of distinct values selected (0 counts when selected).
int countSelectedPages(const QString &text, int maxPage);

// The selected pages 1..maxPage, ascending, each once, joined by ","; "1-maxPage" when
// the text is empty or selects no such page.
QString normalizePageList(const QString &text, int maxPage);

// Sorts pages in place and writes runs as "first-last" and single pages, joined by ",".
QString formatPageRanges(QVector<int> &pages);

// Replaces text by the ranges of pages 1..maxPage it does not select ("1" when it selects
// them all) and returns how many pages it does not select. An empty text stays as it is.
int invertPageList(QString &text, int maxPage);
