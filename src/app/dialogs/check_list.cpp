#include "app/dialogs/check_list.h"

#include <QHeaderView>

namespace {

// The widths are those of the original layout; today's CJK fonts need a
// little more room.
constexpr double kWidthScale = 1.4;

}  // namespace

CheckList::CheckList(const std::vector<ListColumn>& columns, QWidget* parent)
    : QTableWidget(0, static_cast<int>(columns.size()), parent) {
    QStringList titles;
    for (const ListColumn& c : columns) {
        titles << c.title;
        aligns_.push_back(c.align);
    }
    setHorizontalHeaderLabels(titles);
    for (int i = 0; i < columnCount(); ++i) {
        setColumnWidth(i, static_cast<int>(columns[static_cast<size_t>(i)].width * kWidthScale));
        horizontalHeaderItem(i)->setTextAlignment(aligns_[static_cast<size_t>(i)]);
    }
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
}

void CheckList::Clear() { setRowCount(0); }

void CheckList::AddRow(const QStringList& cells) {
    const int row = rowCount();
    insertRow(row);
    for (int column = 0; column < columnCount() && column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);  // owned by the table
        item->setTextAlignment(aligns_[static_cast<size_t>(column)] | Qt::AlignVCenter);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (column == 0) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
        setItem(row, column, item);
    }
}

void CheckList::TickAll(bool ticked) {
    for (int row = 0; row < rowCount(); ++row) SetTicked(row, ticked);
}

void CheckList::SetTicked(int row, bool ticked) {
    if (QTableWidgetItem* first = item(row, 0)) first->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

bool CheckList::IsTicked(int row) const {
    const QTableWidgetItem* first = item(row, 0);
    return first != nullptr && first->checkState() == Qt::Checked;
}

std::vector<int> CheckList::TickedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < rowCount(); ++row)
        if (IsTicked(row)) rows.push_back(row);
    return rows;
}

QString CheckList::Cell(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell == nullptr ? QString() : cell->text();
}

int CheckList::ColumnsWidth() const {
    int width = frameWidth() * 2 + 4;
    for (int i = 0; i < columnCount(); ++i) width += columnWidth(i);
    return width;
}
