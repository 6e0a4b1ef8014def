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

int64_t CountOf(const Database& db, const char* sql) {
    Statement count(db, sql);
    return count.Step() ? count.Int(0) : 0;
}

void PrintSummary(const Database& db, const std::string& data_dir) {
    std::printf("database  %s\n", DatabasePath(data_dir).c_str());
    std::printf("stocks    %lld, newest stamp %lld\n",
                static_cast<long long>(CountOf(db, "SELECT COUNT(*) FROM stocks")),
                static_cast<long long>(CountOf(db, "SELECT COALESCE(MAX(stamp), 0) FROM stocks")));
    Statement bars(
        db,
        "SELECT COUNT(*), COUNT(DISTINCT market || ' ' || code), MIN(date), MAX(date) FROM daily");
    bars.Step();
    std::printf("bars      %lld of %lld stocks, %lld to %lld\n",
                static_cast<long long>(bars.Int(0)), static_cast<long long>(bars.Int(1)),
                static_cast<long long>(bars.Int(2)), static_cast<long long>(bars.Int(3)));
    std::printf("dividend  %lld records\n",
                static_cast<long long>(CountOf(db, "SELECT COUNT(*) FROM dividends")));

    const ServerDates dates = Replies(data_dir).Dates();
    std::printf("update    %lld\n", static_cast<long long>(dates.update));
    std::printf("cleanto   %lld (%s)\n", static_cast<long long>(dates.cleanto),
                dates.cleanto_fixed ? "fixed" : "five trading days before update");
    std::printf("news      %lld items\n",
                static_cast<long long>(CountOf(db, "SELECT COUNT(*) FROM news")));

    Statement hosts(db, "SELECT nett, addr, cmnt FROM hosts ORDER BY position");
    bool any_host = false;
    while (hosts.Step()) {
        any_host = true;
        std::printf("host      %lld %s %s\n", static_cast<long long>(hosts.Int(0)),
                    text::GbkToUtf8(hosts.Text(1)).c_str(), text::GbkToUtf8(hosts.Text(2)).c_str());
    }
    if (!any_host) std::printf("host      (none configured: the server offers its own address)\n");

    Statement pools(db, "SELECT model, COUNT(*) FROM pool_entries GROUP BY model ORDER BY model");
    while (pools.Step())
        std::printf("pool      %s %lld entries\n", std::string(pools.Text(0)).c_str(),
                    static_cast<long long>(pools.Int(1)));
}

}  // namespace

int ConfigCommand(const Words& words) {
    const Options options(words, {"data", "cleanto"});
    const std::string data_dir = options.Require("data");
    const Database db = OpenServerDatabase(data_dir);
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
