#include "startup/ProgramEntry.h"

#include "app/DataModule.h"
#include "app/SingleInstance.h"
#include "main/UnitMain.h"
#include "startup/UnitLogin.h"
#include "ui/MessageBoxes.h"

#include <QApplication>

#include <memory>

namespace {

// What a second start brings forward: the main window once the user is logged in, back from the
// tray or the taskbar as the tray icon's click brings it; then whatever modal window is up on top
// (the login window, or a message box), which is all the client shows before the login. The
// second start's activation token lets a Wayland compositor give the main window the focus.
void bringClientForward(TFrmMain *shownMainWindow, const QString &activationToken)
{
    if (shownMainWindow)
        shownMainWindow->restoreApplication(activationToken);
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace

int runProgramEntry(const std::function<bool()> &connectivityCheck)
{
    // Before any check or window: a second start only brings the running client forward.
    SingleInstance instance;
    if (instance.claim() == SingleInstance::Claim::AlreadyRunning)
        return 0;
    TFrmMain *shownMainWindow = nullptr;
    QObject::connect(&instance, &SingleInstance::showRequested,
                     [&shownMainWindow](const QString &activationToken) {
                         bringClientForward(shownMainWindow, activationToken);
                     });

    if (!connectivityCheck()) {
        showMessage(nullptr, QStringLiteral("没有连接上网络请先连接网络再打开本软件，请关闭!"),
                    QStringLiteral("提示"), BoxIcon::None, BoxButtons::Ok);
        return 1;
    }

    DataModule dataModule;
    TFrmMain mainWindow; // hidden until the login succeeded

    int result;
    bool configurationFailed;
    {
        auto login = std::make_unique<TFrmLogin>();
        result = login->exec();
        configurationFailed = login->configurationFailed();
    }
    if (result != QDialog::Accepted)
        return configurationFailed ? 1 : 0;

    shownMainWindow = &mainWindow; // before the show, whose first calls already let requests in
    mainWindow.show();
    const int code = QApplication::exec();
    shownMainWindow = nullptr; // the window's destruction still waits for its last call
    return code;
}
