#include "content/UnitGGPC.h"

TFormGGPC::TFormGGPC(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormGGPC",
                        .caption = u"FormGGPC",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 6,
                        .blocksRightClick = true})
{
}
