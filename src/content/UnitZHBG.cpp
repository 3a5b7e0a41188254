#include "content/UnitZHBG.h"

TFormZHBG::TFormZHBG(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormZHBG",
                        .caption = u"最后报告",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 10,
                        .browserName = "WebBrowser2",
                        .centredOnWindow = true})
{
    bindBrowserEvents(&TFormZHBG::WebBrowser2DocumentComplete, &TFormZHBG::WebBrowser2NewWindow2);
}

void TFormZHBG::WebBrowser2DocumentComplete()
{
    endLoadingDisplay();
}

// Such links have no effect here.
void TFormZHBG::WebBrowser2NewWindow2(QWebEngineNewWindowRequest &) { }
