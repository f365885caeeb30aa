#include "WidgetText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

int textPixelWidth(const QString &text, int pixelSize)
{
    QFont font;
    font.setFamily(QStringLiteral("Microsoft YaHei"));
    if (pixelSize > 0) // QFont rejects other sizes with a warning and keeps its own
        font.setPixelSize(pixelSize);
    return QFontMetrics(font).horizontalAdvance(text);
}

QString elideText(const QFont &font, const QString &text, int width)
{
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) >= width)
        return metrics.elidedText(text, Qt::ElideRight, width);
    return text;
}

void setElidedLabelText(QLabel *label, const QString &text)
{
    if (!label)
        return;
    const QFontMetrics metrics(label->font());
    const int width = label->width();
    label->setToolTip(metrics.horizontalAdvance(text) > width ? text : QString());
    label->setText(metrics.elidedText(text, Qt::ElideRight, width));
}

uint toColorRef(const QColor &color)
{
    const uint rgb = color.rgb();
    return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
}

QColor colorFromArgb(const uint &argb)
{
    return QColor::fromRgba(argb);
}

QPixmap roundedPixmap(const QPixmap &source, const QSize &size, double radius)
{
    if (source.isNull() || size.isEmpty())
        return QPixmap();
    QPixmap result(size);
    result.fill(Qt::transparent);

    const QRect area(0, 0, size.width(), size.height());
    QPainterPath path;
    path.addRoundedRect(area, radius, radius, Qt::AbsoluteSize);

    QPainter painter(&result);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setClipPath(path, Qt::ReplaceClip);
    const QPixmap scaled = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.drawPixmap(area, scaled, scaled.rect());
    painter.end();
    return result;
}
