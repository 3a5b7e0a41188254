#include "content/UnitPCGG.h"

TFormPCGG::TFormPCGG(HostedIn host)
    : WebContentWindow(host,
                       {.objectName = "FormPCGG",
                        .caption = u"FormPCGG",
                        .startPage = WebWindowDesign::StartPage::Configured,
                        .toolbarEntry = 4})
{
}
