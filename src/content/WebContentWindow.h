#pragma once

#include "ui/Unit3.h"

#include <QString>

class QFrame;
class QProgressBar;
class QTimer;
class QVBoxLayout;
class QWebEngineNewWindowRequest;
class QWebEngineView;

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
    bool newWindowsInPlace = false; // a link asking for a new window loads here; else nothing
    bool blocksRightClick = false; // no context menu inside the page
    bool labelEndsWithLineBreak = false;
    QString *lastStatusText = nullptr; // the class's process-wide last status text, if it keeps one
};

// A content window showing one of the operator's pages in an embedded browser, with a loading
// panel that sweeps until the page has first arrived. The nine web windows are this with their
// own design.
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

    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildDesign();
    void FormCreate();
    void FormResize();
    void Timer1Timer();
    void DocumentComplete();
    void NewWindow(QWebEngineNewWindowRequest &request);
    void StatusTextChange(const QString &text);
    bool isRightClickInBrowser(QObject *watched, QEvent *event) const;
    QString startAddress() const;

    const WebWindowDesign m_design;
    QVBoxLayout *m_layout = nullptr;
    QWidget *m_browserHost = nullptr;
    QWebEngineView *m_browser = nullptr;
    QFrame *m_loadingPanel = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QTimer *Timer1 = nullptr;
    bool m_loaded = false;
};
