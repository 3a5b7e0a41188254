#include "service/ResultDocument.h"

#include "service/AppError.h"
#include "service/Conversions.h"
#include "service/SafeXml.h"

#include <QXmlStreamReader>

namespace {
[[noreturn]] void refuse(const QString &reason)
{
    throw AppError(QStringLiteral("服务器返回的数据不是有效的 XML 文档（%1）").arg(reason));
}

[[noreturn]] void malformed(const QXmlStreamReader &xml)
{
    refuse(xml.hasError() ? xml.errorString() : QStringLiteral("文档不完整"));
}
} // namespace

ResultDocument ResultDocument::parse(const QString &text)
{
    ResultDocument document;
    if (const QString refused = SafeXml::refusalReason(text); !refused.isEmpty())
        refuse(refused);
    QXmlStreamReader xml(text);
    if (!SafeXml::enterDocumentElement(xml))
        malformed(xml);

    while (xml.readNextStartElement()) { // rows
        QList<Cell> &row = document.m_rows.emplace_back();
        while (xml.readNextStartElement()) { // columns
            const QString name = xml.name().toString();
            int column = document.m_columnIndex.value(name, -1);
            if (column < 0) {
                column = int(document.m_columnIndex.size());
                document.m_columnIndex.insert(name, column);
            }
            const QString value = SafeXml::elementText(xml);
            if (xml.hasError())
                malformed(xml);
            row.append({column, trimmedText(value)});
        }
        if (xml.hasError())
            malformed(xml);
    }
    if (xml.hasError())
        malformed(xml);
    // Whatever follows the root (comments, blanks) must still be well-formed.
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() == QXmlStreamReader::StartElement
            || xml.tokenType() == QXmlStreamReader::DTD)
            malformed(xml);
    }
    if (xml.hasError())
        malformed(xml);
    return document;
}

QString ResultDocument::value(int row, QStringView column) const
{
    if (row < 0 || row >= m_rows.size())
        throw AppError(
            QStringLiteral("数据中没有第 %1 行（共 %2 行）").arg(row).arg(m_rows.size()));
    const int index = m_columnIndex.value(column.toString(), -1);
    const QList<Cell> &cells = m_rows.at(row);
    for (auto cell = cells.crbegin(); cell != cells.crend(); ++cell) {
        if (cell->column == index)
            return cell->value;
    }
    return QString();
}
