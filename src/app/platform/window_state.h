#pragma once
// The saved window layout, kept with QSettings under the program's name:
// the frame's placement ("FrameWndState"), its tool bars ("ToolbarState2")
// and the watch list's column order and widths ("WatchListColumns").
class QMainWindow;
class QHeaderView;

// Restores the placement and the tool bars; false when nothing was saved.
bool RestoreFrameState(QMainWindow& frame);
void SaveFrameState(const QMainWindow& frame);

void RestoreColumns(QHeaderView& header);
void SaveColumns(const QHeaderView& header);
