#include "app/code_helper_dlg.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

#include "app/gbk_text.h"

// The shown candidates in three columns: code, name and the hidden market.
class CandidateListModel : public QAbstractTableModel {
public:
    explicit CandidateListModel(const std::vector<CodeCandidate>& candidates, QObject* parent)
        : QAbstractTableModel(parent), candidates_(candidates) {}

    void Show(std::vector<size_t> shown) {
        beginResetModel();
        shown_ = std::move(shown);
        endResetModel();
    }
    const CodeCandidate& At(int row) const { return candidates_[shown_[static_cast<size_t>(row)]]; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(shown_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const CodeCandidate& c = At(index.row());
        return FromGbk(index.column() == 0 ? c.code : index.column() == 1 ? c.name : c.market);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
        const char* titles[] = {"代码", "名称", "市场"};
        return QString::fromUtf8(titles[section]);
    }

private:
    const std::vector<CodeCandidate>& candidates_;
    std::vector<size_t> shown_;
};

CCodeHelperDlg::CCodeHelperDlg(QWidget* anchor, std::vector<CodeCandidate> candidates, Chooser choose)
    : QDialog(anchor, Qt::Tool),
      anchor_(anchor),
      candidates_(std::move(candidates)),
      choose_(std::move(choose)),
      edit_(new QLineEdit),
      list_(new QTableView),
      model_(new CandidateListModel(candidates_, this)) {
    setWindowTitle(QStringLiteral("代码精灵"));
    resize(170, 260);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(edit_);
    layout->addWidget(list_);
    edit_->setMaxLength(255);
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(false);
    list_->setFocusPolicy(Qt::NoFocus);  // typing stays in the edit box
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->setColumnWidth(0, 60);
    list_->setColumnWidth(1, 70);
    list_->setColumnHidden(2, true);  // the market: width 0
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, &CCodeHelperDlg::Filter);
    connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { ChooseRow(index.row()); });
    Filter({});
}

CCodeHelperDlg::~CCodeHelperDlg() = default;

void CCodeHelperDlg::OpenWith(const QString& typed) {
    typed_ = typed.toUpper();
    show();
    raise();
    activateWindow();
}

std::vector<const CodeCandidate*> CCodeHelperDlg::Shown() const {
    std::vector<const CodeCandidate*> shown;
    for (int row = 0; row < model_->rowCount({}); ++row) shown.push_back(&model_->At(row));
    return shown;
}

int CCodeHelperDlg::SelectedRow() const {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CCodeHelperDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QPoint corner = anchor_->mapToGlobal(anchor_->rect().bottomRight());
    move(corner - QPoint(frameGeometry().width() - 1, frameGeometry().height() - 1));
    edit_->setFocus();
    edit_->setText(typed_);
    edit_->end(false);
}

bool CCodeHelperDlg::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) hide();
    return QDialog::event(event);
}

bool CCodeHelperDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_ || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int rows = model_->rowCount({});
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (rows > 0) {
            const int step = key->key() == Qt::Key_Up ? -1 : 1;
            const int from = SelectedRow() >= 0 ? SelectedRow() : step > 0 ? rows - 1 : 0;
            SelectRow((from + step + rows) % rows);
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ChooseRow(SelectedRow());
        return true;
    default:
        break;
    }
    // Lower-case letters reach the edit box as upper case.
    const QString text = key->text();
    if (text.size() == 1 && text[0] >= QLatin1Char('a') && text[0] <= QLatin1Char('z')) {
        edit_->insert(text.toUpper());
        return true;
    }
    return false;
}

void CCodeHelperDlg::Filter(const QString& text) {
    model_->Show(FilterCandidates(candidates_, ToGbk(text)));
    if (model_->rowCount({}) > 0) SelectRow(0);
}

void CCodeHelperDlg::SelectRow(int row) {
    list_->selectRow(row);
    list_->scrollTo(model_->index(row, 0));
}

void CCodeHelperDlg::ChooseRow(int row) {
    if (row < 0 || row >= model_->rowCount({})) return;
    const CodeCandidate chosen = model_->At(row);
    hide();
    if (choose_) choose_(chosen);
}
