#pragma once
// What every run of the desktop program (and every widget test) sets up on
// the Qt application object before the first window: names for QSettings,
// the Chinese fonts and the application font.
class QApplication;

void SetUpApplication(QApplication& app);
