// The evening digest in the main window: the changed stocks in the digest's
// order, a click opening that stock's chart; no notice without a change.
#include <QTableWidget>

#include "app/digest_notice.h"
#include "app/korvel_view.h"
#include "app/main_frame.h"
#include "app_fixture.h"
#include "../support/test_store.h"
#include "text/gbk.h"

using namespace app_test;

TEST(DigestNotice, ListsTheChangesInOrderAndOpensTheChartOfARowClicked) {
    AppStore store;
    for (const char* code : {"600000", "000002"}) {
        const std::string market = code[0] == '6' ? "SS" : "SZ";
        testing_support::InsertStock(store.db(), market, code, "X", "X", 1);
        for (int day = 1; day <= 3; ++day)
            testing_support::InsertBar(store.db(), market, code, 20240100 + day, 9, 11, 8, 10, 100);
    }
    const auto gbk = [](const char* utf8) { return text::Utf8ToGbk(utf8); };
    const std::vector<DigestRow> rows = {
        {"SZ", "000002", gbk("万科Ａ"), 1, true, gbk("观望"), gbk("买入"), 20240103, 8.5, 0.0625},
        {"SS", "600000", gbk("浦发银行"), 1, true, gbk("持有"), gbk("卖出"), 20240103, 10.0, -0.05},
    };
    CMainFrame frame(store.session);
    frame.resize(1000, 600);
    frame.show();
    CKorvelView& view = *frame.View();
    frame.ShowDigest({});
    EXPECT_EQ(frame.Digest(), nullptr);

    frame.ShowDigest(rows);
    ASSERT_NE(frame.Digest(), nullptr);
    QTableWidget& table = *frame.Digest()->Table();
    ASSERT_EQ(table.rowCount(), 2);
    const auto row = [&table](int r) {
        QStringList cells;
        for (int c = 0; c < table.columnCount(); ++c) cells << table.item(r, c)->text();
        return cells;
    };
    EXPECT_EQ(row(0), QStringList({"000002", "万科Ａ", "观望 -> 买入", "8.50", "+6.25"}));
    EXPECT_EQ(row(1), QStringList({"600000", "浦发银行", "持有 -> 卖出", "10.00", "-5.00"}));

    ASSERT_TRUE(WaitUntil([&] { return !view.IsBusy(); }));
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, table.visualItemRect(table.item(1, 1)).center());
    EXPECT_EQ(frame.View()->GetMode(), CKorvelView::kChartMode);
    EXPECT_EQ(store.dc.Code(), "600000");
    EXPECT_EQ(store.dc.Market(), "SS");
    ASSERT_TRUE(WaitUntil([&] { return !view.IsBusy(); }));
}
