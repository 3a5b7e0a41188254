#pragma once

#include <QString>

class QWidget;

// The built-in skin: one style sheet that gives the main window, the content windows it hosts
// and the windows it opens one look. Hosted windows take it from the main window as its children.
QString skinStyleSheet();
void applySkin(QWidget *window);
