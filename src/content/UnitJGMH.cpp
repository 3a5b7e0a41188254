#include "content/UnitJGMH.h"

TFormJGMH::TFormJGMH(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormJGMH",
                        .caption = u"FormJGMH",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 7,
                        .blocksRightClick = true})
{
}
