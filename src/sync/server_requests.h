#pragma once
// What every request to the data server has in common: the host from the
// HOST setting, the program version number and the client code in every
// URL, and the page fetch with its limits.
#include <cstdint>
#include <string>
#include <string_view>

#include "sync/page_fetch.h"

struct ServerAccess {
    std::string host;  // the HOST setting: a host name or address, optionally ":port", used unchanged
    uint32_t clientCode = 0;
    FetchLimits limits;
};

// "http://HOST/login.php?vrsn=%d&code=%u&from=1"
std::string StatusUrl(const ServerAccess& server);
// "http://HOST/code.php?vrsn=%d&code=%u&pdate=%d"
std::string StockCodesUrl(const ServerAccess& server, int32_t pdate);
// "http://HOST/daily.php?vrsn=%d&code=%u&mrkt=%s&stck=%s&frst=%d&last=%d"
std::string DailyUrl(const ServerAccess& server, std::string_view market, std::string_view code, int32_t first,
                     int32_t last);
// "http://HOST/divid.php?..." with the same parameters as DailyUrl.
std::string DividendUrl(const ServerAccess& server, std::string_view market, std::string_view code, int32_t first,
                        int32_t last);
// "http://HOST/pool.php?vrsn=%d&code=%u&modl=%s"
std::string PoolUrl(const ServerAccess& server, std::string_view model);

// Fetches one of the URLs above within the server's limits.
std::string Fetch(const ServerAccess& server, const std::string& url);
