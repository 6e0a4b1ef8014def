// korvel-cli chart MARKET CODE --png FILE ...: the K-line chart of a stock
// drawn by the window's own chart code (korvel_chart) into a PNG. Qt runs on
// its offscreen platform, so no display is needed.
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "chart/paint/chart.h"
#include "chart/paint/chart_navigation.h"
#include "chart/paint/chinese_fonts.h"
#include "cli/args.h"
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

void ParseSize(const std::string& text, ChartRequest& request) {
    const size_t x = text.find('x');
    int width = 0;
    int height = 0;
    char rest = 0;
    if (x == std::string::npos || std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &rest) != 2 ||
        width < kMinSide || height < kMinSide || width > kMaxSide || height > kMaxSide)
        throw UsageError("--size needs WIDTHxHEIGHT, each from 100 to 8000 pixels, not '" + text + "'");
    request.width = width;
    request.height = height;
}

std::string OneOf(const Args& args, const std::string& name, std::initializer_list<const char*> keys,
                  const std::string& fallback) {
    const std::optional<std::string> value = args.Get(name);
    if (!value) return fallback;
    for (const char* key : keys)
        if (*value == key) return *value;
    std::string choices;
    for (const char* key : keys) choices += (choices.empty() ? "" : ", ") + std::string(key);
    throw UsageError("--" + name + " takes one of " + choices + ", not '" + *value + "'");
}

int AtLeast(const Args& args, const std::string& name, long long least, int fallback) {
    const std::optional<long long> value = args.GetInt(name);
    if (!value) return fallback;
    if (*value < least || *value > 1000000)
        throw UsageError("--" + name + " needs a number from " + std::to_string(least) + " to 1000000");
    return static_cast<int>(*value);
}

ChartRequest ParseChartRequest(const Words& words) {
    const Args args = ParseArgs(words, {"png", "size", "main", "sub", "first", "count", "cursor"}, {"adjusted"});
    if (args.positional.size() != 2) throw UsageError("chart needs MARKET and CODE");
    ChartRequest request;
    request.market = args.positional[0];
    request.code = args.positional[1];
    const std::optional<std::string> png = args.Get("png");
    if (!png || png->empty()) throw UsageError("chart needs --png FILE");
    request.png = *png;
    if (const std::optional<std::string> size = args.Get("size")) ParseSize(*size, request);
    request.state.mainIndicator = OneOf(args, "main", {"MA", "BOLL"}, "");
    request.state.subIndicator = OneOf(args, "sub", {"VOL", "KDJ", "MACD", "CCI", "RSI"}, "VOL");
    request.state.requestedCount = AtLeast(args, "count", 1, 100);
    request.state.firstVisible = AtLeast(args, "first", 0, -1);
    request.state.cursorBar = AtLeast(args, "cursor", 0, -1);
    request.adjusted = args.Has("adjusted");
    return request;
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

int RunChart(const Context& context, const Words& words) { return DrawChart(context, ParseChartRequest(words)); }

}  // namespace cli
