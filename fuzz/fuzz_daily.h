#pragma once
// One stock's daily sync with the fuzz input as the reply of one page
// (divid.php or daily.php) and an empty, valid reply for the other; the
// records are stored, then removed so each input starts from nothing.
#include <string>

#include "datastore/data_center.h"
#include "fuzz_page.h"
#include "fuzz_support.h"
#include "sync/daily_sync.h"

namespace fuzz {

inline void DailySync(const char* fuzzed_page, const uint8_t* data, size_t size) {
    static const std::string kEmpty = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<bars></bars>\n";
    const std::string reply(reinterpret_cast<const char*>(data), size);
    Page = [&](const std::string& url) {
        return url.find(fuzzed_page) != std::string::npos ? reply : kEmpty;
    };
    Database& db = ClientDatabase();
    CDataCenter dc(db);
    DailySyncRequest request;
    request.jobs.push_back({"SS", "600000", "", 0, kNoUpperBound});
    RunDailySync(db, dc, ServerAccess{"127.0.0.1:1", 1, {}}, request, [](const SyncReport&) {},
                 [](std::string_view) {}, SignalStep());
    db.Exec("DELETE FROM DAILY");
    db.Exec("DELETE FROM DIVIDEND");
}

}  // namespace fuzz
