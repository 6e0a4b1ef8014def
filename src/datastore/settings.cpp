#include "datastore/settings.h"

namespace {

// The defaults of an empty APPSET, after the HOST row, in the order written.
constexpr const char* kDefaultInserts[] = {
    "INSERT INTO APPSET VALUES('MIN_TRADE_NUMS', '1','')",
    "INSERT INTO APPSET VALUES('MAX_TRADE_NUMS', '250','')",
    "INSERT INTO APPSET VALUES('EVOLUTE_STEPS', '60','')",
    "INSERT INTO APPSET VALUES('EVOLUTE_DAYS', '480','')",
    "INSERT INTO APPSET VALUES('MAX_TRADE_LOST', '1.0','')",
    "INSERT INTO APPSET VALUES('BUY_CHARGE', '0.002','')",
    "INSERT INTO APPSET VALUES('SELL_CHARGE', '0.003','')",
};

constexpr const char* kSelectSettings = "SELECT ITEM, SETS FROM APPSET";

bool HasRows(const std::optional<TextTable>& table) { return table && table->RowCount() > 0; }

void WriteDefaults(Database& db) {
    db.Exec("INSERT INTO APPSET VALUES('HOST', ?,'')", {kDefaultHost});
    for (const char* statement : kDefaultInserts) db.Exec(statement);
}

}  // namespace

bool LoadSettings(Database& db, SettingsMap& settings, const MessageSink& show) {
    std::optional<TextTable> rows = db.GetTable(kSelectSettings);
    if (!HasRows(rows)) {
        WriteDefaults(db);
        rows = db.GetTable(kSelectSettings);
        if (!HasRows(rows)) {
            if (show) show("无法从数据库中取得程序初始设置！");
            return false;
        }
    }
    settings.clear();
    for (size_t row = 0; row < rows->RowCount(); ++row) settings.emplace(rows->At(row, 0), rows->At(row, 1));
    return true;
}

std::string GetSetting(const SettingsMap& settings, std::string_view name) {
    const auto it = settings.find(name);
    return it == settings.end() ? std::string() : it->second;
}

bool StoreSetting(Database& db, std::string_view name, std::string_view value) {
    if (!db.Exec("BEGIN")) return false;
    const bool stored = db.Exec("DELETE FROM APPSET WHERE ITEM = ?", {name}) &&
                        db.Exec("\tINSERT INTO APPSET(ITEM,SETS) VALUES(?, ?)", {name, value});
    db.Exec(stored ? "COMMIT" : "ROLLBACK");
    return stored;
}
