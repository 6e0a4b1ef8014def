#include "app/dialogs/trade_table.h"

#include <QHeaderView>

#include "app/gbk_text.h"

namespace {

struct Column {
    const char* title;
    int width;  // twelfths of the width (report page) or layout units (stored log)
    Qt::Alignment align;
};

const std::vector<Column>& Columns(TradeTable::Layout layout) {
    static const std::vector<Column> page = {
        {"时间", 2, Qt::AlignLeft},     {"方向", 1, Qt::AlignLeft},        {"价格(元)", 2, Qt::AlignRight},
        {"收益(%)", 2, Qt::AlignRight}, {"累计收益(%)", 2, Qt::AlignRight}, {"复利收益(%)", 2, Qt::AlignRight},
    };
    static const std::vector<Column> stored = {
        {"时间", 70, Qt::AlignLeft},
        {"方向", 40, Qt::AlignHCenter},
        {"价格(元)", 70, Qt::AlignRight},
        {"收益(%)", 60, Qt::AlignRight},
    };
    return layout == TradeTable::Layout::kReportPage ? page : stored;
}

// Layout units of the stored log's columns, in pixels for today's fonts.
constexpr double kUnitScale = 1.4;

}  // namespace

QString LocaleNumber(const QString& cNumber, const QLocale& locale) {
    if (cNumber.isEmpty()) return cNumber;
    bool ok = false;
    const double value = QLocale::c().toDouble(cNumber, &ok);
    if (!ok) return cNumber;
    const qsizetype point = cNumber.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : static_cast<int>(cNumber.size() - point - 1);
    return locale.toString(value, 'f', decimals);
}

TradeTable::TradeTable(Layout layout, QWidget* parent) : QTableWidget(parent), layout_(layout) {
    const std::vector<Column>& columns = Columns(layout_);
    setColumnCount(static_cast<int>(columns.size()));
    for (int i = 0; i < columnCount(); ++i) {
        auto* header = new QTableWidgetItem(QString::fromUtf8(columns[static_cast<size_t>(i)].title));
        header->setTextAlignment(columns[static_cast<size_t>(i)].align);
        setHorizontalHeaderItem(i, header);  // owned by the table
    }
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    if (layout_ == Layout::kReportPage) setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitColumns();
}

void TradeTable::Show(const std::vector<TradeRow>& rows) {
    const std::vector<Column>& columns = Columns(layout_);
    const QLocale locale;
    const bool localeNumbers = layout_ == Layout::kReportPage;
    setRowCount(0);
    setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        const TradeRow& row = rows[static_cast<size_t>(r)];
        const std::string* cells[] = {&row.time, &row.direction, &row.price, &row.profit, &row.accumulated,
                                      &row.compound};
        for (int c = 0; c < columnCount(); ++c) {
            QString cell = Shown(*cells[c]);
            if (localeNumbers && c >= 2) cell = LocaleNumber(cell, locale);
            auto* item = new QTableWidgetItem(cell);  // owned by the table
            item->setTextAlignment(columns[static_cast<size_t>(c)].align | Qt::AlignVCenter);
            setItem(r, c, item);
        }
    }
}

void TradeTable::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    FitColumns();
}

void TradeTable::FitColumns() {
    const std::vector<Column>& columns = Columns(layout_);
    const int width = viewport()->width();
    for (int i = 0; i < columnCount(); ++i) {
        const int units = columns[static_cast<size_t>(i)].width;
        setColumnWidth(i, layout_ == Layout::kReportPage ? width * units / 12 : static_cast<int>(units * kUnitScale));
    }
}
