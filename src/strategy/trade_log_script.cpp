#include "strategy/trade_log_script.h"

#include "text/format.h"
#include "text/parse.h"

namespace {

constexpr std::string_view kInsert = "INSERT INTO TRADELOG(MARKET, CODE, VRSN, DDATE, BS, PRICE, PROFIT) VALUES(";

// A text as an SQL string literal: quoted, an inner quote doubled.
std::string Quoted(const std::string& value) {
    std::string out = "'";
    for (const char c : value) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

// Reads a script from left to right; every Take* consumes on success only.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool AtEnd() const { return at_ == text_.size(); }
    void SkipBlanks() {
        while (at_ < text_.size() && std::string_view(" \t\n\f\r").find(text_[at_]) != std::string_view::npos) ++at_;
    }
    bool Take(std::string_view expected) {
        if (text_.substr(at_, expected.size()) != expected) return false;
        at_ += expected.size();
        return true;
    }
    // A quoted string equal to `expected` ('' inside for a quote).
    bool TakeQuoted(const std::string& expected) { return Take(Quoted(expected)); }
    // An integer written with %d, equal to `expected`.
    bool TakeInt(int32_t expected) { return Take(std::to_string(expected)); }
    // A plain decimal literal ending before `end`.
    std::optional<std::string> TakeNumber(char end) {
        const size_t stop = text_.find(end, at_);
        if (stop == std::string_view::npos) return std::nullopt;
        const std::string_view number = text_.substr(at_, stop - at_);
        if (!text::IsDecimalLiteral(number)) return std::nullopt;
        at_ = stop;
        return std::string(number);
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

bool TakeDelete(Cursor& in, const std::string& market, const std::string& code, int32_t version) {
    return in.Take("DELETE FROM TRADELOG WHERE MARKET = ") && in.TakeQuoted(market) && in.Take(" AND CODE = ") &&
           in.TakeQuoted(code) && in.Take(" AND VRSN = ") && in.TakeInt(version) && in.Take(";");
}

std::optional<ScriptTrade> TakeInsert(Cursor& in, const std::string& market, const std::string& code,
                                      int32_t version) {
    if (!(in.Take(kInsert) && in.TakeQuoted(market) && in.Take(", ") && in.TakeQuoted(code) && in.Take(", ") &&
          in.TakeInt(version) && in.Take(", ")))
        return std::nullopt;
    ScriptTrade trade;
    std::string* values[] = {&trade.date, &trade.bs, &trade.price, &trade.profit};
    for (int i = 0; i < 4; ++i) {
        std::optional<std::string> number = in.TakeNumber(i < 3 ? ',' : ')');
        if (!number || !in.Take(i < 3 ? ", " : ");")) return std::nullopt;
        *values[i] = std::move(*number);
    }
    return trade;
}

// A savepoint, rolled back and released when it goes away unreleased. Unlike
// BEGIN it also nests inside a transaction that is already open (the import
// runs every entry inside one).
class Savepoint {
public:
    explicit Savepoint(Database& db) : db_(db), open_(db.Exec("SAVEPOINT trade_log_script")) {}
    ~Savepoint() {
        if (open_) db_.Exec("ROLLBACK TO trade_log_script; RELEASE trade_log_script");
    }
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    bool IsOpen() const { return open_; }
    bool Release() {
        open_ = !db_.Exec("RELEASE trade_log_script");
        return !open_;
    }

private:
    Database& db_;
    bool open_;
};

}  // namespace

std::string BuildTradeLogScript(Database& db, const std::string& market, const std::string& code, int32_t version) {
    const std::optional<TextTable> rows = db.GetTable(
        text::Format("SELECT DDATE, BS, PRICE, PROFIT FROM TRADELOG WHERE MARKET = ? AND CODE = ? AND VRSN = %d;",
                     version),
        {market, code});
    if (!rows || rows->RowCount() == 0) return {};
    const std::string stock = Quoted(market) + ", " + Quoted(code) + text::Format(", %d, ", version);
    std::string script = "DELETE FROM TRADELOG WHERE MARKET = " + Quoted(market) + " AND CODE = " + Quoted(code) +
                         text::Format(" AND VRSN = %d;", version);
    for (size_t r = 0; r < rows->RowCount(); ++r)
        script += "\r\n" + std::string(kInsert) + stock + rows->At(r, 0) + ", " + rows->At(r, 1) + ", " +
                  rows->At(r, 2) + ", " + rows->At(r, 3) + ");";
    return script;
}

std::optional<ParsedTradeLogScript> ParseTradeLogScript(std::string_view script, const std::string& market,
                                                       const std::string& code, int32_t version) {
    ParsedTradeLogScript parsed;
    Cursor in(script);
    in.SkipBlanks();
    if (in.AtEnd()) return parsed;
    if (!TakeDelete(in, market, code, version)) return std::nullopt;
    parsed.deletes = true;
    for (in.SkipBlanks(); !in.AtEnd(); in.SkipBlanks()) {
        std::optional<ScriptTrade> trade = TakeInsert(in, market, code, version);
        if (!trade) return std::nullopt;
        parsed.trades.push_back(std::move(*trade));
    }
    return parsed;
}

bool ApplyTradeLogScript(Database& db, const ParsedTradeLogScript& script, const std::string& market,
                         const std::string& code, int32_t version) {
    if (!script.deletes) return true;
    Savepoint savepoint(db);
    if (!savepoint.IsOpen()) return false;
    if (!db.Exec(text::Format("DELETE FROM TRADELOG WHERE MARKET = ? AND CODE = ? AND VRSN = %d", version),
                 {market, code}))
        return false;
    std::optional<Statement> insert = db.Prepare(
        "INSERT INTO TRADELOG(MARKET, CODE, VRSN, DDATE, BS, PRICE, PROFIT) VALUES(?, ?, ?, ?, ?, ?, ?)");
    if (!insert) return false;
    // The values are bound as text: the columns' numeric affinity stores
    // each exactly as the literal in the script would have been stored.
    for (const ScriptTrade& t : script.trades) {
        insert->Reset();
        if (!insert->BindAll({market, code, version, t.date, t.bs, t.price, t.profit}) || insert->Step() ||
            insert->Failed())
            return false;
    }
    return savepoint.Release();
}
