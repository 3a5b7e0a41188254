// A SOAP request body, as any client may send it, through the server's reader.
#include "soap/SoapMessages.h"

#include <cstdint>

using namespace server;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const Soap::Request request = Soap::parseRequest(text, Soap::DefaultServiceNamespace);
    for (auto argument = request.arguments.cbegin(); argument != request.arguments.cend();
         ++argument)
        (void)argument.value().size();
    return 0;
}
