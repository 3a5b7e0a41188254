#include "account/UnitZCCT.h"

#include "account/AccountApplication.h"

#include "app/UnitGlouble.h"
#include "ui/ErrorReport.h"
#include "ui/MessageBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const auto applicationErrorCaption = QStringLiteral("申请错误！");

QLabel *caption(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QLineEdit *edit(QWidget *parent, const char *name, const QRect &geometry, bool secret = false)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(geometry);
    if (secret)
        field->setEchoMode(QLineEdit::Password);
    return field;
}
} // namespace

TFormZCCT::TFormZCCT(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormZCCT"));
    setFixedSize(387, 305);
    caption(this, "Label1", QStringLiteral("申 请 用 户 名："), QRect(48, 32, 107, 13));
    Edit1 = edit(this, "Edit1", QRect(160, 29, 169, 21));
    caption(this, "Label3", QStringLiteral("申 请 人 手 机："), QRect(48, 76, 107, 13));
    Edit2 = edit(this, "Edit2", QRect(160, 72, 169, 21));
    caption(this, "Label2", QStringLiteral("申请初始密码："), QRect(48, 120, 104, 13));
    Edit3 = edit(this, "Edit3", QRect(160, 116, 169, 21), true);
    caption(this, "Label4", QStringLiteral("申请密码确认："), QRect(48, 164, 104, 13));
    Edit4 = edit(this, "Edit4", QRect(160, 159, 169, 21), true);

    Button1 = new QPushButton(QStringLiteral("确认申请"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(81, 253, 75, 25);
    Button2 = new QPushButton(QStringLiteral("关闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(225, 253, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TFormZCCT::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, Button1);
    setTabOrder(Button1, Button2);
}

void TFormZCCT::showEvent(QShowEvent *event)
{
    setWindowTitle(gpsysname + QStringLiteral("注册窗体"));
    if (QWidget *opener = parentWidget())
        move(opener->frameGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TFormZCCT::Button1Click()
{
    runReportingFailures([this] {
        switch (applyForAccount(Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text())) {
        case ApplicationOutcome::EmptyName:
            showMessage(nullptr, QStringLiteral("用户名不能为空，请重新输入!"),
                        QStringLiteral("提示"));
            break;
        case ApplicationOutcome::PasswordsDiffer:
            showMessage(nullptr, QStringLiteral("密码输入不一致，请重新输入!"),
                        QStringLiteral("提示"));
            break;
        case ApplicationOutcome::NameTaken:
            showMessage(this, QStringLiteral("用户名重复，请换一个用户名申请！"),
                        applicationErrorCaption, BoxIcon::Error);
            break;
        case ApplicationOutcome::AlreadyApplied:
            showMessage(this, QStringLiteral("该用户名正在申请中，请换一个用户名申请！"),
                        applicationErrorCaption, BoxIcon::Error);
            break;
        case ApplicationOutcome::Filed:
            showMessage(this, QStringLiteral("注册成功，我们会及时联系您！"),
                        QStringLiteral("提示"));
            break;
        case ApplicationOutcome::NotFiled:
            showMessage(this, QStringLiteral("注册失败，请重新再试！"), applicationErrorCaption,
                        BoxIcon::Error);
            break;
        }
    });
}
