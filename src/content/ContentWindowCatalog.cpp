#include "content/ContentWindowCatalog.h"

#include "content/UnitSMNC.h"

namespace {
template<class Window> Tmain *buildHosted(HostedIn host)
{
    return new Window(host);
}
} // namespace

ContentWindowBuilder contentWindowBuilder(int position)
{
    switch (position) {
    case 1:
        return &buildHosted<TFormSMNC>;
    default:
        // Positions 2 to 10 are the web content windows, which are not part of the client yet.
        return nullptr;
    }
}
