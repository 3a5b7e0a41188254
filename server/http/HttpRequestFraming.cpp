#include "http/HttpRequestFraming.h"

#include <QList>

namespace server {

namespace {

// Where the head ends (just past the empty line), searching from `from`; -1 while it has not.
// Lines end in LF with an optional CR before it, as HTTP parsers accept them.
qsizetype headEnd(const QByteArray &head, qsizetype from)
{
    for (qsizetype i = head.indexOf('\n', from); i >= 0; i = head.indexOf('\n', i + 1)) {
        if (i + 1 < head.size() && head.at(i + 1) == '\n')
            return i + 2;
        if (i + 2 < head.size() && head.at(i + 1) == '\r' && head.at(i + 2) == '\n')
            return i + 3;
    }
    return -1;
}

bool isDigits(const QByteArray &text)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

} // namespace

HttpRequestFraming::HttpRequestFraming(qint64 maxHeadBytes, qint64 maxBodyBytes)
    : m_maxHead(maxHeadBytes), m_maxBody(maxBodyBytes)
{
}

void HttpRequestFraming::restart()
{
    if (m_verdict != Verdict::Fine)
        return;
    m_state = State::Head;
    m_head.clear();
    m_requestLineAt = 0;
    m_bodyLeft = 0;
}

qint64 HttpRequestFraming::headBytesWanted() const
{
    return m_state == State::Head ? m_maxHead + 1 - m_head.size() : 0;
}

HttpRequestFraming::Verdict HttpRequestFraming::feed(QByteArrayView start, qint64 count)
{
    if (m_verdict != Verdict::Fine || count <= 0)
        return m_verdict;
    if (m_state == State::Complete) {
        // The HTTP layer is still reading a request this one saw end: they disagree.
        m_verdict = Verdict::BadRequest;
        return m_verdict;
    }
    if (m_state == State::Head) {
        const qsizetype before = m_head.size();
        const qsizetype taken =
            qsizetype(qMin(qMin<qint64>(count, start.size()), headBytesWanted()));
        m_head.append(start.first(taken));
        // Blank lines before the request line are allowed, and count against the head's size.
        while (m_requestLineAt < m_head.size()
               && (m_head.at(m_requestLineAt) == '\r' || m_head.at(m_requestLineAt) == '\n'))
            ++m_requestLineAt;
        const qsizetype end = m_requestLineAt < m_head.size()
            ? headEnd(m_head, qMax<qsizetype>(m_requestLineAt, before - 2))
            : -1;
        if (end < 0) {
            if (m_head.size() > m_maxHead)
                m_verdict = Verdict::HeadTooLarge;
            return m_verdict;
        }
        m_head.truncate(end);
        count -= end - before; // the rest is body, or the next request
        m_verdict = headComplete();
        if (m_verdict != Verdict::Fine)
            return m_verdict;
        m_state = State::Body;
    }
    m_bodyLeft -= qMin(count, m_bodyLeft);
    if (m_bodyLeft == 0)
        m_state = State::Complete;
    return m_verdict;
}

HttpRequestFraming::Verdict HttpRequestFraming::headComplete()
{
    bool sawLength = false;
    bool sawTransferEncoding = false;
    qint64 length = 0;
    const QList<QByteArray> lines = m_head.sliced(m_requestLineAt).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray line = lines.at(i);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            break; // the end of the head
        if (line.startsWith(' ') || line.startsWith('\t'))
            return Verdict::BadRequest; // obsolete line folding
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return Verdict::BadRequest;
        const QByteArray name = line.left(colon).toLower();
        if (name.contains(' ') || name.contains('\t'))
            return Verdict::BadRequest;
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "transfer-encoding") {
            sawTransferEncoding = true;
        } else if (name == "content-length") {
            if (sawLength || !isDigits(value))
                return Verdict::BadRequest;
            sawLength = true;
            length = value.toLongLong();
        }
    }
    if (sawTransferEncoding)
        return Verdict::LengthRequired;
    if (length > m_maxBody)
        return Verdict::BodyTooLarge;
    m_bodyLeft = length;
    return Verdict::Fine;
}

} // namespace server
