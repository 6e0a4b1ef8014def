#pragma once
// The main window's commands that open the strategy wizard and the dialogs
// ("生成操盘策略", "查看策略报告", "参数设置", the four stock pools, "日线数据清理",
// "导出操盘策略", "导入操盘策略"),
// connected to the view, with their enabled states kept up to date:
// generating a strategy only in chart mode while the view is not busy, the
// cleanup only in list mode with at least one watched stock and a cut date
// from the server, breeding the watch list with at least one watched stock
// while the view is not busy.
#include <QObject>

struct FrameActions;
struct Session;
class CKorvelView;

class DialogCommands : public QObject {
    Q_OBJECT
public:
    // Lives as long as the view (its parent).
    DialogCommands(Session& session, const FrameActions& actions, CKorvelView& view);

    void GenerateStrategy();
    void ShowStrategyReport();
    void OpenSettings();
    // `model`: "vpool", "vpick", "gpool" or "gpick".
    void OpenPool(const char* model);
    void OpenDataCleanup();
    // The strategy-file dialogs; the watch list reloads after an import.
    void ExportStrategyFile();
    void ImportStrategyFile();
    // "为全部自选股生成策略": every watched stock bred and saved by korvel-cli
    // processes (found beside this program), then the list and the current
    // stock's advice refreshed.
    void BreedAllWatched();

private:
    void UpdateStates();

    Session& session_;
    const FrameActions& actions_;
    CKorvelView& view_;
};
