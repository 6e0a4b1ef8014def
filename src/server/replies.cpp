#include "server/replies.h"

#include <array>

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

// The element names of a reply of dated records: daily.php, divid.php.
struct DatedRecordNames {
    std::string_view root;
    std::string_view record;
    std::array<std::string_view, 5> numbers;
};
constexpr DatedRecordNames kBars{"bars", "daily", {"open", "high", "low", "close", "volume"}};
constexpr DatedRecordNames kDividends{
    "dividends", "divid", {"songgu", "zhuanzheng", "paixi", "peigu", "ppeigu"}};

// One stock's records dated first..last from `query`: a record element per
// row, holding the date and five numbers. The names are a template argument
// so they are constants in the loop, which keeps a 5000-bar reply as fast as
// code written out for each reply.
template <const DatedRecordNames& kNames>
std::string_view DatedRecords(std::string& buffer, Statement& query, std::string_view market,
                              std::string_view code, int first, int last) {
    XmlReply reply(buffer, kNames.root);
    for (Rows row(query, {market, code, first, last}); row.Next();) {
        reply.Open(kNames.record);
        reply.Int("date", row->ColumnInt64(0));
        const auto& numbers = kNames.numbers;
        reply.Number(numbers[0], row->ColumnDouble(1));
        reply.Number(numbers[1], row->ColumnDouble(2));
        reply.Number(numbers[2], row->ColumnDouble(3));
        reply.Number(numbers[3], row->ColumnDouble(4));
        reply.Number(numbers[4], row->ColumnDouble(5));
        reply.Close(kNames.record);
    }
    return reply.Finish();
}

}  // namespace

Replies::Replies(const std::filesystem::path& data_dir)
    : db_(OpenServerDatabaseToRead(data_dir)),
      newest_date_(Prepare(db_, "SELECT MAX(date) FROM daily")),
      // The sixth newest trading day held, i.e. five trading days before the
      // newest one (or the oldest day when fewer are held).
      cut_date_(Prepare(db_,
                        "SELECT MIN(date) FROM "
                        "(SELECT DISTINCT date FROM daily ORDER BY date DESC LIMIT 6)")),
      cleanto_setting_(Prepare(db_, "SELECT value FROM settings WHERE name = ?1")),
      news_(Prepare(db_, "SELECT popp, vrsn, title, addr, text FROM news ORDER BY position")),
      hosts_(Prepare(db_, "SELECT nett, addr, cmnt FROM hosts ORDER BY position")),
      // Stamped after the cursor, or on the cursor's day by a later import
      // than that day's first: a client that synchronised that day holds the
      // first import but may have missed the later ones.
      stocks_after_(Prepare(db_,
                            "SELECT stamp, market, code, name, pinyin, type FROM stocks "
                            "WHERE stamp >= ?1 AND (stamp > ?1 OR stamp_run > 1) "
                            "ORDER BY stamp, market, code")),
      daily_(Prepare(db_,
                     "SELECT date, open, high, low, close, volume FROM daily "
                     "WHERE market = ?1 AND code = ?2 AND date BETWEEN ?3 AND ?4 ORDER BY date")),
      dividends_(
          Prepare(db_,
                  "SELECT date, songgu, zhuanzeng, paixi, peigu, peigujia FROM dividends "
                  "WHERE market = ?1 AND code = ?2 AND date BETWEEN ?3 AND ?4 ORDER BY date")),
      pool_model_(Prepare(db_, "SELECT caption, info FROM pool_models WHERE model = ?1")),
      pool_entries_(Prepare(db_,
                            "SELECT e.rank, e.date, e.code, COALESCE(s.name, ''), e.capital, "
                            "e.pe, e.pb, e.mpg, e.market FROM pool_entries e LEFT JOIN stocks s "
                            "ON s.market = e.market AND s.code = e.code "
                            "WHERE e.model = ?1 ORDER BY e.rank, e.market, e.code")) {}

ServerDates Replies::Dates() {
    ServerDates dates;
    dates.update = SingleInt(newest_date_);
    {
        Rows setting(cleanto_setting_, {kCleantoSetting});
        dates.cleanto = setting.Next() ? text::ParseInt(setting->ColumnTextView(0)) : 0;
    }
    dates.cleanto_fixed = dates.cleanto > 0;
    if (!dates.cleanto_fixed) dates.cleanto = SingleInt(cut_date_);
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
    for (Rows news(news_, {}); news.Next();) {
        reply.Open("item");
        reply.Int("popp", news->ColumnInt64(0));
        reply.Int("vrsn", news->ColumnInt64(1));
        reply.Text("titl", news->ColumnTextView(2));
        reply.Text("addr", news->ColumnTextView(3));
        reply.Text("text", news->ColumnTextView(4));
        reply.Close("item");
    }
    reply.Close("news");

    reply.Open("hosts");
    bool any_host = false;
    for (Rows hosts(hosts_, {}); hosts.Next();) {
        any_host = true;
        reply.Open("host");
        reply.Int("nett", hosts->ColumnInt64(0));
        reply.Text("addr", hosts->ColumnTextView(1));
        reply.Text("cmnt", hosts->ColumnTextView(2));
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
    for (Rows stock(stocks_after_, {after}); stock.Next();) {
        reply.Open("stock");
        reply.Int("date", stock->ColumnInt64(0));
        reply.Text("market", stock->ColumnTextView(1));
        reply.Text("code", stock->ColumnTextView(2));
        reply.Text("abbr", stock->ColumnTextView(3));
        reply.Text("pinyin", stock->ColumnTextView(4));
        reply.Int("type", stock->ColumnInt64(5));
        reply.Close("stock");
    }
    return reply.Finish();
}

std::string_view Replies::Daily(std::string_view market, std::string_view code, int first,
                                int last) {
    return DatedRecords<kBars>(buffer_, daily_, market, code, first, last);
}

std::string_view Replies::Dividends(std::string_view market, std::string_view code, int first,
                                    int last) {
    return DatedRecords<kDividends>(buffer_, dividends_, market, code, first, last);
}

std::string_view Replies::Pool(std::string_view model) {
    XmlReply reply(buffer_, "stockpool");
    {
        Rows caption(pool_model_, {model});
        const bool known = caption.Next();
        reply.Text("caption", known ? caption->ColumnTextView(0) : std::string_view());
        reply.Text("info", known ? caption->ColumnTextView(1) : std::string_view());
    }
    for (Rows entry(pool_entries_, {model}); entry.Next();) {
        reply.Open("pool");
        reply.Int("rank", entry->ColumnInt64(0));
        reply.Int("date", entry->ColumnInt64(1));
        reply.Text("code", entry->ColumnTextView(2));
        reply.Text("abbr", entry->ColumnTextView(3));
        reply.Int("capital", entry->ColumnInt64(4));
        reply.Number("pe", entry->ColumnDouble(5));
        reply.Number("pb", entry->ColumnDouble(6));
        reply.Number("mpg", entry->ColumnDouble(7));
        reply.Text("market", entry->ColumnTextView(8));
        reply.Close("pool");
    }
    return reply.Finish();
}

}  // namespace server
