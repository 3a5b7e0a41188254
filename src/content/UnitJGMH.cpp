#include "content/UnitJGMH.h"

TFormJGMH::TFormJGMH(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormJGMH",
                        .caption = u"FormJGMH",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 7,
                        .blocksRightClick = true})
{
    bindBrowserEvents(&TFormJGMH::WebBrowser1DocumentComplete, &TFormJGMH::WebBrowser1NewWindow2);
}

void TFormJGMH::WebBrowser1DocumentComplete()
{
    endLoadingDisplay();
}

// Such links have no effect here.
void TFormJGMH::WebBrowser1NewWindow2(QWebEngineNewWindowRequest &) { }
