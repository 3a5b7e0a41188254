#pragma once

#include "ui/Unit3.h"

#include <QString>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

class QFrame;
class QProgressBar;
class QTimer;
class QVBoxLayout;
class WebWindowCrashPanel;
class WebWindowPage;

// What sets one web window apart from the others of its family.
struct WebWindowDesign
{
    // A configured page (anNurl), or one of the two bulletin pages, whose windows also hold their
    // open flag and take the counter snapshot of their bulletin kind when they open.
    enum class StartPage { Configured, FirstBulletin, SecondBulletin };

    const char *objectName; // e.g. "FormXWZX"
    const char16_t *caption; // the design's caption, unseen while hosted
    StartPage startPage = StartPage::Configured;
    int toolbarEntry = 0; // n of anNurl, for a configured start page
    const char *browserName = "WebBrowser1";
    bool framedBrowser = true; // the browser inside a panel with a 1-px raised border
    bool centredOnWindow = false; // the loading panel centres on the window, not the browser
    bool blocksRightClick = false; // no context menu inside the page
    bool labelEndsWithLineBreak = false;
};

// A content window showing one of the operator's pages in an embedded browser, with a loading
// panel that sweeps until the page has first arrived. The nine web windows are this with their
// own design; each binds the browser's events to handlers of its own names, which forward to the
// shared steps below.
class WebContentWindow : public Tmain
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebContentWindow)

public:
    WebContentWindow(HostedIn host, const WebWindowDesign &design);
    ~WebContentWindow() override;

    // The poll asks the bulletin windows to reload when their counters move.
    void refreshPage() override;

    QWebEngineView *browser() const { return m_browser; }
    QFrame *loadingPanel() const { return m_loadingPanel; }
    QProgressBar *progressBar() const { return m_progressBar; }

protected:
    // A strip above the browser (the news window's navigation bar).
    void addTopBar(QWidget *bar);

    // Binds the browser's "document complete" (or "download complete") and "new window" events to
    // the window's handlers.
    template<class Window>
    void bindBrowserEvents(void (Window::*loadEnded)(),
                           void (Window::*newWindow)(QWebEngineNewWindowRequest &))
    {
        auto *window = static_cast<Window *>(this);
        connect(m_browser, &QWebEngineView::loadFinished, window, loadEnded);
        connect(m_browser->page(), &QWebEnginePage::newWindowRequested, window, newWindow);
    }
    // Binds the browser's status-text change (the hovered link) to the window's handler.
    template<class Window> void bindStatusText(void (Window::*statusTextChange)(const QString &))
    {
        connect(m_browser->page(), &QWebEnginePage::linkHovered, static_cast<Window *>(this),
                statusTextChange);
    }

    // The steps those handlers share. A new-window request a handler leaves alone is dropped: no
    // separate browser window ever opens.
    // The first page has arrived: the loading display ends for good.
    void endLoadingDisplay();
    // The link asking for a new window loads here instead. The engine names the link itself, so
    // that is what is loaded, whatever the last status text says.
    void openInPlace(const QWebEngineNewWindowRequest &request);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildDesign();
    void FormCreate();
    void FormResize();
    void Timer1Timer();
    void placeCrashPanel();
    void renderProcessEnded();
    void reloadAfterCrash();
    // The application-wide filter of the windows that block the page's context menu: eats a
    // right-button press, release or double click, or a context-menu event, aimed at the browser
    // or anything inside it.
    bool ApplicationEvents1Message(QObject *watched, QEvent *event);
    bool isRightClickInBrowser(QObject *watched, QEvent *event) const;
    QString startAddress() const;

    const WebWindowDesign m_design;
    QVBoxLayout *m_layout = nullptr;
    QWidget *m_browserHost = nullptr;
    QWebEngineView *m_browser = nullptr;
    WebWindowPage *m_page = nullptr; // its own, deleted after the view (see the destructor)
    QFrame *m_loadingPanel = nullptr;
    WebWindowCrashPanel *m_crashPanel = nullptr; // while the page's drawing process is gone
    QProgressBar *m_progressBar = nullptr;
    QTimer *Timer1 = nullptr;
    bool m_loaded = false;
};
