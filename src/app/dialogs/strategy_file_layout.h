#pragma once
// What the strategy export and import dialogs share: the path box "文件路径:"
// with its "..." button, the check-box list of strategies, the log box
// (newest line on top) and the buttons "全选", "全不选" and the start button;
// the ".opx" file dialogs; the list rows of the entries.
#include <filesystem>
#include <functional>
#include <vector>

#include <QString>

#include "strategy/strategy_entry.h"

class CheckList;
class LogBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

struct StrategyFileWidgets {
    QLineEdit* path;
    QPushButton* browse;  // "..."
    CheckList* list;
    LogBox* log;
    QPushButton* tickAll;
    QPushButton* tickNone;
    QPushButton* start;

    // "全选", "全不选" and the start button.
    void EnableButtons(bool enabled) const;
    // One row per entry: code, name, DEND text, market.
    void ShowEntries(const std::vector<StrategyEntry>& entries) const;
    // Selects exactly the entries of the ticked rows.
    void MarkTicked(std::vector<StrategyEntry>& entries) const;
    // The log callback of the core: each line on top of the log.
    StrategyFileLog Logger() const;
    // The path box's text as a file path.
    std::filesystem::path FilePath() const;
};

// Lays the shared widgets out in `dialog`; `start` is "开始导出" or "开始导入".
// "全选" and "全不选" are connected; the rest is the dialog's.
StrategyFileWidgets BuildStrategyFileLayout(QDialog& dialog, const QString& start);

// Asks for a strategy file: a save dialog (asking before replacing a file)
// when `save`, else an open dialog, both offering "*.opx" and all files.
// Empty when the user cancels. Replaceable, so tests choose without a
// blocking dialog.
using OpxPathChooser = std::function<QString(QWidget* parent, bool save)>;
OpxPathChooser& ChooseOpxPath();

// `path`, with ".opx" appended unless it ends in ".opx" already.
QString WithOpxExtension(const QString& path);
