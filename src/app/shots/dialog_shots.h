#pragma once
// Pictures of the strategy wizard and the dialogs for the documentation:
// each window with real content from a client folder, rendered offscreen
// and saved as PNG.
#include <filesystem>

// Renders into `out` from the client folder `dir`, whose database holds the
// bundled history of SS 600000 and whose HOST names a running server (for
// the pool and the cleanup cut date). The strategy bred in the wizard is
// saved there. Returns 0 on success; prints what failed otherwise.
int RenderDialogShots(const std::filesystem::path& dir, const std::filesystem::path& out);
