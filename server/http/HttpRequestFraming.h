#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace server {

// Follows one request on a connection (head, then Content-Length bytes of body) so that a
// request the server will not take is refused before the HTTP layer buffers it. It accepts only
// framing that every HTTP parser reads alike: one Content-Length at most, no Transfer-Encoding,
// no folded header lines, so that it and the HTTP layer always agree where a request ends.
class HttpRequestFraming final
{
public:
    enum class Verdict {
        Fine,
        HeadTooLarge, // 431
        BodyTooLarge, // 413
        LengthRequired, // 411: a Transfer-Encoding, which an ASMX server never answers
        BadRequest, // 400: ambiguous framing, or more bytes than the request announced
    };

    HttpRequestFraming(qint64 maxHeadBytes, qint64 maxBodyBytes);

    // Starts over at a request boundary (the HTTP layer has read nothing of what follows).
    void restart();
    // How many bytes of the next ones are head and must be looked at; later ones are only counted.
    qint64 headBytesWanted() const;
    // Takes `count` new bytes of the connection; `start` holds the first of them, at least
    // min(count, headBytesWanted()). Bytes past the end of the request are left for the next
    // restart(). Once the answer is other than Fine it stays so.
    Verdict feed(QByteArrayView start, qint64 count);
    bool requestComplete() const { return m_state == State::Complete; }

private:
    enum class State { Head, Body, Complete };
    Verdict headComplete();

    qint64 m_maxHead;
    qint64 m_maxBody;
    State m_state = State::Head;
    QByteArray m_head;
    qsizetype m_requestLineAt = 0; // past the blank lines before the request line
    qint64 m_bodyLeft = 0;
    Verdict m_verdict = Verdict::Fine;
};

} // namespace server
