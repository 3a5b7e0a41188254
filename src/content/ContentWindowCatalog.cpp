#include "content/ContentWindowCatalog.h"

#include "content/UnitSMNC.h"
#include "content/WebWindowFactory.h"

#include <array>

namespace {

template<class Window> Tmain *buildHosted(HostedIn host)
{
    return new Window(host);
}

template<int position> Tmain *buildWeb(HostedIn host)
{
    return buildWebWindow(position, host);
}

constexpr int positions = 10;

// Position 1 is the alert window; 2 to 10 are the web windows of the web window module.
constexpr std::array<ContentWindowBuilder, positions> builtIn = {&buildHosted<TFormSMNC>,
                                                                 &buildWeb<2>,
                                                                 &buildWeb<3>,
                                                                 &buildWeb<4>,
                                                                 &buildWeb<5>,
                                                                 &buildWeb<6>,
                                                                 &buildWeb<7>,
                                                                 &buildWeb<8>,
                                                                 &buildWeb<9>,
                                                                 &buildWeb<10>};

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
