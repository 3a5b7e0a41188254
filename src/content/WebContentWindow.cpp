#include "content/WebContentWindow.h"

#include "app/ChangeCounters.h"
#include "app/UnitGlouble.h"
#include "content/BulletinAddress.h"
#include "content/WebWindowCrashPanel.h"
#include "content/WebWindowPage.h"
#include "ui/ErrorReport.h"
#include "ui/PngPicture.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

constexpr QSize loadingPanelSize(700, 80);
constexpr int progressStepMs = 50;

bool *openFlagOf(WebWindowDesign::StartPage page)
{
    switch (page) {
    case WebWindowDesign::StartPage::FirstBulletin:
        return &wysmncOpen;
    case WebWindowDesign::StartPage::SecondBulletin:
        return &wysmjmOpen;
    case WebWindowDesign::StartPage::Configured:
        break;
    }
    return nullptr;
}

bool isRightButtonEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return static_cast<QMouseEvent *>(event)->button() == Qt::RightButton;
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

WebContentWindow::WebContentWindow(HostedIn host, const WebWindowDesign &design)
    : Tmain(host), m_design(design)
{
    buildDesign();
    FormCreate();
}

WebContentWindow::~WebContentWindow()
{
    qApp->removeEventFilter(this);
    // FormDestroy
    if (bool *flag = openFlagOf(m_design.startPage))
        *flag = false;
    // The view goes before its page. The page goes now, or, when one of its JavaScript dialogs is
    // waiting further down the stack (the user left the window while it was up), once that
    // dialog has returned.
    delete m_browser;
    m_browser = nullptr;
    m_page->discard();
}

void WebContentWindow::buildDesign()
{
    setObjectName(QString::fromLatin1(m_design.objectName));
    setWindowTitle(QString::fromUtf16(m_design.caption));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);

    m_browser = new QWebEngineView;
    m_browser->setObjectName(QString::fromLatin1(m_design.browserName));
    m_page = new WebWindowPage(this);
    m_browser->setPage(m_page);
    if (m_design.framedBrowser) {
        auto *panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("Panel1"));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(1);
        auto *panelLayout = new QVBoxLayout(panel);
        panelLayout->setContentsMargins(1, 1, 1, 1);
        panelLayout->addWidget(m_browser);
        m_browserHost = panel;
    } else {
        m_browser->setParent(this);
        m_browserHost = this;
    }
    m_layout->addWidget(m_design.framedBrowser ? m_browserHost : m_browser, 1);
    m_browser->installEventFilter(this);
    if (m_design.blocksRightClick) {
        m_browser->setContextMenuPolicy(Qt::NoContextMenu);
        qApp->installEventFilter(this);
    }

    m_loadingPanel = new QFrame(m_browserHost);
    m_loadingPanel->setObjectName(QStringLiteral("LoadingPanel"));
    m_loadingPanel->resize(loadingPanelSize);
    auto *picture = new QLabel(m_loadingPanel);
    picture->setPixmap(pngPicture(QStringLiteral(":/content/loading.png")));
    picture->setScaledContents(true);
    picture->setGeometry(QRect(QPoint(0, 0), loadingPanelSize));
    QString text = QStringLiteral("正在加载数据，请稍等 . . . ");
    if (m_design.labelEndsWithLineBreak)
        text += QStringLiteral("\r\n");
    auto *label = new QLabel(text, m_loadingPanel);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(24, 18, 241, 13);
    QFont bold = label->font();
    bold.setBold(true);
    bold.setPixelSize(11);
    label->setFont(bold);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    m_progressBar = new QProgressBar(m_loadingPanel);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setGeometry(24, 40, 298, 17);
    m_progressBar->setTextVisible(false);
    m_loadingPanel->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(progressStepMs);
    connect(Timer1, &QTimer::timeout, this, &WebContentWindow::Timer1Timer);

    m_crashPanel = new WebWindowCrashPanel(m_browserHost);
    connect(m_crashPanel, &WebWindowCrashPanel::reloadRequested, this,
            &WebContentWindow::reloadAfterCrash);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            &WebContentWindow::renderProcessEnded);
}

void WebContentWindow::addTopBar(QWidget *bar)
{
    m_layout->insertWidget(0, bar);
}

void WebContentWindow::FormCreate()
{
    if (bool *flag = openFlagOf(m_design.startPage)) {
        *flag = true;
        const bool first = m_design.startPage == WebWindowDesign::StartPage::FirstBulletin;
        // Opening the window counts as having seen its bulletins. If the counters cannot be
        // read the user is told, the window stays open and no page is loaded.
        const bool seen = runReportingFailures([first] {
            if (first)
                takeCounterSnapshot({CounterKey::smncadd, CounterKey::smncsx});
            else
                takeCounterSnapshot({CounterKey::smjmadd, CounterKey::smjmsx});
        });
        if (!seen)
            return;
    }
    m_progressBar->setRange(0, 100);
    m_loadingPanel->show();
    m_loadingPanel->raise();
    FormResize();
    Timer1->start();
    m_browser->setUrl(QUrl(startAddress()));
}

QString WebContentWindow::startAddress() const
{
    switch (m_design.startPage) {
    case WebWindowDesign::StartPage::FirstBulletin:
        return bulletinAddress(BulletinPage::First);
    case WebWindowDesign::StartPage::SecondBulletin:
        return bulletinAddress(BulletinPage::Second);
    case WebWindowDesign::StartPage::Configured:
        break;
    }
    return anurl(m_design.toolbarEntry);
}

void WebContentWindow::FormResize()
{
    // Integer division truncating toward zero: a browser narrower than the panel puts it at a
    // negative offset.
    const QSize reference = m_design.centredOnWindow ? size() : m_browser->size();
    const QPoint origin = m_design.centredOnWindow ? QPoint() : m_browser->pos();
    m_loadingPanel->move(origin.x() + (reference.width() - loadingPanelSize.width()) / 2,
                         origin.y() + (reference.height() - loadingPanelSize.height()) / 2);
}

void WebContentWindow::resizeEvent(QResizeEvent *event)
{
    Tmain::resizeEvent(event);
    FormResize();
    placeCrashPanel();
}

void WebContentWindow::placeCrashPanel()
{
    m_crashPanel->setGeometry(m_browser->geometry());
}

// Whatever ended the page's process, the client goes on: the browser area says what happened
// and offers to load the page again, which starts a new process.
void WebContentWindow::renderProcessEnded()
{
    endLoadingDisplay();
    placeCrashPanel();
    m_crashPanel->show();
    m_crashPanel->raise();
}

void WebContentWindow::reloadAfterCrash()
{
    m_crashPanel->hide();
    m_browser->reload();
}

void WebContentWindow::Timer1Timer()
{
    int position = m_progressBar->value() + 1;
    if (position == 100)
        position = 0;
    m_progressBar->setValue(position);
}

void WebContentWindow::endLoadingDisplay()
{
    // The loading display belongs to the first page only.
    if (m_loaded)
        return;
    m_loaded = true;
    Timer1->stop();
    m_loadingPanel->hide();
}

void WebContentWindow::openInPlace(const QWebEngineNewWindowRequest &request)
{
    m_browser->setUrl(request.requestedUrl());
}

void WebContentWindow::refreshPage()
{
    m_browser->reload();
}

bool WebContentWindow::isRightClickInBrowser(QObject *watched, QEvent *event) const
{
    if (!isRightButtonEvent(event) || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    return widget == m_browser || m_browser->isAncestorOf(widget);
}

bool WebContentWindow::ApplicationEvents1Message(QObject *watched, QEvent *event)
{
    return isRightClickInBrowser(watched, event); // true: not dispatched, so no context menu
}

bool WebContentWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_browser && event->type() == QEvent::Resize) {
        FormResize();
        placeCrashPanel();
    }
    if (m_design.blocksRightClick && ApplicationEvents1Message(watched, event))
        return true;
    return Tmain::eventFilter(watched, event);
}
