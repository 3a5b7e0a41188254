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
}
