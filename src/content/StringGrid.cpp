#include "content/StringGrid.h"

#include <QFont>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {

// Cells as a string grid draws them: the text close to the left edge, centred vertically,
// cut off at the cell's edge rather than shortened with an ellipsis.
class GridCellPainter final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        QPalette::ColorRole background = QPalette::Base;
        if (selected)
            background = QPalette::Highlight;
        else if (option.features & QStyleOptionViewItem::Alternate)
            background = QPalette::AlternateBase;
        painter->fillRect(option.rect, option.palette.brush(background));
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
    }
};

} // namespace

StringGridModel::StringGridModel(int columnCount, QObject *parent)
    : QAbstractTableModel(parent), m_columnCount(columnCount)
{
    for (int column = 0; column < columnCount; ++column)
        m_header.append(QString());
}

void StringGridModel::setGridRowCount(int count)
{
    const int dataRows = std::max(count, 1) - 1;
    const int current = int(m_rows.size());
    if (dataRows < current) {
        beginRemoveRows({}, dataRows, current - 1);
        m_rows.resize(dataRows);
        endRemoveRows();
    } else if (dataRows > current) {
        beginInsertRows({}, current, dataRows - 1);
        QStringList empty;
        for (int column = 0; column < m_columnCount; ++column)
            empty.append(QString());
        m_rows.reserve(dataRows);
        for (int row = current; row < dataRows; ++row)
            m_rows.append(empty);
        endInsertRows();
    }
}

QString StringGridModel::cell(int column, int row) const
{
    if (column < 0 || column >= m_columnCount || row < 0 || row >= gridRowCount())
        return QString();
    return row == 0 ? m_header.at(column) : m_rows.at(row - 1).at(column);
}

void StringGridModel::setCell(int column, int row, const QString &text)
{
    if (column < 0 || column >= m_columnCount || row < 0 || row >= gridRowCount())
        return;
    if (row == 0) {
        m_header[column] = text;
        if (!m_bulk)
            Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    m_rows[row - 1][column] = text;
    if (!m_bulk)
        Q_EMIT dataChanged(index(row - 1, column), index(row - 1, column), {Qt::DisplayRole});
}

QStringList StringGridModel::rowCells(int row) const
{
    return row >= 1 && row < gridRowCount() ? m_rows.at(row - 1) : QStringList();
}

int StringGridModel::findRow(const QStringList &cells) const
{
    const qsizetype found = m_rows.indexOf(cells);
    return found < 0 ? 0 : int(found) + 1;
}

void StringGridModel::beginBulkWrite()
{
    m_bulk = true;
}

void StringGridModel::endBulkWrite()
{
    m_bulk = false;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_columnCount - 1);
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_rows.size()) - 1, m_columnCount - 1),
                           {Qt::DisplayRole});
}

int StringGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int StringGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant StringGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_rows.at(index.row()).at(index.column());
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_header.at(section);
    case Qt::TextAlignmentRole:
        if (m_boldCentredHeader)
            return int(Qt::AlignHCenter | Qt::AlignTop);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (m_boldCentredHeader) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

StringGrid::StringGrid(int columnCount, QWidget *parent)
    : QTableView(parent), m_model(new StringGridModel(columnCount, this))
{
    setModel(m_model);
    setItemDelegate(new GridCellPainter(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setShowGrid(true);
    setWordWrap(false);
    setAlternatingRowColors(true);
    setCornerButtonEnabled(false);

    QFont gridFont;
    gridFont.setFamilies(
        {QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei")});
    gridFont.setPixelSize(12);
    setFont(gridFont);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(16);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    setRowCount(2); // the header row and one data row, as a new grid has
}

void StringGrid::setColWidth(int column, int width)
{
    horizontalHeader()->resizeSection(column, width);
}

void StringGrid::setHeaderRowHeight(int height)
{
    horizontalHeader()->setFixedHeight(height);
}

int StringGrid::headerRowHeight() const
{
    return horizontalHeader()->height();
}

void StringGrid::setBoldCentredHeader(bool on)
{
    m_model->setBoldCentredHeader(on);
    Q_EMIT m_model->headerDataChanged(Qt::Horizontal, 0, m_model->columnCount() - 1);
}

int StringGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

std::optional<QStringList> StringGrid::chosenRowCells() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isRowSelected(current.row()))
        return std::nullopt;
    return m_model->rowCells(current.row() + 1);
}

bool StringGrid::chooseRowWithCells(const QStringList &cells)
{
    const int row = m_model->findRow(cells);
    if (row == 0) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        return false;
    }
    const QModelIndex index = m_model->index(row - 1, std::max(currentIndex().column(), 0));
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

bool StringGrid::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.data().toString();
    const QRect cell = visualRect(index);
    // The painter leaves one pixel before the text.
    if (index.isValid() && fontMetrics().horizontalAdvance(text) + 1 > cell.width())
        QToolTip::showText(help->globalPos(), text, viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    Q_EMIT DblClick();
}
