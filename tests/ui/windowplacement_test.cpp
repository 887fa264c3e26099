// Where the placement rule puts a window: the practice window's designed
// 1024 x 768 on screens of other sizes, free areas and frames, and its
// content when the window fills a screen.

#include "ui/layouttable.h"
#include "ui/windowplacement.h"

#include <QtTest>

// The practice window's client size at a scale.
const auto designedSize = [](qreal scale) { return ui::windowSize(ui::practiceLayout(), scale); };

class WindowPlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void fitsOnScreen_data();
    void fitsOnScreen();
    void fillsTheWindow_data();
    void fillsTheWindow();
};

void WindowPlacementTest::fitsOnScreen_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QRect>("client");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("device"); // the screen in device pixels
    QTest::addColumn<QMargins>("deviceFrame");
    const QMargins none;
    QTest::newRow("as designed") << QRect(0, 0, 1024, 768) << QRect(0, 0, 1024, 768) << none << 1.0
                                 << QRect(0, 0, 1024, 768) << 1.0 << QSize() << QMargins();
    QTest::newRow("larger screen, centred")
        << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1080) << none << 1.0
        << QRect(448, 156, 1024, 768) << 1.0 << QSize() << QMargins();
    QTest::newRow("second screen, right of the first")
        << QRect(1920, 0, 1280, 1024) << QRect(1920, 0, 1280, 1024) << none << 1.0
        << QRect(2048, 128, 1024, 768) << 1.0 << QSize() << QMargins();
    QTest::newRow("smaller screen, scaled down")
        << QRect(0, 0, 800, 600) << QRect(0, 0, 800, 600) << none << 800.0 / 1024
        << QRect(0, 0, 800, 600) << 1.0 << QSize() << QMargins();
    QTest::newRow("a panel takes 28 rows")
        << QRect(0, 0, 1024, 768) << QRect(0, 28, 1024, 740) << none << 740.0 / 768
        << QRect(18, 28, 987, 740) << 1.0 << QSize() << QMargins();
    QTest::newRow("centred on the screen where the free area allows it")
        << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1040) << none << 1.0
        << QRect(448, 156, 1024, 768) << 1.0 << QSize() << QMargins();
    QTest::newRow("framed window on 320 x 240")
        << QRect(0, 0, 320, 240) << QRect(0, 0, 320, 240) << QMargins(1, 20, 1, 5) << 215.0 / 768
        << QRect(16, 20, 287, 215) << 1.0 << QSize() << QMargins();
    // 683 x 512 logical pixels stand for 1024 x 768 at 1.5; 683 would be
    // 1025 device pixels wide.
    QTest::newRow("1024 x 768 at 1.5")
        << QRect(0, 0, 683, 512) << QRect(0, 0, 683, 512) << none << 682.0 / 1024
        << QRect(0, 0, 682, 512) << 1.5 << QSize(1024, 768) << QMargins();
    // Qt rounds 1280 / 3 up to 427, which would stand for 1281 device pixels.
    QTest::newRow("1280 x 1024 at 3")
        << QRect(0, 0, 427, 341) << QRect(0, 0, 427, 341) << none << 426.0 / 1024
        << QRect(0, 11, 426, 320) << 3.0 << QSize(1280, 1024) << QMargins();
    QTest::newRow("800 x 600 at 3")
        << QRect(0, 0, 267, 200) << QRect(0, 0, 267, 200) << none << 266.0 / 1024
        << QRect(0, 0, 266, 200) << 3.0 << QSize(800, 600) << QMargins();
    QTest::newRow("framed window on 320 x 240 at 1.5")
        << QRect(0, 0, 213, 160) << QRect(0, 0, 213, 160) << QMargins(1, 13, 1, 3) << 143.0 / 768
        << QRect(11, 13, 191, 143) << 1.5 << QSize(320, 240) << QMargins(1, 20, 1, 5);
    // A font DPI of 400: 4.17 device pixels to a pixel; the frame's 20 rows
    // above and 5 below are 5 and 1 logical pixels, which stand for up to 22
    // and 6.
    QTest::newRow("framed window on 1280 x 1024 at 4.17")
        << QRect(0, 0, 307, 246) << QRect(0, 0, 307, 246) << QMargins(0, 5, 0, 1) << 306.0 / 1024
        << QRect(1, 10, 306, 230) << 400.0 / 96 << QSize(1280, 1024) << QMargins(1, 20, 1, 5);
}

void WindowPlacementTest::fitsOnScreen()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, available);
    QFETCH(QMargins, frame);
    QFETCH(qreal, scale);
    QFETCH(QRect, client);
    QFETCH(qreal, ratio);
    QFETCH(QSize, device);
    QFETCH(QMargins, deviceFrame);
    // The free area and the frame as the window system has them, in device pixels.
    const ui::DeviceRoom room{device.isValid() ? QRect(QPoint(), device)
                                               : available.translated(-screen.topLeft()),
                              device.isValid() ? deviceFrame : frame};
    const ui::Placement placement =
        ui::fitOnScreen(designedSize, frame, screen, available, room, ratio);
    QCOMPARE(placement.scale, scale);
    QCOMPARE(placement.client, client);
    QVERIFY(available.contains(placement.client.marginsAdded(frame)));
    if (device.isValid()) {
        // As Qt rounds it: each of position and size on its own.
        const auto d = [ratio](int v) { return qRound(v * ratio); };
        const QRect c = placement.client;
        const QRect onDevice =
            QRect(d(c.x()), d(c.y()), d(c.width()), d(c.height())).marginsAdded(deviceFrame);
        QVERIFY2(QRect(QPoint(), device).contains(onDevice),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(onDevice.x())
                                .arg(onDevice.y())
                                .arg(onDevice.width())
                                .arg(onDevice.height())));
    }
}

void WindowPlacementTest::fillsTheWindow_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("1024 x 768") << QSize(1024, 768) << 1.0 << QPoint(0, 0);
    QTest::newRow("1920 x 1080, white at the sides")
        << QSize(1920, 1080) << 1080.0 / 768 << QPoint(240, 0);
    QTest::newRow("1024 x 600") << QSize(1024, 600) << 600.0 / 768 << QPoint(112, 0);
    QTest::newRow("1280 x 1024, white above and below")
        << QSize(1280, 1024) << 1280.0 / 1024 << QPoint(0, 32);
}

void WindowPlacementTest::fillsTheWindow()
{
    QFETCH(QSize, window);
    QFETCH(qreal, scale);
    QFETCH(QPoint, origin);
    const ui::Filling filling = ui::fillWindow(designedSize, window);
    QCOMPARE(filling.scale, scale);
    QCOMPARE(filling.origin, origin);
}

QTEST_MAIN(WindowPlacementTest)
#include "windowplacement_test.moc"
