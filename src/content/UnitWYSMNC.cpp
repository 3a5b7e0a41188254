#include "content/UnitWYSMNC.h"

TFormWYSMNC::TFormWYSMNC(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormWYSMNC",
                        .caption = u"网页私募内参",
                        .startPage = WebWindowDesign::StartPage::FirstBulletin,
                        .blocksRightClick = true})
{
    bindBrowserEvents(&TFormWYSMNC::WebBrowser1DocumentComplete,
                      &TFormWYSMNC::WebBrowser1NewWindow2);
    bindStatusText(&TFormWYSMNC::WebBrowser1StatusTextChange);
}

void TFormWYSMNC::WebBrowser1DocumentComplete()
{
    endLoadingDisplay();
}

void TFormWYSMNC::WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request)
{
    openInPlace(request);
}

void TFormWYSMNC::WebBrowser1StatusTextChange(const QString &text)
{
    lastStatusText = text;
}
