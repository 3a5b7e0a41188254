// The web window module: builds the nine web content windows for the main window.
#include "content/UnitBKZJ.h"
#include "content/UnitGGPC.h"
#include "content/UnitJGMH.h"
#include "content/UnitPCGG.h"
#include "content/UnitWYSMJM.h"
#include "content/UnitWYSMNC.h"
#include "content/UnitXWZX.h"
#include "content/UnitYJBG.h"
#include "content/UnitZHBG.h"
#include "content/WebWindowFactory.h"

#include <QObject>

class WebWindowPlugin final : public QObject, public WebWindowFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID WebWindowFactory_iid)
    Q_INTERFACES(WebWindowFactory)

public:
    Tmain *createWebWindow(int position, HostedIn host) override
    {
        switch (position) {
        case 2:
            return new TFormWYSMNC(host);
        case 3:
            return new TFormWYSMJM(host);
        case 4:
            return new TFormPCGG(host);
        case 5:
            return new TFormXWZX(host);
        case 6:
            return new TFormGGPC(host);
        case 7:
            return new TFormJGMH(host);
        case 8:
            return new TFormBKZJ(host);
        case 9:
            return new TFormYJBG(host);
        case 10:
            return new TFormZHBG(host);
        default:
            return nullptr;
        }
    }
};

#include "WebWindowPlugin.moc"
