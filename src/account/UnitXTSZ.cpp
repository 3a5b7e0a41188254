#include "account/UnitXTSZ.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void openSettingsWindow(QWidget *mainWindow)
{
    QDialog dialog(mainWindow);
    dialog.setObjectName(QStringLiteral("FormXTSZ"));
    dialog.setWindowTitle(QStringLiteral("系统设置"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *notice =
        new QLabel(QStringLiteral("修改密码、提示声音和关于本系统将在后续版本中提供。"), &dialog);
    notice->setWordWrap(true);
    layout->addWidget(notice);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(360, 140);
    dialog.exec();
}
