#pragma once

// Every text of the client is Chinese, whatever the system's locale: dates, month and weekday
// names, and the texts Qt itself provides (dialogs, context menus, the calendar). Set after the
// application object and before the first window, which takes its locale when it is built.
void applyClientLocale();
