// The evening digest end to end: korvel-cli sync --digest and digest in a
// client folder, against a test server that gains bars between syncs.
#include <gtest/gtest.h>

#include <algorithm>

#include "strategy/strategy_record.h"
#include "sync_fixture.h"

namespace {

using testing_support::Lines;
using testing_support::ProcessResult;

// The digest table at the end of a command's output: from its header on.
std::vector<std::string> DigestLines(const ProcessResult& r) {
    std::vector<std::string> lines = Lines(r.out);
    const auto header = std::find(lines.begin(), lines.end(), "代码\t名称\t操盘信号\t收盘\t涨幅%");
    if (header == lines.end()) return {lines.empty() ? r.err : lines.back()};
    return {header + 1, lines.end()};
}

using DigestCli = sync_test::CliTest;

TEST_F(DigestCli, ExactlyTheStocksWhoseAdviceChangedAppear) {
    {
        // "a & a & a": hold while the close is above its 5-day average. The
        // test bars rise steadily, so every strategy holds after the first sync.
        Database db = Db();
        const std::vector<unsigned char> genes = GeneBlob(std::vector<int16_t>(69, 1));
        for (const char* stock : {"SS600000", "SS600004", "SZ000001", "SZ000002"})
            ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN, NUMS, LENG, GENE, CRPT) "
                                "VALUES(substr(?1, 1, 2), substr(?1, 3), 1106, 3, 23, ?2, '')",
                                {stock, BlobRef{genes.data(), genes.size()}}));
        ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SZ', '000651', 1106)"));
    }
    const ProcessResult first = Cli({"sync", "--digest"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(DigestLines(first), (std::vector<std::string>{"600000\t浦发银行\t- -> 持有\t14.75\t+0.34",
                                                            "600004\t白云机场\t- -> 持有\t15.75\t+0.32",
                                                            "000001\t平安银行\t- -> 持有\t16.75\t+0.30",
                                                            "000002\t万科Ａ\t- -> 持有\t17.75\t+0.28"}));

    // Day D+1 and D+2: SS 600000 falls below its average (sell), SZ 000001
    // falls and jumps back (buy), SS 600004 keeps rising, SZ 000002 gets
    // nothing new.
    server_.AddBars("SS", "600000", "20111221,13.10,13.20,12.90,13.00,100000\n");
    server_.AddBars("SZ", "000001", "20111221,15.10,15.20,14.90,15.00,100000\n20111222,17.90,18.10,17.80,18.00,100000\n");
    server_.AddBars("SS", "600004", "20111221,15.90,16.10,15.80,16.00,100000\n");
    const std::vector<std::string> changed = {"000001\t平安银行\t持有 -> 买入\t18.00\t+20.00",
                                              "600000\t浦发银行\t持有 -> 卖出\t13.00\t-11.86"};
    const ProcessResult second = Cli({"sync", "--digest"});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(DigestLines(second), changed);

    // No new bars: the lagging stocks are fetched again and recomputed, and
    // nothing changes.
    const ProcessResult third = Cli({"sync", "--digest"});
    ASSERT_EQ(third.exitCode, 0) << third.err;
    EXPECT_NE(third.out.find("正在更新操盘信号"), std::string::npos);
    EXPECT_EQ(Lines(third.out).back(), "no changes");

    const struct {
        std::vector<std::string> words;
        std::vector<std::string> lines;
    } digests[] = {
        {{"digest"}, {"no changes"}},
        {{"digest", "--since", "20111221"}, changed},
        {{"digest", "--since", "20111222"}, {changed[0]}},
        {{"digest", "--all"},
         {"000001\t平安银行\t买入\t18.00\t+20.00", "600000\t浦发银行\t卖出\t13.00\t-11.86",
          "600004\t白云机场\t持有\t16.00\t+1.59", "000002\t万科Ａ\t持有\t17.75\t+0.28", "000651\t格力电器\t-\t18.75\t+0.27"}},
    };
    for (const auto& d : digests) {
        const ProcessResult r = Cli(d.words);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(DigestLines(r), d.lines) << d.words.back();
    }
    EXPECT_EQ(Cli({"digest", "--since", "yesterday"}).exitCode, 2);
}

}  // namespace
