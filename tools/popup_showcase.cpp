// Raises three stacked alert popups with the main window's popup design, for
// scripts/screenshot-popups. Prints what it sees (placement, whether the active window stayed
// active), "ready" once the popups have slid in, and reports a click on any popup, which
// closes them all as the main window does. Ends after a click or after HOLD_MS milliseconds.
// Usage: popup_showcase [HOLD_MS]

#include "main/SlidePopUp1Design.h"
#include "popup/FrmSlidePopUp.h"
#include "popup/SlidePopUp.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

namespace {

QTextStream out(stdout);

QString alertText(const QString &time, const QString &code, const QString &action)
{
    return QStringLiteral("弹出时间：") + time + QLatin1Char('\r') + QStringLiteral("股票代码：")
        + code + QLatin1Char('\r') + QStringLiteral("操作方式：") + action;
}

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int holdMs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;

    // Stands in for the main window: it must stay the active window while popups appear.
    QLabel mainWindow(QStringLiteral("TipDesk"));
    mainWindow.setWindowTitle(QStringLiteral("TipDesk"));
    mainWindow.resize(320, 160);
    mainWindow.move(40, 40);
    mainWindow.show();
    mainWindow.activateWindow();

    TSlidePopUp SlidePopUp1(&mainWindow);
    applySlidePopUp1Design(SlidePopUp1);
    QObject::connect(&SlidePopUp1, &TSlidePopUp::OnClick, &SlidePopUp1, [&](QObject *sender) {
        out << "clicked: sender is "
            << (sender == &SlidePopUp1 ? "the component" : "a popup window") << Qt::endl;
        SlidePopUp1.CloseAll();
        QTimer::singleShot(0, &app, [&] {
            out << "open windows after CloseAll: " << SlidePopUp1.openCount() << Qt::endl;
            app.quit();
        });
    });

    const QScreen *screen = QGuiApplication::primaryScreen();
    out << "screen " << rectText(screen->geometry()) << ", work area "
        << rectText(screen->availableGeometry()) << ", taskbar edge " << SlidePopUp1.TaskbarEdge()
        << Qt::endl;

    const struct
    {
        const char *time;
        const char *code;
        const char *action;
    } alerts[] = {
        {"2026-12-08 09:31:05", "600519", "买入"},
        {"2026-12-08 09:42:17", "000858", "卖出"},
        {"2026-12-08 10:05:42", "300750", "加仓"},
    };

    // Wait until the stand-in main window is active, then raise the popups.
    QTimer::singleShot(800, &app, [&] {
        const bool activeBefore = QApplication::activeWindow() == &mainWindow;
        for (const auto &alert : alerts) {
            SlidePopUp1.setText(alertText(QString::fromUtf8(alert.time),
                                          QString::fromUtf8(alert.code),
                                          QString::fromUtf8(alert.action)));
            SlidePopUp1.Show();
        }
        // Slide-in takes 14 steps of 25 ms.
        QTimer::singleShot(1000, &app, [&, activeBefore] {
            for (const TfrmSlidePopUp *window : SlidePopUp1.openWindows())
                out << "popup at " << rectText(window->geometry()) << ", stack offset "
                    << window->stackOffset() << Qt::endl;
            const bool activeAfter = QApplication::activeWindow() == &mainWindow;
            out << "main window active before: " << (activeBefore ? "yes" : "no")
                << ", after: " << (activeAfter ? "yes" : "no") << Qt::endl;
            out << "ready" << Qt::endl;
        });
    });
    QTimer::singleShot(holdMs, &app, &QApplication::quit);
    return app.exec();
}
