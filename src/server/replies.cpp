#include "server/replies.h"

#include "server/server_database.h"
#include "server/xml_reply.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace server {
namespace {

const std::string& LocalHostComment() {
    static const std::string comment = text::Utf8ToGbk("本机数据服务器");
    return comment;
}

// Reads the first column of a one-row query and resets the statement at
// once: a statement left mid-way keeps the connection's read snapshot open,
// which would hide later imports and hold back WAL checkpoints.
int64_t SingleInt(Statement& query) {
    const int64_t value = query.Step() ? query.Int(0) : 0;
    query.Reset();
    return value;
}

}  // namespace

Replies::Replies(const std::filesystem::path& data_dir)
    : db_(DatabasePath(data_dir).string(), false),
      newest_date_(db_, "SELECT MAX(date) FROM daily"),
      // The sixth newest trading day held, i.e. five trading days before the
      // newest one (or the oldest day when fewer are held).
      cut_date_(db_,
                "SELECT MIN(date) FROM "
                "(SELECT DISTINCT date FROM daily ORDER BY date DESC LIMIT 6)"),
      cleanto_setting_(db_, "SELECT value FROM settings WHERE name = ?1"),
      news_(db_, "SELECT popp, vrsn, title, addr, text FROM news ORDER BY position"),
      hosts_(db_, "SELECT nett, addr, cmnt FROM hosts ORDER BY position"),
      stocks_after_(db_,
                    "SELECT stamp, market, code, name, pinyin, type FROM stocks "
                    "WHERE stamp > ?1 ORDER BY stamp, market, code"),
      daily_(db_,
             "SELECT date, open, high, low, close, volume FROM daily "
             "WHERE market = ?1 AND code = ?2 AND date BETWEEN ?3 AND ?4 ORDER BY date"),
      dividends_(db_,
                 "SELECT date, songgu, zhuanzeng, paixi, peigu, peigujia FROM dividends "
                 "WHERE market = ?1 AND code = ?2 AND date BETWEEN ?3 AND ?4 ORDER BY date"),
      pool_model_(db_, "SELECT caption, info FROM pool_models WHERE model = ?1"),
      pool_entries_(db_,
                    "SELECT e.rank, e.date, e.code, COALESCE(s.name, ''), e.capital, e.pe, e.pb, "
                    "e.mpg, e.market FROM pool_entries e LEFT JOIN stocks s "
                    "ON s.market = e.market AND s.code = e.code "
                    "WHERE e.model = ?1 ORDER BY e.rank, e.market, e.code") {
    db_.Exec("PRAGMA query_only = 1");
}

ServerDates Replies::Dates() {
    ServerDates dates;
    newest_date_.Reset();
    dates.update = SingleInt(newest_date_);
    cleanto_setting_.Reset();
    cleanto_setting_.Bind(1, std::string_view(kCleantoSetting));
    dates.cleanto = cleanto_setting_.Step() ? text::ParseInt(cleanto_setting_.Text(0)) : 0;
    cleanto_setting_.Reset();
    dates.cleanto_fixed = dates.cleanto > 0;
    if (!dates.cleanto_fixed) {
        cut_date_.Reset();
        dates.cleanto = SingleInt(cut_date_);
    }
    return dates;
}

std::string_view Replies::Login(std::string_view own_host) {
    const ServerDates dates = Dates();
    XmlReply reply(buffer_, "status");
    reply.Open("auth");
    reply.Int("update", dates.update);
    reply.Int("cleanto", dates.cleanto);
    reply.Close("auth");

    reply.Open("news");
    news_.Reset();
    while (news_.Step()) {
        reply.Open("item");
        reply.Int("popp", news_.Int(0));
        reply.Int("vrsn", news_.Int(1));
        reply.Text("titl", news_.Text(2));
        reply.Text("addr", news_.Text(3));
        reply.Text("text", news_.Text(4));
        reply.Close("item");
    }
    reply.Close("news");

    reply.Open("hosts");
    hosts_.Reset();
    bool any_host = false;
    while (hosts_.Step()) {
        any_host = true;
        reply.Open("host");
        reply.Int("nett", hosts_.Int(0));
        reply.Text("addr", hosts_.Text(1));
        reply.Text("cmnt", hosts_.Text(2));
        reply.Close("host");
    }
    if (!any_host) {
        reply.Open("host");
        reply.Int("nett", 0);
        reply.Text("addr", own_host);
        reply.Text("cmnt", LocalHostComment());
        reply.Close("host");
    }
    reply.Close("hosts");
    return reply.Finish();
}

std::string_view Replies::Codes(int after) {
    XmlReply reply(buffer_, "stocks");
    stocks_after_.Reset();
    stocks_after_.Bind(1, after);
    while (stocks_after_.Step()) {
        reply.Open("stock");
        reply.Int("date", stocks_after_.Int(0));
        reply.Text("market", stocks_after_.Text(1));
        reply.Text("code", stocks_after_.Text(2));
        reply.Text("abbr", stocks_after_.Text(3));
        reply.Text("pinyin", stocks_after_.Text(4));
        reply.Int("type", stocks_after_.Int(5));
        reply.Close("stock");
    }
    return reply.Finish();
}

std::string_view Replies::Daily(std::string_view market, std::string_view code, int first,
                                int last) {
    XmlReply reply(buffer_, "bars");
    daily_.Reset();
    daily_.Bind(1, market).Bind(2, code).Bind(3, first).Bind(4, last);
    while (daily_.Step()) {
        reply.Open("daily");
        reply.Int("date", daily_.Int(0));
        reply.Number("open", daily_.Real(1));
        reply.Number("high", daily_.Real(2));
        reply.Number("low", daily_.Real(3));
        reply.Number("close", daily_.Real(4));
        reply.Number("volume", daily_.Real(5));
        reply.Close("daily");
    }
    return reply.Finish();
}

std::string_view Replies::Dividends(std::string_view market, std::string_view code, int first,
                                    int last) {
    XmlReply reply(buffer_, "dividends");
    dividends_.Reset();
    dividends_.Bind(1, market).Bind(2, code).Bind(3, first).Bind(4, last);
    while (dividends_.Step()) {
        reply.Open("divid");
        reply.Int("date", dividends_.Int(0));
        reply.Number("songgu", dividends_.Real(1));
        reply.Number("zhuanzheng", dividends_.Real(2));
        reply.Number("paixi", dividends_.Real(3));
        reply.Number("peigu", dividends_.Real(4));
        reply.Number("ppeigu", dividends_.Real(5));
        reply.Close("divid");
    }
    return reply.Finish();
}

std::string_view Replies::Pool(std::string_view model) {
    XmlReply reply(buffer_, "stockpool");
    pool_model_.Reset();
    pool_model_.Bind(1, model);
    const bool known = pool_model_.Step();
    reply.Text("caption", known ? pool_model_.Text(0) : std::string_view());
    reply.Text("info", known ? pool_model_.Text(1) : std::string_view());
    pool_model_.Reset();
    pool_entries_.Reset();
    pool_entries_.Bind(1, model);
    while (pool_entries_.Step()) {
        reply.Open("pool");
        reply.Int("rank", pool_entries_.Int(0));
        reply.Int("date", pool_entries_.Int(1));
        reply.Text("code", pool_entries_.Text(2));
        reply.Text("abbr", pool_entries_.Text(3));
        reply.Int("capital", pool_entries_.Int(4));
        reply.Number("pe", pool_entries_.Real(5));
        reply.Number("pb", pool_entries_.Real(6));
        reply.Number("mpg", pool_entries_.Real(7));
        reply.Text("market", pool_entries_.Text(8));
        reply.Close("pool");
    }
    return reply.Finish();
}

}  // namespace server
