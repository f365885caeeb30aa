// Text measuring and eliding, colour conversion and rounded pixmaps.

#include "WidgetText.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>

namespace {

const QChar kEllipsis(0x2026);

QFont testFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    return font;
}

} // namespace

class WidgetTextTest : public QObject
{
    Q_OBJECT

private slots:
    void measuresInPixels()
    {
        QCOMPARE(textPixelWidth(QString(), 16), 0);
        const int small = textPixelWidth(QStringLiteral("Velmora"), 12);
        const int large = textPixelWidth(QStringLiteral("Velmora"), 24);
        QVERIFY(small > 0);
        QVERIFY2(large > small * 3 / 2, qPrintable(QStringLiteral("%1 %2").arg(small).arg(large)));
        QVERIFY(textPixelWidth(QStringLiteral("Velmora Velmora"), 12) > small);
        QVERIFY(textPixelWidth(QStringLiteral("x"), 0) >= 0); // no crash for a size Qt rejects
    }

    void elidesOnlyWhatDoesNotFit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("extraWidth"); // width relative to the text's own advance
        QTest::addColumn<bool>("cut");
        QTest::newRow("narrower text") << "Uninstall Velmora" << 20 << false;
        QTest::newRow("exactly as wide") << "Uninstall Velmora" << 0 << false;
        QTest::newRow("too wide") << "Uninstall Velmora" << -30 << true;
        QTest::newRow("chinese too wide") << QStringLiteral("正在卸载，请不要关闭") << -20 << true;
        QTest::newRow("empty") << "" << 10 << false;
    }

    void elidesOnlyWhatDoesNotFit()
    {
        QFETCH(QString, text);
        QFETCH(int, extraWidth);
        QFETCH(bool, cut);
        const QFont font = testFont();
        const QFontMetrics metrics(font);
        const int width = metrics.horizontalAdvance(text) + extraWidth;
        const QString shown = elideText(font, text, width);
        if (cut) {
            QVERIFY(shown != text);
            QVERIFY(shown.endsWith(kEllipsis));
            QVERIFY(text.startsWith(shown.left(shown.size() - 1)));
            QVERIFY(metrics.horizontalAdvance(shown) <= width);
        } else {
            QCOMPARE(shown, text);
        }
    }

    void labelGetsTooltipOnlyWhenCut_data()
    {
        QTest::addColumn<int>("labelWidth");
        QTest::addColumn<bool>("cut");
        QTest::newRow("wide label") << 600 << false;
        QTest::newRow("narrow label") << 60 << true;
    }

    void labelGetsTooltipOnlyWhenCut()
    {
        QFETCH(int, labelWidth);
        QFETCH(bool, cut);
        const QString text = QStringLiteral("D:/Program Files/Velmora/一个很长的文件夹名字");
        QLabel label;
        label.setFont(testFont());
        label.resize(labelWidth, 20);
        label.setToolTip(QStringLiteral("earlier tooltip"));
        setElidedLabelText(&label, text);
        if (cut) {
            QCOMPARE(label.toolTip(), text);
            QVERIFY(label.text().endsWith(kEllipsis));
            QVERIFY(QFontMetrics(label.font()).horizontalAdvance(label.text()) <= labelWidth);
        } else {
            QCOMPARE(label.toolTip(), QString());
            QCOMPARE(label.text(), text);
        }
        setElidedLabelText(nullptr, text);
    }

    void convertsToWindowsColourValue_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<uint>("expected");
        QTest::newRow("opaque red") << QColor(255, 0, 0) << 0x0000FFu;
        QTest::newRow("opaque blue") << QColor(0, 0, 255) << 0xFF0000u;
        QTest::newRow("translucent mix") << QColor(0x12, 0x34, 0x56, 0x80) << 0x563412u;
        QTest::newRow("white") << QColor(Qt::white) << 0xFFFFFFu;
        QTest::newRow("transparent black") << QColor(0, 0, 0, 0) << 0u;
    }

    void convertsToWindowsColourValue()
    {
        QFETCH(QColor, color);
        QFETCH(uint, expected);
        QCOMPARE(toColorRef(color), expected);
    }

    void readsArgbWithAlpha_data()
    {
        QTest::addColumn<uint>("argb");
        QTest::addColumn<int>("alpha");
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::newRow("half red") << 0x80FF0000u << 128 << 255 << 0 << 0;
        QTest::newRow("opaque mix") << 0xFF123456u << 255 << 0x12 << 0x34 << 0x56;
        QTest::newRow("transparent") << 0x00000000u << 0 << 0 << 0 << 0;
    }

    void readsArgbWithAlpha()
    {
        QFETCH(uint, argb);
        QFETCH(int, alpha);
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        const QColor color = colorFromArgb(argb);
        // Kept as plain RGB: equal to its own RGB conversion only then.
        QCOMPARE(color, color.toRgb());
        QCOMPARE(color.alpha(), alpha);
        QCOMPARE(color.red(), red);
        QCOMPARE(color.green(), green);
        QCOMPARE(color.blue(), blue);
        QCOMPARE(color.rgba(), argb);
        QCOMPARE(color.rgba64().alpha(), quint16(alpha * 257));
    }

    void roundedPixmapScalesAndCutsCorners_data()
    {
        QTest::addColumn<double>("radius");
        QTest::addColumn<bool>("cornersCut");
        QTest::newRow("square corners") << 0.0 << false;
        QTest::newRow("rounded") << 12.0 << true;
    }

    void roundedPixmapScalesAndCutsCorners()
    {
        QFETCH(double, radius);
        QFETCH(bool, cornersCut);
        // Four coloured quadrants, so that scaling can be checked as well as the clip.
        QImage source(20, 20, QImage::Format_ARGB32);
        {
            QPainter painter(&source);
            painter.fillRect(0, 0, 10, 10, QColor(255, 0, 0));
            painter.fillRect(10, 0, 10, 10, QColor(0, 255, 0));
            painter.fillRect(0, 10, 10, 10, QColor(0, 0, 255));
            painter.fillRect(10, 10, 10, 10, QColor(255, 255, 255));
        }

        const QPixmap result = roundedPixmap(QPixmap::fromImage(source), QSize(60, 40), radius);
        QCOMPARE(result.size(), QSize(60, 40));
        const QImage image = result.toImage().convertToFormat(QImage::Format_ARGB32);

        const QRgb corners[] = {image.pixel(0, 0), image.pixel(59, 0), image.pixel(0, 39),
                                image.pixel(59, 39)};
        for (QRgb corner : corners)
            QCOMPARE(qAlpha(corner) == 0, cornersCut);

        // Smooth scaling blends the quadrants near the middle; their far insides stay pure.
        QCOMPARE(image.pixel(14, 10), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(45, 10), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(14, 29), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(45, 29), qRgb(255, 255, 255));
    }

    void roundedPixmapOfNothingIsNull()
    {
        QVERIFY(roundedPixmap(QPixmap(), QSize(10, 10), 3).isNull());
        QPixmap solid(4, 4);
        solid.fill(Qt::red);
        QVERIFY(roundedPixmap(solid, QSize(0, 0), 3).isNull());
    }
};

QTEST_MAIN(WidgetTextTest)
#include "WidgetTextTest.moc"
