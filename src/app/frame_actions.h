#pragma once
// Every command of the main window's menu and tool bar, as actions other
// windows connect to. The frame handles help, the quick-start page, the
// about box and leaving; the view handles the stock and chart commands; the
// strategy wizard, the report and the dialogs connect the rest. An action
// nobody handles yet stays disabled.
#include <QList>

class QAction;
class QMainWindow;
class QObject;
class QToolBar;

struct FrameActions {
    explicit FrameActions(QObject* owner);

    // 系统
    QAction* settings;
    QAction* exit;
    // 股票池: value and growth model, each its pool and its picks
    QAction* valuePool;
    QAction* valuePicks;
    QAction* growthPool;
    QAction* growthPicks;
    // 技术指标
    QAction* tradeSignals;
    QAction* mainMa;
    QAction* mainBoll;
    QAction* subVol;
    QAction* subCci;
    QAction* subKdj;
    QAction* subMacd;
    QAction* subRsi;
    QAction* adjustPrices;
    // 工具
    QAction* generateStrategy;
    QAction* breedWatchList;
    QAction* strategyReport;
    QAction* addToWatchList;
    QAction* dataCleanup;
    QAction* exportStrategies;
    QAction* importStrategies;
    // 帮助
    QAction* quickStart;
    QAction* feedback;
    QAction* about;
    // tool bar only
    QAction* zoomIn;
    QAction* zoomOut;
    QAction* shiftLeft;
    QAction* shiftRight;
    QAction* previousStock;
    QAction* nextStock;

    // The indicator items with their keys, in menu order.
    QList<QAction*> IndicatorActions() const;
};

// The frame's menu bar and its tool bar "工具条(&T)".
void BuildMenus(QMainWindow& frame, const FrameActions& actions);
QToolBar* BuildToolBar(QMainWindow& frame, const FrameActions& actions);
