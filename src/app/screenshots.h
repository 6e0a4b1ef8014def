#pragma once
// The hidden screenshot mode (korvel --screenshot DIR): the start page, the
// main window with the watch list, the quick code search, the evening
// digest notice (when the last synchronisation changed advice), the strategy
// wizard and the dialogs rendered into PNG files, as the program draws
// them, on any Qt platform (offscreen too).
#include <QString>

class CKorvelApp;

// Returns the program's exit status: 0 when every picture was written.
int RenderScreenshots(CKorvelApp& app, const QString& folder);
