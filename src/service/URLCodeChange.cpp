#include "service/URLCodeChange.h"

namespace {
bool kept(unsigned char byte)
{
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
        || (byte >= '0' && byte <= '9'))
        return true;
    switch (byte) {
    case '-':
    case '.':
    case '/':
    case '"':
    case '\'':
    case '=':
    case '?':
    case '_':
        return true;
    default:
        return false;
    }
}
} // namespace

QString EncodeUrlComponent(const QByteArray &text, bool spaceAsPlus)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    QString result;
    result.reserve(text.size() * 3);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ') {
            result += spaceAsPlus ? QLatin1String("+") : QLatin1String("%20");
        } else if (kept(byte)) {
            result += QLatin1Char(char(byte));
        } else {
            result += QLatin1Char('%');
            result += QLatin1Char(hex[byte >> 4]);
            result += QLatin1Char(hex[byte & 0x0F]);
        }
    }
    return result;
}
