#pragma once

#include <QList>
#include <QString>

// What the main window's show sequence decides from the configuration and the user, without a
// window.

// A toolbar button that is shown: its position (1..11) and its left edge in the header.
struct ToolbarPlacement
{
    int position;
    int left;
};

// The buttons whose show value (anNxs) is exactly "0", side by side from x = 9, 68 pixels apart,
// in position order; hidden ones leave no gap. The first of them opens its window at show.
QList<ToolbarPlacement> toolbarPlacements();

// The header's name for a user level (UserDJ): "普通用户", "会员", "VIP"; empty for any other
// text, which leaves the label as it was.
QString levelName(const QString &level);
