#include "soap/XmlInputLimits.h"

namespace XmlInputLimits {

namespace {

// Where the construct opened at `from` ends (just past `terminator`), or the end of the text.
qsizetype pastTerminator(QStringView xml, qsizetype from, QStringView terminator)
{
    const qsizetype at = xml.indexOf(terminator, from);
    return at < 0 ? xml.size() : at + terminator.size();
}

struct Tag
{
    qsizetype end; // just past its '>', or the end of the text
    int attributes; // '=' outside quoted values: never fewer than the reader will find
    bool selfClosing;
};

// Scans a start tag from just past its '<'. Attribute values are quoted and hold no '<', so the
// tag ends at the first '>' outside quotes.
Tag scanStartTag(QStringView xml, qsizetype from)
{
    Tag tag {xml.size(), 0, false};
    QChar quote;
    for (qsizetype i = from; i < xml.size(); ++i) {
        const QChar c = xml[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'=') {
            ++tag.attributes;
        } else if (c == u'>') {
            tag.end = i + 1;
            tag.selfClosing = i > from && xml[i - 1] == u'/';
            return tag;
        }
    }
    return tag;
}

} // namespace

bool withinLimits(QStringView xml)
{
    int depth = 0;
    int elements = 0;
    qsizetype pos = 0;
    while ((pos = xml.indexOf(u'<', pos)) >= 0) {
        const QStringView rest = xml.sliced(pos);
        if (rest.startsWith(u"<!--")) {
            pos = pastTerminator(xml, pos + 4, u"-->");
        } else if (rest.startsWith(u"<![CDATA[")) {
            pos = pastTerminator(xml, pos + 9, u"]]>");
        } else if (rest.startsWith(u"<?")) {
            pos = pastTerminator(xml, pos + 2, u"?>");
        } else if (rest.startsWith(u"<!")) {
            return false; // a DTD, which is never accepted
        } else if (rest.startsWith(u"</")) {
            if (--depth < 0)
                return false; // an end tag without a start: broken anyway
            pos = pastTerminator(xml, pos + 2, u">");
        } else {
            const Tag tag = scanStartTag(xml, pos + 1);
            if (++elements > MaxElements || tag.attributes > MaxAttributesPerElement)
                return false;
            if (!tag.selfClosing && ++depth > MaxDepth)
                return false;
            pos = tag.end;
        }
    }
    return true;
}

} // namespace XmlInputLimits
