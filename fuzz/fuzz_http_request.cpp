// What any client on the network can send the reference server: the request reader takes it a
// few bytes at a time, across request boundaries, as a connection receives it.
#include "http/HttpRequestReader.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace server;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    constexpr qint64 MaxHead = 16 * 1024;
    constexpr qint64 MaxBody = 1024 * 1024;
    HttpRequestReader reader(MaxHead, MaxBody);
    // The first byte picks the size of the pieces the connection delivers, as a socket might.
    const qsizetype piece = input.isEmpty() ? 1 : 1 + qsizetype(uint8_t(input[0]) % 64);
    qsizetype start = 0; // the first byte not read as a request yet
    qsizetype received = 0;
    while (received < input.size()) {
        received = std::min(received + piece, input.size());
        HttpRequest request;
        qsizetype used = 0;
        HttpRequestReader::Verdict verdict;
        while ((verdict = reader.read(QByteArrayView(input).sliced(start, received - start),
                                      &request, &used))
               == HttpRequestReader::Verdict::Complete) {
            // A request takes bytes, never more than were received, and keeps to the limits.
            if (used <= 0 || used > received - start || request.body.size() > MaxBody)
                std::abort();
            if (request.method.isEmpty() || request.target.isEmpty())
                std::abort();
            start += used;
        }
        if (verdict != HttpRequestReader::Verdict::Incomplete)
            break;
        // Bytes that are still no request never exceed one head and one body.
        if (received - start > MaxHead + MaxBody)
            std::abort();
    }
    return 0;
}
