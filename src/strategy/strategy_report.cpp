#include "strategy/strategy_report.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numeric>

#include "datastore/program_version.h"
#include "strategy/strategy_record.h"
#include "strategy/trade_statistics.h"
#include "text/format.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace {

std::string Gbk(const char* utf8) { return text::Utf8ToGbk(utf8); }

double Average(const std::vector<int64_t>& periods) {
    if (periods.empty()) return 0.0;
    return static_cast<double>(std::accumulate(periods.begin(), periods.end(), int64_t{0})) /
           static_cast<double>(periods.size());
}

// The figure lines after the trade count, each with its line break before.
std::string FigureLines(const TradeStatistics& s, size_t entries) {
    const int32_t trades = s.wins + s.losses;
    const double avgWin = s.wins > 0 ? s.winSum / s.wins : 0.0;
    const double avgLoss = s.losses > 0 ? s.lossSum / s.losses : 0.0;
    const double avgProfit = trades > 0 ? (s.winSum - s.lossSum) / trades : 0.0;
    const double ratio = avgLoss > 0 ? avgWin / std::fabs(avgLoss) : 0.0;
    std::vector<int64_t> all = s.winPeriods;
    all.insert(all.end(), s.lossPeriods.begin(), s.lossPeriods.end());
    const int64_t longest = all.empty() ? 0 : *std::max_element(all.begin(), all.end());

    std::string out;
    out += "\r\n" + text::Format(Gbk("策略胜率: %.2f%% ").c_str(), WinRate(s, entries) * 100);
    out += "\r\n" + text::Format(Gbk("单笔最大盈利: %.2f %%").c_str(), s.maxWin * 100);
    out += "\r\n" + text::Format(Gbk("单笔最大亏损: %.2f %%").c_str(), s.maxLoss * 100);
    out += "\r\n" + text::Format(Gbk("单笔平均盈利: %.2f %%").c_str(), avgWin * 100);
    out += "\r\n" + text::Format(Gbk("单笔平均亏损: %.2f %%").c_str(), avgLoss * 100);
    out += "\r\n" + text::Format(Gbk("单笔平均利润: %.2f %%").c_str(), avgProfit * 100);
    out += "\r\n" + text::Format(Gbk("平均盈亏比: %.2f").c_str(), ratio);
    out += "\r\n\r\n" + text::Format(Gbk("最大连续盈利次数: %d").c_str(), s.maxWinRun);
    out += "\r\n" + text::Format(Gbk("最大连续亏损次数: %d").c_str(), s.maxLossRun);
    out += "\r\n" + text::Format(Gbk("最长交易周期: %d").c_str(), static_cast<int>(longest));
    out += "\r\n" + text::Format(Gbk("平均交易周期: %.1f").c_str(), Average(all));
    out += "\r\n" + text::Format(Gbk("平均盈利交易周期: %.1f").c_str(), Average(s.winPeriods));
    out += "\r\n" + text::Format(Gbk("平均亏损交易周期: %.1f").c_str(), Average(s.lossPeriods));
    return out;
}

std::string DateText(int32_t date) {
    return text::Format("%04d-%02d-%02d", date / 10000, date / 100 % 100, date % 100);
}

bool HasThreeDecimals(int32_t securityType) { return securityType >= 11 && securityType <= 14; }

int32_t SecurityTypeOf(Database& db, const std::string& market, const std::string& code) {
    const std::optional<TextTable> t =
        db.GetTable("SELECT PTYPE FROM STOCKCODE WHERE MARKET = ? AND CODE = ?", {market, code});
    return t && t->RowCount() > 0 ? text::ParseInt(t->At(0, 0)) : 0;
}

// "yyyymmdd" as "yyyy-mm-dd", cut by character positions.
std::string StoredDateText(const std::string& date) {
    auto part = [&](size_t from, size_t count) { return from < date.size() ? date.substr(from, count) : ""; };
    return part(0, 4) + "-" + part(4, 2) + "-" + part(6, 2);
}

// Byte offset of the first whole GBK character sequence `needle` in
// `haystack`, stepping by characters so a trail byte never starts a match.
size_t FindGbk(const std::string& haystack, const std::string& needle) {
    for (size_t i = 0; i + needle.size() <= haystack.size();) {
        if (haystack.compare(i, needle.size(), needle) == 0) return i;
        const auto c = static_cast<unsigned char>(haystack[i]);
        i += c >= 0x81 && c <= 0xFE ? 2 : 1;
    }
    return std::string::npos;
}

}  // namespace

std::string ReportFigures(const std::vector<TradeLogEntry>& log, const std::vector<int32_t>& dates) {
    const TradeStatistics s = SummarizeTrades(log, dates);
    std::string out = text::Format(Gbk("累计盈利: %.2f %%").c_str(), s.Accumulated() * 100);
    out += "\r\n" + text::Format(Gbk("复利盈利: %.2f %%").c_str(), s.Compounded() * 100);
    out += "\r\n\r\n" + text::Format(Gbk("交易次数: %d").c_str(), static_cast<int>(log.size() / 2));
    return out + FigureLines(s, log.size());
}

std::string DateRangeText(const char* labelUtf8, int32_t begin, int32_t end) {
    return Gbk(labelUtf8) + text::Format(Gbk("%d年%2d月%2d日 - %d年%2d月%2d日").c_str(), begin / 10000,
                                         begin / 100 % 100, begin % 100, end / 10000, end / 100 % 100, end % 100);
}

std::string BuildReport(const std::vector<TradeLogEntry>& log, const std::vector<int32_t>& dates,
                        const std::string& code, const std::string& name, int32_t rangeBegin, int32_t rangeEnd) {
    std::string out = Gbk("=========操盘策略生成报告=========");
    out += "\r\n\r\n" + Gbk("生成对象: ") + code + " " + name;
    out += "\r\n" + DateRangeText("验证区间: ", rangeBegin, rangeEnd);
    return out + "\r\n\r\n" + ReportFigures(log, dates);
}

std::string BuildReport(const CDataCenter& dc) {
    const std::lock_guard lock(dc.DataLock());
    const RunParameters& p = dc.Parameters();
    return BuildReport(p.tradeLog, dc.Dates(), dc.Code(), dc.DisplayName(), p.rangeBegin, p.rangeEnd);
}

std::vector<TradeRow> ReportTradeRows(const std::vector<TradeLogEntry>& log) {
    static const std::string kBuy = Gbk("买");
    static const std::string kSell = Gbk("卖");
    std::vector<TradeRow> rows;
    double acc = 1.0;
    double comp = 1.0;
    for (const TradeLogEntry& trade : log) {
        TradeRow row{DateText(trade.date), trade.kind == 'S' ? kSell : kBuy,
                     text::Format("%.2f", static_cast<double>(trade.price)), "", "", ""};
        if (trade.kind == 'S') {
            const double p = trade.profit;
            acc += p;
            comp = comp * (1 + p);
            row.profit = text::Format("%.2f", p * 100);
            row.accumulated = text::Format("%.2f", (acc - 1) * 100);
            row.compound = text::Format("%.2f", (comp - 1) * 100);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<TradeRow> StoredTradeRows(Database& db, const std::string& market, const std::string& code) {
    static const std::string kBuy = Gbk("买");
    static const std::string kSell = Gbk("卖");
    const char* priceFormat = HasThreeDecimals(SecurityTypeOf(db, market, code)) ? "%.3f" : "%.2f";
    const std::optional<TextTable> t = db.GetTable(
        text::Format("SELECT DDATE,BS,PRICE,PROFIT FROM TRADELOG WHERE MARKET = ? AND CODE = ? AND VRSN = %d",
                     version::kNumber),
        {market, code});
    std::vector<TradeRow> rows;
    if (!t) return rows;
    for (size_t r = 0; r < t->RowCount(); ++r) {
        const bool sell = text::ParseInt(t->At(r, 1)) != 0;
        rows.push_back({StoredDateText(t->At(r, 0)), sell ? kSell : kBuy,
                        text::Format(priceFormat, text::ParseReal(t->At(r, 2))),
                        sell ? text::Format("%.2f", text::ParseReal(t->At(r, 3))) : "", "", ""});
    }
    return rows;
}

std::string StrategyTabText(const std::string& storedReport) {
    for (const char* mark : {"引擎版本", "工具"}) {
        const size_t at = FindGbk(storedReport, Gbk(mark));
        if (at != std::string::npos) return storedReport.substr(at);
    }
    return {};
}

ReportPage PrepareReportPage(CDataCenter& dc) {
    RunParameters& p = dc.Parameters();
    p.engineVersion = ProductVersionParts();
    return {BuildReport(dc), BuildStrategyHeader(dc) + "\r\n" + BuildStrategyCode(p), ReportTradeRows(p.tradeLog)};
}
