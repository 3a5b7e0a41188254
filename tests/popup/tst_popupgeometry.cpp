// The popup's placement, stacking, slide and colour rules, checked without any display.

#include "popup/BlendColor.h"
#include "popup/PopupPlacement.h"
#include "popup/PopupSlide.h"
#include "popup/PopupText.h"
#include "popup/TaskbarEdge.h"

#include <QTest>

#include <limits>

using namespace popup;

Q_DECLARE_METATYPE(popup::WorkArea)
Q_DECLARE_METATYPE(popup::RgbColor)

namespace {

const QRect screen1080(0, 0, 1920, 1080);

// A 1920 × 1080 screen whose taskbar takes a 40 px strip on the given side.
WorkArea workAreaWithTaskbar(int edge)
{
    switch (edge) {
    case EdgeLeft:
        return {40, 0, 1920, 1080};
    case EdgeTop:
        return {0, 40, 1920, 1080};
    case EdgeRight:
        return {0, 0, 1880, 1080};
    default:
        return {0, 0, 1920, 1040};
    }
}

} // namespace

class TestPopupGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void taskbarEdgeFromScreenAndWorkArea_data();
    void taskbarEdgeFromScreenAndWorkArea();
    void popupPositionPerEdge_data();
    void popupPositionPerEdge();
    void fitTest_data();
    void fitTest();
    void stackOnBottomTaskbarHoldsEightWindows();
    void slideEndsAtRestingFramePerEdge_data();
    void slideEndsAtRestingFramePerEdge();
    void mulDivRoundsHalvesAwayFromZero_data();
    void mulDivRoundsHalvesAwayFromZero();
    void blendColor_data();
    void blendColor();
    void centeredPositionRoundsHalvesToEven_data();
    void centeredPositionRoundsHalvesToEven();
    void carriageReturnsBreakLines_data();
    void carriageReturnsBreakLines();
};

void TestPopupGeometry::taskbarEdgeFromScreenAndWorkArea_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<int>("edge");

    QTest::newRow("bottom") << screen1080 << QRect(0, 0, 1920, 1040) << int(EdgeBottom);
    QTest::newRow("top") << screen1080 << QRect(0, 30, 1920, 1050) << int(EdgeTop);
    QTest::newRow("left") << screen1080 << QRect(60, 0, 1860, 1080) << int(EdgeLeft);
    QTest::newRow("right") << screen1080 << QRect(0, 0, 1860, 1080) << int(EdgeRight);
    QTest::newRow("nothing cut: hidden taskbar") << screen1080 << screen1080 << int(EdgeBottom);
    QTest::newRow("top panel and wider bottom dock")
        << screen1080 << QRect(0, 27, 1920, 1005) << int(EdgeBottom);
    QTest::newRow("wider top panel and bottom dock")
        << screen1080 << QRect(0, 60, 1920, 990) << int(EdgeTop);
    QTest::newRow("second screen to the right")
        << QRect(1920, 0, 1280, 1024) << QRect(1920, 0, 1280, 990) << int(EdgeBottom);
    QTest::newRow("no screen") << QRect() << QRect() << int(EdgeUnknown);
    QTest::newRow("work area outside the screen")
        << screen1080 << QRect(0, 0, 2000, 1040) << int(EdgeUnknown);
}

void TestPopupGeometry::taskbarEdgeFromScreenAndWorkArea()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, workArea);
    QFETCH(int, edge);
    QCOMPARE(TaskbarEdge({screen, workArea}), edge);
}

void TestPopupGeometry::popupPositionPerEdge_data()
{
    QTest::addColumn<int>("edge");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QPoint>("topLeft");

    // Window 200 × 120, PopupStartX 16, PopupStartY 2, a 40 px taskbar.
    QTest::newRow("bottom") << int(EdgeBottom) << 0 << QPoint(1920 - 200 - 16, 1040 - 2 - 120);
    QTest::newRow("bottom, stacked")
        << int(EdgeBottom) << 122 << QPoint(1704, 1040 - 2 - 120 - 122);
    QTest::newRow("top, stacked") << int(EdgeTop) << 122 << QPoint(1704, 40 + 2 + 122);
    QTest::newRow("left, stacked upwards")
        << int(EdgeLeft) << 122 << QPoint(40 + 16, 1080 - 2 - 120 - 122);
    QTest::newRow("right, stacked upwards")
        << int(EdgeRight) << 122 << QPoint(1880 - 200 - 16, 1080 - 2 - 120 - 122);
    QTest::newRow("unknown counts as bottom") << int(EdgeUnknown) << 0 << QPoint(1704, 918);
}

void TestPopupGeometry::popupPositionPerEdge()
{
    QFETCH(int, edge);
    QFETCH(int, offset);
    QFETCH(QPoint, topLeft);
    const WorkArea area = workAreaWithTaskbar(placementEdge(edge));
    QCOMPARE(popupPosition(edge, QSize(200, 120), {area, 16, 2, offset}), topLeft);
}

void TestPopupGeometry::fitTest_data()
{
    QTest::addColumn<int>("edge");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("fits");

    // Height 120, PopupStartY 2; the work area ends at 1040 (bottom taskbar) or 1080.
    QTest::newRow("bottom, last room") << int(EdgeBottom) << 1040 - 122 << true;
    QTest::newRow("bottom, one pixel short") << int(EdgeBottom) << 1040 - 121 << false;
    QTest::newRow("top, last room") << int(EdgeTop) << 1080 - 122 << true;
    QTest::newRow("top, one pixel short") << int(EdgeTop) << 1080 - 121 << false;
    QTest::newRow("left, top stays in the work area") << int(EdgeLeft) << 1080 - 122 << true;
    QTest::newRow("left, top would leave it") << int(EdgeLeft) << 1080 - 121 << false;
    QTest::newRow("right, top would leave it") << int(EdgeRight) << 1080 - 121 << false;
}

void TestPopupGeometry::fitTest()
{
    QFETCH(int, edge);
    QFETCH(int, offset);
    QFETCH(bool, fits);
    QCOMPARE(nextPopupFits(edge, 120, {workAreaWithTaskbar(edge), 16, 2, offset}), fits);
}

void TestPopupGeometry::stackOnBottomTaskbarHoldsEightWindows()
{
    // Height 120 and PopupMarge 2 move each further window 122 px up.
    const WorkArea area = workAreaWithTaskbar(EdgeBottom);
    QList<int> offsets;
    for (int offset = 0; nextPopupFits(EdgeBottom, 120, {area, 16, 2, offset}); offset += 122)
        offsets.append(offset);
    QCOMPARE(offsets, (QList<int> {0, 122, 244, 366, 488, 610, 732, 854}));
}

void TestPopupGeometry::slideEndsAtRestingFramePerEdge_data()
{
    QTest::addColumn<int>("edge");
    QTest::addColumn<QRect>("collapsed");
    QTest::addColumn<int>("ticks");

    // Window 200 × 120 at speed 9: widths 1, 10, ..., 199, 200 take 23 ticks.
    // Height 120: heights 1, 10, ..., 118, 120 take 14 ticks.
    QTest::newRow("bottom") << int(EdgeBottom) << QRect(1704, 1038, 200, 1) << 14;
    QTest::newRow("left") << int(EdgeLeft) << QRect(56, 958, 1, 120) << 23;
    QTest::newRow("top") << int(EdgeTop) << QRect(1704, 42, 200, 1) << 14;
    QTest::newRow("right") << int(EdgeRight) << QRect(1864, 958, 1, 120) << 23;
}

void TestPopupGeometry::slideEndsAtRestingFramePerEdge()
{
    QFETCH(int, edge);
    QFETCH(QRect, collapsed);
    QFETCH(int, ticks);
    const WorkArea area = workAreaWithTaskbar(edge);
    const StackPlacement placement {area, 16, 2, 0};
    const QRect resting(popupPosition(edge, QSize(200, 120), placement), QSize(200, 120));
    QCOMPARE(collapsedFrame(edge, resting), collapsed);

    // The corner on the taskbar's side stays put while the window grows or shrinks.
    const auto anchor = [edge](const QRect &r) {
        switch (edge) {
        case EdgeBottom:
            return QPoint(r.x(), r.y() + r.height());
        case EdgeRight:
            return QPoint(r.x() + r.width(), r.y());
        default:
            return r.topLeft();
        }
    };

    QRect frame = collapsed;
    int taken = 0;
    for (;;) {
        const SlideStep step = slideInStep(edge, frame, {QSize(200, 120), 9, placement});
        frame = step.frame;
        if (++taken > 100 || step.finished)
            break;
        QCOMPARE(anchor(frame), anchor(collapsed));
    }
    QCOMPARE(taken, ticks);
    QCOMPARE(frame, resting);

    int outTicks = 0;
    for (SlideStep step = slideOutStep(edge, frame, 9); !step.finished;
         step = slideOutStep(edge, frame, 9)) {
        frame = step.frame;
        QCOMPARE(anchor(frame), anchor(resting));
        ++outTicks;
    }
    QCOMPARE(outTicks + 1, ticks);
}

void TestPopupGeometry::mulDivRoundsHalvesAwayFromZero_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::addColumn<int>("result");

    QTest::newRow("exact") << 6 << 4 << 3 << 8;
    QTest::newRow("1.5 up") << 3 << 1 << 2 << 2;
    QTest::newRow("-1.5 down") << -3 << 1 << 2 << -2;
    QTest::newRow("-1.5 with negative divisor") << 3 << 1 << -2 << -2;
    QTest::newRow("1.33 down") << 4 << 1 << 3 << 1;
    QTest::newRow("1.67 up") << 5 << 1 << 3 << 2;
    QTest::newRow("-127.5") << 1 << -255 << 2 << -128;
    QTest::newRow("64-bit product") << 100000 << 100000 << 50000 << 200000;
    QTest::newRow("zero divisor") << 1 << 1 << 0 << -1;
    QTest::newRow("overflow") << std::numeric_limits<int>::max() << 4 << 1 << -1;
}

void TestPopupGeometry::mulDivRoundsHalvesAwayFromZero()
{
    QFETCH(int, number);
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QFETCH(int, result);
    QCOMPARE(MulDiv(number, numerator, denominator), result);
}

void TestPopupGeometry::blendColor_data()
{
    QTest::addColumn<RgbColor>("c1");
    QTest::addColumn<RgbColor>("c2");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("count");
    QTest::addColumn<RgbColor>("blended");

    const RgbColor red {255, 0, 0};
    const RgbColor white {255, 255, 255};
    const RgbColor sky {153, 204, 255};
    QTest::newRow("first line is colour 1") << red << white << 1 << 197 << red;
    QTest::newRow("last line is colour 2") << red << white << 197 << 197 << white;
    QTest::newRow("sky first line") << sky << white << 1 << 117 << sky;
    QTest::newRow("sky last line") << sky << white << 117 << 117 << white;
    QTest::newRow("half way rounds up") << red << white << 2 << 3 << RgbColor {255, 128, 128};
    QTest::newRow("half way down rounds away from zero")
        << white << red << 2 << 3 << RgbColor {255, 127, 127};
    // A quarter of the way: 102 / 4 = 25.5 → 26 and 51 / 4 = 12.75 → 13.
    QTest::newRow("quarter") << sky << white << 2 << 5 << RgbColor {179, 217, 255};
    // One line: MulDiv by zero gives -1, and the channel keeps its low 8 bits.
    QTest::newRow("single line wraps to low 8 bits")
        << RgbColor {0, 10, 255} << white << 1 << 1 << RgbColor {255, 9, 254};
}

void TestPopupGeometry::blendColor()
{
    QFETCH(RgbColor, c1);
    QFETCH(RgbColor, c2);
    QFETCH(int, position);
    QFETCH(int, count);
    QFETCH(RgbColor, blended);
    const RgbColor actual = BlendColor(c1, c2, position, count);
    QCOMPARE(QList<int>({actual.red, actual.green, actual.blue}),
             QList<int>({blended.red, blended.green, blended.blue}));
}

void TestPopupGeometry::centeredPositionRoundsHalvesToEven_data()
{
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner");
    QTest::addColumn<int>("start");

    QTest::newRow("even gap") << 200 << 170 << 15;
    QTest::newRow("5.5 to 6") << 196 << 185 << 6;
    QTest::newRow("6.5 to 6") << 196 << 183 << 6;
    QTest::newRow("7.5 to 8") << 200 << 185 << 8;
    QTest::newRow("39.5 to 40") << 120 << 41 << 40;
    QTest::newRow("-0.5 to 0") << 10 << 11 << 0;
    QTest::newRow("-1.5 to -2") << 10 << 13 << -2;
    QTest::newRow("-2.5 to -2") << 10 << 15 << -2;
}

void TestPopupGeometry::centeredPositionRoundsHalvesToEven()
{
    QFETCH(int, outer);
    QFETCH(int, inner);
    QFETCH(int, start);
    QCOMPARE(centeredPosition(outer, inner), start);
}

void TestPopupGeometry::carriageReturnsBreakLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("CR") << QStringLiteral("a\rb\rc") << QStringLiteral("a\nb\nc");
    QTest::newRow("CR LF is one break") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("LF kept") << QStringLiteral("a\nb") << QStringLiteral("a\nb");
    QTest::newRow("empty lines kept") << QStringLiteral("a\r\rb") << QStringLiteral("a\n\nb");
    QTest::newRow("no breaks") << QStringLiteral("A&B") << QStringLiteral("A&B");
}

void TestPopupGeometry::carriageReturnsBreakLines()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(withLineBreaks(text), shown);
}

QTEST_APPLESS_MAIN(TestPopupGeometry)
#include "tst_popupgeometry.moc"
