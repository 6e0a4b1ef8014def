#pragma once
// The screenshot mode's pictures of the strategy wizard and the dialogs:
// each window with real content, rendered as the program draws it and
// saved as PNG (korvel --screenshot DIR, after the main windows).
#include <QString>

struct Session;

// Breeds a strategy for SS 600000 through the wizard (and saves it), then
// renders its pages and the report, settings, pool, strategy export and
// import, and cleanup dialogs into `folder`; then the wizard with the
// out-of-sample option, and the whole watch list bred again (korvel-cli
// beside korvel). The session's server must answer (the pool, the cut date).
// False when a picture could not be made.
bool RenderDialogShots(Session& session, const QString& folder);
