#include "main/MainWindowDesign.h"

#include "app/UnitGlouble.h"
#include "main/DesignPicture.h"
#include "main/MarqueeStatus.h"
#include "ui/PngPicture.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The toolbar by position: button, designed caption and designed left edge. The icons are
// ":/main/toolbar/NN.png" by position.
struct ToolbarSlot
{
    const char *buttonName;
    const char16_t *designedCaption;
    int designedLeft;
};

constexpr ToolbarSlot toolbarSlots[toolbarEntryCount] = {
    {"RzToolButton1", u"预警管理", 8},    {"RzToolButton8", u"私募内参", 79},
    {"RzToolButton9", u"私募绝密", 150},  {"RzToolButton3", u"实时行情", 220},
    {"RzToolButton2", u"新闻资讯", 290},  {"RzToolButton4", u"价值评估", 360},
    {"RzToolButton5", u"个股档案", 430},  {"RzToolButton6", u"大盘资金", 500},
    {"RzToolButton7", u"研究报告", 570},  {"RzToolButton10", u"研究报告", 640},
    {"RzToolButton11", u"系统设置", 710},
};

constexpr int designedWidth = 948;
constexpr int headerHeight = 90;
constexpr int footerHeight = 33;
constexpr QSize buttonSize(toolbarButtonWidth, 64);
constexpr int labelColumn = 789;
constexpr int valueColumn = 851;
constexpr int designedPollMs = 15000;
constexpr int loginWatchMs = 15000;

// Toolbar entry N's icon with its picture for double density. QIcon would find the @2x file by
// itself only when the screen had that density at start; added here, a window moved between
// screens of ratio 1 and 2 gets the right one. Qt 6.4 takes the plain picture for every ratio
// below 2 when both are there, so on a screen between 1 and 2 the icon has only the finer one,
// scaled down a little.
QIcon toolbarIcon(int position, qreal ratio)
{
    const QString base = QStringLiteral(":/main/toolbar/%1").arg(position, 2, 10, QLatin1Char('0'));
    QIcon icon;
    if (ratio <= 1 || ratio >= 2)
        icon.addPixmap(pngPicture(base + QStringLiteral(".png")));
    icon.addPixmap(pngPicture(base + QStringLiteral("@2x.png")));
    return icon;
}

// A picture of the design, left empty until the window first shows (loadDesignPictures): none of
// them is seen during the login, and decoding them all cost the start-up a few milliseconds.
const char *const pictureProperty = "designPicture";

QLabel *makePicture(const QString &resource, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    picture->setProperty(pictureProperty, resource);
    picture->setScaledContents(true);
    return picture;
}

QLabel *makeHeaderLabel(const char *name, const QString &text, int left, int top, int width,
                        QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(left, top, width, 20);
    return label;
}

// The header: its picture always stretched over the whole of it, behind the buttons.
class HeaderPanel final : public QFrame
{
public:
    using QFrame::QFrame;
    QLabel *picture = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QFrame::resizeEvent(event);
        picture->setGeometry(rect());
        picture->lower();
    }
};

QToolButton *makeToolbarButton(int position, QWidget *parent)
{
    const ToolbarSlot &slot = toolbarSlots[position - 1];
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(slot.buttonName));
    button->setText(QString::fromUtf16(slot.designedCaption));
    button->setProperty(pictureProperty, position); // its icon comes with the other pictures
    button->setIconSize(QSize(35, 35));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(QRect(QPoint(slot.designedLeft, toolbarButtonTop), buttonSize));
    return button;
}

} // namespace

QIcon applicationIcon()
{
    static const QIcon icon(pngPicture(QStringLiteral(":/main/tipdesk.png"))); // read once
    return icon;
}

void loadDesignPictures(QWidget *window)
{
    const qreal ratio = window->devicePixelRatioF();
    for (QLabel *picture : window->findChildren<QLabel *>()) {
        const QVariant resource = picture->property(pictureProperty);
        if (resource.isValid())
            picture->setPixmap(designPicture(resource.toString(), ratio));
    }
    for (QToolButton *button : window->findChildren<QToolButton *>()) {
        const QVariant position = button->property(pictureProperty);
        if (position.isValid())
            button->setIcon(toolbarIcon(position.toInt(), ratio));
    }
}

MainHeader buildMainHeader(QWidget *window)
{
    MainHeader header;
    auto *panel = new HeaderPanel(window);
    header.Panel7 = panel;
    header.Panel7->setObjectName(QStringLiteral("Panel7"));
    header.Panel7->setFixedHeight(headerHeight);

    header.Image1 = makePicture(QStringLiteral(":/main/header.png"), header.Panel7);
    header.Image1->setObjectName(QStringLiteral("Image1"));
    panel->picture = header.Image1;

    for (int position = 1; position <= toolbarEntryCount; ++position)
        header.toolbar.append(makeToolbarButton(position, header.Panel7));

    const int labelWidth = valueColumn - labelColumn;
    const int valueWidth = designedWidth - valueColumn - 4;
    header.Label5 = makeHeaderLabel("Label5", QStringLiteral("用户名称："), labelColumn, 24,
                                    labelWidth, header.Panel7);
    header.Label8 = makeHeaderLabel("Label8", QStringLiteral("用户名："), valueColumn, 24,
                                    valueWidth, header.Panel7);
    header.Label6 = makeHeaderLabel("Label6", QStringLiteral("用户等级："), labelColumn, 48,
                                    labelWidth, header.Panel7);
    header.Label9 = makeHeaderLabel("Label9", QStringLiteral("用户名："), valueColumn, 48,
                                    valueWidth, header.Panel7);
    return header;
}

MainFooter buildMainFooter(QWidget *window)
{
    MainFooter footer;
    footer.Panel9 = new QFrame(window);
    footer.Panel9->setObjectName(QStringLiteral("Panel9"));
    footer.Panel9->setFixedHeight(footerHeight);
    auto *layout = new QVBoxLayout(footer.Panel9);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *panel1 = new QFrame(footer.Panel9);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedHeight(6);
    auto *stripLayout = new QVBoxLayout(panel1);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    QLabel *image3 = makePicture(QStringLiteral(":/main/footer-strip.png"), panel1);
    image3->setObjectName(QStringLiteral("Image3"));
    stripLayout->addWidget(image3);

    footer.RzMarqueeStatus1 = new MarqueeStatus(footer.Panel9);
    footer.RzMarqueeStatus1->setObjectName(QStringLiteral("RzMarqueeStatus1"));
    footer.RzMarqueeStatus1->setText(QStringLiteral("提示信息1"));
    footer.trayHint =
        new QLabel(QStringLiteral("未检测到系统托盘，最小化后请从任务栏恢复窗口。"), footer.Panel9);
    footer.trayHint->setObjectName(QStringLiteral("TrayHint"));
    footer.trayHint->hide();
    // Do-not-disturb within reach of the window too, for desktops without a notification area.
    footer.quietSwitch = new QToolButton(footer.Panel9);
    footer.quietSwitch->setObjectName(QStringLiteral("QuietSwitch"));
    footer.quietSwitch->setText(QStringLiteral("免打扰"));
    footer.quietSwitch->setCheckable(true);
    footer.quietSwitch->setAutoRaise(true);
    footer.quietSwitch->setFocusPolicy(Qt::NoFocus);
    footer.quietSwitch->setToolTip(QStringLiteral("开启后不弹出提示、不播放提示音，窗口照常刷新"));
    auto *noticeRow = new QHBoxLayout;
    noticeRow->setContentsMargins(0, 0, 8, 0);
    noticeRow->setSpacing(8);
    noticeRow->addWidget(footer.RzMarqueeStatus1, 1);
    noticeRow->addWidget(footer.trayHint);
    noticeRow->addWidget(footer.quietSwitch);

    QLabel *image2 = makePicture(QStringLiteral(":/main/footer-base.png"), footer.Panel9);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setFixedHeight(6);

    layout->addWidget(panel1);
    layout->addLayout(noticeRow, 1);
    layout->addWidget(image2);
    return footer;
}

namespace {

QTimer *makeTimer(const char *name, int intervalMs, QObject *parent)
{
    // Coarse timers: a poll a few milliseconds late costs nothing, and the system can group the
    // wake-ups of an idle client.
    auto *timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setTimerType(Qt::CoarseTimer);
    timer->setInterval(intervalMs);
    return timer;
}

} // namespace

MainDesign buildMainDesign(QWidget *window)
{
    MainDesign design;
    design.header = buildMainHeader(window);
    design.Panel8 = new QFrame(window); // the content windows fill it (Tmain's hosted construction)
    design.Panel8->setObjectName(QStringLiteral("Panel8"));
    design.footer = buildMainFooter(window);

    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(design.header.Panel7);
    layout->addWidget(design.Panel8, 1);
    layout->addWidget(design.footer.Panel9);

    design.Timer1 = makeTimer("Timer1", designedPollMs, window);
    design.Timer2 = makeTimer("Timer2", loginWatchMs, window);
    return design;
}

void markCurrentToolbarButton(const MainHeader &header, int position)
{
    for (int index = 1; index <= header.toolbar.size(); ++index) {
        QToolButton *button = header.toolbar.at(index - 1);
        const bool current = index == position;
        if (button->property("current").toBool() == current)
            continue;
        button->setProperty("current", current); // the skin highlights it
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}
