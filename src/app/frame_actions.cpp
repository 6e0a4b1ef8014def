#include "app/frame_actions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "app/action_icons.h"

namespace {

// An action with its status prompt and its short label, which is the tool
// bar's label and tool tip (e.g. "放大股票K线" / "放大").
QAction* Make(QObject* owner, const QString& text, const QString& prompt = {}, const QString& label = {}) {
    auto* action = new QAction(text, owner);
    action->setStatusTip(prompt.isEmpty() ? text : prompt);
    action->setIconText(label.isEmpty() ? text : label);
    action->setToolTip(label.isEmpty() ? text : label);
    return action;
}

QAction* Indicator(QObject* owner, const char* key) {
    QAction* action = Make(owner, QLatin1String(key), QStringLiteral("显示%1指标").arg(QLatin1String(key)));
    action->setCheckable(true);
    action->setData(QLatin1String(key));
    return action;
}

}  // namespace

FrameActions::FrameActions(QObject* owner)
    : settings(Make(owner, QStringLiteral("参数设置"), QStringLiteral("设置策略生成的参数"))),
      exit(Make(owner, QStringLiteral("退出"), QStringLiteral("退出程序"))),
      valuePool(Make(owner, QStringLiteral("价值模型股票池"))),
      valuePicks(Make(owner, QStringLiteral("股票池精选"), QStringLiteral("价值模型股票池精选"))),
      growthPool(Make(owner, QStringLiteral("成长模型股票池"))),
      growthPicks(Make(owner, QStringLiteral("股票池精选"), QStringLiteral("成长模型股票池精选"))),
      tradeSignals(Make(owner, QStringLiteral("操盘信号"), QStringLiteral("在K线图上显示买卖标记"))),
      mainMa(Indicator(owner, "MA")),
      mainBoll(Indicator(owner, "BOLL")),
      subVol(Indicator(owner, "VOL")),
      subCci(Indicator(owner, "CCI")),
      subKdj(Indicator(owner, "KDJ")),
      subMacd(Indicator(owner, "MACD")),
      subRsi(Indicator(owner, "RSI")),
      adjustPrices(Make(owner, QStringLiteral("价格复权"), QStringLiteral("K线在复权价格与原始价格之间切换"),
                        QStringLiteral("复权"))),
      generateStrategy(Make(owner, QStringLiteral("生成操盘策略"), QStringLiteral("为当前股票生成操盘策略"))),
      breedWatchList(Make(owner, QStringLiteral("为全部自选股生成策略"), QStringLiteral("为每一只自选股生成并保存操盘策略"))),
      strategyReport(Make(owner, QStringLiteral("查看策略报告"), QStringLiteral("查看当前股票的策略报告"),
                          QStringLiteral("策略报告"))),
      addToWatchList(Make(owner, QStringLiteral("设为自选股"), QStringLiteral("把当前股票加入自选股"))),
      dataCleanup(Make(owner, QStringLiteral("日线数据清理"), QStringLiteral("删除最近的日线数据以便重新下载"))),
      exportStrategies(Make(owner, QStringLiteral("导出操盘策略"), QStringLiteral("把操盘策略导出到策略文件"))),
      importStrategies(Make(owner, QStringLiteral("导入操盘策略"), QStringLiteral("从策略文件导入操盘策略"))),
      quickStart(Make(owner, QStringLiteral("使用说明"), QStringLiteral("打开使用说明"))),
      feedback(Make(owner, QStringLiteral("咨询与反馈"), QStringLiteral("向我们提出问题和建议"),
                    QStringLiteral("反馈"))),
      about(Make(owner, QStringLiteral("关于 Korvel"), QStringLiteral("显示程序的版本信息"))),
      zoomIn(Make(owner, QStringLiteral("放大"), QStringLiteral("放大股票K线"))),
      zoomOut(Make(owner, QStringLiteral("缩小"), QStringLiteral("缩小股票K线"))),
      shiftLeft(Make(owner, QStringLiteral("左移"), QStringLiteral("K线左移"))),
      shiftRight(Make(owner, QStringLiteral("右移"), QStringLiteral("K线右移"))),
      previousStock(Make(owner, QStringLiteral("上一股票"), QStringLiteral("切换到上一只自选股"))),
      nextStock(Make(owner, QStringLiteral("下一股票"), QStringLiteral("切换到下一只自选股"))) {
    tradeSignals->setCheckable(true);
    adjustPrices->setCheckable(true);
    // Handled by windows that come later; connecting one enables it.
    for (QAction* waiting : {settings, valuePool, valuePicks, growthPool, growthPicks, generateStrategy,
                             breedWatchList, strategyReport, dataCleanup, exportStrategies, importStrategies, feedback})
        waiting->setEnabled(false);
    AssignIcons(*this);
}

QList<QAction*> FrameActions::IndicatorActions() const { return {mainMa, mainBoll, subVol, subCci, subKdj, subMacd, subRsi}; }

void BuildMenus(QMainWindow& frame, const FrameActions& a) {
    QMenuBar* bar = frame.menuBar();
    QMenu* system = bar->addMenu(QStringLiteral("系统(&S)"));
    system->addAction(a.settings);
    system->addSeparator();
    system->addAction(a.exit);

    QMenu* pools = bar->addMenu(QStringLiteral("股票池(&P)"));
    QMenu* value = pools->addMenu(QStringLiteral("价值模型"));
    value->addActions({a.valuePool, a.valuePicks});
    QMenu* growth = pools->addMenu(QStringLiteral("成长模型"));
    growth->addActions({a.growthPool, a.growthPicks});

    QMenu* indicators = bar->addMenu(QStringLiteral("技术指标(&I)"));
    indicators->addAction(a.tradeSignals);
    indicators->addMenu(QStringLiteral("主图指标"))->addActions({a.mainMa, a.mainBoll});
    indicators->addMenu(QStringLiteral("副图指标"))->addActions({a.subVol, a.subCci, a.subKdj, a.subMacd, a.subRsi});
    indicators->addSeparator();
    indicators->addAction(a.adjustPrices);

    QMenu* tools = bar->addMenu(QStringLiteral("工具(&T)"));
    tools->addActions({a.generateStrategy, a.breedWatchList, a.strategyReport});
    tools->addSeparator();
    tools->addAction(a.addToWatchList);
    tools->addAction(a.dataCleanup);
    tools->addSeparator();
    tools->addActions({a.exportStrategies, a.importStrategies});

    QMenu* help = bar->addMenu(QStringLiteral("帮助(&H)"));
    help->addActions({a.quickStart, a.feedback});
    help->addSeparator();
    help->addAction(a.about);
}

QToolBar* BuildToolBar(QMainWindow& frame, const FrameActions& a) {
    auto* bar = new QToolBar(QStringLiteral("工具条(&T)"), &frame);
    bar->setObjectName(QStringLiteral("MainToolBar"));  // named, so its state is saved
    bar->setIconSize(QSize(24, 24));
    const QList<QAction*> withLabel = {a.generateStrategy, a.feedback, a.quickStart, a.strategyReport,
                                       a.adjustPrices, a.exit};
    const QList<QAction*> buttons = {a.generateStrategy, a.strategyReport, nullptr,  a.zoomIn,       a.zoomOut,
                                     a.shiftLeft,        a.shiftRight,     nullptr,  a.previousStock, a.nextStock,
                                     nullptr,            a.adjustPrices,   nullptr,  a.quickStart,    a.feedback,
                                     a.exit};
    for (QAction* action : buttons) {
        if (action == nullptr) {
            bar->addSeparator();
            continue;
        }
        bar->addAction(action);
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        if (button != nullptr)
            button->setToolButtonStyle(withLabel.contains(action) ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    }
    frame.addToolBar(bar);
    return bar;
}
