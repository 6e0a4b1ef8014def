#pragma once
// The watch list as a table model: one row per stored strategy of this
// program version, with the stock's newest prices and current advice in the
// view's thirteen columns, each cell's text colour chosen from the texts of
// its own row (on the list's black background).
#include <QAbstractTableModel>
#include <QColor>

#include <array>
#include <vector>

#include "strategy/watch_list.h"

enum WatchColumn {
    kNumberColumn,
    kCodeColumn,
    kNameColumn,
    kChangeColumn,
    kCloseColumn,
    kAdviceColumn,
    kPreviousCloseColumn,
    kOpenColumn,
    kHighColumn,
    kLowColumn,
    kVolumeColumn,
    kAmplitudeColumn,
    kMarketColumn,
    kWatchColumnCount
};

using WatchCells = std::array<QString, kWatchColumnCount>;

// The colours of the list: black background, default text, the rest by rule.
inline const QColor kListBackground(0, 0, 0);
inline const QColor kDefaultText(240, 228, 228);

// The text colour of `column` from the texts of its row: rising prices red,
// falling green, unchanged the default; the advice by its word; the other
// columns light grey.
QColor WatchCellColour(const WatchCells& cells, int column);

// The column's width in pixels.
int WatchColumnWidth(int column);

class WatchListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Reads the rows again (a failing query leaves the list empty).
    void Fill(Database& db);

    const WatchRow& Row(int row) const { return rows_[static_cast<size_t>(row)]; }
    const WatchCells& Cells(int row) const { return cells_[static_cast<size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<WatchRow> rows_;
    std::vector<WatchCells> cells_;
};
