// The popup component and its windows under the offscreen platform: slide and time-out
// timers (driven tick by tick), stacking, clicks, hyperlink mode, text and background.

#include "UrlCatcher.h"

#include "main/SlidePopUp1Design.h"
#include "popup/FrmSlidePopUp.h"
#include "popup/MouseLabel.h"
#include "popup/PopupBackground.h"
#include "popup/PopupImage.h"
#include "popup/PopupText.h"
#include "popup/SlidePopUp.h"

#include "GuiTestMain.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QRect screen1080(0, 0, 1920, 1080);
const QRect bottomTaskbarWorkArea(0, 0, 1920, 1040);
const QRect topTaskbarWorkArea(0, 40, 1920, 1040);

// The desktop the components under test see; tests move its taskbar.
struct FakeDesktop
{
    QRect screen = screen1080;
    QRect workArea = bottomTaskbarWorkArea;
};

template<typename T> T *child(const TfrmSlidePopUp *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("popup window has no %s", name);
    return found;
}

QTimer *timer(const TfrmSlidePopUp *window, const char *name)
{
    return child<QTimer>(window, name);
}

// Runs the slide-in the way its 25 ms timer would; returns the number of ticks taken.
int finishSlideIn(TfrmSlidePopUp *window)
{
    int ticks = 0;
    while (timer(window, "tmrScroll")->isActive() && ticks < 1000) {
        window->tmrScrollTimer();
        ++ticks;
    }
    return ticks;
}

void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestSlidePopUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void slidesInAndOutOverFourteenTicks();
    void realTimersRunTheWholeLife();
    void stacksEightWindowsAndRefusesTheNinth();
    void newStackStartsAtOffsetZeroOnceAllClosed();
    void keepsStackingAboveWhileOneIsOpen();
    void withoutCascadeEveryWindowIsAtOffsetZero();
    void movedTaskbarStartsANewStack();
    void withoutScrollShowsFullSizeAtOnce();
    void pointerOverPausesTheTimeOut();

    void clicks_data();
    void clicks();
    void hyperlinkModeRaisesOnURLClick_data();
    void hyperlinkModeRaisesOnURLClick();
    void hoverFontOnlyInHyperlinkMode_data();
    void hoverFontOnlyInHyperlinkMode();
    void closeAllFromInsideOnClick_data();
    void closeAllFromInsideOnClick();
    void closeAllLeavesOtherComponentsAlone();
    void componentGoingAwayTakesItsWindows();

    void titleLeftDependsOnIcon_data();
    void titleLeftDependsOnIcon();
    void textIsCentred();
    void ampersandAndMarkupShowLiterally();
    void carriageReturnsBreakLines();
    void gradientIsPaintedLineByLine_data();
    void gradientIsPaintedLineByLine();
    void backgroundDrawMethods_data();
    void backgroundDrawMethods();
    void windowNeverTakesFocus();
    void slidePopUp1Design();

private:
    std::unique_ptr<TSlidePopUp> makePopup(bool mainWindowDesign = true);
    TfrmSlidePopUp *showOne(TSlidePopUp &popup);

    FakeDesktop m_desktop;
};

std::unique_ptr<TSlidePopUp> TestSlidePopUp::makePopup(bool mainWindowDesign)
{
    auto popup = std::make_unique<TSlidePopUp>();
    if (mainWindowDesign)
        applySlidePopUp1Design(*popup);
    popup->setDesktopProbe([this] {
        return popup::DesktopGeometry {m_desktop.screen, m_desktop.workArea};
    });
    return popup;
}

TfrmSlidePopUp *TestSlidePopUp::showOne(TSlidePopUp &popup)
{
    const QList<TfrmSlidePopUp *> before = popup.openWindows();
    if (!popup.Show())
        return nullptr;
    const QList<TfrmSlidePopUp *> after = popup.openWindows();
    return after.size() == before.size() + 1 ? after.last() : nullptr;
}

void TestSlidePopUp::cleanup()
{
    m_desktop = FakeDesktop();
    processDeferredDeletes();
}

void TestSlidePopUp::slidesInAndOutOverFourteenTicks()
{
    auto popup = makePopup();
    popup->setText(QStringLiteral("弹出时间：2026-12-08 09:31:05"));
    QPointer<TfrmSlidePopUp> window = showOne(*popup);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->height(), 1);
    QVERIFY(timer(window, "tmrScroll")->isActive());
    QVERIFY(!timer(window, "tmrExit")->isActive());

    QList<int> heights;
    while (timer(window, "tmrScroll")->isActive() && heights.size() < 100) {
        window->tmrScrollTimer();
        heights.append(window->height());
    }
    QCOMPARE(heights, (QList<int> {10, 19, 28, 37, 46, 55, 64, 73, 82, 91, 100, 109, 118, 120}));
    QCOMPARE(window->geometry(), QRect(1920 - 16 - 200, 1040 - 2 - 120, 200, 120));
    QTimer *exit = timer(window, "tmrExit");
    QVERIFY(exit->isActive());
    QCOMPARE(exit->interval(), 6 * 1000);

    window->tmrExitTimer();
    QVERIFY(!exit->isActive());
    QVERIFY(timer(window, "tmrScrollDown")->isActive());

    heights = {window->height()};
    int ticks = 0;
    while (popup->openCount() > 0 && ticks < 100) {
        window->tmrscrollDownTimer();
        ++ticks;
        if (popup->openCount() > 0)
            heights.append(window->height());
    }
    QCOMPARE(heights, (QList<int> {120, 111, 102, 93, 84, 75, 66, 57, 48, 39, 30, 21, 12, 3}));
    QCOMPARE(ticks, 14);
    QVERIFY(popup->openWindows().isEmpty());
    processDeferredDeletes();
    QVERIFY(!window);
}

void TestSlidePopUp::realTimersRunTheWholeLife()
{
    auto popup = makePopup();
    popup->setTimeOut(0);
    QPointer<TfrmSlidePopUp> window = showOne(*popup);
    QVERIFY(window);
    QTRY_VERIFY(!window);
    QCOMPARE(popup->openCount(), 0);
}

void TestSlidePopUp::stacksEightWindowsAndRefusesTheNinth()
{
    auto popup = makePopup();
    QList<int> offsets;
    while (TfrmSlidePopUp *window = showOne(*popup)) {
        offsets.append(window->stackOffset());
        finishSlideIn(window);
        QCOMPARE(window->geometry(), QRect(1704, 1040 - 2 - 120 - window->stackOffset(), 200, 120));
        if (offsets.size() > 20)
            break;
    }
    QCOMPARE(offsets, (QList<int> {0, 122, 244, 366, 488, 610, 732, 854}));
    // The refused ninth changed nothing.
    QCOMPARE(popup->openCount(), 8);
    QCOMPARE(popup->openWindows().size(), 8);
    QCOMPARE(popup->cascadeOffset(), 8 * 122);
    QVERIFY(!popup->Show());
    QCOMPARE(popup->openCount(), 8);
}

void TestSlidePopUp::newStackStartsAtOffsetZeroOnceAllClosed()
{
    auto popup = makePopup();
    for (int i = 0; i < 3; ++i)
        QVERIFY(showOne(*popup));
    popup->CloseAll();
    processDeferredDeletes();
    QCOMPARE(popup->openCount(), 0);
    QVERIFY(popup->openWindows().isEmpty());

    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    QCOMPARE(window->stackOffset(), 0);
    QCOMPARE(popup->cascadeOffset(), 122);
}

void TestSlidePopUp::keepsStackingAboveWhileOneIsOpen()
{
    auto popup = makePopup();
    QList<TfrmSlidePopUp *> windows;
    for (int i = 0; i < 3; ++i)
        windows.append(showOne(*popup));
    windows[0]->close();
    windows[1]->close();
    QCOMPARE(popup->openCount(), 1);

    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    QCOMPARE(window->stackOffset(), 3 * 122);
}

void TestSlidePopUp::withoutCascadeEveryWindowIsAtOffsetZero()
{
    auto popup = makePopup();
    popup->setOptions({spAllowScroll});
    QList<QRect> frames;
    for (int i = 0; i < 3; ++i) {
        TfrmSlidePopUp *window = showOne(*popup);
        QVERIFY(window);
        QCOMPARE(window->stackOffset(), 0);
        QCOMPARE(popup->cascadeOffset(), 0);
        finishSlideIn(window);
        frames.append(window->geometry());
    }
    QCOMPARE(popup->openCount(), 3);
    QCOMPARE(frames[1], frames[0]);
    QCOMPARE(frames[2], frames[0]);
}

void TestSlidePopUp::movedTaskbarStartsANewStack()
{
    auto popup = makePopup();
    QVERIFY(showOne(*popup));
    QVERIFY(showOne(*popup));
    QCOMPARE(popup->lastEdge(), int(popup::EdgeBottom));

    m_desktop.workArea = topTaskbarWorkArea;
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    QCOMPARE(popup->lastEdge(), int(popup::EdgeTop));
    QCOMPARE(window->edge(), int(popup::EdgeTop));
    QCOMPARE(window->stackOffset(), 0);
    QCOMPARE(popup->openCount(), 1);
    QCOMPARE(popup->openWindows().size(), 3);
    // It slides down out of the top taskbar.
    QCOMPARE(window->geometry(), QRect(1704, 42, 200, 1));
    QCOMPARE(finishSlideIn(window), 14);
    QCOMPARE(window->geometry(), QRect(1704, 42, 200, 120));
}

void TestSlidePopUp::withoutScrollShowsFullSizeAtOnce()
{
    auto popup = makePopup();
    popup->setOptions({spCascadePopups});
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    QCOMPARE(window->geometry(), QRect(1704, 918, 200, 120));
    QVERIFY(!timer(window, "tmrScroll")->isActive());
    QVERIFY(timer(window, "tmrExit")->isActive());
}

void TestSlidePopUp::pointerOverPausesTheTimeOut()
{
    auto popup = makePopup();
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    QTimer *exit = timer(window, "tmrExit");
    const auto enter = [&] {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), window->mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(window, &event);
    };
    const auto leave = [&] {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(window, &event);
    };

    // Over it before the slide-in ends: the time-out does not start until the pointer leaves.
    enter();
    finishSlideIn(window);
    QVERIFY(!exit->isActive());
    leave();
    QVERIFY(exit->isActive());
    QCOMPARE(exit->remainingTime() > 5000, true);

    // Over it while it waits: paused with what was left, and resumed with that on leaving; the
    // two seconds under the pointer do not count. (A coarse timer may fire up to 5 % early, and
    // it is started twice here.)
    QElapsedTimer waited;
    waited.start();
    QTest::qWait(200);
    enter();
    const qint64 before = waited.elapsed();
    QVERIFY(!exit->isActive());
    QTest::qWait(2000);
    leave();
    QVERIFY(exit->isActive());
    const qint64 expected = 6000 - before;
    QVERIFY2(qAbs(exit->remainingTime() - expected) < 700,
             qPrintable(
                 QStringLiteral("%1 left, %2 expected").arg(exit->remainingTime()).arg(expected)));
    QVERIFY(!timer(window, "tmrScrollDown")->isActive());
}

void TestSlidePopUp::clicks_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("raisesOnClick");
    QTest::addColumn<bool>("senderIsWindow");

    QTest::newRow("left on text") << QByteArray("lblText") << Qt::LeftButton << true << true;
    QTest::newRow("right on text") << QByteArray("lblText") << Qt::RightButton << true << false;
    QTest::newRow("middle on text") << QByteArray("lblText") << Qt::MiddleButton << false << false;
    for (const char *target : {"lblTitle", "imgGradient", "imgIcon"}) {
        for (const auto &[button, name] :
             {std::pair {Qt::LeftButton, "left"}, std::pair {Qt::RightButton, "right"},
              std::pair {Qt::MiddleButton, "middle"}}) {
            QTest::addRow("%s on %s", name, target)
                << QByteArray(target) << button << true << false;
        }
    }
}

void TestSlidePopUp::clicks()
{
    QFETCH(QByteArray, target);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, raisesOnClick);
    QFETCH(bool, senderIsWindow);

    auto popup = makePopup();
    QPointer<TfrmSlidePopUp> window = showOne(*popup);
    QVERIFY(window);
    finishSlideIn(window);
    QObject *const expectedSender = senderIsWindow ? static_cast<QObject *>(window.data())
                                                   : static_cast<QObject *>(popup.get());
    QSignalSpy onClick(popup.get(), &TSlidePopUp::OnClick);
    QSignalSpy onUrlClick(popup.get(), &TSlidePopUp::OnURLClick);

    QWidget *widget = child<QWidget>(window, target.constData());
    QTest::mouseClick(widget, button, {}, widget->rect().center());
    processDeferredDeletes();

    QCOMPARE(onUrlClick.count(), 0);
    if (!raisesOnClick) {
        QCOMPARE(onClick.count(), 0);
        QVERIFY(window && window->isVisible());
        QCOMPARE(popup->openCount(), 1);
        return;
    }
    QCOMPARE(onClick.count(), 1);
    // The window is gone by now: compare addresses only.
    QCOMPARE(onClick.at(0).at(0).value<QObject *>(), expectedSender);
    QVERIFY(!window);
    QCOMPARE(popup->openCount(), 0);
}

void TestSlidePopUp::hyperlinkModeRaisesOnURLClick_data()
{
    QTest::addColumn<bool>("autoOpen");
    QTest::newRow("hyperlink") << false;
    QTest::newRow("hyperlink, opened automatically") << true;
}

void TestSlidePopUp::hyperlinkModeRaisesOnURLClick()
{
    QFETCH(bool, autoOpen);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("tipdesk-test"), &catcher, "open");
    const auto unregister =
        qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("tipdesk-test")); });

    auto popup = makePopup();
    TSlidePopupOptions options {spCascadePopups, spAllowScroll, spAllowHyperlink};
    if (autoOpen)
        options.include(spAutoOpenURL);
    popup->setOptions(options);
    const QString url = QStringLiteral("tipdesk-test://quote/600519");
    popup->setUrl(url);
    QPointer<TfrmSlidePopUp> window = showOne(*popup);
    QVERIFY(window);
    TfrmSlidePopUp *const windowAddress = window.data();
    QSignalSpy onClick(popup.get(), &TSlidePopUp::OnClick);
    QSignalSpy onUrlClick(popup.get(), &TSlidePopUp::OnURLClick);

    QTest::mouseClick(child<QWidget>(window, "lblText"), Qt::LeftButton);
    processDeferredDeletes();

    QCOMPARE(onClick.count(), 0);
    QCOMPARE(onUrlClick.count(), 1);
    QCOMPARE(onUrlClick.at(0).at(0).value<QObject *>(), static_cast<QObject *>(windowAddress));
    QCOMPARE(onUrlClick.at(0).at(1).toString(), url);
    QCOMPARE(catcher.opened, autoOpen ? QList<QUrl> {QUrl(url)} : QList<QUrl> {});
    QVERIFY(!window);
    QCOMPARE(popup->openCount(), 0);
}

void TestSlidePopUp::hoverFontOnlyInHyperlinkMode_data()
{
    QTest::addColumn<bool>("hyperlink");
    QTest::newRow("hyperlink") << true;
    QTest::newRow("plain") << false;
}

void TestSlidePopUp::hoverFontOnlyInHyperlinkMode()
{
    QFETCH(bool, hyperlink);
    auto popup = makePopup();
    popup->setOptions(hyperlink ? TSlidePopupOptions {spAllowScroll, spAllowHyperlink}
                                : TSlidePopupOptions {spAllowScroll});
    popup->setText(QStringLiteral("股票代码：600519"));
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    auto *text = child<TMouseLabel>(window, "lblText");
    QCOMPARE(text->font(), popup->font().font);
    QCOMPARE(text->palette().color(QPalette::WindowText), popup->font().color);

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(text, &enter);
    const PopupFont expected = hyperlink ? popup->hoverFont() : popup->font();
    QCOMPARE(text->font(), expected.font);
    QCOMPARE(text->palette().color(QPalette::WindowText), expected.color);
    QCOMPARE(text->font().underline(), hyperlink);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(text, &leave);
    QCOMPARE(text->font(), popup->font().font);
    QCOMPARE(text->palette().color(QPalette::WindowText), popup->font().color);
}

void TestSlidePopUp::closeAllFromInsideOnClick_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left on text") << QByteArray("lblText") << Qt::LeftButton;
    QTest::newRow("right on text") << QByteArray("lblText") << Qt::RightButton;
    QTest::newRow("left on background") << QByteArray("imgGradient") << Qt::LeftButton;
}

void TestSlidePopUp::closeAllFromInsideOnClick()
{
    QFETCH(QByteArray, target);
    QFETCH(Qt::MouseButton, button);

    auto popup = makePopup();
    QList<QPointer<TfrmSlidePopUp>> windows;
    for (int i = 0; i < 3; ++i)
        windows.append(showOne(*popup));
    TfrmSlidePopUp *clicked = windows[1];

    // What the main window does: every click closes all popups.
    bool clickedWasKeptDuringHandler = false;
    int handled = 0;
    connect(popup.get(), &TSlidePopUp::OnClick, popup.get(), [&](QObject *) {
        popup->CloseAll();
        // The others are freed; the clicked one is only hidden until its click code is done.
        clickedWasKeptDuringHandler =
            !windows[1].isNull() && !windows[1]->isVisible() && !windows[1]->freeOnClose();
        ++handled;
    });

    QWidget *widget = child<QWidget>(clicked, target.constData());
    QTest::mouseClick(widget, button, {}, widget->rect().center());
    QCOMPARE(handled, 1);
    QVERIFY(clickedWasKeptDuringHandler);
    QCOMPARE(popup->openCount(), 0);
    QVERIFY(popup->openWindows().isEmpty());
    processDeferredDeletes();
    for (const QPointer<TfrmSlidePopUp> &window : windows)
        QVERIFY(!window);
}

void TestSlidePopUp::closeAllLeavesOtherComponentsAlone()
{
    auto mine = makePopup();
    auto other = makePopup();
    QVERIFY(showOne(*mine));
    QVERIFY(showOne(*mine));
    QPointer<TfrmSlidePopUp> others = showOne(*other);
    mine->CloseAll();
    processDeferredDeletes();
    QCOMPARE(mine->openCount(), 0);
    QVERIFY(others && others->isVisible());
    QCOMPARE(other->openCount(), 1);
}

void TestSlidePopUp::componentGoingAwayTakesItsWindows()
{
    auto popup = makePopup();
    QPointer<TfrmSlidePopUp> window = showOne(*popup);
    QVERIFY(window);
    popup.reset();
    QVERIFY(window && !window->isVisible());
    window->tmrScrollTimer(); // a tick that was already queued does no harm
    processDeferredDeletes();
    QVERIFY(!window);
}

void TestSlidePopUp::titleLeftDependsOnIcon_data()
{
    QTest::addColumn<bool>("withIcon");
    QTest::addColumn<int>("left");
    QTest::newRow("no icon") << false << 8;
    QTest::newRow("icon") << true << 48;
}

void TestSlidePopUp::titleLeftDependsOnIcon()
{
    QFETCH(bool, withIcon);
    QFETCH(int, left);
    auto popup = makePopup();
    if (withIcon) {
        QImage icon(32, 32, QImage::Format_RGB32);
        icon.fill(Qt::darkGreen);
        icon.setPixelColor(0, 31, Qt::yellow); // the transparent colour
        popup->setIconBitmap(icon);
    }
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    auto *title = child<TMouseLabel>(window, "lblTitle");
    QCOMPARE(title->pos(), QPoint(left, 8));
    QCOMPARE(title->text(), popup->title());
    // The icon is painted over the background at (IconLeft, IconTop), inside the bevel.
    const QImage content = child<PopupImage>(window, "imgGradient")->picture().toImage();
    const bool iconPainted = content.pixelColor(8 + 16, 8 + 16) == QColor(Qt::darkGreen);
    QCOMPARE(iconPainted, withIcon);
    QVERIFY(content.pixelColor(8, 8 + 31) != QColor(Qt::yellow));
}

void TestSlidePopUp::textIsCentred()
{
    auto popup = makePopup();
    popup->setText(
        QStringLiteral("弹出时间：2026-12-08 09:31:05\r股票代码：600519\r操作方式：买入"));
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    auto *text = child<TMouseLabel>(window, "lblText");
    const QWidget *panel = child<QWidget>(window, "pnlBorder");
    QVERIFY(text->width() <= panel->width() - 15);
    // Centred to the half pixel, in both directions.
    QVERIFY(qAbs(2 * text->x() + text->width() - panel->width()) <= 1);
    QVERIFY(qAbs(2 * text->y() + text->height() - panel->height()) <= 1);
    // The wrapped text fits the label: nothing is clipped.
    const QRectF needed =
        QFontMetricsF(text->font())
            .boundingRect(QRectF(0, 0, text->width(), 1000),
                          int(text->alignment()) | Qt::TextWordWrap, text->text());
    QVERIFY(needed.width() <= text->width());
    QVERIFY(needed.height() <= text->height());
}

void TestSlidePopUp::ampersandAndMarkupShowLiterally()
{
    auto popup = makePopup();
    const QString literal = QStringLiteral("R&D <b>5%</b>");
    popup->setText(literal);
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    auto *text = child<TMouseLabel>(window, "lblText");
    QCOMPARE(text->text(), literal);

    // What the label shows must be exactly the characters, not a mnemonic or markup.
    const QImage shown = text->grab().toImage();
    const auto drawn = [&](int extraFlags) {
        QImage image(shown.size(), shown.format());
        image.fill(text->palette().color(QPalette::Window));
        QPainter painter(&image);
        painter.setFont(text->font());
        painter.setPen(text->palette().color(QPalette::WindowText));
        painter.drawText(QRect(QPoint(0, 0), text->size()),
                         int(text->alignment()) | Qt::TextWordWrap | extraFlags, literal);
        return image;
    };
    QCOMPARE(shown, drawn(0));
    QVERIFY(shown != drawn(Qt::TextShowMnemonic));
}

void TestSlidePopUp::carriageReturnsBreakLines()
{
    auto popup = makePopup();
    popup->setText(QStringLiteral("股票代码"));
    TfrmSlidePopUp *single = showOne(*popup);
    popup->setText(QStringLiteral("股票代码\r股票代码\r股票代码"));
    TfrmSlidePopUp *triple = showOne(*popup);
    QVERIFY(single && triple);
    const TMouseLabel *one = child<TMouseLabel>(single, "lblText");
    const TMouseLabel *three = child<TMouseLabel>(triple, "lblText");
    QVERIFY(!three->text().contains(QLatin1Char('\r')));
    QCOMPARE(three->width(), one->width());
    QVERIFY2(three->height() >= 3 * one->height() && three->height() < 4 * one->height(),
             qPrintable(QStringLiteral("one line %1 px, three lines %2 px")
                            .arg(one->height())
                            .arg(three->height())));
}

void TestSlidePopUp::gradientIsPaintedLineByLine_data()
{
    QTest::addColumn<int>("orientation");
    QTest::newRow("vertical") << int(mbVertical);
    QTest::newRow("horizontal") << int(mbHorizontal);
}

void TestSlidePopUp::gradientIsPaintedLineByLine()
{
    QFETCH(int, orientation);
    auto popup = makePopup(false);
    popup->setGradientOrientation(TOrientation(orientation));
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    const QImage content = child<PopupImage>(window, "imgGradient")->picture().toImage();
    const bool vertical = orientation == mbVertical;
    const int lines = vertical ? content.height() : content.width();
    for (const int line : {0, 1, lines / 3, lines / 2, lines - 1}) {
        const QColor expected = TfrmSlidePopUp::BlendColor(
            popup->gradientColor1(), popup->gradientColor2(), line + 1, lines + 1);
        const QPoint sample =
            vertical ? QPoint(content.width() / 2, line) : QPoint(line, content.height() / 2);
        QCOMPARE(content.pixelColor(sample), expected);
    }
    QCOMPARE(content.pixelColor(0, 0), popup->gradientColor1());
    // Gradient popups carry the picture strip along the bottom.
    const auto *strip = child<PopupImage>(window, "imgStrip");
    QCOMPARE(strip->picture().size(), QSize(138, 3));
    const QWidget *panel = child<QWidget>(window, "pnlBorder");
    QCOMPARE(strip->geometry().bottom(), panel->contentsRect().bottom());
    QCOMPARE(strip->height(), 3);
}

void TestSlidePopUp::backgroundDrawMethods_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<QList<QPoint>>("bluePoints");
    QTest::addColumn<QList<QPoint>>("whitePoints");

    // A 10 × 10 picture, left half blue, right half green, its bottom-left pixel magenta
    // (the transparent colour). The content area is 144 × 117.
    QTest::newRow("actual size") << int(dmActualSize) << QList<QPoint> {{2, 2}}
                                 << QList<QPoint> {{0, 9}, {12, 2}, {100, 100}};
    QTest::newRow("tile") << int(dmTile) << QList<QPoint> {{2, 2}, {12, 2}, {142, 112}}
                          << QList<QPoint> {{0, 9}, {10, 19}, {140, 109}};
    QTest::newRow("fit") << int(dmFit) << QList<QPoint> {{30, 58}, {60, 10}}
                         << QList<QPoint> {{2, 114}};
}

void TestSlidePopUp::backgroundDrawMethods()
{
    QFETCH(int, method);
    QFETCH(QList<QPoint>, bluePoints);
    QFETCH(QList<QPoint>, whitePoints);

    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QPainter(&picture).fillRect(0, 0, 5, 10, Qt::blue);
    picture.setPixelColor(0, 9, Qt::magenta);

    auto popup = makePopup(false);
    popup->setBackgroundImage(picture);
    popup->setBackgroundDrawMethod(TSlideImageDrawMethod(method));
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    const QImage content = child<PopupImage>(window, "imgGradient")->picture().toImage();
    QCOMPARE(content.size(), QSize(144, 117));
    for (const QPoint &point : bluePoints)
        QVERIFY2(content.pixelColor(point) == QColor(Qt::blue),
                 qPrintable(QStringLiteral("(%1, %2) is %3")
                                .arg(point.x())
                                .arg(point.y())
                                .arg(content.pixelColor(point).name())));
    for (const QPoint &point : whitePoints)
        QVERIFY2(content.pixelColor(point) == QColor(Qt::white),
                 qPrintable(QStringLiteral("(%1, %2) is %3")
                                .arg(point.x())
                                .arg(point.y())
                                .arg(content.pixelColor(point).name())));
    QVERIFY(!content.hasAlphaChannel() || content.pixelColor(0, 9).alpha() == 255);
    // With a background picture the strip stays empty.
    QVERIFY(child<PopupImage>(window, "imgStrip")->picture().isNull());
}

void TestSlidePopUp::windowNeverTakesFocus()
{
    auto popup = makePopup();
    TfrmSlidePopUp *window = showOne(*popup);
    QVERIFY(window);
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(window->isWindow());
    QVERIFY(flags.testFlag(Qt::Tool)); // no taskbar entry
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(window->testAttribute(Qt::WA_X11NetWmWindowTypeNotification));
    QCOMPARE(window->focusPolicy(), Qt::NoFocus);
    QVERIFY(!window->parentWidget());
}

void TestSlidePopUp::slidePopUp1Design()
{
    TSlidePopUp popup;
    applySlidePopUp1Design(popup);
    QCOMPARE(popup.backgroundImage().size(), QSize(195, 97));
    QCOMPARE(popup.backgroundDrawMethod(), dmFit);
    QCOMPARE(popup.options(), (TSlidePopupOptions {spCascadePopups, spAllowScroll}));
    // The design's fonts resolve to a family that is really installed, at 11 px.
    for (const PopupFont &f : {popup.font(), popup.hoverFont(), popup.titleFont()}) {
        const QFontInfo resolved(f.font);
        QCOMPARE(resolved.family(), f.font.family());
        QCOMPARE(resolved.pixelSize(), 11);
    }
    QCOMPARE(popup.font().color, QColor(Qt::red));
    QVERIFY(popup.titleFont().font.bold());
    QVERIFY(popup.hoverFont().font.underline());
}

TIPDESK_GUI_TEST_MAIN(TestSlidePopUp)

#include "tst_slidepopup.moc"
