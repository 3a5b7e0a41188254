#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A query answer: root element -> one child per row -> one child per column, named as the column.
// Values are trimmed; a column absent from a row (null on the server) reads as empty text.
class ResultDocument
{
public:
    ResultDocument() = default;

    // Parses the answer text as received (Unicode, no code-page round trip). Raises AppError when
    // it is not a well-formed document.
    static ResultDocument parse(const QString &text);

    int rowCount() const { return int(m_rows.size()); }

    // Raises AppError for a row that does not exist (reading row 0 of an empty answer).
    QString value(int row, QStringView column) const;

private:
    int columnIndex(QStringView column) const;

    QStringList m_columns;               // every column name seen, in order of first appearance
    QList<QList<QString>> m_rows;        // per row, values by column index (shorter = empty)
};
