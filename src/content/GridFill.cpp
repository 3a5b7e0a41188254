#include "content/GridFill.h"

#include "content/ContentRows.h"
#include "content/StringGrid.h"
#include "service/ResultDocument.h"

void fillGrid(StringGrid &grid, const ResultDocument &document, const RowFormat &format)
{
    const int rows = document.rowCount();
    if (rows < 1) {
        grid.setRowCount(rows + 2);
        return;
    }
    grid.setRowCount(rows + 1);
    const StringGrid::BulkWrite bulk(grid);
    const int columns = int(format.columns.size());
    for (int row = 0; row < rows; ++row) {
        for (int column = 1; column <= columns; ++column)
            grid.setCell(column, row + 1, rowFormatCell(document, row, format, column));
    }
}
