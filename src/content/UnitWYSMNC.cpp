#include "content/UnitWYSMNC.h"

TFormWYSMNC::TFormWYSMNC(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormWYSMNC",
                        .caption = u"网页私募内参",
                        .startPage = WebWindowDesign::StartPage::FirstBulletin,
                        .newWindowsInPlace = true,
                        .blocksRightClick = true,
                        .lastStatusText = &TFormWYSMNC::lastStatusText})
{
}
