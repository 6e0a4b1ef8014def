#pragma once
// The server status request made when the start page opens and after every
// change of server: the server's dates, its news and host lists, the HOST
// table, and the status line telling whether local data needs a sync. Also
// the server menu's host list and the switch to another server.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "datastore/database.h"
#include "datastore/message_sink.h"
#include "datastore/settings.h"
#include "sync/server_requests.h"
#include "sync/sync_report.h"

// One data server the user may choose (a HOST row); GBK text.
struct HostEntry {
    int32_t nett = 0;  // network kind, carried but not interpreted
    std::string addr;  // host[:port] as put into URLs
    std::string cmnt;  // shown in the server menu
};

// One news item; GBK text.
struct NewsEntry {
    int32_t popp = 0;  // bit 0: open the link in the program's own browser window; bit 1: pop up at once
    int32_t vrsn = 0;
    std::string titl;
    std::string addr;
    std::string text;
};

// What the last server status reply said. Kept by the program for the whole
// run, replaced by each reply that loads and left alone by a failed request.
// The request writes it on the worker thread before its final report, so
// the receiver may read it when that report arrives.
struct ServerInfo {
    int32_t update = 0;   // newest close the server holds, yyyymmdd; 0 when absent
    int32_t cleanto = 0;  // cut date of the data cleanup, yyyymmdd; 0 when absent
    std::vector<NewsEntry> news;
    std::vector<HostEntry> hosts;
};

// Asks the server for its status. Progress "正在检查服务器..."; on success the
// dates, news and hosts go into `info`, a non-empty host list replaces the
// HOST table, and the final report carries the status line (empty when the
// server holds no data). Returns the final result: SyncReport::kSucceeded,
// or kFailed after "服务器无法访问，请切换至其他服务器。".
int RequestServerStatus(Database& db, const ServerAccess& server, ServerInfo& info, const SyncReporter& report);

// "服务器最新收盘数据 YYYY-MM-DD", followed by " ★数据需要同步★" when the newest
// local bar is older than `update`; empty when `update` is 0. GBK.
std::string StatusText(Database& db, int32_t update);

// The server menu offers at most this many servers.
inline constexpr size_t kServerMenuSize = 5;

// The servers the menu offers: the last reply's host list when it is not
// empty, otherwise the HOST table's rows; at most kServerMenuSize of them.
std::vector<HostEntry> ServerMenuHosts(Database& db, const ServerInfo& info);

// Stores `addr` as the HOST setting and reloads the settings; the caller then
// requests the status again. False when the setting cannot be stored (after
// "不可预知的错误，数据库无法访问！" through `show`; nothing changed then) or the
// settings cannot be reloaded.
bool SwitchServer(Database& db, SettingsMap& settings, std::string_view addr, const MessageSink& show);
