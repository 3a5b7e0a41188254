#include "content/UnitSMNC.h"

#include "app/ChangeCounters.h"
#include "app/Clock.h"
#include "app/UnitGlouble.h"
#include "content/ContentQueries.h"
#include "content/GridFill.h"
#include "content/StringGrid.h"
#include "service/Conversions.h"
#include "ui/ErrorReport.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr QSize designedClientSize(950, 597);

struct GridDesign
{
    const char *name;
    QList<QString> headers;
    QList<int> widths; // designed, column 0 first
    bool boldCentredHeader;
};

QList<QString> alertHeaders()
{
    return {QStringLiteral("ID"),   QStringLiteral("弹出时间"), QStringLiteral("股票代码"),
            QStringLiteral("价格"), QStringLiteral("操作方式"), QStringLiteral("操作理由")};
}

const GridDesign &todaysAlertsDesign()
{
    static const GridDesign design {
        "StringGrid1", alertHeaders(), {10, 135, 72, 45, 67, 147}, true};
    return design;
}

const GridDesign &alertHistoryDesign()
{
    static const GridDesign design {
        "StringGrid2", alertHeaders(), {10, 135, 79, 48, 68, 137}, true};
    return design;
}

const GridDesign &liveItemsDesign()
{
    static const GridDesign design {"StringGrid3",
                                    {QStringLiteral("ID"), QStringLiteral("弹出时间"),
                                     QStringLiteral("资讯类型"), QStringLiteral("资讯内容")},
                                    {10, 142, 82, 202},
                                    false};
    return design;
}

StringGrid *makeGrid(const GridDesign &design, QWidget *parent)
{
    auto *grid = new StringGrid(int(design.headers.size()), parent);
    grid->setObjectName(QString::fromLatin1(design.name));
    grid->setBoldCentredHeader(design.boldCentredHeader);
    for (int column = 0; column < design.widths.size(); ++column)
        grid->setColWidth(column, design.widths.at(column));
    return grid;
}

// Header texts, header row height and the hidden ID column, as the window sets them when shown.
void prepareGrid(StringGrid &grid, const GridDesign &design)
{
    for (int column = 0; column < design.headers.size(); ++column)
        grid.setCell(column, 0, design.headers.at(column));
    grid.setHeaderRowHeight(18);
    grid.setColWidth(0, 0);
}

QGroupBox *makeGroup(const QString &title, QWidget *content, QWidget *parent)
{
    auto *group = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(content);
    return group;
}

QDateEdit *makeDatePicker(const char *name, QWidget *parent)
{
    auto *picker = new QDateEdit(parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    picker->setFixedWidth(81);
    // The calendar pops up over the grid below it: a one-pixel frame in the skin's border colour
    // keeps the two apart.
    QWidget *popup = picker->calendarWidget()->window();
    popup->setObjectName(QStringLiteral("CalendarPopup"));
    popup->setAttribute(Qt::WA_StyledBackground);
    if (QLayout *layout = popup->layout())
        layout->setContentsMargins(1, 1, 1, 1);
    return picker;
}

} // namespace

TFormSMNC::TFormSMNC(QWidget *owner) : Tmain(owner)
{
    resize(designedClientSize);
    buildDesign();
    FormCreate();
}

TFormSMNC::TFormSMNC(HostedIn host) : Tmain(host)
{
    buildDesign();
    FormCreate();
}

TFormSMNC::~TFormSMNC()
{
    // FormDestroy
    smncOpen = false;
}

void TFormSMNC::buildDesign()
{
    setObjectName(QStringLiteral("FormSMNC"));
    setWindowTitle(QStringLiteral("FormSMNC"));

    StringGrid1 = makeGrid(todaysAlertsDesign(), this);
    StringGrid2 = makeGrid(alertHistoryDesign(), this);
    StringGrid3 = makeGrid(liveItemsDesign(), this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto *topStrip = new QWidget(this);
    topStrip->setObjectName(QStringLiteral("TopStrip"));
    topStrip->setFixedHeight(218);
    auto *topLayout = new QHBoxLayout(topStrip);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(6);
    topLayout->addWidget(makeGroup(QStringLiteral("今日预警股票"), StringGrid1, topStrip), 1);
    QGroupBox *detailGroup = makeGroup(QStringLiteral("详细内容"), Memo1, topStrip);
    detailGroup->setFixedWidth(453);
    topLayout->addWidget(detailGroup);

    auto *rangeStrip = new QWidget(this);
    rangeStrip->setObjectName(QStringLiteral("RangeStrip"));
    rangeStrip->setFixedHeight(28);
    auto *rangeLayout = new QHBoxLayout(rangeStrip);
    rangeLayout->setContentsMargins(2, 0, 2, 0);
    rangeLayout->setSpacing(6);
    DateTimePicker1 = makeDatePicker("DateTimePicker1", rangeStrip);
    DateTimePicker2 = makeDatePicker("DateTimePicker2", rangeStrip);
    Button2 = new QPushButton(QStringLiteral("查询"), rangeStrip);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setFixedSize(61, 22);
    rangeLayout->addWidget(new QLabel(QStringLiteral("时间起："), rangeStrip));
    rangeLayout->addWidget(DateTimePicker1);
    rangeLayout->addSpacing(8);
    rangeLayout->addWidget(new QLabel(QStringLiteral("时间止："), rangeStrip));
    rangeLayout->addWidget(DateTimePicker2);
    rangeLayout->addSpacing(8);
    rangeLayout->addWidget(Button2);
    rangeLayout->addStretch(1);

    auto *history = new QWidget(this);
    auto *historyLayout = new QVBoxLayout(history);
    historyLayout->setContentsMargins(0, 0, 0, 0);
    historyLayout->setSpacing(4);
    historyLayout->addWidget(rangeStrip);
    historyLayout->addWidget(StringGrid2, 1);

    auto *lowerLayout = new QHBoxLayout;
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(6);
    lowerLayout->addWidget(makeGroup(QStringLiteral("历史预警记录"), history, this), 1);
    QGroupBox *liveGroup = makeGroup(QStringLiteral("实盘资讯"), StringGrid3, this);
    liveGroup->setFixedWidth(451);
    lowerLayout->addWidget(liveGroup);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(topStrip);
    layout->addLayout(lowerLayout, 1);

    connect(Button2, &QPushButton::clicked, this, &TFormSMNC::Button2Click);
    connect(StringGrid1, &StringGrid::DblClick, this, &TFormSMNC::StringGrid1DblClick);
    connect(StringGrid2, &StringGrid::DblClick, this, &TFormSMNC::StringGrid2DblClick);
    connect(StringGrid3, &StringGrid::DblClick, this, &TFormSMNC::StringGrid3DblClick);
}

void TFormSMNC::FormCreate()
{
    smncOpen = true;
}

void TFormSMNC::showEvent(QShowEvent *event)
{
    Tmain::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFormSMNC::FormShow()
{
    prepareGrid(*StringGrid1, todaysAlertsDesign());
    prepareGrid(*StringGrid2, alertHistoryDesign());
    prepareGrid(*StringGrid3, liveItemsDesign());
    const QDate today = Clock::currentDate();
    DateTimePicker1->setDate(today.addDays(-1));
    DateTimePicker2->setDate(today);
    iniformdate();
}

void TFormSMNC::iniformdate()
{
    runDiscardingFailures([this] {
        showTodaysAlerts(ContentQueries::todaysAlerts());
        showLatestAlerts(ContentQueries::latestAlerts());
        showTodaysLiveItems(ContentQueries::todaysLiveItems());
        takeCounterSnapshot(
            {CounterKey::gptjadd, CounterKey::gptjsx, CounterKey::spzxadd, CounterKey::spzxsx});
    });
}

void TFormSMNC::Button2Click()
{
    runDiscardingFailures([this] {
        showLatestAlerts(
            ContentQueries::alertsBetween(DateTimePicker1->date(), DateTimePicker2->date()));
    });
}

void TFormSMNC::showTodaysAlerts(const GridRows &rows)
{
    refill(*StringGrid1, rows);
}

void TFormSMNC::showLatestAlerts(const GridRows &rows)
{
    refill(*StringGrid2, rows);
}

void TFormSMNC::showTodaysLiveItems(const GridRows &rows)
{
    refill(*StringGrid3, rows);
}

void TFormSMNC::refill(StringGrid &grid, const GridRows &rows)
{
    const std::optional<QStringList> chosen = grid.chosenRowCells();
    fillGrid(grid, rows);
    if (!chosen)
        return;
    // New entries come in on top, so the chosen one moves down; the highlight follows it, and the
    // detail box keeps agreeing with what is highlighted.
    if (grid.chooseRowWithCells(*chosen))
        return;
    if (m_detailGrid == &grid) {
        Memo1->clear();
        m_detailGrid = nullptr;
    }
}

void TFormSMNC::showAlertDetail(const QString &heading, const StringGrid &grid)
{
    m_detailGrid = &grid;
    const int row = grid.currentRow();
    const auto cell = [&](int column) { return trimmedText(grid.cell(column, row)); };
    Memo1->setPlainText(QStringList {
        heading, QStringLiteral("弹出时间：") + cell(1), QStringLiteral("股票代码：") + cell(2),
        QStringLiteral("价         格：") + cell(3), QStringLiteral("操作方式：") + cell(4),
        QStringLiteral("操作理由：") + cell(5)}
                            .join(u'\n'));
}

void TFormSMNC::StringGrid1DblClick()
{
    showAlertDetail(QStringLiteral("今日预警股票"), *StringGrid1);
}

void TFormSMNC::StringGrid2DblClick()
{
    showAlertDetail(QStringLiteral("历史预警股票"), *StringGrid2);
}

void TFormSMNC::StringGrid3DblClick()
{
    m_detailGrid = StringGrid3;
    const int row = StringGrid3->currentRow();
    const auto cell = [&](int column) { return trimmedText(StringGrid3->cell(column, row)); };
    Memo1->setPlainText(
        QStringList {QStringLiteral("实盘资讯"), QStringLiteral("弹出时间：") + cell(1),
                     QStringLiteral("资讯类型：") + cell(2), QStringLiteral("资讯内容：") + cell(3)}
            .join(u'\n'));
}
