#include "startup/UnitLogin.h"

#include "account/UnitZCCT.h"
#include "app/ChangeCounters.h"
#include "app/LoginRecord.h"
#include "app/RememberedCredentials.h"
#include "app/SystemConfiguration.h"
#include "app/UnitGlouble.h"
#include "service/AppError.h"
#include "service/Conversions.h"
#include "startup/LoginBackground.h"
#include "ui/ErrorReport.h"
#include "ui/ExternalBrowser.h"
#include "ui/LinkLabel.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const auto configurationMissing = QStringLiteral("系统错误，请在后台先维护系统配置信息！");
const auto configurationUnavailable = QStringLiteral("系统错误，没有获取到系统配置信息！");
const auto systemErrorCaption = QStringLiteral("系统错误！");
const auto loginErrorCaption = QStringLiteral("登录错误！");
constexpr int keyringDelayMs = 200;

// What a hot spot over the picture looks like: nothing, but a dotted outline while it has the
// keyboard focus, so that the focus is always seen.
const auto hotSpotStyle = QStringLiteral(
    "#%1 { background: transparent; border: 1px solid transparent; border-radius: 3px; }"
    "#%1:focus { border: 1px dotted white; }");

// A flat, transparent, hand-cursor hot spot over the picture, reached by Tab too.
QToolButton *hotSpot(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::TabFocus);
    button->setStyleSheet(hotSpotStyle.arg(QLatin1String(name)));
    return button;
}

// The designed push buttons lie below the visible face: the hot spots and the keys press them,
// and the keyboard focus never lands on them.
QPushButton *pushButton(QWidget *parent, const char *name, const QString &text,
                        const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

bool isEnter(const QKeyEvent &key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}
} // namespace

TFrmLogin::TFrmLogin(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowTitle(QStringLiteral("登录窗体"));
    setFixedSize(489, 310);
    buildControls();
    FormCreate();
}

void TFrmLogin::buildControls()
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 500, 330);
    // Its face is painted once the system's name is known.
    Image1->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Image1->installEventFilter(this);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(317, 135, 123, 21);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(317, 169, 123, 21);
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*" per character
    for (QLineEdit *edit : {Edit1, Edit2}) {
        edit->setFrame(false);
        edit->installEventFilter(this);
    }

    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(302, 201, 13, 13);

    Label2 = new QLabel(QStringLiteral("记住用户名密码"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(322, 201, 101, 13);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Label2->installEventFilter(this);

    RzURLLabel2 = new LinkLabel(QStringLiteral("主 页"), this);
    RzURLLabel2->setObjectName(QStringLiteral("RzURLLabel2"));
    RzURLLabel2->setGeometry(288, 222, 38, 13);
    connect(RzURLLabel2, &LinkLabel::clicked, this, &TFrmLogin::RzURLLabel2Click);
    RzURLLabel1 = new LinkLabel(QStringLiteral("QQ联系"), this);
    RzURLLabel1->setObjectName(QStringLiteral("RzURLLabel1"));
    RzURLLabel1->setGeometry(392, 222, 49, 13);
    connect(RzURLLabel1, &LinkLabel::clicked, this, &TFrmLogin::RzURLLabel1Click);

    Button1 = pushButton(this, "Button1", QStringLiteral("确定"), QRect(269, 562, 75, 25));
    Button2 = pushButton(this, "Button2", QStringLiteral("关闭"), QRect(368, 562, 75, 25));
    Button3 = pushButton(this, "Button3", QStringLiteral("用户注册"), QRect(160, 562, 81, 25));
    connect(Button1, &QPushButton::clicked, this, &TFrmLogin::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFrmLogin::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFrmLogin::Button3Click);

    SpeedButton1 = hotSpot(this, "SpeedButton1", QRect(261, 244, 84, 25));
    connect(SpeedButton1, &QToolButton::clicked, Button1, &QPushButton::click);
    SpeedButton5 = hotSpot(this, "SpeedButton5", QRect(446, 0, 43, 20));
    connect(SpeedButton5, &QToolButton::clicked, Button2, &QPushButton::click);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(371, 240, 86, 33);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->setFocusPolicy(Qt::TabFocus);
    Label1->setStyleSheet(hotSpotStyle.arg(QStringLiteral("Label1")));
    Label1->installEventFilter(this);

    GroupBox1 = new QGroupBox(QStringLiteral("提示信息"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(56, 462, 444, 73);
    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFocusPolicy(Qt::NoFocus);
    auto *noticeLayout = new QVBoxLayout(GroupBox1);
    noticeLayout->addWidget(Memo1);

    // The keyboard walks what the person can see: name, password, remember box, then the hot
    // spots and links over the picture. The designed buttons and notice box below the face keep
    // their order among themselves but never take the focus.
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Memo1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, CheckBox1);
    setTabOrder(CheckBox1, SpeedButton1);
    setTabOrder(SpeedButton1, Label1);
    setTabOrder(Label1, RzURLLabel2);
    setTabOrder(RzURLLabel2, RzURLLabel1);
    setTabOrder(RzURLLabel1, SpeedButton5);
}

// Configuration load: the system configuration and the toolbar into the client globals.
void TFrmLogin::FormCreate()
{
    clearChangeCounters();
    loadConfiguration();
}

bool TFrmLogin::loadConfiguration()
{
    const SystemConfiguration::Load load = SystemConfiguration::load();
    Image1->setPixmap(
        loginBackground(load.configurationRead ? gpsysname : QString(), devicePixelRatioF()));
    if (load.configurationRead) {
        setWindowTitle(gpsysname + QStringLiteral(" 登录窗体"));
        m_chatLink = SystemConfiguration::qqChatLink(kfqq);
        RzURLLabel1->setToolTip(m_chatLink);
        setGeneralErrorCaption(gpsysname);
        // The notice box lies below the visible face; laying its text out waits until the window
        // is on its way to the screen.
        QMetaObject::invokeMethod(
            this, [this, notice = load.notice] { Memo1->setPlainText(notice); },
            Qt::QueuedConnection);
    }
    switch (load.failure) {
    case SystemConfiguration::Load::Failure::None:
        return true;
    case SystemConfiguration::Load::Failure::Missing:
        failConfiguration(configurationMissing);
        return false;
    case SystemConfiguration::Load::Failure::Unavailable:
        // The first line as designed; below it what a person needs to put it right, since a
        // menu launch shows nothing of standard error.
        failConfiguration(configurationUnavailable + QStringLiteral("\n\n")
                          + SystemConfiguration::unavailableDetails(load));
        return false;
    }
    return false;
}

void TFrmLogin::failConfiguration(const QString &message)
{
    showMessage(nullptr, message, systemErrorCaption, BoxIcon::Error);
    m_terminationRequested = true;
}

int TFrmLogin::exec()
{
    // After a failed configuration load the window closes by itself: no login can be attempted.
    if (m_terminationRequested) {
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void TFrmLogin::done(int result)
{
    m_closeConfirmed = true;
    QDialog::done(result);
}

void TFrmLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *screen = this->screen())
        move(screen->geometry().center() - rect().center());
    FormShow();
}

// Fills the fields from the remembered-login file.
void TFrmLogin::FormShow()
{
    if (const auto remembered = RememberedCredentials::recall()) {
        Edit1->setText(remembered->name);
        Edit2->setText(remembered->password);
        CheckBox1->setChecked(true);
        if (remembered->password.isEmpty() && !remembered->name.isEmpty())
            fillPasswordFromKeyring(remembered->name);
    } else {
        Edit1->clear();
        Edit2->clear();
        CheckBox1->setChecked(false);
    }
    Edit1->setFocus();
}

// The keyring answers later (it may even ask the person to unlock it first); the window does not
// wait, and the password only goes in while the person has not changed the fields meanwhile. Asked
// once the window is up, so that loading the keyring's library is no part of the start.
void TFrmLogin::fillPasswordFromKeyring(const QString &name)
{
    QTimer::singleShot(keyringDelayMs, this, [this, name] {
        RememberedCredentials::recallFromKeyring(name, this, [this, name](const QString &password) {
            if (Edit1->text() == name && Edit2->text().isEmpty())
                Edit2->setText(password);
        });
    });
}

void TFrmLogin::Button1Click()
{
    runReportingFailures([this] {
        const QString name = trimmedText(Edit1->text());
        const QString password = trimmedText(Edit2->text());
        if (name.isEmpty() || password.isEmpty()) {
            showMessage(this, QStringLiteral("请输入用户名或密码！"), loginErrorCaption,
                        BoxIcon::Error);
            return;
        }
        if (!LoginRecord::credentialsValid(name, password)) {
            showMessage(this, QStringLiteral("用户名不存在或密码错误！"), loginErrorCaption,
                        BoxIcon::Error);
            return;
        }
        try {
            LoginRecord::loadAccountRecord(name, password);
        } catch (const std::exception &) {
            showMessage(this, configurationUnavailable, systemErrorCaption, BoxIcon::Error);
            reject();
            return;
        }
        LoginRecord::writeLoginRow();
        loginStamp = LoginRecord::currentLoginStamp();
        JLYHXX();
        accept();
    });
}

// Remembers the credentials when asked to, or forgets them. The login row is written by now, so
// credentials that cannot be remembered (a character GBK lacks, a file that cannot be written)
// only cost the remembering: the user is told once, no stale file stays, and the login goes on.
void TFrmLogin::JLYHXX()
{
    if (!CheckBox1->isChecked()) {
        RememberedCredentials::forget();
        return;
    }
    try {
        RememberedCredentials::remember(Edit1->text(), Edit2->text());
    } catch (const AppError &failure) {
        runDiscardingFailures([] { RememberedCredentials::forget(); });
        showMessage(this, failure.text(), QStringLiteral("提示"), BoxIcon::Warning);
    }
}

void TFrmLogin::Button2Click()
{
    if (showMessage(this, QStringLiteral("是否关闭本系统？"), QStringLiteral("提示"),
                    BoxIcon::Information, BoxButtons::OkCancel)
        == BoxAnswer::Ok)
        reject();
}

void TFrmLogin::Button3Click()
{
    TFormZCCT application(this);
    application.exec();
}

void TFrmLogin::RzURLLabel2Click()
{
    if (!trimmedText(hqurl).isEmpty())
        openInBrowser(this, QUrl::fromUserInput(trimmedText(hqurl)));
}

void TFrmLogin::RzURLLabel1Click()
{
    if (!m_chatLink.isEmpty())
        QDesktopServices::openUrl(QUrl(m_chatLink));
}

void TFrmLogin::closeEvent(QCloseEvent *event)
{
    // A close from outside (the window manager) goes through the same confirmation as "关闭".
    if (m_closeConfirmed) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    Button2Click();
}

void TFrmLogin::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Button2Click();
        return;
    }
    // Enter on a hot spot presses it, as Space does.
    if (auto *hot = qobject_cast<QToolButton *>(focusWidget()); hot && isEnter(*event)) {
        hot->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFrmLogin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto &key = *static_cast<QKeyEvent *>(event);
        if (watched == Edit1)
            return Edit1KeyPress(key);
        if (watched == Edit2)
            return Edit2KeyPress(key);
        if (watched == Label1 && (isEnter(key) || key.key() == Qt::Key_Space)) {
            Label1Click();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == Label2) {
            Label2Click();
            return true;
        }
        if (watched == Label1) {
            Label1Click();
            return true;
        }
    }
    if (watched == Image1 && event->type() == QEvent::MouseButtonPress) {
        m_drag.press(*static_cast<QMouseEvent *>(event));
        return true;
    }
    if (watched == Image1 && event->type() == QEvent::MouseMove) {
        Image1MouseMove(static_cast<QMouseEvent *>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Enter in the name field moves on to the password.
bool TFrmLogin::Edit1KeyPress(const QKeyEvent &key)
{
    if (!isEnter(key))
        return false;
    Edit2->setFocus();
    return true;
}

// Enter in the password field logs in.
bool TFrmLogin::Edit2KeyPress(const QKeyEvent &key)
{
    if (!isEnter(key))
        return false;
    Button1->click();
    return true;
}

void TFrmLogin::Label1Click()
{
    Button3->click();
}

void TFrmLogin::Label2Click()
{
    CheckBox1->toggle();
}

// Dragging the picture moves the borderless window.
void TFrmLogin::Image1MouseMove(QMouseEvent *event)
{
    m_drag.move(*event);
}
