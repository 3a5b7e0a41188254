#include "http/HttpRequestReader.h"

namespace server {

namespace {

// Longest Content-Length accepted as a number; more digits than fit a 64-bit value is no client's.
constexpr qsizetype MaxLengthDigits = 18;

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The characters of a method or a header name (RFC 9110 "tchar").
bool isTokenCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (!isTokenCharacter(c))
            return false;
    }
    return true;
}

// A request target: visible ASCII only (anything else arrives percent-encoded).
bool isTarget(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (c <= ' ' || c > '~')
            return false;
    }
    return true;
}

// A header value may hold tabs and bytes above 127, but no other control character.
bool isFieldValue(QByteArrayView text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f)
            return false;
    }
    return true;
}

bool isDigits(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > MaxLengthDigits)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

QByteArrayView trimmedBlanks(QByteArrayView text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

// Where the head ends (just past its empty line), searching for line ends from `from`; -1 while
// it has not. Lines end in LF with an optional CR before it, as HTTP parsers accept them.
qsizetype headEnd(QByteArrayView bytes, qsizetype from)
{
    for (qsizetype i = bytes.indexOf('\n', from); i >= 0; i = bytes.indexOf('\n', i + 1)) {
        if (i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            return i + 2;
        if (i + 2 < bytes.size() && bytes.at(i + 1) == '\r' && bytes.at(i + 2) == '\n')
            return i + 3;
    }
    return -1;
}

} // namespace

HttpRequestReader::HttpRequestReader(qint64 maxHeadBytes, qint64 maxBodyBytes)
    : m_maxHead(maxHeadBytes), m_maxBody(maxBodyBytes)
{
}

void HttpRequestReader::startOver()
{
    m_scanned = 0;
    m_requestLineAt = -1;
    m_headLength = -1;
    m_bodyLength = 0;
    m_expectsContinue = false;
    m_request = {};
}

HttpRequestReader::Verdict HttpRequestReader::read(QByteArrayView bytes, HttpRequest *request,
                                                   qsizetype *used)
{
    if (m_final != Verdict::Incomplete)
        return m_final;
    if (m_headLength < 0) {
        const Verdict verdict = readHead(bytes);
        if (verdict != Verdict::Complete) {
            if (verdict != Verdict::Incomplete)
                m_final = verdict;
            return verdict;
        }
    }
    if (bytes.size() - m_headLength < m_bodyLength)
        return Verdict::Incomplete;
    m_request.body = bytes.sliced(m_headLength, m_bodyLength).toByteArray();
    *used = m_headLength + m_bodyLength;
    *request = std::move(m_request);
    startOver();
    return Verdict::Complete;
}

HttpRequestReader::Verdict HttpRequestReader::readHead(QByteArrayView bytes)
{
    if (m_requestLineAt < 0) {
        // Blank lines before the request line are skipped, and count against the head's size.
        qsizetype at = m_scanned;
        while (at < bytes.size() && isLineBreak(bytes.at(at)))
            ++at;
        m_scanned = at;
        if (at == bytes.size())
            return bytes.size() > m_maxHead ? Verdict::HeadTooLarge : Verdict::Incomplete;
        m_requestLineAt = at;
    }
    // The search resumes where the last one stopped; its last two bytes may begin the empty line.
    const qsizetype end = headEnd(bytes, qMax(m_requestLineAt, m_scanned - 2));
    if (end < 0) {
        m_scanned = bytes.size();
        return bytes.size() > m_maxHead ? Verdict::HeadTooLarge : Verdict::Incomplete;
    }
    if (end > m_maxHead)
        return Verdict::HeadTooLarge;
    const QByteArrayView head = bytes.sliced(m_requestLineAt, end - m_requestLineAt);
    const qsizetype requestLineEnd = head.indexOf('\n');
    Verdict verdict = readRequestLine(head.first(requestLineEnd));
    if (verdict == Verdict::Complete)
        verdict = readHeaderLines(head.sliced(requestLineEnd + 1));
    if (verdict == Verdict::Complete)
        m_headLength = end;
    return verdict;
}

HttpRequestReader::Verdict HttpRequestReader::readRequestLine(QByteArrayView line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    // method SP request-target SP HTTP-version, with single blanks.
    const qsizetype firstBlank = line.indexOf(' ');
    const qsizetype secondBlank = firstBlank < 0 ? -1 : line.indexOf(' ', firstBlank + 1);
    if (secondBlank < 0)
        return Verdict::BadRequest;
    const QByteArrayView method = line.first(firstBlank);
    const QByteArrayView target = line.sliced(firstBlank + 1, secondBlank - firstBlank - 1);
    const QByteArrayView version = line.sliced(secondBlank + 1);
    if (!isToken(method) || !isTarget(target))
        return Verdict::BadRequest;
    if (version.size() != 8 || !version.startsWith("HTTP/") || version.at(6) != '.'
        || !isDigits(version.sliced(5, 1)) || !isDigits(version.sliced(7, 1)))
        return Verdict::BadRequest;
    if (version.at(5) != '1')
        return Verdict::VersionNotSupported;
    m_request.method = method.toByteArray();
    m_request.target = target.toByteArray();
    m_request.minorVersion = version.at(7) - '0';
    return Verdict::Complete;
}

HttpRequestReader::Verdict HttpRequestReader::readHeaderLines(QByteArrayView lines)
{
    bool sawLength = false;
    bool sawTransferEncoding = false;
    qint64 length = 0;
    while (!lines.isEmpty()) {
        const qsizetype lineEnd = lines.indexOf('\n');
        QByteArrayView line = lines.first(lineEnd);
        lines = lines.sliced(lineEnd + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            break; // the end of the head
        if (line.front() == ' ' || line.front() == '\t')
            return Verdict::BadRequest; // obsolete line folding
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(line.first(colon)))
            return Verdict::BadRequest;
        const QByteArrayView name = line.first(colon);
        const QByteArrayView value = trimmedBlanks(line.sliced(colon + 1));
        if (!isFieldValue(value))
            return Verdict::BadRequest; // a bare CR, a NUL or another control character
        if (name.compare("Transfer-Encoding", Qt::CaseInsensitive) == 0) {
            sawTransferEncoding = true;
        } else if (name.compare("Content-Length", Qt::CaseInsensitive) == 0) {
            if (sawLength || !isDigits(value))
                return Verdict::BadRequest;
            sawLength = true;
            length = value.toLongLong();
        } else if (name.compare("Expect", Qt::CaseInsensitive) == 0) {
            m_expectsContinue = value.compare("100-continue", Qt::CaseInsensitive) == 0
                && m_request.minorVersion >= 1;
        }
        m_request.headers.append({name.toByteArray(), value.toByteArray()});
    }
    if (sawTransferEncoding)
        return Verdict::LengthRequired;
    if (length > m_maxBody)
        return Verdict::BodyTooLarge;
    m_bodyLength = length;
    m_expectsContinue = m_expectsContinue && length > 0;
    return Verdict::Complete;
}

} // namespace server
