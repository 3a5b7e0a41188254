#pragma once

#include "http/HttpRequest.h"

#include <QByteArray>
#include <QByteArrayView>

namespace server {

// Reads requests from the bytes a connection received: the head (request line and header
// lines), then exactly Content-Length bytes of body. It accepts only framing that every HTTP
// parser reads alike: one Content-Length at most, no Transfer-Encoding, no folded header lines,
// so that no proxy in front of the server can see a request end elsewhere. Work is linear in the
// bytes received, however they are cut into pieces.
class HttpRequestReader final
{
public:
    enum class Verdict {
        Incomplete, // more bytes are needed
        Complete,
        HeadTooLarge, // 431
        BodyTooLarge, // 413
        LengthRequired, // 411: a Transfer-Encoding, which an ASMX server never answers
        BadRequest, // 400: a malformed request line or header line, or ambiguous framing
        VersionNotSupported, // 505: not HTTP/1.x
    };

    HttpRequestReader(qint64 maxHeadBytes, qint64 maxBodyBytes);

    // Looks at `bytes`, what the connection received and has not consumed yet (the same start
    // as the call before, perhaps with more bytes). Complete: the request is in *request, and
    // *used tells how many bytes it took; the reader then starts over with the next one.
    // Any verdict but Incomplete and Complete is final.
    Verdict read(QByteArrayView bytes, HttpRequest *request, qsizetype *used);

    // The head is read and announced "Expect: 100-continue" for a body that has not all come.
    bool awaitsBody() const { return m_headLength >= 0 && m_expectsContinue; }

private:
    Verdict readHead(QByteArrayView bytes);
    Verdict readRequestLine(QByteArrayView line);
    Verdict readHeaderLines(QByteArrayView lines);
    void startOver();

    qint64 m_maxHead;
    qint64 m_maxBody;
    Verdict m_final = Verdict::Incomplete; // a refusal, once given
    qsizetype m_scanned = 0; // bytes already searched for the end of the head
    qsizetype m_requestLineAt = -1; // past the blank lines before it, once seen
    qsizetype m_headLength = -1; // known once the head is complete
    qint64 m_bodyLength = 0;
    bool m_expectsContinue = false;
    HttpRequest m_request; // the head's parts, while the body comes
};

} // namespace server
