#include "content/UnitBKZJ.h"

TFormBKZJ::TFormBKZJ(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormBKZJ",
                        .caption = u"FormBKZJ",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 8,
                        .blocksRightClick = true})
{
}
