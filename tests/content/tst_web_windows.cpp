// The web content windows against the reference server's pages: loading panel, new-window
// requests, the right-click filter, the bulletin windows' address, open flag and counter snapshot,
// and their reload by the poll tick.
#include "ClientSession.h"
#include "GuiTestMain.h"
#include "TestServer.h"

#include "app/ChangeCounters.h"
#include "app/UnitGlouble.h"
#include "content/ContentWindowCatalog.h"
#include "content/WebContentWindow.h"
#include "main/AlertSound.h"
#include "main/UnitMain.h"
#include "popup/SlidePopUp.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

constexpr int pageLoadMs = 15000;
// How long a navigation that should not happen is given to start: on loopback one starts within
// milliseconds.
constexpr int navigationStartMs = 1000;

// A stand-in for the main window's content panel.
struct HostPanel
{
    QWidget panel;
    explicit HostPanel(QSize size)
    {
        panel.resize(size);
        auto *layout = new QVBoxLayout(&panel);
        layout->setContentsMargins(0, 0, 0, 0);
        panel.show();
    }
};

// Built and shown as the main window does it.
WebContentWindow *webWindow(int position, QWidget &panel)
{
    auto *window =
        static_cast<WebContentWindow *>(contentWindowBuilder(position)(HostedIn {&panel}));
    window->show();
    return window;
}

bool waitForLoad(WebContentWindow &window)
{
    QSignalSpy loaded(window.browser(), &QWebEngineView::loadFinished);
    return loaded.wait(pageLoadMs);
}

// Answers message boxes as a user would: `answer` gets each newly shown box once, with its number
// (0 for the first). A page's dialog waits in an event loop of its own, inside whatever the test
// is waiting for, so boxes are answered from a timer, which runs in that loop too.
class BoxAnswerer
{
public:
    explicit BoxAnswerer(std::function<void(QMessageBox &, int)> answer)
        : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { look(); });
        m_timer.start(10);
    }
    int count() const { return m_count; }

private:
    void look()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box || !box->isVisible() || box->property("answered").toBool())
                continue;
            box->setProperty("answered", true);
            m_answer(*box, m_count++);
        }
    }

    std::function<void(QMessageBox &, int)> m_answer;
    QTimer m_timer;
    int m_count = 0;
};

QString pageText(QWebEngineView &view)
{
    QString text;
    bool done = false;
    view.page()->toPlainText([&](const QString &result) {
        text = result;
        done = true;
    });
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < pageLoadMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return text;
}

} // namespace

class TestWebWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    QTemporaryDir soundless;

private Q_SLOTS:
    void initTestCase()
    {
        // As root the client itself must run the engine without its sandbox.
        if (::geteuid() == 0)
            qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        QApplication::setQuitOnLastWindowClosed(false);
        AlertSound::setFallback([] {});
        server = std::make_unique<TestServer>();
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
    }

    void init()
    {
        resetClientGlobals();
        MessageBoxRecorder::start();
        ClientSession::logIn(*server, QStringLiteral("demo"), QStringLiteral("demo123"));
        programDir = soundless.path() + u'/';
    }

    void cleanup() { MessageBoxRecorder::stop(); }

    // First of all: started as root, the client runs the engine without its sandbox, which would
    // otherwise end the program at the first page, and says so on standard error.
    void engineRunsAsRootWithoutItsSandbox()
    {
        if (::geteuid() != 0)
            QSKIP("the engine runs its sandbox for other users");
        QTest::ignoreMessage(
            QtWarningMsg, "running as root: web pages are shown without the web engine's sandbox");
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(4, host.panel));
        QVERIFY(waitForLoad(*window));
    }

    void designs_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("browserName");
        QTest::addColumn<bool>("framed");
        QTest::addColumn<QString>("label");
        const QString label = QStringLiteral("正在加载数据，请稍等 . . . ");
        QTest::newRow("2") << 2 << "FormWYSMNC"
                           << "WebBrowser1" << true << label;
        QTest::newRow("3") << 3 << "FormWYSMJM"
                           << "WebBrowser1" << true << label + "\r\n";
        QTest::newRow("4") << 4 << "FormPCGG"
                           << "WebBrowser1" << true << label;
        QTest::newRow("5") << 5 << "FormXWZX"
                           << "WebBrowser1" << true << label;
        QTest::newRow("9") << 9 << "FormYJBG"
                           << "WebBrowser1" << false << label;
        QTest::newRow("10") << 10 << "FormZHBG"
                            << "WebBrowser2" << true << label;
    }

    void designs()
    {
        QFETCH(int, position);
        QFETCH(QString, name);
        QFETCH(QString, browserName);
        QFETCH(bool, framed);
        QFETCH(QString, label);
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(position, host.panel));
        QCOMPARE(window->objectName(), name);
        QCOMPARE(window->browser()->objectName(), browserName);
        QCOMPARE(window->findChild<QFrame *>(QStringLiteral("Panel1")) != nullptr, framed);
        QVERIFY(window->loadingPanel()->isVisible());
        QCOMPARE(window->loadingPanel()->size(), QSize(700, 80));
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("Label1"))->text(), label);
        QCOMPARE(window->progressBar()->maximum(), 100);
        QVERIFY(waitForLoad(*window));
        QVERIFY(!window->loadingPanel()->isVisible());
        // Hidden for good: a later page does not bring it back.
        window->refreshPage();
        QVERIFY(waitForLoad(*window));
        QVERIFY(!window->loadingPanel()->isVisible());
    }

    void loadingPanelCentresWithTruncation()
    {
        HostPanel host({601, 301});
        std::unique_ptr<WebContentWindow> window(webWindow(6, host.panel));
        QWebEngineView *browser = window->browser();
        const int expectedLeft = browser->x() + (browser->width() - 700) / 2;
        QVERIFY(expectedLeft < 0);
        QCOMPARE(window->loadingPanel()->x(), expectedLeft);
        QCOMPARE(window->loadingPanel()->y(), browser->y() + (browser->height() - 80) / 2);
        host.panel.resize(1201, 801);
        QTRY_COMPARE(window->loadingPanel()->x(),
                     window->browser()->x() + (window->browser()->width() - 700) / 2);
    }

    void newWindowRequests_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("loadsInPlace");
        QTest::newRow("news: in place") << 5 << true;
        QTest::newRow("valuation: nothing") << 6 << false;
        QTest::newRow("first bulletins: in place") << 2 << true;
    }

    void newWindowRequests()
    {
        QFETCH(int, position);
        QFETCH(bool, loadsInPlace);
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(position, host.panel));
        QVERIFY(waitForLoad(*window));
        const QUrl start = window->browser()->url();
        window->browser()->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows,
                                                    true);
        const QUrl target(server->baseUrl() + QStringLiteral("demo/funds.html"));
        QSignalSpy requested(window->browser()->page(), &QWebEnginePage::newWindowRequested);
        QSignalSpy started(window->browser(), &QWebEngineView::loadStarted);
        QSignalSpy loaded(window->browser(), &QWebEngineView::loadFinished);
        window->browser()->page()->runJavaScript(
            QStringLiteral("window.open('%1', '_blank');").arg(target.toString()));
        QVERIFY(requested.wait(pageLoadMs));
        if (loadsInPlace) {
            QVERIFY(loaded.wait(pageLoadMs));
            QCOMPARE(window->browser()->url(), target);
        } else {
            // A load in place would start within the bound; none may.
            QVERIFY(!started.wait(navigationStartMs));
            QCOMPARE(window->browser()->url(), start);
        }
        // No separate browser window ever opens.
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget *widget) {
                                   return widget->isVisible()
                                       && (qobject_cast<QWebEngineView *>(widget)
                                           || widget->findChild<QWebEngineView *>());
                               }),
                 1);
    }

    void rightClick_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("menuShown");
        QTest::newRow("quotes: browser menu") << 4 << true;
        QTest::newRow("last reports: browser menu") << 10 << true;
        QTest::newRow("valuation: no menu") << 6 << false;
    }

    void rightClick()
    {
        QFETCH(int, position);
        QFETCH(bool, menuShown);
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(position, host.panel));
        QVERIFY(waitForLoad(*window));
        QWidget *target = window->browser()->focusProxy();
        QVERIFY(target);
        // The page takes input only once its first frame is up: click until a menu comes, for a
        // few seconds at most.
        bool shown = false;
        for (int attempt = 0; attempt < 10 && !shown; ++attempt) {
            QTest::mousePress(target, Qt::RightButton, {}, QPoint(200, 150));
            QTest::mouseRelease(target, Qt::RightButton, {}, QPoint(200, 150));
            QElapsedTimer clock;
            clock.start();
            while (!shown && clock.elapsed() < 500) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                shown = qobject_cast<QMenu *>(QApplication::activePopupWidget()) != nullptr;
            }
        }
        QCOMPARE(shown, menuShown);
        if (shown)
            QApplication::activePopupWidget()->close();
    }

    void bulletinAddressCarriesTheEncodedCredentials()
    {
        server->command(QStringLiteral("add-user"),
                        {"--name", "张 三", "--password", "p w+1", "--level", "1"});
        ClientSession::logIn(*server, QStringLiteral("张 三"), QStringLiteral("p w+1"));
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(2, host.panel));
        QVERIFY(wysmncOpen);
        QVERIFY(waitForLoad(*window));
        QCOMPARE(window->browser()->url().toString(QUrl::FullyEncoded),
                 server->baseUrl()
                     + QStringLiteral("qzGongGaoXinXi.aspx?userdj=1&username=%E5%BC%A0+%E4%B8%89"
                                      "&userpas=p+w%2B1"));
        const QString text = pageText(*window->browser());
        QVERIFY2(text.contains(QStringLiteral("私募内参")), qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("用户验证失败")), qPrintable(text));
        window.reset();
        QVERIFY(!wysmncOpen);
    }

    void failingSnapshotIsReportedAndLoadsNothing()
    {
        HostPanel host({948, 572});
        server->stop();
        std::unique_ptr<WebContentWindow> window(webWindow(3, host.panel));
        server->start();
        QVERIFY(wysmjmOpen);
        QCOMPARE(MessageBoxRecorder::shown().size(), 1);
        QCOMPARE(MessageBoxRecorder::shown().first().icon, BoxIcon::Error);
        QVERIFY(!window->loadingPanel()->isVisible());
        QVERIFY(window->browser()->url().isEmpty());
    }

    void pollReloadsTheOpenBulletinWindow()
    {
        khdsxsj = 0;
        for (int position = 1; position <= toolbarEntryCount; ++position)
            anxs(position) = position == 2 ? QStringLiteral("0") : QStringLiteral("1");
        // A bulletin published before the window opens counts as seen once it is open.
        server->command(QStringLiteral("publish-bulletin"), {"--kind", "1", "--title", "开窗前"});
        TFrmMain main;
        main.show();
        auto *window = static_cast<WebContentWindow *>(main.currentContentWindow());
        QVERIFY(window);
        QVERIFY(waitForLoad(*window));
        main.Timer1Timer();
        QCOMPARE(main.SlidePopUp1->openCount(), 0);

        QSignalSpy loaded(window->browser(), &QWebEngineView::loadFinished);
        const QString id = server->command(QStringLiteral("publish-bulletin"),
                                           {"--kind", "1", "--title", "开窗后"});
        main.Timer1Timer();
        QCOMPARE(main.SlidePopUp1->openCount(), 1);
        QVERIFY(loaded.wait(pageLoadMs));
        QVERIFY(pageText(*window->browser()).contains(QStringLiteral("开窗后")));

        server->command(QStringLiteral("edit-bulletin"), {"--id", id, "--title", "已修订"});
        main.Timer1Timer();
        QVERIFY(loaded.wait(pageLoadMs));
        QVERIFY(pageText(*window->browser()).contains(QStringLiteral("已修订")));
        QCOMPARE(main.SlidePopUp1->openCount(), 1);
        main.SlidePopUp1->CloseAll();
    }

    // A page calling alert() over and over never takes the client hostage: its dialogs are not
    // modal, so the toolbar keeps working; from the second on they offer to stop the page's
    // dialogs, and once stopped no more come.
    void javaScriptDialogsCanBeStopped()
    {
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(6, host.panel));
        QVERIFY(waitForLoad(*window));
        bool modal = false;
        QList<bool> offeredToStop;
        BoxAnswerer user([&](QMessageBox &box, int) {
            modal = modal || QApplication::activeModalWidget() || QGuiApplication::modalWindow();
            offeredToStop.append(box.checkBox() != nullptr);
            if (box.checkBox())
                box.checkBox()->setChecked(true);
            box.button(QMessageBox::Ok)->click();
        });
        QWebEnginePage *page = window->browser()->page();
        QSignalSpy titles(page, &QWebEnginePage::titleChanged);
        page->runJavaScript(
            QStringLiteral("for (let i = 0; i < 1000; ++i) alert('第 ' + i + ' 个');"
                           "document.title = '结束';"));
        QVERIFY(titles.wait(pageLoadMs));
        QCOMPARE(titles.last().first().toString(), QStringLiteral("结束"));
        QVERIFY(!modal);
        QCOMPARE(offeredToStop, QList<bool>({false, true}));
    }

    // Leaving a web window while its page's dialog is up (the toolbar's next choice destroys the
    // window) takes the dialog along, and the page goes once its dialog has returned.
    void leavingAWindowEndsItsPagesDialog()
    {
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(7, host.panel));
        QVERIFY(waitForLoad(*window));
        QWebEnginePage *page = window->browser()->page();
        QSignalSpy pageGone(page, &QObject::destroyed);
        QPointer<QMessageBox> dialog;
        BoxAnswerer user([&](QMessageBox &box, int) {
            dialog = &box;
            window.reset();
        });
        page->runJavaScript(QStringLiteral("alert('离开时还开着');"));
        QVERIFY(pageGone.wait(pageLoadMs));
        QCOMPARE(user.count(), 1);
        QVERIFY(!dialog);
    }

    // Whatever ends the process that draws the page, the window says so and reloads on request.
    void endedRendererIsShownAndReloads()
    {
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(8, host.panel));
        QVERIFY(waitForLoad(*window));
        QWebEnginePage *page = window->browser()->page();
        QSignalSpy ended(page, &QWebEnginePage::renderProcessTerminated);
        QVERIFY(page->renderProcessPid() > 0);
        QCOMPARE(::kill(pid_t(page->renderProcessPid()), SIGKILL), 0);
        QVERIFY(ended.wait(pageLoadMs));
        auto *panel = window->findChild<QFrame *>(QStringLiteral("CrashPanel"));
        QVERIFY(panel && panel->isVisible());
        QVERIFY(panel->findChild<QLabel *>()->text().contains(QStringLiteral("意外结束")));

        QSignalSpy loaded(window->browser(), &QWebEngineView::loadFinished);
        QTest::mouseClick(panel->findChild<QPushButton *>(QStringLiteral("ReloadButton")),
                          Qt::LeftButton);
        QVERIFY(loaded.wait(pageLoadMs));
        QVERIFY(loaded.last().first().toBool());
        QVERIFY(!panel->isVisible());
        QVERIFY(page->renderProcessPid() > 0);
        QVERIFY(!pageText(*window->browser()).isEmpty());
    }

    // A pressed bar button darkens the bar's picture a little instead of covering it with black.
    void pressedBarButtonKeepsThePicture()
    {
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(5, host.panel));
        auto *bar = window->findChild<QWidget *>(QStringLiteral("NavigationBar"));
        auto *back = window->findChild<QToolButton *>(QStringLiteral("SpeedButton3"));
        const QPoint besideCaption = back->geometry().topLeft() + QPoint(4, back->height() / 2);
        const int normal = qGray(bar->grab().toImage().pixel(besideCaption));
        back->setDown(true);
        const int pressed = qGray(bar->grab().toImage().pixel(besideCaption));
        QVERIFY2(pressed > normal / 2,
                 qPrintable(QStringLiteral("%1 -> %2").arg(normal).arg(pressed)));
    }

    // Under a real X server: the main window keeps its one native window when the first web
    // window opens, and the page shows in it. (Run by the CTest tst_web_windows_x11, under Xvfb.)
    void mainWindowKeepsItsNativeWindow()
    {
        if (QGuiApplication::platformName() != u"xcb")
            QSKIP("needs an X server");
        khdsxsj = 0;
        for (int position = 1; position <= toolbarEntryCount; ++position)
            anxs(position) =
                position == 1 || position == 4 ? QStringLiteral("0") : QStringLiteral("1");
        TFrmMain main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const WId nativeWindow = main.winId();
        main.toolbarButton(4)->click();
        auto *window = static_cast<WebContentWindow *>(main.currentContentWindow());
        QVERIFY(waitForLoad(*window));
        QCOMPARE(main.winId(), nativeWindow);
        // What the X server shows of the browser is the page, not an empty area.
        const QRect browser(window->browser()->mapTo(&main, QPoint()), window->browser()->size());
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const QImage shown = main.screen()
                                         ->grabWindow(nativeWindow, browser.x(), browser.y(),
                                                      browser.width(), browser.height())
                                         .toImage();
                return shown.pixel(5, 5) != shown.pixel(shown.width() / 2, shown.height() / 2);
            }(),
            pageLoadMs);
    }

    void newsBarNavigates()
    {
        HostPanel host({948, 572});
        std::unique_ptr<WebContentWindow> window(webWindow(5, host.panel));
        QVERIFY(waitForLoad(*window));
        const QUrl home = window->browser()->url();
        // Back and forward without history do nothing: a navigation would start within the
        // bound; none may.
        QSignalSpy started(window->browser(), &QWebEngineView::loadStarted);
        QTest::mouseClick(window->findChild<QWidget *>(QStringLiteral("SpeedButton3")),
                          Qt::LeftButton);
        QTest::mouseClick(window->findChild<QWidget *>(QStringLiteral("SpeedButton2")),
                          Qt::LeftButton);
        QVERIFY(!started.wait(navigationStartMs));
        QCOMPARE(window->browser()->url(), home);
        window->browser()->setUrl(QUrl(server->baseUrl() + QStringLiteral("demo/funds.html")));
        QVERIFY(waitForLoad(*window));
        QTest::mouseClick(window->findChild<QWidget *>(QStringLiteral("SpeedButton3")),
                          Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window->browser()->url(), home, pageLoadMs);
        window->browser()->setUrl(QUrl(server->baseUrl() + QStringLiteral("demo/funds.html")));
        QVERIFY(waitForLoad(*window));
        QTest::mouseClick(window->findChild<QWidget *>(QStringLiteral("SpeedButton1")),
                          Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window->browser()->url(), QUrl(an5url), pageLoadMs);
    }
};

TIPDESK_GUI_TEST_MAIN(TestWebWindows)
#include "tst_web_windows.moc"
