#pragma once
// Where the bundled user guide is, and opening links in the system browser.
#include <QString>

// The user guide (user-guide.md, with its images beside it): installed
// beside the program (../share/doc/korvel/) or in the source tree the
// program was built from. Empty when neither exists.
QString UserGuidePath();

// Asks the desktop to open `url` in the user's browser; false when nothing
// could be started.
bool OpenInSystemBrowser(const QString& url);
