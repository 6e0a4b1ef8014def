#include "sync/daily_jobs.h"

#include <ctime>

#include "sync/record_check.h"
#include "text/parse.h"

namespace {

struct LocalRange {
    int32_t min = 0;
    int32_t max = 0;
    bool Empty() const { return min + max < 1; }
};

// The stock's oldest and newest local bar dates; 0 each when it has none
// (or when they cannot be read, which then fetches the range again: a
// repeated insert changes nothing). A bar dated beyond tomorrow, which an
// older version stored as the server sent it (99999999), is no bar: it
// must not make the stock look up to date for good.
LocalRange ReadLocalRange(Database& db, const std::string& market, const std::string& code) {
    const std::optional<TextTable> table =
        db.GetTable("SELECT MIN(DDATE), MAX(DDATE) FROM DAILY WHERE MARKET=? AND CODE=? AND DDATE <= ?",
                    {market, code, LatestBarDate()});
    if (!table || table->RowCount() == 0) return {};
    return {text::ParseInt(table->At(0, 0)), text::ParseInt(table->At(0, 1))};
}

}  // namespace

std::optional<StartPageJobs> BuildStartPageJobs(Database& db, int32_t update) {
    const std::optional<TextTable> strategies = db.GetTable(
        "SELECT A.MARKET, A.CODE, B.ABBR FROM SECRET A, STOCKCODE B WHERE A.MARKET = B.MARKET AND A.CODE = B.CODE");
    if (!strategies) return std::nullopt;
    StartPageJobs result;
    result.strategies = strategies->RowCount();
    for (size_t row = 0; row < strategies->RowCount(); ++row) {
        SyncJob job{strategies->At(row, 0), strategies->At(row, 1), strategies->At(row, 2), 0, kNoUpperBound};
        const LocalRange range = ReadLocalRange(db, job.market, job.code);
        if (!range.Empty()) {
            if (range.max >= update) continue;  // up to date
            job.first = range.max + 1;
        }
        result.jobs.push_back(std::move(job));
    }
    return result;
}

std::vector<SyncJob> BuildViewJobs(Database& db, const std::string& market, const std::string& code,
                                   int32_t update, int currentYear) {
    const LocalRange range = ReadLocalRange(db, market, code);
    if (!range.Empty()) {
        if (range.max < update) return {{market, code, "", range.max + 1, kNoUpperBound}};
        return {{market, code, "", update, update}};
    }
    // A first download is split into two-year requests, newest first, so the
    // chart soon has recent bars to show.
    std::vector<SyncJob> jobs;
    for (int year = currentYear; year >= kFirstHistoryYear; year -= 2) {
        if (year > kFirstHistoryYear)
            jobs.push_back({market, code, "", (year - 1) * 10000 + 101, year * 10000 + 1231});
        else
            jobs.push_back({market, code, "", kFirstHistoryYear * 10000 + 101, kFirstHistoryYear * 10000 + 1231});
    }
    return jobs;
}

int CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}
