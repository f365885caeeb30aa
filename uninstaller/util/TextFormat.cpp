#include "TextFormat.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <climits>

namespace {

// Calls select(value) for every value the text selects, item after item in input order.
template <typename Select>
void forEachSelectedPage(const QString &text, int maxPage, Select select)
{
    if (text.isEmpty())
        return;
    static const QRegularExpression groupSeparators(QStringLiteral("[;\uFF1B]"));
    static const QRegularExpression itemSeparators(QStringLiteral("[,\uFF0C]"));
    static const QRegularExpression rangeSeparators(QStringLiteral("[-~]"));

    const QStringList groups = text.split(groupSeparators, Qt::KeepEmptyParts);
    for (const QString &group : groups) {
        if (group.isEmpty())
            continue;
        const QStringList items = group.split(itemSeparators, Qt::SkipEmptyParts);
        for (const QString &item : items) {
            const QStringList pieces = item.split(rangeSeparators, Qt::KeepEmptyParts);
            qint64 lo = 0;
            qint64 hi = 0;
            if (pieces.size() == 1) {
                const int n = pieces[0].toInt(nullptr, 10);
                select(n > maxPage ? maxPage : n);
                continue;
            }
            if (pieces.size() > 3 || (pieces.size() == 3 && !pieces[2].isEmpty()))
                continue;
            const int a = pieces[0].toInt(nullptr, 10);
            if (pieces[1].isEmpty()) {
                lo = hi = a;
            } else {
                const int b = pieces[1].toInt(nullptr, 10);
                lo = qMin(a, b);
                hi = qMax(a, b);
            }
            if (lo > maxPage) {
                select(maxPage);
                continue;
            }
            if (hi > maxPage)
                hi = maxPage;
            // 64-bit counter: a range ending at INT_MAX must still stop.
            for (qint64 page = lo; page <= hi; ++page)
                select(static_cast<int>(page));
        }
    }
}

} // namespace

// --- sizes and time ---

QString sizeText(qint64 bytes)
{
    // Every branch formats a double: "%f" with a 64-bit integer argument reads garbage.
    const double value = static_cast<double>(bytes);
    if (bytes < 0)
        return QString::asprintf("%.0fB", value);
    if (bytes >= 1073741824LL)
        return QString::asprintf("%.2fG", value / 1073741824.0);
    if (bytes >= 1048576LL)
        return QString::asprintf("%.2fMB", value / 1048576.0);
    if (bytes >= 1024LL)
        return QString::asprintf("%.2fKB", value / 1024.0);
    return QString::asprintf("%.0fB", value);
}

QString sizeTextWithUnit(qint64 bytes)
{
    static const char *const units[] = {"bytes", "KB", "MB", "GB", "TB"};
    const int lastUnit = int(sizeof(units) / sizeof(units[0])) - 1;
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024.0 && unit < lastUnit) {
        ++unit;
        value /= 1024.0;
    }
    return QString::number(value, 'f', 1) + QLatin1Char(' ') + QLatin1String(units[unit]);
}

QString timeStampText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss-zzz"));
}

int nextSerial()
{
    static int serial = 0;
    int next = serial + 1;
    if (next > 999)
        next = 0;
    serial = next;
    return next;
}

int valueForMode(int mode)
{
    if (mode == 0)
        return 60;
    if (mode == 2)
        return 20;
    return 40;
}

QString defaultPageRange()
{
    return QStringLiteral("1-3");
}

// --- page lists ---

QVector<int> parsePageList(const QString &text, int maxPage)
{
    QVector<int> pages;
    forEachSelectedPage(text, maxPage, [&pages](int page) { pages.append(page); });
    return pages;
}

int countSelectedPages(const QString &text, int maxPage)
{
    QSet<int> pages;
    forEachSelectedPage(text, maxPage, [&pages](int page) { pages.insert(page); });
    return pages.size();
}

QString normalizePageList(const QString &text, int maxPage)
{
    const QString everything = QStringLiteral("1-") + QString::number(maxPage);
    if (text.isEmpty())
        return everything;
    // One above the maximum marks values that were out of range; at INT_MAX none can be.
    const int limit = maxPage == INT_MAX ? maxPage : maxPage + 1;
    QVector<int> pages = parsePageList(text, limit);
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());

    QString result;
    for (int page : qAsConst(pages)) {
        if (page > maxPage)
            break;
        if (page <= 0)
            continue;
        if (!result.isEmpty())
            result += QLatin1Char(',');
        result += QString::number(page);
    }
    return result.isEmpty() ? everything : result;
}

QString formatPageRanges(QVector<int> &pages)
{
    std::sort(pages.begin(), pages.end());
    QString text;
    if (pages.isEmpty())
        return text;
    text = QString::number(pages[0]);
    const int count = pages.size();
    for (int i = 1; i < count; ++i) {
        const int v = pages[i];
        const int u = pages[i - 1];
        if (qint64(v) - qint64(u) == 1) {
            if (!text.endsWith(QLatin1Char('-')))
                text += QLatin1Char('-');
        } else {
            if (text.endsWith(QLatin1Char('-')))
                text += QString::number(u);
            text += QLatin1Char(',') + QString::number(v);
        }
        if (i == count - 1 && text.endsWith(QLatin1Char('-')))
            text += QString::number(v);
    }
    return text;
}

int invertPageList(QString &text, int maxPage)
{
    if (text.isEmpty())
        return 0;
    QSet<int> left;
    for (qint64 page = 1; page <= maxPage; ++page)
        left.insert(static_cast<int>(page));
    forEachSelectedPage(text, maxPage, [&left](int page) { left.remove(page); });

    QVector<int> pages(left.cbegin(), left.cend());
    const int notSelected = pages.size();
    if (pages.isEmpty() && maxPage > 0)
        pages.append(1);
    text = formatPageRanges(pages);
    return notSelected;
}
