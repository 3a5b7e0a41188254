#include "content/UnitXWZX.h"

#include "app/UnitGlouble.h"
#include "ui/PngPicture.h"

#include <QLabel>
#include <QToolButton>
#include <QWebEngineView>

namespace {

QToolButton *barButton(QWidget *bar, const char *name, const QString &text, QPoint position)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setAutoRaise(true);
    button->setGeometry(QRect(position, QSize(49, 22)));
    QFont font = button->font();
    font.setPixelSize(11);
    button->setFont(font);
    return button;
}

} // namespace

TFormXWZX::TFormXWZX(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormXWZX",
                        .caption = u"FormXWZX",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 5,
                        .blocksRightClick = true})
{
    bindBrowserEvents(&TFormXWZX::WebBrowser1DownloadComplete, &TFormXWZX::WebBrowser1NewWindow2);
    bindStatusText(&TFormXWZX::WebBrowser1StatusTextChange);
    addTopBar(buildNavigationBar());
}

void TFormXWZX::WebBrowser1DownloadComplete()
{
    endLoadingDisplay();
}

void TFormXWZX::WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request)
{
    openInPlace(request);
}

void TFormXWZX::WebBrowser1StatusTextChange(const QString &text)
{
    lastStatusText = text;
}

QWidget *TFormXWZX::buildNavigationBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("NavigationBar"));
    bar->setFixedHeight(29);
    // Flat white captions on the bar's picture. Every state is drawn here: one left to the style
    // draws a pressed button as a black box on the picture.
    bar->setStyleSheet(QStringLiteral(
        "QToolButton { color: white; background: transparent; border: 1px solid transparent;"
        " border-radius: 3px; }"
        "QToolButton:hover { background: rgba(255, 255, 255, 30);"
        " border-color: rgba(255, 255, 255, 70); }"
        "QToolButton:pressed { background: rgba(0, 20, 60, 60);"
        " border-color: rgba(255, 255, 255, 110); }"));
    auto *picture = new QLabel(bar);
    picture->setPixmap(pngPicture(QStringLiteral(":/content/navigation-bar.png")));
    picture->setScaledContents(true);
    picture->setGeometry(0, 0, 2000, 29); // stretched over any width the window takes
    connect(barButton(bar, "SpeedButton1", QStringLiteral("主页"), {64, 3}), &QToolButton::clicked,
            this, &TFormXWZX::SpeedButton1Click);
    connect(barButton(bar, "SpeedButton2", QStringLiteral("前进"), {156, 3}), &QToolButton::clicked,
            this, &TFormXWZX::SpeedButton2Click);
    connect(barButton(bar, "SpeedButton3", QStringLiteral("后退"), {240, 4}), &QToolButton::clicked,
            this, &TFormXWZX::SpeedButton3Click);
    return bar;
}

void TFormXWZX::SpeedButton1Click()
{
    browser()->setUrl(QUrl(an5url));
}

// Without history the browser does nothing, which is what the bar wants.
void TFormXWZX::SpeedButton2Click()
{
    browser()->forward();
}

void TFormXWZX::SpeedButton3Click()
{
    browser()->back();
}
