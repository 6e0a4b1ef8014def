#include "app/digest_notice.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/gbk_text.h"

namespace {

const QColor kDigestRise(220, 0, 0);
const QColor kDigestFall(0, 150, 0);

// The advice it ends with, and the day's change, in the watch list's
// colours: 买入 and rises red, 卖出 and falls green.
QColor CellColour(const DigestRow& row, int column) {
    if (column == 2) {
        if (row.after == ToGbk(QStringLiteral("买入"))) return kDigestRise;
        if (row.after == ToGbk(QStringLiteral("卖出"))) return kDigestFall;
    } else if (column >= 3 && row.change != 0.0) {
        return row.change > 0.0 ? kDigestRise : kDigestFall;
    }
    return {};
}

QTableWidget* DigestTable(const std::vector<DigestRow>& rows, QWidget* parent) {
    const QStringList titles = {QStringLiteral("代码"), QStringLiteral("名称"), QStringLiteral("操盘信号"),
                                QStringLiteral("收盘"), QStringLiteral("涨幅%")};
    auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(titles.size()), parent);
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setCursor(Qt::PointingHandCursor);
    for (int r = 0; r < table->rowCount(); ++r) {
        const DigestRow& row = rows[static_cast<size_t>(r)];
        const std::vector<std::string> cells = DigestCells(row);
        for (int c = 0; c < table->columnCount() && c < static_cast<int>(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(FromGbk(cells[static_cast<size_t>(c)]));  // owned by the table
            item->setTextAlignment((c >= 3 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
            if (const QColor colour = CellColour(row, c); colour.isValid()) item->setForeground(colour);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    // Wide enough for every column, so the side panel needs no scrolling sideways.
    int width = 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width() + 4;
    for (int c = 0; c < table->columnCount(); ++c) width += table->columnWidth(c);
    table->setMinimumWidth(width);
    return table;
}

}  // namespace

CDigestNotice::CDigestNotice(const std::vector<DigestRow>& rows, Opener open, QWidget* parent)
    : QDockWidget(QStringLiteral("操盘信号变化"), parent) {
    setObjectName(QStringLiteral("digestNotice"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* body = new QWidget(this);
    auto* note = new QLabel(QStringLiteral("数据同步后，这些自选股的操盘信号有了变化。单击一行打开它的K线图。"), body);
    note->setWordWrap(true);
    table_ = DigestTable(rows, body);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(note);
    layout->addWidget(table_, 1);
    setWidget(body);

    std::vector<std::pair<std::string, std::string>> stocks;
    for (const DigestRow& row : rows) stocks.emplace_back(row.market, row.code);
    connect(table_, &QTableWidget::cellClicked, this, [open = std::move(open), stocks](int row, int) {
        const auto& [market, code] = stocks[static_cast<size_t>(row)];
        open(market, code);
    });
}
