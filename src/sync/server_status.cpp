#include "sync/server_status.h"

#include "datastore/write_failure.h"
#include "sync/xml_reply.h"
#include "text/format.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace {

// The newest local bar's date; 0 when the query fails or finds nothing.
int32_t NewestLocalDate(Database& db) {
    const std::optional<TextTable> table = db.GetTable("SELECT MAX(DDATE) FROM DAILY");
    if (!table || table->RowCount() == 0) return 0;
    return text::ParseInt(table->At(0, 0));
}

std::vector<NewsEntry> ReadNews(const XmlElement& news) {
    std::vector<NewsEntry> entries;
    for (const XmlElement& item : news.Children()) {
        entries.push_back({item.Child("popp").Int(), item.Child("vrsn").Int(), item.Child("titl").Text(),
                           item.Child("addr").Text(), item.Child("text").Text()});
    }
    return entries;
}

std::vector<HostEntry> ReadHosts(const XmlElement& hosts) {
    std::vector<HostEntry> entries;
    for (const XmlElement& item : hosts.Children())
        entries.push_back({item.Child("nett").Int(), item.Child("addr").Text(), item.Child("cmnt").Text()});
    return entries;
}

// Replaces the HOST table with the reply's hosts in one transaction. A
// row's own error (a repeated address) is ignored, as the table is only a
// menu; a failure of the database rolls everything back.
std::optional<WriteFailure> StoreHosts(Database& db, const std::vector<HostEntry>& hosts) {
    std::optional<Transaction> transaction = Transaction::Begin(db);
    if (!transaction || !db.Exec("DELETE FROM HOST")) return FailedWrite(db);
    for (const HostEntry& host : hosts) {
        if (db.Exec("INSERT INTO HOST(ADDR, NETT, CMNT) VALUES(?, ?, ?)", {host.addr, host.nett, host.cmnt}))
            continue;
        if (std::optional<WriteFailure> failure = DatabaseWriteFailure(db)) return failure;
    }
    if (!transaction->Commit()) return FailedWrite(db);
    return std::nullopt;
}

}  // namespace

std::string StatusText(Database& db, int32_t update) {
    if (update == 0) return {};
    std::string line = text::Utf8ToGbk(
        text::Format("服务器最新收盘数据 %4d-%02d-%02d", update / 10000, update / 100 % 100, update % 100));
    if (NewestLocalDate(db) < update) line += text::Utf8ToGbk(" ★数据需要同步★");
    return line;
}

int RequestServerStatus(Database& db, const ServerAccess& server, ServerInfo& info, const SyncReporter& report) {
    Report(report, SyncReport::kRunning, text::Utf8ToGbk("正在检查服务器..."));
    const std::string reply = Fetch(server, StatusUrl(server));
    const std::optional<XmlReply> xml = IsLongEnough(reply) ? XmlReply::Load(reply) : std::nullopt;
    if (!xml) {
        Report(report, SyncReport::kFailed, text::Utf8ToGbk("服务器无法访问，请切换至其他服务器。"), server.host);
        return SyncReport::kFailed;
    }
    const XmlElement root = xml->Root();
    info.update = root.Child("auth").Child("update").Int();
    info.cleanto = root.Child("auth").Child("cleanto").Int();
    info.news = ReadNews(root.Child("news"));
    info.hosts = ReadHosts(root.Child("hosts"));
    // An empty host list keeps the table: the menu then still offers the
    // servers known from earlier replies.
    if (!info.hosts.empty()) {
        if (const std::optional<WriteFailure> failure = StoreHosts(db, info.hosts)) {
            Report(report, SyncReport::kFailed, failure->text);
            return SyncReport::kFailed;
        }
    }
    Report(report, SyncReport::kSucceeded, StatusText(db, info.update));
    return SyncReport::kSucceeded;
}

std::vector<HostEntry> ServerMenuHosts(Database& db, const ServerInfo& info) {
    std::vector<HostEntry> hosts = info.hosts;
    if (hosts.empty()) {
        db.ForEachRow("SELECT ADDR, NETT, CMNT FROM HOST", {}, [&hosts](const Statement& row) {
            hosts.push_back({text::ParseInt(row.ColumnText(1)), row.ColumnText(0), row.ColumnText(2)});
        });
    }
    if (hosts.size() > kServerMenuSize) hosts.resize(kServerMenuSize);
    return hosts;
}

bool SwitchServer(Database& db, SettingsMap& settings, std::string_view addr, const MessageSink& show) {
    if (!db.Exec("UPDATE APPSET SET SETS = ? WHERE ITEM = 'HOST'", {addr})) {
        if (show) show("不可预知的错误，数据库无法访问！");
        return false;
    }
    return LoadSettings(db, settings, show);
}
