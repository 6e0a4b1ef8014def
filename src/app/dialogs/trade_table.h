#pragma once
// The trade tables: the report page's (time, direction, price, return,
// accumulated and compound return; columns in twelfths of the width,
// numbers in the user's locale format) and the stored log's of the report
// dialog (time, direction, price, return; fixed widths, numbers as stored).
#include <vector>

#include <QLocale>
#include <QTableWidget>

#include "strategy/strategy_report.h"

class TradeTable : public QTableWidget {
    Q_OBJECT
public:
    enum class Layout { kReportPage, kStoredLog };
    explicit TradeTable(Layout layout, QWidget* parent = nullptr);

    // One row per trade, in order; the report page's number cells in the
    // default locale's format.
    void Show(const std::vector<TradeRow>& rows);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitColumns();

    Layout layout_;
};

// A number written by the C library ("1234.50") in `locale`'s digit grouping
// and decimal sign, with the same number of decimals; empty stays empty.
QString LocaleNumber(const QString& cNumber, const QLocale& locale);
