#include "service/XmlScan.h"

namespace XmlScan {

namespace {

// Just past the end marker that follows `from`, or the end of the text (the reader then reports
// the unterminated construct).
qsizetype pastMarker(QStringView xml, qsizetype from, QStringView marker)
{
    const qsizetype at = xml.indexOf(marker, from);
    return at < 0 ? xml.size() : at + marker.size();
}

struct StartTag
{
    qsizetype end; // just past its '>', or the end of the text
    int attributes; // '=' outside quoted values: never fewer than the reader will find
    bool empty; // "<a/>"
};

StartTag scanStartTag(QStringView xml, qsizetype from, int maxAttributes)
{
    StartTag tag {xml.size(), 0, false};
    QChar quote;
    for (qsizetype i = from; i < xml.size(); ++i) {
        const QChar c = xml[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'=') {
            if (++tag.attributes > maxAttributes)
                return tag; // no need to read further
        } else if (c == u'>') {
            tag.end = i + 1;
            tag.empty = i > from && xml[i - 1] == u'/';
            return tag;
        }
    }
    return tag;
}

} // namespace

Verdict scan(QStringView xml, const Limits &limits)
{
    int depth = 0;
    int elements = 0;
    qsizetype pos = 0;
    while ((pos = xml.indexOf(u'<', pos)) >= 0) {
        const QStringView rest = xml.sliced(pos);
        if (rest.startsWith(u"<!--")) {
            pos = pastMarker(xml, pos + 4, u"-->");
        } else if (rest.startsWith(u"<![CDATA[")) {
            pos = pastMarker(xml, pos + 9, u"]]>");
        } else if (rest.startsWith(u"<?")) {
            pos = pastMarker(xml, pos + 2, u"?>");
        } else if (rest.startsWith(u"<!")) {
            return Verdict::HasDtd;
        } else if (rest.startsWith(u"</")) {
            if (--depth < 0)
                return Verdict::UnmatchedEndTag;
            pos = pastMarker(xml, pos + 2, u">");
        } else {
            const StartTag tag = scanStartTag(xml, pos + 1, limits.maxAttributes);
            if (tag.attributes > limits.maxAttributes)
                return Verdict::TooManyAttributes;
            if (++elements > limits.maxElements)
                return Verdict::TooManyElements;
            if (++depth > limits.maxDepth)
                return Verdict::TooDeep;
            if (tag.empty)
                --depth;
            pos = tag.end;
        }
    }
    return Verdict::WithinLimits;
}

} // namespace XmlScan
