#pragma once

#include "ui/Unit3.h"

// Which content window class each toolbar position 1..10 opens, built hosted in the main window's
// host panel.
using ContentWindowBuilder = Tmain *(*)(HostedIn host);

ContentWindowBuilder contentWindowBuilder(int position);

// Puts another window class at a position (tests plug in windows of their own); none restores the
// built-in one.
void setContentWindowBuilder(int position, ContentWindowBuilder builder);
