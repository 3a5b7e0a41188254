#pragma once

// Every text of the client is Chinese: dates, month and weekday names read so too, whatever the
// system's locale. Set before the first window, which takes its locale when it is built.
void applyClientLocale();
