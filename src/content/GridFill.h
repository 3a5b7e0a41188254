#pragma once

class StringGrid;
class ResultDocument;
struct RowFormat;

// The grid fill rule. N rows: with none, the grid keeps the header and one data row (N + 2 rows)
// and no cell is written, so that row shows whatever it held; otherwise the grid gets N + 1 rows
// and document row i fills grid row i + 1, columns as the row format says, in the server's order.
void fillGrid(StringGrid &grid, const ResultDocument &document, const RowFormat &format);
