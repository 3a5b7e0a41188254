#pragma once

class QWidget;

// Toolbar position 11: the settings window, shown modally and freed when it closes. Until the
// settings window exists this is a plain dialog captioned "系统设置" that says so.
void openSettingsWindow(QWidget *mainWindow);
