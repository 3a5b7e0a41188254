// What any client on the network can send the reference server before a request is parsed: the
// framing guard follows it, a few bytes at a time, across request boundaries.
#include "http/HttpRequestFraming.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace server;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    HttpRequestFraming framing(16 * 1024, 1024 * 1024);
    qsizetype at = 0;
    // The first byte picks the size of the pieces the connection delivers, as a socket might.
    const qsizetype piece = input.isEmpty() ? 1 : 1 + qsizetype(uint8_t(input[0]) % 64);
    while (at < input.size()) {
        const qsizetype count = std::min(piece, input.size() - at);
        const HttpRequestFraming::Verdict verdict =
            framing.feed(QByteArrayView(input).sliced(at, count), count);
        at += count;
        if (verdict != HttpRequestFraming::Verdict::Fine)
            break;
        if (framing.requestComplete())
            framing.restart();
        if (framing.headBytesWanted() < 0)
            std::abort(); // the guard never asks for a negative amount
    }
    return 0;
}
