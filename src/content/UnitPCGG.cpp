#include "content/UnitPCGG.h"

TFormPCGG::TFormPCGG(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormPCGG",
                        .caption = u"FormPCGG",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 4})
{
    bindBrowserEvents(&TFormPCGG::WebBrowser1DocumentComplete, &TFormPCGG::WebBrowser1NewWindow2);
}

void TFormPCGG::WebBrowser1DocumentComplete()
{
    endLoadingDisplay();
}

// Such links have no effect here.
void TFormPCGG::WebBrowser1NewWindow2(QWebEngineNewWindowRequest &) { }
