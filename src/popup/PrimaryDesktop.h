#pragma once

#include "popup/TaskbarEdge.h"

namespace popup {

// The primary screen and its work area as the windowing system reports them now; an empty
// geometry when there is no screen.
DesktopGeometry primaryDesktop();

} // namespace popup
