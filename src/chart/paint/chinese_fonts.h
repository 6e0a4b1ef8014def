#pragma once
// Simplified Chinese glyphs whatever the user's locale: the windows and the
// chart ask for "宋体" and "黑体", which a Linux machine does not have under
// those names, and Qt's own fallback picks Japanese glyph shapes in the
// C.UTF-8 locale. Call once, after the Qt application object exists.
void InstallChineseFontSubstitutes();
