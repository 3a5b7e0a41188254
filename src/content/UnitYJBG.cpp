#include "content/UnitYJBG.h"

TFormYJBG::TFormYJBG(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormYJBG",
                        .caption = u"研究报告",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 9,
                        .framedBrowser = false,
                        .blocksRightClick = true})
{
    bindBrowserEvents(&TFormYJBG::WebBrowser1DocumentComplete, &TFormYJBG::WebBrowser1NewWindow2);
}

void TFormYJBG::WebBrowser1DocumentComplete()
{
    endLoadingDisplay();
}

// Such links have no effect here.
void TFormYJBG::WebBrowser1NewWindow2(QWebEngineNewWindowRequest &) { }
