#pragma once

// The text caret blinks while the person types or clicks and stands still after ten seconds
// without input, as GTK's does: a window left waiting for its user (the login window, for hours)
// then wakes the process not at all, where the blink would cost two wake-ups and redraws a second.
// Any key, click or change of focus makes it blink again. Call once, after the application object.
void limitCaretBlinking();
