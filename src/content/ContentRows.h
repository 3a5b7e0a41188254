#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

class ResultDocument;

// How rows of the alert table (Tuijiangupiao) and the live-trading table (spzx) read in a grid:
// the element of each grid column from 1 on. Column 1 is always nowtime, shown as its time text;
// the others show the element text unchanged. Column 0 is the hidden ID column and stays empty.
struct RowFormat
{
    QList<QStringView> columns; // grid columns 1, 2, ...
};

const RowFormat &alertRowFormat(); // time, gupiaodaima, jg, czfs, czly
const RowFormat &liveInfoRowFormat(); // time, zxlx, zxnr

// Rows as a grid shows them: per answer row, in the server's order, the texts of grid columns
// 1, 2, ... (index 0 holds column 1, the time text).
using GridRows = QList<QStringList>;

// The answer's rows in the row format.
GridRows rowsInFormat(const ResultDocument &document, const RowFormat &format);

// A date-time as the grids show it: trimmed, cut to 19 characters, every "T" replaced by a blank
// and prefixed with two blanks: "  yyyy-mm-dd hh:nn:ss".
QString timeText(const QString &nowtime);

// The same without the two leading blanks, as a popup shows it.
QString popupTimeText(const QString &nowtime);
