#include "startup/ProgramEntry.h"

#include "app/DataModule.h"
#include "main/UnitMain.h"
#include "startup/UnitLogin.h"
#include "ui/MessageBoxes.h"

#include <QApplication>

#include <memory>

int runProgramEntry(const std::function<bool()> &connectivityCheck)
{
    if (!connectivityCheck()) {
        showMessage(nullptr, QStringLiteral("没有连接上网络请先连接网络再打开本软件，请关闭!"),
                    QStringLiteral("提示"), BoxIcon::None, BoxButtons::Ok);
        return 1;
    }

    DataModule dataModule;
    TFrmMain mainWindow;   // hidden until the login succeeded

    int result;
    {
        auto login = std::make_unique<TFrmLogin>();
        result = login->exec();
    }
    if (result != QDialog::Accepted)
        return 0;

    mainWindow.show();
    return QApplication::exec();
}
