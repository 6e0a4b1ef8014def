#include "app/watch_list_model.h"

#include "app/gbk_text.h"

namespace {

const QColor kRise(255, 0, 0);
const QColor kFall(0, 255, 0);
const QColor kHold(96, 0, 0);
const QColor kWait(0, 96, 0);
const QColor kPlain(192, 192, 192);

struct ColumnLayout {
    const char* title;
    Qt::Alignment alignment;
    int width;
};

const ColumnLayout kColumns[kWatchColumnCount] = {
    {"序号", Qt::AlignLeft, 50},       {"代码", Qt::AlignHCenter, 100},   {"名称", Qt::AlignHCenter, 100},
    {"涨幅%", Qt::AlignRight, 80},     {"收盘", Qt::AlignRight, 100},     {"操盘信号", Qt::AlignHCenter, 100},
    {"昨收", Qt::AlignRight, 100},     {"开盘", Qt::AlignRight, 100},     {"最高", Qt::AlignRight, 100},
    {"最低", Qt::AlignRight, 100},     {"成交量(万)", Qt::AlignRight, 125}, {"振幅%", Qt::AlignRight, 90},
    {"市场", Qt::AlignRight, 50},
};

// Red above the previous close, green below, the default when equal.
QColor AgainstPreviousClose(const QString& value, const WatchCells& cells) {
    const double v = value.toDouble();
    const double previous = cells[kPreviousCloseColumn].toDouble();
    return v > previous ? kRise : v < previous ? kFall : kDefaultText;
}

}  // namespace

QColor WatchCellColour(const WatchCells& cells, int column) {
    switch (column) {
    case kChangeColumn:
    case kCloseColumn:
        return AgainstPreviousClose(cells[kCloseColumn], cells);
    case kOpenColumn:
    case kHighColumn:
    case kLowColumn:
        return AgainstPreviousClose(cells[static_cast<size_t>(column)], cells);
    case kAdviceColumn: {
        const QString& advice = cells[kAdviceColumn];
        if (advice == QStringLiteral("买入")) return kRise;
        if (advice == QStringLiteral("卖出")) return kFall;
        return advice == QStringLiteral("持有") ? kHold : kWait;
    }
    default:
        return kPlain;
    }
}

int WatchColumnWidth(int column) { return kColumns[column].width; }

void WatchListModel::Fill(Database& db) {
    beginResetModel();
    rows_ = LoadWatchList(db);
    cells_.clear();
    cells_.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        const std::vector<std::string> texts = WatchRowCells(rows_[i], i);
        WatchCells& cells = cells_.emplace_back();
        for (size_t c = 0; c < cells.size() && c < texts.size(); ++c) cells[c] = FromGbk(texts[c]);
    }
    endResetModel();
}

int WatchListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int WatchListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kWatchColumnCount; }

QVariant WatchListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const WatchCells& cells = cells_[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return cells[static_cast<size_t>(index.column())];
    case Qt::ForegroundRole:
        return WatchCellColour(cells, index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(kColumns[index.column()].alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant WatchListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kWatchColumnCount) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(kColumns[section].title);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(kColumns[section].alignment | Qt::AlignVCenter);
    return {};
}
