#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

#include <optional>

// A read-only grid of texts numbered like a string grid: row 0 is the fixed header row, data rows
// start at 1, column 0 is the first column. The row count includes the header row, and shrinking
// it keeps the rows that remain as they were.
class StringGridModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StringGridModel)

public:
    StringGridModel(int columnCount, QObject *parent);

    int gridRowCount() const { return int(m_rows.size()) + 1; }
    void setGridRowCount(int count); // at least 1 (the header row)
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    QStringList rowCells(int row) const; // a data row, 1 and on
    int findRow(const QStringList &cells) const; // the first data row holding them, or 0

    // Header cells in bold, centred and at the top.
    void setBoldCentredHeader(bool on) { m_boldCentredHeader = on; }

    // Between these, cell writes announce nothing; the end announces every cell at once.
    void beginBulkWrite();
    void endBulkWrite();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_header;
    QList<QStringList> m_rows;
    int m_columnCount;
    bool m_boldCentredHeader = false;
    bool m_bulk = false;
};

class StringGrid final : public QTableView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StringGrid)

public:
    StringGrid(int columnCount, QWidget *parent = nullptr);

    int rowCount() const { return m_model->gridRowCount(); }
    void setRowCount(int count) { m_model->setGridRowCount(count); }
    int colCount() const { return m_model->columnCount(); }
    QString cell(int column, int row) const { return m_model->cell(column, row); }
    void setCell(int column, int row, const QString &text) { m_model->setCell(column, row, text); }

    int colWidth(int column) const { return columnWidth(column); }
    void setColWidth(int column, int width);
    void setHeaderRowHeight(int height);
    int headerRowHeight() const;
    void setBoldCentredHeader(bool on);

    // The current data row (1 when nothing was chosen yet, as a string grid starts).
    int currentRow() const;

    // The cells of the row the person chose, if they chose one.
    std::optional<QStringList> chosenRowCells() const;
    // Chooses the first row holding exactly these cells; without one the choice is cleared.
    // Returns whether one was found.
    bool chooseRowWithCells(const QStringList &cells);

    StringGridModel *gridModel() const { return m_model; }

    // Every cell write between the two is announced once at the end (fast refills).
    class BulkWrite
    {
    public:
        explicit BulkWrite(StringGrid &grid) : m_model(grid.m_model) { m_model->beginBulkWrite(); }
        ~BulkWrite() { m_model->endBulkWrite(); }
        BulkWrite(const BulkWrite &) = delete;
        BulkWrite &operator=(const BulkWrite &) = delete;

    private:
        StringGridModel *m_model;
    };

Q_SIGNALS:
    // A double click anywhere in the grid, after the click chose its row.
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // A cell whose text is cut off at its edge shows the whole text as a tooltip.
    bool viewportEvent(QEvent *event) override;

private:
    StringGridModel *m_model;
};
