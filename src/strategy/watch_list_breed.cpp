#include "strategy/watch_list_breed.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "datastore/program_version.h"
#include "strategy/advice.h"
#include "strategy/child_process.h"
#include "strategy/trade_statistics.h"
#include "text/format.h"
#include "text/gbk.h"

namespace {

constexpr const char* kSummaryTag = "summary\t";

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t')) fields.push_back(field);
    if (!line.empty() && line.back() == '\t') fields.emplace_back();
    return fields;
}

std::optional<BreedSummary> ParseSummary(const std::string& line) {
    const std::vector<std::string> f = SplitTabs(line);
    if (f.size() != 6 || f[0] != "summary") return std::nullopt;
    BreedSummary s;
    char* end = nullptr;
    s.fitness = std::strtod(f[1].c_str(), &end);
    s.trades = static_cast<int32_t>(std::strtol(f[2].c_str(), &end, 10));
    s.winRate = std::strtod(f[3].c_str(), &end);
    s.accumulated = std::strtod(f[4].c_str(), &end);
    s.advice = text::Utf8ToGbk(f[5]);
    return s;
}

// What a failed child said: its lines without the command prefix, joined.
std::string FailureText(const std::string& output, int status) {
    std::string text;
    std::stringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.rfind(kSummaryTag, 0) == 0) continue;
        const std::string prefix = "korvel-cli breed: ";
        if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
        text += (text.empty() ? "" : "; ") + line;
    }
    return text.empty() ? "exit status " + std::to_string(status) : text;
}

struct Running {
    size_t index;
    std::unique_ptr<ChildProcess> child;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

BreedSummary SummarizeBreed(const CDataCenter& dc, double fitness) {
    const std::vector<TradeLogEntry>& log = dc.Parameters().tradeLog;
    const TradeStatistics s = SummarizeTrades(log, dc.Dates());
    return {fitness, s.wins + s.losses, WinRate(s, log.size()), s.Accumulated(), CurrentAdvice(dc)};
}

std::string SummaryLine(const BreedSummary& s) {
    return text::Format("%s%.17g\t%d\t%.17g\t%.17g\t", kSummaryTag, s.fitness, s.trades, s.winRate, s.accumulated) +
           text::GbkToUtf8(s.advice);
}

std::optional<BreedSummary> FindSummaryLine(const std::string& output) {
    std::optional<BreedSummary> found;
    std::stringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(kSummaryTag, 0) == 0) found = ParseSummary(line);
    return found;
}

std::vector<WatchedStock> LoadWatchedStocks(Database& db) {
    std::vector<WatchedStock> stocks;
    const std::optional<TextTable> t = db.GetTable(text::Format(
        "SELECT A.MARKET, A.CODE, B.ABBR FROM SECRET A LEFT JOIN STOCKCODE B ON A.MARKET = B.MARKET AND "
        "A.CODE = B.CODE WHERE A.VRSN = %d ORDER BY A.MARKET, A.CODE",
        version::kNumber));
    if (!t) return stocks;
    for (size_t r = 0; r < t->RowCount(); ++r) stocks.push_back({t->At(r, 0), t->At(r, 1), t->At(r, 2)});
    return stocks;
}

std::vector<BreedOutcome> BreedWatchList(const std::vector<WatchedStock>& stocks, const BatchBreed& batch,
                                         const std::function<void(const BatchProgress&)>& progress,
                                         const std::atomic<bool>& stop) {
    std::vector<BreedOutcome> outcomes;
    for (const WatchedStock& s : stocks) outcomes.push_back({s, std::nullopt, "未开始"});
    const auto start = std::chrono::steady_clock::now();
    const size_t jobs = std::max<size_t>(batch.jobs, 1);
    std::vector<Running> running;
    size_t next = 0;
    size_t done = 0;

    const auto finish = [&](size_t index, int status, const std::string& output) {
        BreedOutcome& o = outcomes[index];
        o.summary = status == 0 ? FindSummaryLine(output) : std::nullopt;
        o.failure = o.summary ? "" : FailureText(output, status);
        ++done;
        if (!progress) return;
        const double elapsed = SecondsSince(start);
        progress({done, stocks.size(), elapsed, elapsed / static_cast<double>(done) * (stocks.size() - done), &o});
    };
    const auto startNext = [&] {
        const WatchedStock& s = stocks[next];
        std::vector<std::string> argv = {batch.program, "--dir", batch.dir, "breed", text::GbkToUtf8(s.market),
                                         text::GbkToUtf8(s.code), "--summary"};
        argv.insert(argv.end(), batch.breedWords.begin(), batch.breedWords.end());
        try {
            running.push_back({next, std::make_unique<ChildProcess>(argv)});
        } catch (const std::exception& e) {
            finish(next, -1, e.what());
        }
        ++next;
    };

    while (!stop && (next < stocks.size() || !running.empty())) {
        while (running.size() < jobs && next < stocks.size() && !stop) startNext();
        std::vector<pollfd> fds;
        for (const Running& r : running) fds.push_back({r.child->OutputFd(), POLLIN, 0});
        // A short timeout so that `stop` is seen soon when set by another thread.
        if (poll(fds.data(), fds.size(), 100) < 0 && errno != EINTR) break;
        for (size_t i = fds.size(); i-- > 0;) {
            if (fds[i].revents == 0 || running[i].child->ReadAvailable()) continue;
            finish(running[i].index, running[i].child->Wait(), running[i].child->Output());
            running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    for (Running& r : running) r.child->Terminate();
    for (Running& r : running) {
        // A child may have finished (and saved) just before it was told to
        // stop: its output then still says so.
        const int status = r.child->Wait();
        while (r.child->ReadAvailable()) {
        }
        if (status == 0) finish(r.index, status, r.child->Output());
        else outcomes[r.index].failure = "已停止";
    }
    return outcomes;
}

std::string ClockText(double seconds) {
    const auto s = static_cast<long>(std::max(seconds, 0.0) + 0.5);
    return text::Format("%ld:%02ld", s / 60, s % 60);
}

void SortByAccumulatedProfit(std::vector<BreedOutcome>& outcomes) {
    std::stable_sort(outcomes.begin(), outcomes.end(), [](const BreedOutcome& a, const BreedOutcome& b) {
        if (a.summary && b.summary) return a.summary->accumulated > b.summary->accumulated;
        return a.summary.has_value() && !b.summary.has_value();
    });
}

std::vector<std::string> BatchTableHeader() {
    return {"市场", "代码", "名称", "适应度", "交易次数", "胜率%", "累计盈利%", "操盘信号", "备注"};
}

std::vector<std::string> BatchTableCells(const BreedOutcome& o) {
    std::vector<std::string> cells = {text::GbkToUtf8(o.stock.market), text::GbkToUtf8(o.stock.code),
                                      text::GbkToUtf8(o.stock.name)};
    if (!o.summary) {
        cells.insert(cells.end(), {"", "", "", "", "", o.failure});
        return cells;
    }
    const BreedSummary& s = *o.summary;
    cells.insert(cells.end(), {text::Format("%.4f", s.fitness), std::to_string(s.trades),
                               text::Format("%.2f", s.winRate * 100), text::Format("%.2f", s.accumulated * 100),
                               text::GbkToUtf8(s.advice), ""});
    return cells;
}
