// The alert window's date pickers as the user sees them, under the built-in skin and with the
// client's locale in a process whose system locale is not Chinese: the drop-down shows its arrow
// and the calendar shows every week of the month in Chinese. Run at several screen ratios.
#include "ClientSession.h"
#include "GuiTestMain.h"
#include "TestServer.h"

#include "content/UnitSMNC.h"
#include "skin/Skin.h"
#include "startup/ClientLocale.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QSet>
#include <QStyleOptionSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

class TestDatePickers : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    std::unique_ptr<QWidget> host; // stands for the main window, which carries the skin
    TFormSMNC *window = nullptr;

    // Opens the picker's calendar as a click on its drop-down button does.
    QCalendarWidget *openCalendar(QDateEdit *picker, QDate date)
    {
        picker->setDate(date);
        QTest::mouseClick(picker, Qt::LeftButton, {}, dropDownRect(picker).center());
        QWidget *popup = QApplication::activePopupWidget();
        return popup ? popup->findChild<QCalendarWidget *>() : nullptr;
    }

    static QRect dropDownRect(QDateEdit *picker)
    {
        QStyleOptionSpinBox option;
        option.initFrom(picker);
        option.subControls = QStyle::SC_All;
        return picker->style()
            ->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, picker)
            .united(picker->style()->subControlRect(QStyle::CC_SpinBox, &option,
                                                    QStyle::SC_SpinBoxDown, picker));
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The ctest run sets LANG=C; without it the checks below would prove nothing.
        QVERIFY(QLocale::system().language() != QLocale::Chinese);
        applyClientLocale();
        server = std::make_unique<TestServer>();
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
        ClientSession::logIn(*server, QStringLiteral("demo"), QStringLiteral("demo123"));
        host = std::make_unique<QWidget>();
        applySkin(host.get());
        host->resize(960, 620);
        window = new TFormSMNC(HostedIn {host.get()});
        window->resize(950, 597);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
    }

    void cleanup()
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }

    void dropDownShowsAnArrow_data()
    {
        QTest::addColumn<QString>("picker");
        QTest::newRow("from") << QStringLiteral("DateTimePicker1");
        QTest::newRow("to") << QStringLiteral("DateTimePicker2");
    }

    void dropDownShowsAnArrow()
    {
        QFETCH(QString, picker);
        auto *edit = window->findChild<QDateEdit *>(picker);
        const QImage face = edit->grab().toImage();
        const qreal ratio = face.devicePixelRatio();
        QCOMPARE(ratio, edit->devicePixelRatioF());
        // The drop-down's face is light; its arrow is the only dark mark on it.
        const QRect button = dropDownRect(edit);
        QVERIFY(!button.isEmpty());
        int dark = 0;
        for (int y = int(button.top() * ratio); y < int((button.bottom() + 1) * ratio); ++y) {
            for (int x = int(button.left() * ratio); x < int((button.right() + 1) * ratio); ++x) {
                const QRgb pixel = face.pixel(x, y); // the rounded corners are transparent
                dark += qAlpha(pixel) == 255 && qGray(pixel) < 128;
            }
        }
        // At least the arrow's 7 x 4 point triangle, 16 points, at this ratio.
        QVERIFY2(dark >= int(16 * ratio * ratio * 0.8), qPrintable(QString::number(dark)));
    }

    void calendarShowsAllSixWeeks_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::newRow("2026-08, six weeks") << QDate(2026, 8, 15);
        QTest::newRow("2026-02, its first on a Sunday") << QDate(2026, 2, 1);
        QTest::newRow("2025-03, six weeks") << QDate(2025, 3, 31);
    }

    void calendarShowsAllSixWeeks()
    {
        QFETCH(QDate, date);
        QCalendarWidget *calendar = openCalendar(window->DateTimePicker1, date);
        QVERIFY(calendar);
        QCOMPARE(calendar->selectedDate(), date);
        auto *view = calendar->findChild<QTableView *>();
        QVERIFY(view);
        // The weekday row and the six week rows the calendar always shows, each whole.
        QCOMPARE(view->model()->rowCount(), 7);
        for (int row = 0; row < 7; ++row) {
            const int top = view->rowViewportPosition(row);
            QVERIFY2(top >= 0 && top + view->rowHeight(row) <= view->viewport()->height(),
                     qPrintable(QStringLiteral("row %1 at %2 + %3 of %4")
                                    .arg(row)
                                    .arg(top)
                                    .arg(view->rowHeight(row))
                                    .arg(view->viewport()->height())));
        }
        // And the popup window holds the whole view, inside a dark frame that sets it apart from
        // the light grid it covers.
        QWidget *popup = calendar->window();
        QVERIFY(popup->rect().contains(QRect(view->mapTo(popup, QPoint(0, 0)), view->size())));
        const QImage face = popup->grab().toImage();
        const int right = face.width() - 1;
        const int bottom = face.height() - 1;
        for (const QPoint &edge : {QPoint(0, bottom / 2), QPoint(right / 2, 0),
                                   QPoint(right, bottom / 2), QPoint(right / 2, bottom)})
            QVERIFY2(qGray(face.pixel(edge)) < 160,
                     qPrintable(QStringLiteral("frame at %1,%2 is %3")
                                    .arg(edge.x())
                                    .arg(edge.y())
                                    .arg(qGray(face.pixel(edge)))));
    }

    void calendarSpeaksChinese()
    {
        QCOMPARE(window->DateTimePicker1->locale().language(), QLocale::Chinese);
        QCalendarWidget *calendar = openCalendar(window->DateTimePicker1, QDate(2026, 8, 15));
        QVERIFY(calendar);
        QCOMPARE(calendar->locale().language(), QLocale::Chinese);
        QCOMPARE(
            calendar->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"))->text(),
            QStringLiteral("八月"));
        auto *view = calendar->findChild<QTableView *>();
        QSet<QString> weekdays;
        for (int column = 0; column < view->model()->columnCount(); ++column)
            weekdays.insert(view->model()->index(0, column).data().toString());
        QCOMPARE(
            weekdays,
            (QSet<QString> {QStringLiteral("周一"), QStringLiteral("周二"), QStringLiteral("周三"),
                            QStringLiteral("周四"), QStringLiteral("周五"), QStringLiteral("周六"),
                            QStringLiteral("周日")}));
        QCOMPARE(window->DateTimePicker1->text(), QStringLiteral("2026-08-15"));
    }
};

TIPDESK_GUI_TEST_MAIN(TestDatePickers)
#include "tst_date_pickers.moc"
