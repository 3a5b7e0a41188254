#include "soap/XmlText.h"

namespace server {

namespace XmlText {

void appendEscaped(QString &out, QStringView text)
{
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char *entity = nullptr;
        if (c == u'&')
            entity = "&amp;";
        else if (c == u'<')
            entity = "&lt;";
        else if (c == u'>')
            entity = "&gt;";
        if (!entity)
            continue;
        out.append(text.mid(plainFrom, i - plainFrom));
        out.append(QLatin1String(entity));
        plainFrom = i + 1;
    }
    out.append(text.mid(plainFrom));
}

QString escaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + 16);
    appendEscaped(out, text);
    return out;
}

} // namespace XmlText

} // namespace server
