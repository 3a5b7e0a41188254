#include "content/UnitWYSMJM.h"

TFormWYSMJM::TFormWYSMJM(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormWYSMJM",
                        .caption = u"网页私募绝密",
                        .startPage = WebWindowDesign::StartPage::SecondBulletin,
                        .blocksRightClick = true,
                        .labelEndsWithLineBreak = true})
{
    bindBrowserEvents(&TFormWYSMJM::WebBrowser1DocumentComplete,
                      &TFormWYSMJM::WebBrowser1NewWindow2);
    bindStatusText(&TFormWYSMJM::WebBrowser1StatusTextChange);
}

void TFormWYSMJM::WebBrowser1DocumentComplete()
{
    endLoadingDisplay();
}

void TFormWYSMJM::WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request)
{
    openInPlace(request);
}

void TFormWYSMJM::WebBrowser1StatusTextChange(const QString &text)
{
    lastStatusText = text;
}
