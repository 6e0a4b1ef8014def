#pragma once
// COpExportDlg ("操盘策略导出"): every stored strategy that can be exported,
// ticked by the user and written to a strategy file (.opx) by "开始导出".
// The export runs to its end in the button's handler, under the wait
// cursor, with its progress on top of the log.
#include <vector>

#include <QDialog>

#include "app/dialogs/strategy_file_layout.h"
#include "datastore/database.h"

class COpExportDlg : public QDialog {
    Q_OBJECT
public:
    explicit COpExportDlg(Database& db, QWidget* parent = nullptr);

    // "...": asks where to write the file and shows the path.
    void ChoosePath();
    // "开始导出": writes the ticked strategies to the path in the box.
    void StartExport();

private:
    Database& db_;
    std::vector<StrategyEntry> entries_;  // one per list row
    StrategyFileWidgets ui_;
};
