// The quick code search: what typing lists, keys inside the window, choosing.
#include <QLineEdit>

#include "app/code_helper_dlg.h"
#include "app_fixture.h"

using namespace app_test;

namespace {

class CodeSearch : public ::testing::Test {
protected:
    CodeSearch()
        : dialog(&anchor, BuildCandidates(kStocks), [this](const CodeCandidate& c) { chosen.push_back(c.code); }) {
        anchor.resize(400, 300);
        anchor.show();
    }
    // The listed codes in order.
    std::vector<std::string> Listed() const {
        std::vector<std::string> codes;
        for (const CodeCandidate* c : dialog.Shown()) codes.push_back(c->code);
        return codes;
    }
    void Type(const QString& text) {
        dialog.Edit()->clear();
        QTest::keyClicks(dialog.Edit(), text);
    }

    inline static const std::vector<StockInfo> kStocks = {
        {"SS", "600000", "", "PFYH", 1}, {"SZ", "000651", "", "GLDQ", 1}, {"SS", "510050", "", "50ETF", 1},
        {"SZ", "000002", "", "WKA", 1},  {"SS", "600016", "", "MSYH", 1}, {"SZ", "300059", "", "DFCF", 1},
        {"SS", "601166", "", "XYYH", 1}, {"SZ", "000001", "", "PAYH", 1}, {"SS", "600563", "", "FMA", 1}};
    QWidget anchor;
    std::vector<std::string> chosen;
    CCodeHelperDlg dialog;
};

}  // namespace

TEST_F(CodeSearch, TypedTextListsCodesAndShortFormsInOrder) {
    dialog.OpenWith(QStringLiteral("6"));
    EXPECT_EQ(Listed(), (std::vector<std::string>{"600000", "000651", "600016", "601166", "600563"}));
    const struct {
        const char* typed;
        const char* shown;  // the edit box after typing
        std::vector<std::string> listed;
    } cases[] = {
        {"kdj", "KDJ", {"KDJ"}},
        {"ma", "MA", {"MACD", "MA", "600563"}},
        {"50", "50", {"510050", "510050"}},  // code and short form both match
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Type(QLatin1String(c.typed));
        EXPECT_EQ(dialog.Edit()->text(), QLatin1String(c.shown));
        EXPECT_EQ(Listed(), c.listed);
    }
    Type("");
    EXPECT_EQ(Listed().size(), 7 + kStocks.size()) << "cleared: the seven indicators and every stock";
}

TEST_F(CodeSearch, ArrowsWrapEnterChoosesAndLosingActivationHides) {
    dialog.OpenWith(QStringLiteral("ma"));
    ASSERT_EQ(Listed().size(), 3u);
    QTest::keyClick(dialog.Edit(), Qt::Key_Up);
    EXPECT_EQ(dialog.SelectedRow(), 2);
    QTest::keyClick(dialog.Edit(), Qt::Key_Down);
    EXPECT_EQ(dialog.SelectedRow(), 0);
    QTest::keyClick(dialog.Edit(), Qt::Key_Down);
    QTest::keyClick(dialog.Edit(), Qt::Key_Return);
    EXPECT_EQ(chosen, std::vector<std::string>{"MA"});
    EXPECT_FALSE(dialog.isVisible());

    dialog.OpenWith(QStringLiteral("6"));
    ASSERT_TRUE(dialog.isVisible());
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&dialog, &deactivate);
    EXPECT_FALSE(dialog.isVisible());
}
