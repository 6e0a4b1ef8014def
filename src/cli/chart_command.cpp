// korvel-cli chart MARKET CODE --png FILE ...: the K-line chart of a stock
// drawn by the window's own chart code (korvel_chart) into a PNG. Qt runs on
// its offscreen platform, so no display is needed.
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "chart/paint/chart.h"
#include "chart/paint/chart_navigation.h"
#include "chart/paint/chinese_fonts.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_signals.h"

namespace cli {
namespace {

struct ChartRequest {
    std::string market;
    std::string code;
    std::string png;
    int width = 1280;
    int height = 800;
    ChartState state;
    bool adjusted = false;
};

constexpr int kMinSide = 100;
constexpr int kMaxSide = 8000;

// "WIDTHxHEIGHT" with each side from kMinSide to kMaxSide pixels.
void ParseSize(const std::string& text, ChartRequest& request) {
    int width = 0;
    int height = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &rest) != 2 || width < kMinSide ||
        height < kMinSide || width > kMaxSide || height > kMaxSide)
        throw UsageError("--size needs WIDTHxHEIGHT, each from 100 to 8000 pixels, not '" + text + "'");
    request.width = width;
    request.height = height;
}

// The Qt application the drawing needs, on the offscreen platform whatever
// the environment says, with the program's Chinese fonts.
class OffscreenGui {
public:
    OffscreenGui() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
        InstallChineseFontSubstitutes();
    }

private:
    char name_[11] = "korvel-cli";
    char* argv_[2] = {name_, nullptr};
    int argc_ = 1;
    std::unique_ptr<QGuiApplication> app_;
};

// The stored strategy's per-bar signals, so the chart shows its marks as
// the window does once the stock's update has run. A stock without one
// shows no marks.
void LoadSignals(Database& db, CDataCenter& dc) {
    if (LoadStoredStrategy(db, dc, FailureSink("chart")) && !dc.Parameters().bestChromosome.empty())
        ComputeStrategySignals(dc);
}

int DrawChart(const Context& context, const ChartRequest& request) {
    const OffscreenGui gui;
    const auto store = OpenStrategyStore(context, "chart");
    if (!store) return 1;
    CDataCenter& dc = TheDataCenter();
    if (!LoadStockWithBars(dc, request.market, request.code, "chart")) return 1;
    if (request.adjusted) dc.ToggleAdjusted();
    LoadSignals(store->database, dc);

    CChart chart(dc);
    const QSize size(request.width, request.height);
    chart.Apply(request.state, size);
    const QImage& image = chart.Paint(size);
    if (!image.save(QString::fromStdString(request.png), "PNG")) {
        PrintFailure("chart", "cannot write " + request.png);
        return 1;
    }
    const CScreenSet& screen = chart.Screen();
    Print(request.png + ": " + ForTerminal(dc.DisplayName()) + " " + request.market + " " + request.code + ", bars " +
          std::to_string(screen.firstVisible) + "-" + std::to_string(screen.firstVisible + screen.shownCount - 1) +
          " of " + std::to_string(dc.Dates().size()) + ", " + std::to_string(request.width) + "x" +
          std::to_string(request.height) + "\n");
    return 0;
}

}  // namespace

Runner SetUpChart(CLI::App& command, const Context& context) {
    auto stock = std::make_shared<StockArgs>();
    auto request = std::make_shared<ChartRequest>();
    auto size = std::make_shared<std::string>();
    AddStockArguments(command, *stock);
    command.add_option("--png", request->png, "the PNG file to write")->required();
    command.add_option("--size", *size, "WIDTHxHEIGHT in pixels (default 1280x800)");
    command.add_option("--main", request->state.mainIndicator, "main-chart indicator")
        ->check(CLI::IsMember({"MA", "BOLL"}));
    command.add_option("--sub", request->state.subIndicator, "sub-chart indicator (default VOL)")
        ->check(CLI::IsMember({"VOL", "KDJ", "MACD", "CCI", "RSI"}));
    command.add_option("--first", request->state.firstVisible, "first visible bar (default: the newest bars)")
        ->check(CLI::Range(0, 1000000));
    command.add_option("--count", request->state.requestedCount, "bars shown, the zoom (default 100)")
        ->check(CLI::Range(1, 1000000));
    command.add_option("--cursor", request->state.cursorBar, "bar under the cross-hair")->check(CLI::Range(0, 1000000));
    command.add_flag("--adjusted", request->adjusted, "candles from the adjusted prices");
    return [&context, stock, request, size] {
        request->market = stock->market;
        request->code = stock->code;
        if (!size->empty()) ParseSize(*size, *request);
        return DrawChart(context, *request);
    };
}

}  // namespace cli
