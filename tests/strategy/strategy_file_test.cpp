// Strategy files (.opx): export then import between two databases through
// korvel-cli, and the import of damaged entries, gene letters and scripts.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/file_content.h"
#include "../support/run_process.h"
#include "strategy/export_list.h"
#include "strategy/strategy_file_reader.h"
#include "strategy/strategy_file_writer.h"
#include "strategy/strategy_import.h"
#include "strategy/strategy_record.h"
#include "strategy/trade_log_script.h"
#include "strategy_fixture.h"
#include "text/format.h"

namespace {

using strategy_test::Gbk;
using strategy_test::Rows;
using strategy_test::Store;
using testing_support::Lines;
using testing_support::RunCli;

constexpr const char* kSecret =
    "SELECT quote(MARKET), quote(CODE), quote(VRSN), quote(NUMS), quote(LENG), quote(GENE), quote(CRPT), "
    "quote(DBGN), quote(DEND) FROM SECRET WHERE CODE <> '000002' ORDER BY MARKET, CODE, VRSN";
constexpr const char* kTradeLog =
    "SELECT quote(MARKET), quote(CODE), quote(VRSN), quote(DDATE), quote(BS), quote(PRICE), quote(PROFIT) "
    "FROM TRADELOG WHERE CODE <> '000002' ORDER BY MARKET, CODE, VRSN, DDATE";

TEST(StrategyFileCli, ExportThenImportGivesTheSameRows) {
    Store source;
    testing_support::ImportStocks(source.db());
    std::vector<std::pair<std::string, std::string>> stocks;
    for (const auto& file : std::filesystem::directory_iterator(testing_support::DataFile("daily"))) {
        const std::string stem = file.path().stem().string();  // MARKET_CODE
        stocks.emplace_back(stem.substr(0, 2), stem.substr(3));
        testing_support::ImportDaily(source.db(), stocks.back().first, stocks.back().second);
        testing_support::ImportDividends(source.db(), stocks.back().first, stocks.back().second);
    }
    for (const auto& [market, code] : stocks) {
        const auto bred = RunCli(source.dir().path(),
                                 {"breed", market, code, "--days", "120", "--depth", "2", "--seed", "7", "--save"});
        ASSERT_EQ(bred.exitCode, 0) << market << code << bred.err;
    }
    // A name markup would break, and a report cut before its code string.
    source.db().Exec("UPDATE STOCKCODE SET ABBR = ? WHERE CODE = '600000'", {Gbk("浦发&<银行")});
    const std::string report = *LoadStoredReport(source.db(), "SZ", "000002");
    source.db().Exec("UPDATE SECRET SET CRPT = ? WHERE CODE = '000002' AND MARKET = 'SZ'",
                     {report.substr(0, report.find(Gbk("\r\n操盘密码")))});

    const std::filesystem::path file = source.dir() / "all.opx";
    const auto exported = RunCli(source.dir().path(), {"export", file.string()});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(Lines(exported.out).size(), stocks.size() - 1 + 2) << exported.out;  // SZ 000002 is not offered
    EXPECT_NE(exported.out.find("正在导出操盘策略：600000 浦发&<银行\n"), std::string::npos);
    const std::string written = testing_support::ReadFile(file);
    EXPECT_EQ(written.rfind("<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<root>\r\n  <record>\r\n", 0), 0u);
    EXPECT_NE(written.find("<name>" + Gbk("浦发&amp;&lt;银行") + "</name>\r\n"), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 20), "  </record>\r\n</root>");

    Store target;
    const auto one = RunCli(target.dir().path(), {"import", file.string(), "SS:600000"});  // a named stock alone
    ASSERT_EQ(one.exitCode, 0) << one.out << one.err;
    EXPECT_EQ(Rows(target.db(), "SELECT CODE FROM SECRET"), "600000|\n");
    const auto imported = RunCli(target.dir().path(), {"import", file.string()});
    ASSERT_EQ(imported.exitCode, 0) << imported.out << imported.err;
    EXPECT_NE(imported.out.find("成功导入操盘策略：600000 浦发&<银行\n"), std::string::npos);
    EXPECT_EQ(Lines(imported.out).back(), "成功从文件中导入操盘策略。");
    EXPECT_EQ(testing_support::Count(target.db(), "SELECT COUNT(*) FROM SECRET"),
              static_cast<int64_t>(stocks.size() - 1));
    EXPECT_EQ(Rows(target.db(), kSecret), Rows(source.db(), kSecret));
    EXPECT_EQ(Rows(target.db(), kTradeLog), Rows(source.db(), kTradeLog));
    EXPECT_GT(testing_support::Count(target.db(), "SELECT COUNT(*) FROM TRADELOG"), 20);
}

TEST(StrategyFileCli, NothingToExportAndFilesThatAreNotXml) {
    Store store;
    const auto nothing = RunCli(store.dir().path(), {"export", (store.dir() / "none.opx").string()});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.out, "请先选择需要导出操盘策略的股票。\n");
    EXPECT_FALSE(std::filesystem::exists(store.dir() / "none.opx"));

    testing_support::WriteFile(store.dir() / "text.opx", "not a strategy file");
    const auto notXml = RunCli(store.dir().path(), {"import", (store.dir() / "text.opx").string()});
    EXPECT_EQ(notXml.exitCode, 1);
    EXPECT_EQ(notXml.out, "不是操盘策略导出文件，打开文件失败。\n");
}

std::string Script(const std::string& code, const std::string& extra = "") {
    return "DELETE FROM TRADELOG WHERE MARKET = 'SS' AND CODE = '" + code + "' AND VRSN = 1106;\r\nINSERT INTO "
           "TRADELOG(MARKET, CODE, VRSN, DDATE, BS, PRICE, PROFIT) VALUES('SS', '" + code +
           "', 1106, 20200102, 0, 10.25, 0.0);" + extra;
}

TEST(StrategyImport, KeepsEveryGoodEntryAndReportsEachBadOne) {
    const std::string op69 = "BCaAbcdefghijklmnopqrstu" + std::string(45, 'a');
    struct Case {
        const char* code;
        int version;
        std::string op;
        std::string script;
        const char* outcome;  // the entry's last log line, before code and name
        int rows;             // SECRET rows of the stock afterwards
        bool genes;
        const char* oldTrade;  // the stock's TRADELOG row dated 20000101 afterwards
    };
    const Case cases[] = {
        {"600001", 1106, op69, Script("600001"), "成功导入操盘策略：", 1, true, ""},
        {"600002", 1106, op69.substr(1), Script("600002"), "导入操盘策略失败：", 1, false, ""},
        {"600003", 1107, op69, "", "导入操盘策略失败：", 1, false, "20000101|"},
        // A script the checks refuse (which ones: the next test but one).
        {"600004", 1106, op69, Script("600004", "\r\nDELETE FROM SECRET;"), "导入交易记录出错：", 0, false, "20000101|"},
        {"600005", 1105, op69, "", "成功导入操盘策略：", 1, true, "20000101|"},
    };
    Store store;
    std::string file = StrategyFileHead();
    for (const Case& c : cases) {
        store.db().Exec("INSERT INTO TRADELOG VALUES('SS', ?, ?, 20000101, 0, 1, 0)", {c.code, c.version});
        StrategyEntry e{c.version, "SS", c.code, Gbk("名&称"), 3, 23, c.op, 20190101, 20200102, Gbk("报告"), "", "", true};
        file += StrategyRecordXml(e, c.script);
    }
    testing_support::WriteFile(store.dir() / "mixed.opx", file + StrategyFileTail());
    const std::optional<std::vector<StrategyEntry>> entries = ReadStrategyFile(store.dir() / "mixed.opx", {});
    ASSERT_TRUE(entries);
    std::vector<StrategyEntry> selected = *entries;
    for (StrategyEntry& e : selected) e.selected = true;

    std::vector<std::string> lines;
    const ImportResult result = ImportStrategies(store.db(), selected, [&](const std::string& line, bool final) {
        lines.push_back(text::GbkToUtf8(line) + (final ? " (final)" : ""));
    });
    EXPECT_EQ(result.failed, 3);
    ASSERT_EQ(lines.size(), 2 + 2 * std::size(cases));
    EXPECT_EQ(lines.front(), "开始从文件中导入操盘策略...");
    EXPECT_EQ(lines.back(), "从文件中导入操盘策略结束。 (final)");
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const std::string where = text::Format("SS' AND CODE = '%s' AND VRSN = %d", c.code, c.version);
        EXPECT_EQ(lines[1 + 2 * i], std::string("正在导入操盘策略：") + c.code + " 名&称...");
        EXPECT_EQ(lines[2 + 2 * i], std::string(c.outcome) + c.code + " 名&称");
        EXPECT_EQ(testing_support::Count(store.db(), "SELECT COUNT(*) FROM SECRET WHERE MARKET = '" + where), c.rows)
            << c.code;
        EXPECT_EQ(testing_support::Count(store.db(), "SELECT COUNT(GENE) FROM SECRET WHERE MARKET = '" + where),
                  c.genes ? 1 : 0) << c.code;
        EXPECT_EQ(Rows(store.db(), "SELECT DDATE FROM TRADELOG WHERE DDATE = 20000101 AND MARKET = '" + where),
                  c.oldTrade[0] ? std::string(c.oldTrade) + "\n" : "") << c.code;
    }
    // "B", "C", "a", "A" are the symbols -1, -2, 1, 0; the report is decoded.
    EXPECT_EQ(Rows(store.db(), "SELECT substr(hex(GENE), 1, 16), length(GENE), hex(CRPT) FROM SECRET WHERE CODE = "
                               "'600001'"),
              "FFFFFEFF01000000|138|" + text::Format("%02X%02X%02X%02X|\n", 0xB1, 0xA8, 0xB8, 0xE6));
}

TEST(StrategyFile, GeneLettersAreFoundBetweenTheMarksOnly) {
    const std::string genes[] = {std::string(23, 'a'), "BCDabcdefghijklmnopqrst", std::string(23, 'u')};
    const std::string code = Gbk("\r\n操盘密码\r\n◎") + genes[0] + Gbk("◎\r\n◎") + genes[1] + Gbk("◎\r\n◎") +
                             genes[2] + Gbk("◎");
    const std::string report = Gbk("报告\r\n\r\n\r\n引擎版本\r\n◎Tavrin≡1≡1≡0≡6◎\r\n\r\n生成对象\r\nSS600000\r\n") + code;
    // "啊" ends in 0xA1 and a character starting with 0xF2 follows: bytes
    // that read as a mark, 23 bytes before the first real one.
    const std::string falseMark = "\xB0\xA1\xF2\xA1" + std::string(22, 'x');
    const std::string letters = genes[0] + genes[1] + genes[2];
    const struct {
        std::string report;
        int length;
        std::optional<std::string> letters;
    } cases[] = {
        {report, 23, letters},
        {falseMark + code, 23, letters},
        {report.substr(0, report.size() - 25), 23, std::nullopt},  // the third gene cut short
        {report.substr(0, report.find(code)), 23, std::nullopt},
        {report, 22, std::nullopt},
        {report, 0, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(FindOpLetters(c.report, c.length), c.letters) << text::GbkToUtf8(c.report);
}

TEST(StrategyFile, OnlyTheExportedStatementsForTheEntrysStockAreAccepted) {
    const std::string del = "DELETE FROM TRADELOG WHERE MARKET = 'S''S' AND CODE = '6' AND VRSN = 1106;";
    const std::string ins = "INSERT INTO TRADELOG(MARKET, CODE, VRSN, DDATE, BS, PRICE, PROFIT) VALUES('S''S', '6', 1106, ";
    const struct {
        std::string script;
        int trades;  // -1: refused
    } cases[] = {
        {"", 0},
        {" \r\n", 0},
        {del, 0},
        {del + "\r\n" + ins + "20200102, 0, 10.25, 0.0);\n\n" + ins + "20200103, 1, 1.0e+15, -3.5);\r\n", 2},
        {ins + "20200102, 0, 10.25, 0.0);", -1},  // no DELETE first
        {del + del, -1},
        {del + "DELETE FROM SECRET;", -1},
        {del + ins + "20200102, 0, 10.25, 1+1);", -1},
        {del + ins + "20200102, 0, 10.25, 0x10);", -1},
        {del + ins + "20200102, 0, 10.25);", -1},
        {del + "\r\n" + ins.substr(0, ins.size() - 6) + "1105, 20200102, 0, 10.25, 0.0);", -1},
        {del + "\r\n" + ins.substr(0, ins.size() - 11) + "'7', 1106, 20200102, 0, 10.25, 0.0);", -1},
        {(del + "\r\n" + ins).substr(0, 100), -1},  // cut short
        {"DELETE FROM TRADELOG WHERE MARKET = 'S''S' AND CODE = '7' AND VRSN = 1106;", -1},
        {"DELETE FROM TRADELOG WHERE MARKET = 'S'S' AND CODE = '6' AND VRSN = 1106;", -1},
    };
    for (const auto& c : cases) {
        const std::optional<ParsedTradeLogScript> parsed = ParseTradeLogScript(c.script, "S'S", "6", 1106);
        EXPECT_EQ(parsed ? static_cast<int>(parsed->trades.size()) : -1, c.trades) << c.script;
        if (parsed) {
            EXPECT_EQ(parsed->deletes, c.script.find("DELETE") != std::string::npos) << c.script;
        }
    }
}

}  // namespace
