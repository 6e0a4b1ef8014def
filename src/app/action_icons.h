#pragma once
// The menu and tool bar icons, drawn with QPainter so the program ships no
// image files of its own.
#include <QIcon>

struct FrameActions;

void AssignIcons(FrameActions& actions);

// The program's window icon.
QIcon ProgramIcon();
