#include "service/SafeXml.h"

#include <QStringDecoder>

namespace SafeXml {
namespace {

bool startsAt(QStringView text, qsizetype at, QStringView prefix)
{
    return text.sliced(at).startsWith(prefix);
}

// Index just past the end marker that follows `from`, or the text's size when there is none
// (the parser then reports the unterminated construct).
qsizetype pastMarker(QStringView text, qsizetype from, QStringView marker)
{
    const qsizetype at = text.indexOf(marker, from);
    return at < 0 ? text.size() : at + marker.size();
}

} // namespace

QString refusalReason(QStringView text)
{
    int depth = 0;
    qsizetype i = 0;
    const qsizetype end = text.size();
    while (i < end) {
        i = text.indexOf(u'<', i);
        if (i < 0)
            break;
        if (startsAt(text, i, u"<!--")) {
            i = pastMarker(text, i + 4, u"-->");
        } else if (startsAt(text, i, u"<![CDATA[")) {
            i = pastMarker(text, i + 9, u"]]>");
        } else if (startsAt(text, i, u"<?")) {
            i = pastMarker(text, i + 2, u"?>");
        } else if (startsAt(text, i, u"<!")) {
            return QStringLiteral("文档含有 DTD");
        } else if (startsAt(text, i, u"</")) {
            if (--depth < 0)
                break; // an end tag without a start: the parser stops right here
            i = pastMarker(text, i + 2, u">");
        } else {
            // A start tag: every '=' outside quoted values introduces one attribute's value.
            int attributes = 0;
            QChar quote;
            qsizetype j = i + 1;
            for (; j < end; ++j) {
                const QChar c = text[j];
                if (!quote.isNull()) {
                    if (c == quote)
                        quote = QChar();
                } else if (c == u'"' || c == u'\'') {
                    quote = c;
                } else if (c == u'=') {
                    if (++attributes > maxAttributes)
                        return QStringLiteral("一个元素的属性超过 %1 个").arg(maxAttributes);
                } else if (c == u'>') {
                    break;
                }
            }
            if (j == end)
                break;
            // An empty element ("<a/>") is a level too, if only for itself.
            if (++depth > maxDepth)
                return QStringLiteral("元素嵌套超过 %1 层").arg(maxDepth);
            if (text[j - 1] == u'/')
                --depth;
            i = j + 1;
        }
    }
    return QString();
}

bool decodeUtf8(const QByteArray &bytes, QString &text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool enterDocumentElement(QXmlStreamReader &xml)
{
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            return false;
        default:
            break;
        }
    }
    return false;
}

QString elementText(QXmlStreamReader &xml)
{
    QString text;
    int open = 1;
    while (open > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text += xml.text();
            break;
        case QXmlStreamReader::StartElement:
            ++open;
            break;
        case QXmlStreamReader::EndElement:
            --open;
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace SafeXml
