#include "content/GridFill.h"

#include "content/StringGrid.h"

void fillGrid(StringGrid &grid, const GridRows &rows)
{
    if (rows.isEmpty()) {
        grid.setRowCount(2);
        return;
    }
    grid.setRowCount(int(rows.size()) + 1);
    const StringGrid::BulkWrite bulk(grid);
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList &cells = rows.at(row);
        for (int column = 0; column < cells.size(); ++column)
            grid.setCell(column + 1, row + 1, cells.at(column));
    }
}
