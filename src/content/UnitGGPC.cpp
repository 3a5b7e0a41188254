#include "content/UnitGGPC.h"

TFormGGPC::TFormGGPC(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormGGPC",
                        .caption = u"FormGGPC",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 6,
                        .blocksRightClick = true})
{
    bindBrowserEvents(&TFormGGPC::WebBrowser1DocumentComplete, &TFormGGPC::WebBrowser1NewWindow2);
}

void TFormGGPC::WebBrowser1DocumentComplete()
{
    endLoadingDisplay();
}

// Such links have no effect here.
void TFormGGPC::WebBrowser1NewWindow2(QWebEngineNewWindowRequest &) { }
