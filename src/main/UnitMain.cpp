#include "main/UnitMain.h"

#include <QFrame>
#include <QVBoxLayout>

TFrmMain::TFrmMain(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("FrmMain"));
    resize(948, 695);
    Panel8 = new QFrame(this);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel8);
    FormCreate();
}

void TFrmMain::FormCreate()
{
    hostPanel = Panel8;
}
