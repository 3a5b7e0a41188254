#include "account/UnitXTSZ.h"

#include "account/AlertSoundChoice.h"
#include "account/PasswordChange.h"
#include "account/SoundFile.h"

#include "app/UnitGlouble.h"
#include "ui/ErrorReport.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
const auto errorCaption = QStringLiteral("错误！");
const auto soundCaption = QStringLiteral("提示");

template<typename Control> Control *place(Control *control, const char *name, const QRect &geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

QPushButton *button(QWidget *page, const char *name, const QString &text, const QRect &geometry)
{
    return place(new QPushButton(text, page), name, geometry);
}

QLineEdit *entry(QWidget *page, const char *name, const QRect &geometry, QLineEdit::EchoMode echo)
{
    auto *field = place(new QLineEdit(page), name, geometry);
    field->setEchoMode(echo);
    if (echo == QLineEdit::Password) // "*" for each character, as designed, not the style's dot
        field->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    return field;
}

// A bold caption in the design's font. Its own style sheet holds colour and size, because the
// skin styles other windows' labels of the same object names.
QLabel *boldLabel(QLabel *label, const QStringList &families, int pixelSize, const QString &colour)
{
    QFont font = label->font();
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: %1; font-size: %2px; font-weight: bold;")
                             .arg(colour)
                             .arg(pixelSize));
    return label;
}

// The design's 宋体 and 宋体-PUA fall back to WenQuanYi Micro Hei where SimSun is missing.
const QStringList songti = {QStringLiteral("SimSun"), QStringLiteral("宋体"),
                            QStringLiteral("WenQuanYi Micro Hei")};
const QStringList songtiPua = {QStringLiteral("宋体-PUA"), QStringLiteral("SimSun"),
                               QStringLiteral("WenQuanYi Micro Hei")};
} // namespace

TFormXTSZ::TFormXTSZ(QWidget *parent, std::function<void()> playSound)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint),
      m_playSound(std::move(playSound))
{
    setObjectName(QStringLiteral("FormXTSZ"));
    setWindowTitle(QStringLiteral("系统设置"));
    setFixedSize(558, 416);

    RzPageControl1 = place(new QTabWidget(this), "RzPageControl1", QRect(0, 0, 561, 441));
    RzPageControl1->setTabShape(QTabWidget::Rounded);
    RzPageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { height: 19px; }"));
    RzPageControl1->addTab(buildPasswordPage(), QStringLiteral("修改密码"));
    RzPageControl1->addTab(buildSoundPage(), QStringLiteral("修改提示音"));
    RzPageControl1->addTab(buildAboutPage(), QStringLiteral("关于软件"));
    RzPageControl1->setCurrentIndex(2);

    FormCreate();
}

QWidget *TFormXTSZ::buildPasswordPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    place(new QLabel(QStringLiteral("原始密码："), page), "Label1", QRect(153, 75, 73, 13));
    place(new QLabel(QStringLiteral("修改密码："), page), "Label2", QRect(152, 123, 73, 13));
    place(new QLabel(QStringLiteral("确认密码："), page), "Label3", QRect(152, 176, 73, 13));
    Edit1 = entry(page, "Edit1", QRect(233, 70, 158, 21), QLineEdit::Normal);
    Edit2 = entry(page, "Edit2", QRect(233, 117, 158, 21), QLineEdit::Password);
    Edit3 = entry(page, "Edit3", QRect(233, 169, 158, 21), QLineEdit::Password);
    auto *Button1 = button(page, "Button1", QStringLiteral("确认修改"), QRect(145, 267, 91, 25));
    auto *Button2 = button(page, "Button2", QStringLiteral("关闭窗体"), QRect(304, 267, 91, 25));
    connect(Button1, &QPushButton::clicked, this, &TFormXTSZ::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::close);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Button1);
    setTabOrder(Button1, Button2);
    return page;
}

QWidget *TFormXTSZ::buildSoundPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto *Button4 = button(page, "Button4", QStringLiteral("修改提示音"), QRect(129, 59, 136, 25));
    auto *Button3 = button(page, "Button3", QStringLiteral("关闭窗体"), QRect(320, 59, 91, 25));
    connect(Button4, &QPushButton::clicked, this, &TFormXTSZ::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &QDialog::close);

    // Which sound plays now, and a way to hear it.
    const QString name = alertSoundName();
    auto *soundInUse = place(new QLabel(page), "SoundInUse", QRect(129, 109, 282, 17));
    soundInUse->setTextFormat(Qt::PlainText); // a file name is never markup
    soundInUse->setText(QStringLiteral("当前提示音：")
                        + (name.isEmpty() ? QStringLiteral("默认提示音（程序自带）") : name));
    auto *preview = button(page, "PreviewSound", QStringLiteral("试听"), QRect(129, 139, 91, 25));
    preview->setEnabled(bool(m_playSound));
    connect(preview, &QPushButton::clicked, this, [this] { m_playSound(); });
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, preview);
    return page;
}

QWidget *TFormXTSZ::buildAboutPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet4"));
    // Three full-width lines from the top: two spacers, then the system name.
    auto *lines = new QVBoxLayout(page);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    auto *Label9 = new QLabel(page);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setFixedHeight(13);
    auto *Label10 = new QLabel(page);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setFixedHeight(40);
    Label8 = boldLabel(new QLabel(page), songti, 29, QStringLiteral("palette(window-text)"));
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setFixedHeight(40);
    Label8->setAlignment(Qt::AlignCenter);
    lines->addWidget(Label9);
    lines->addWidget(Label10);
    lines->addWidget(Label8);
    lines->addStretch();

    boldLabel(
        place(new QLabel(QStringLiteral("客服QQ："), page), "Label4", QRect(194, 164, 65, 21)),
        songtiPua, 16, QStringLiteral("palette(window-text)"));
    Label5 = boldLabel(place(new QLabel(page), "Label5", QRect(271, 162, 110, 23)), songtiPua, 16,
                       QStringLiteral("red"));
    auto *Button7 = button(page, "Button7", QStringLiteral("关闭窗体"), QRect(224, 260, 105, 25));
    connect(Button7, &QPushButton::clicked, this, &QDialog::close);
    return page;
}

void TFormXTSZ::FormCreate()
{
    Label5->setText(kfqq);
    Label8->setText(gpsysname);
}

void TFormXTSZ::showEvent(QShowEvent *event)
{
    if (QWidget *opener = parentWidget())
        move(opener->frameGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TFormXTSZ::Button1Click()
{
    runReportingFailures([this] {
        switch (changeAccountPassword(Edit1->text(), Edit2->text(), Edit3->text())) {
        case PasswordChangeOutcome::ConfirmationDiffers:
            showMessage(this, QStringLiteral("修改密码输入不一致!"), errorCaption, BoxIcon::Error);
            break;
        case PasswordChangeOutcome::NewPasswordEmpty:
            showMessage(this, QStringLiteral("新密码不能为空!"), errorCaption, BoxIcon::Error);
            break;
        case PasswordChangeOutcome::OldPasswordWrong:
            showMessage(this, QStringLiteral("原始密码输入错误!"), errorCaption, BoxIcon::Error);
            break;
        case PasswordChangeOutcome::Changed:
            showMessage(this, QStringLiteral("修改成功!"), QStringLiteral("提示！"));
            close();
            break;
        case PasswordChangeOutcome::Refused:
            showMessage(this, QStringLiteral("修改失败!"), errorCaption);
            break;
        case PasswordChangeOutcome::CallFailed:
            showMessage(this, QStringLiteral("修改失败，系统错误!"), errorCaption);
            break;
        }
    });
}

void TFormXTSZ::Button4Click()
{
    runReportingFailures([this] {
        // Dialog1 of the design: wave files, starting among the sounds that come with the program.
        const QString chosen =
            chooseFileToOpen(this, QStringLiteral("修改提示音"), alertSoundFolder(),
                             QStringLiteral("Skin files (*.wav *.WAV)"));
        if (chosen.isEmpty())
            return; // cancelled: no message
        switch (replaceAlertSound(chosen)) {
        case SoundChangeOutcome::Replaced:
            if (m_playSound)
                m_playSound();
            showMessage(nullptr, QStringLiteral("提示音修改成功!"), soundCaption);
            break;
        case SoundChangeOutcome::TooLarge:
            showMessage(nullptr,
                        QStringLiteral("提示音文件太大（不能超过 %1 MB），请选择较短的声音文件!")
                            .arg(maxSoundBytes / (1024 * 1024)),
                        soundCaption);
            break;
        case SoundChangeOutcome::Failed:
            showMessage(nullptr, QStringLiteral("提示音修改失败!"), soundCaption);
            break;
        }
    });
    close();
}

void openSettingsWindow(QWidget *mainWindow, std::function<void()> playSound)
{
    TFormXTSZ window(mainWindow, std::move(playSound));
    window.exec();
}
