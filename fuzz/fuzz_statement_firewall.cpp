// An SQL text, as any client may send it to the service: the firewall matches it to one of the
// client's statement shapes or refuses it. A match always fills every slot of its shape.
#include "statements/StatementFirewall.h"

#include <cstdint>
#include <cstdlib>

using namespace server;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const StatementFirewall firewall;
    const QString sql = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<MatchedStatement> matched = firewall.match(sql)) {
        if (!matched->shape)
            std::abort();
        for (const QVariant &value : matched->values) {
            if (!value.isValid())
                std::abort(); // a matched slot always holds a value
        }
    }
    return 0;
}
