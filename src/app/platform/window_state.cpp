#include "app/platform/window_state.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QSettings>

namespace {

const QString kFrame = QStringLiteral("FrameWndState");
const QString kToolBars = QStringLiteral("ToolbarState2");
const QString kColumnsKey = QStringLiteral("WatchListColumns");

}  // namespace

bool RestoreFrameState(QMainWindow& frame) {
    const QSettings settings;
    const bool placed = frame.restoreGeometry(settings.value(kFrame).toByteArray());
    frame.restoreState(settings.value(kToolBars).toByteArray());
    return placed;
}

void SaveFrameState(const QMainWindow& frame) {
    QSettings settings;
    settings.setValue(kFrame, frame.saveGeometry());
    settings.setValue(kToolBars, frame.saveState());
}

void RestoreColumns(QHeaderView& header) { header.restoreState(QSettings().value(kColumnsKey).toByteArray()); }

void SaveColumns(const QHeaderView& header) { QSettings().setValue(kColumnsKey, header.saveState()); }
