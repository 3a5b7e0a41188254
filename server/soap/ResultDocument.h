#pragma once

#include "db/Schema.h"
#include "db/SqliteDatabase.h"

#include <QString>

namespace server {

// The XML text answered by hqSys_pz, hqdlyhxx and hqsametable, written the way .NET's
// DataSet.GetXml() writes it: a NewDataSet root, one Table per row, one element per non-null
// column in table order, two-blank indentation, CR LF line breaks, "<NewDataSet />" when empty.
namespace ResultDocument {

// Each row holds the table's columns in the table's order.
QString write(const TableLayout &table, const QList<SqlRow> &rows);

} // namespace ResultDocument

} // namespace server
