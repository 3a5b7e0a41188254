#pragma once

#include "content/ContentRows.h"

class StringGrid;

// The grid fill rule. N rows: with none, the grid keeps the header and one data row (N + 2 rows)
// and no cell is written, so that row shows whatever it held; otherwise the grid gets N + 1 rows
// and row i fills grid row i + 1 from column 1 on, in the server's order.
void fillGrid(StringGrid &grid, const GridRows &rows);
