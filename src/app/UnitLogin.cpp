#include "app/UnitLogin.h"

#include "app/UnitGlouble.h"

TFrmLogin::TFrmLogin(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowTitle(QStringLiteral("登录窗体"));
    FormCreate();
}

void TFrmLogin::FormCreate()
{
    changeCounters.clear();
}

int TFrmLogin::exec()
{
    if (m_terminationRequested)
        return QDialog::Rejected;
    return QDialog::exec();
}
