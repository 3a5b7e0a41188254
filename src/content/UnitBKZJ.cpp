#include "content/UnitBKZJ.h"

TFormBKZJ::TFormBKZJ(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormBKZJ",
                        .caption = u"FormBKZJ",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 8,
                        .blocksRightClick = true})
{
    bindBrowserEvents(&TFormBKZJ::WebBrowser1DocumentComplete, &TFormBKZJ::WebBrowser1NewWindow2);
}

void TFormBKZJ::WebBrowser1DocumentComplete()
{
    endLoadingDisplay();
}

// Such links have no effect here.
void TFormBKZJ::WebBrowser1NewWindow2(QWebEngineNewWindowRequest &) { }
