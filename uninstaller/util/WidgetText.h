#pragma once
// Measuring and eliding widget text, Windows colour values and rounded pixmaps.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>

class QLabel;

// The advance width of text in "Microsoft YaHei" (or the font standing in for it) at pixelSize.
int textPixelWidth(const QString &text, int pixelSize);

// text cut on the right with an ellipsis when it is at least as wide as width.
QString elideText(const QFont &font, const QString &text, int width);

// Shows text in label cut to the label's width; the full text becomes the tooltip only
// when it had to be cut, otherwise the tooltip is cleared.
void setElidedLabelText(QLabel *label, const QString &text);

// The Windows colour value 0x00BBGGRR of color; alpha is dropped.
uint toColorRef(const QColor &color);

// The colour of an ARGB value 0xAARRGGBB, alpha included.
QColor colorFromArgb(const uint &argb);

// source scaled to size (aspect ignored) inside a rounded rectangle of radius; the
// corners outside it are transparent. A null source gives a null pixmap.
QPixmap roundedPixmap(const QPixmap &source, const QSize &size, double radius);
