#include "sync/server_requests.h"

#include "datastore/program_version.h"
#include "text/format.h"

namespace {

// Markets, codes and model keys are letters and digits, which pass
// unchanged; anything else is percent-encoded so a typed value can never
// add a query parameter or break the URL.
std::string QueryValue(std::string_view value) {
    std::string out;
    for (const char c : value) {
        const unsigned char b = static_cast<unsigned char>(c);
        const bool unreserved = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                                b == '-' || b == '.' || b == '_' || b == '~';
        out += unreserved ? std::string(1, c) : text::Format("%%%02X", b);
    }
    return out;
}

std::string Start(const ServerAccess& server, const char* page) {
    return "http://" + server.host + "/" + page +
           text::Format("?vrsn=%d&code=%u", static_cast<int>(version::kNumber), server.clientCode);
}

std::string RangeUrl(const ServerAccess& server, const char* page, std::string_view market, std::string_view code,
                     int32_t first, int32_t last) {
    return Start(server, page) + "&mrkt=" + QueryValue(market) + "&stck=" + QueryValue(code) +
           text::Format("&frst=%d&last=%d", first, last);
}

}  // namespace

std::string StatusUrl(const ServerAccess& server) { return Start(server, "login.php") + "&from=1"; }

std::string StockCodesUrl(const ServerAccess& server, int32_t pdate) {
    return Start(server, "code.php") + text::Format("&pdate=%d", pdate);
}

std::string DailyUrl(const ServerAccess& server, std::string_view market, std::string_view code, int32_t first,
                     int32_t last) {
    return RangeUrl(server, "daily.php", market, code, first, last);
}

std::string DividendUrl(const ServerAccess& server, std::string_view market, std::string_view code, int32_t first,
                        int32_t last) {
    return RangeUrl(server, "divid.php", market, code, first, last);
}

std::string PoolUrl(const ServerAccess& server, std::string_view model) {
    return Start(server, "pool.php") + "&modl=" + QueryValue(model);
}

std::string Fetch(const ServerAccess& server, const std::string& url) { return GetHtml(url, server.limits); }
