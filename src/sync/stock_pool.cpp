#include "sync/stock_pool.h"

#include "datastore/program_version.h"
#include "datastore/write_failure.h"
#include "sync/xml_reply.h"
#include "text/format.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace {

struct ModelCaption {
    const char* model;
    const char* caption;  // UTF-8
};

const ModelCaption kModelCaptions[] = {
    {"vpool", "价值模型股票池"},
    {"vpick", "价值模型精选股票池"},
    {"gpool", "成长模型股票池"},
    {"gpick", "成长模型精选股票池"},
};

PoolEntry ReadEntry(const XmlElement& pool) {
    PoolEntry entry;
    entry.rank = pool.Child("rank").Int();
    entry.date = pool.Child("date").Int();
    entry.code = pool.Child("code").Text();
    entry.abbr = pool.Child("abbr").Text();
    entry.capital = pool.Child("capital").Int();
    entry.pe = static_cast<float>(text::ParseReal(pool.Child("pe").Text()));
    entry.pb = static_cast<float>(text::ParseReal(pool.Child("pb").Text()));
    entry.mpg = static_cast<float>(text::ParseReal(pool.Child("mpg").Text()));
    entry.market = pool.Child("market").Text();
    return entry;
}

// The first element of that name anywhere in the reply; empty when absent.
std::string FirstText(const XmlReply& reply, const char* xpath) {
    const std::vector<XmlElement> found = reply.SelectAll(xpath);
    return found.empty() ? std::string() : found.front().Text();
}

}  // namespace

std::string PoolCaption(std::string_view model) {
    for (const ModelCaption& entry : kModelCaptions)
        if (model == entry.model) return text::Utf8ToGbk(entry.caption);
    return text::Utf8ToGbk("Korvel量化选股模型股票池");
}

std::optional<StockPool> FetchPool(const ServerAccess& server, std::string_view model) {
    const std::string reply = Fetch(server, PoolUrl(server, model));
    if (reply.empty()) return std::nullopt;
    const std::optional<XmlReply> xml = XmlReply::Load(reply);
    if (!xml) return std::nullopt;
    StockPool pool{FirstText(*xml, "//caption"), FirstText(*xml, "//info"), {}};
    for (const XmlElement& element : xml->SelectAll("//pool")) pool.entries.push_back(ReadEntry(element));
    return pool;
}

std::vector<std::string> PoolRowCells(const PoolEntry& e) {
    return {e.code,
            e.abbr,
            text::Format("%d", e.date),
            text::Format("%d", e.rank),
            text::Format("%d", e.capital),
            text::Format("%.1f", e.pe),
            text::Format("%.1f", e.pb),
            text::Format("%.2f", e.mpg),
            e.market};
}

std::vector<std::string> PoolColumnTitles() {
    std::vector<std::string> titles;
    for (const char* title : {"股票代码", "股票名称", "入池日期", "名次", "总股本(万)", "市盈率", "市净率", "净利增长率", "市场"})
        titles.push_back(text::Utf8ToGbk(title));
    return titles;
}

PoolAddResult AddPoolStocks(Database& db, const std::vector<PoolEntry>& entries) {
    PoolAddResult result;
    std::optional<Transaction> transaction = Transaction::Begin(db);
    if (!transaction) {
        result.failure = FailedWrite(db);
        return result;
    }
    for (const PoolEntry& entry : entries) {
        if (!entry.selected) continue;
        ++result.selected;
        if (db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES(?, ?, ?)",
                    {entry.market, entry.code, version::kNumber})) {
            ++result.inserted;
            continue;
        }
        // A stock already on the watch list fails on the key and is not
        // counted; a failure of the database adds nothing at all.
        result.failure = DatabaseWriteFailure(db);
        if (result.failure) break;
    }
    if (!result.failure && !transaction->Commit()) result.failure = FailedWrite(db);
    if (result.failure) result.inserted = 0;
    return result;
}

std::string PoolFetchingText() { return text::Utf8ToGbk("正在从服务器获取量化选股模型票池数据..."); }
std::string PoolFetchedText() { return text::Utf8ToGbk("成功地从服务器获取到量化选股模型票池数据"); }
std::string PoolEmptyText() { return text::Utf8ToGbk("未能从服务器获取到量化选股模型票池数据"); }
std::string PoolNothingTickedText() { return text::Utf8ToGbk("请先选择需要添加为自选股的股票"); }
std::string PoolAddingText() { return text::Utf8ToGbk("正在添加所选择的股票为自选股..."); }
std::string PoolAddedText(int inserted) { return text::Utf8ToGbk(text::Format("共导入%d支股票到自选股", inserted)); }
