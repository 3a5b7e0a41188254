#include "content/UnitWYSMJM.h"

TFormWYSMJM::TFormWYSMJM(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormWYSMJM",
                        .caption = u"网页私募绝密",
                        .startPage = WebWindowDesign::StartPage::SecondBulletin,
                        .newWindowsInPlace = true,
                        .blocksRightClick = true,
                        .labelEndsWithLineBreak = true,
                        .lastStatusText = &TFormWYSMJM::lastStatusText})
{
}
