#include "content/ContentWindowCatalog.h"

#include "content/UnitSMNC.h"

#include <array>

namespace {

template<class Window> Tmain *buildHosted(HostedIn host)
{
    return new Window(host);
}

constexpr int positions = 10;

// Positions 2 to 10 are the web content windows, which are not part of the client yet.
constexpr std::array<ContentWindowBuilder, positions> builtIn = {&buildHosted<TFormSMNC>};

std::array<ContentWindowBuilder, positions> &replaced()
{
    static std::array<ContentWindowBuilder, positions> builders {};
    return builders;
}

bool valid(int position)
{
    return position >= 1 && position <= positions;
}

} // namespace

ContentWindowBuilder contentWindowBuilder(int position)
{
    if (!valid(position))
        return nullptr;
    const auto index = std::size_t(position - 1);
    return replaced()[index] ? replaced()[index] : builtIn[index];
}

void setContentWindowBuilder(int position, ContentWindowBuilder builder)
{
    if (valid(position))
        replaced()[std::size_t(position - 1)] = builder;
}
