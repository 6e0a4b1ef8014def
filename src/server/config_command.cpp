// korvel-server config: shows what the database holds and what login.php
// announces; --cleanto fixes the cut date or gives it back to the data.
#include <cstdio>

#include "server/commands.h"
#include "server/fields.h"
#include "server/options.h"
#include "server/replies.h"
#include "server/server_database.h"
#include "text/gbk.h"

namespace server {
namespace {

int64_t CountOf(Database& db, const char* sql) {
    Statement count = Prepare(db, sql);
    return SingleInt(count);
}

void PrintSummary(Database& db, const std::string& data_dir) {
    std::printf("database  %s\n", DatabasePath(data_dir).c_str());
    std::printf("stocks    %lld, newest stamp %lld\n",
                static_cast<long long>(CountOf(db, "SELECT COUNT(*) FROM stocks")),
                static_cast<long long>(CountOf(db, "SELECT COALESCE(MAX(stamp), 0) FROM stocks")));
    Statement bar_totals = Prepare(
        db,
        "SELECT COUNT(*), COUNT(DISTINCT market || ' ' || code), MIN(date), MAX(date) FROM daily");
    Rows bars(bar_totals, {});
    bars.Next();  // aggregates always give one row
    std::printf(
        "bars      %lld of %lld stocks, %lld to %lld\n",
        static_cast<long long>(bars->ColumnInt64(0)), static_cast<long long>(bars->ColumnInt64(1)),
        static_cast<long long>(bars->ColumnInt64(2)), static_cast<long long>(bars->ColumnInt64(3)));
    std::printf("dividend  %lld records\n",
                static_cast<long long>(CountOf(db, "SELECT COUNT(*) FROM dividends")));

    const ServerDates dates = Replies(data_dir).Dates();
    std::printf("update    %lld\n", static_cast<long long>(dates.update));
    std::printf("cleanto   %lld (%s)\n", static_cast<long long>(dates.cleanto),
                dates.cleanto_fixed ? "fixed" : "five trading days before update");
    std::printf("news      %lld items\n",
                static_cast<long long>(CountOf(db, "SELECT COUNT(*) FROM news")));

    Statement host_list = Prepare(db, "SELECT nett, addr, cmnt FROM hosts ORDER BY position");
    bool any_host = false;
    for (Rows hosts(host_list, {}); hosts.Next();) {
        any_host = true;
        std::printf("host      %lld %s %s\n", static_cast<long long>(hosts->ColumnInt64(0)),
                    text::GbkToUtf8(hosts->ColumnText(1)).c_str(),
                    text::GbkToUtf8(hosts->ColumnText(2)).c_str());
    }
    if (!any_host) std::printf("host      (none configured: the server offers its own address)\n");

    Statement pool_sizes =
        Prepare(db, "SELECT model, COUNT(*) FROM pool_entries GROUP BY model ORDER BY model");
    for (Rows pools(pool_sizes, {}); pools.Next();)
        std::printf("pool      %s %lld entries\n", pools->ColumnText(0).c_str(),
                    static_cast<long long>(pools->ColumnInt64(1)));
}

}  // namespace

int ConfigCommand(const Words& words) {
    const Options options(words, {"data", "cleanto"});
    const std::string data_dir = options.Require("data");
    Database db = OpenExistingServerDatabase(data_dir);
    if (const auto cleanto = options.Get("cleanto")) {
        if (*cleanto == "auto") {
            DeleteSetting(db, kCleantoSetting);
        } else {
            const std::optional<int> date = ParseDate(*cleanto);
            if (!date) throw UsageError("--cleanto needs a date yyyymmdd or 'auto'");
            SetSetting(db, kCleantoSetting, *cleanto);
        }
    }
    PrintSummary(db, data_dir);
    return 0;
}

}  // namespace server
