#include "app/dialogs/pool_pick_dlg.h"

#include <memory>
#include <optional>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/check_list.h"
#include "app/gbk_text.h"

namespace {

std::vector<ListColumn> PoolColumns() {
    const std::vector<std::string> titles = PoolColumnTitles();
    const int widths[] = {65, 60, 60, 40, 70, 50, 50, 75, 40};
    const Qt::Alignment aligns[] = {Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignRight,
                                    Qt::AlignHCenter, Qt::AlignRight,   Qt::AlignRight,
                                    Qt::AlignRight,   Qt::AlignRight,   Qt::AlignHCenter};
    std::vector<ListColumn> columns;
    for (size_t i = 0; i < titles.size() && i < std::size(widths); ++i)
        columns.push_back({Shown(titles[i]), widths[i], aligns[i]});
    return columns;
}

QStringList Cells(const std::vector<std::string>& gbk) {
    QStringList cells;
    for (const std::string& cell : gbk) cells << Shown(cell);
    return cells;
}

}  // namespace

CPoolPickDlg::CPoolPickDlg(Database& db, ServerAccess server, std::string model, QWidget* parent)
    : QDialog(parent), db_(db), list_(new CheckList(PoolColumns(), this)), status_(new QLabel(this)),
      addButton_(new QPushButton(QStringLiteral("设为自选股"), this)) {
    setWindowTitle(Shown(PoolCaption(model)));
    auto* tickAll = new QPushButton(QStringLiteral("全选"), this);
    auto* tickNone = new QPushButton(QStringLiteral("全不选"), this);
    connect(tickAll, &QPushButton::clicked, this, [this] { list_->TickAll(true); });
    connect(tickNone, &QPushButton::clicked, this, [this] { list_->TickAll(false); });
    connect(addButton_, &QPushButton::clicked, this, &CPoolPickDlg::AddTicked);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(tickAll);
    buttons->addWidget(tickNone);
    buttons->addStretch();
    buttons->addWidget(addButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    layout->addWidget(status_);
    resize(list_->ColumnsWidth() + 24, 420);

    status_->setText(Shown(PoolFetchingText()));
    auto pool = std::make_shared<std::optional<StockPool>>();
    jobs_.Start(
        [pool, server = std::move(server), model = std::move(model)] {
            *pool = FetchPool(server, model);
            return *pool ? SyncReport::kSucceeded : SyncReport::kFailed;
        },
        [this, pool](int) { OnFetched(pool->has_value(), pool->value_or(StockPool{})); });
}

void CPoolPickDlg::OnFetched(bool fetched, StockPool pool) {
    pool_ = std::move(pool);
    if (!pool_.caption.empty()) setWindowTitle(Shown(pool_.caption));
    if (!fetched || pool_.entries.empty()) {
        status_->setText(Shown(PoolEmptyText()));
        return;
    }
    status_->setText(Shown(PoolFetchedText()));
    list_->Clear();
    for (const PoolEntry& entry : pool_.entries) list_->AddRow(Cells(PoolRowCells(entry)));
}

void CPoolPickDlg::AddTicked() {
    const std::vector<int> ticked = list_->TickedRows();
    for (PoolEntry& entry : pool_.entries) entry.selected = false;
    for (int row : ticked) pool_.entries[static_cast<size_t>(row)].selected = true;
    if (ticked.empty()) {
        status_->setText(Shown(PoolNothingTickedText()));
        return;
    }
    status_->setText(Shown(PoolAddingText()));
    addButton_->setEnabled(false);
    auto added = std::make_shared<PoolAddResult>();
    jobs_.Start(
        [this, added, entries = pool_.entries] {
            *added = AddPoolStocks(db_, entries);
            return SyncReport::kSucceeded;
        },
        [this, added](int) { OnAdded(*added); });
}

void CPoolPickDlg::OnAdded(PoolAddResult result) {
    status_->setText(Shown(PoolAddedText(result.inserted)));
    addButton_->setEnabled(true);
    if (result.inserted != 0) added_ = true;
}
