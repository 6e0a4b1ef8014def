#include "app/dialogs/strategy_file_layout.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/check_list.h"
#include "app/dialogs/log_box.h"
#include "app/gbk_text.h"

namespace {

const QString kExtension = QStringLiteral(".opx");

QString AskForPath(QWidget* parent, bool save) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("操盘策略导出文件(*.opx)"), QStringLiteral("所有文件(*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("opx"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace

void StrategyFileWidgets::EnableButtons(bool enabled) const {
    for (QPushButton* button : {tickAll, tickNone, start}) button->setEnabled(enabled);
}

void StrategyFileWidgets::ShowEntries(const std::vector<StrategyEntry>& entries) const {
    list->Clear();
    for (const StrategyEntry& e : entries)
        list->AddRow({FromGbk(e.code), FromGbk(e.name), FromGbk(e.dendText), FromGbk(e.market)});
}

void StrategyFileWidgets::MarkTicked(std::vector<StrategyEntry>& entries) const {
    for (size_t row = 0; row < entries.size(); ++row) entries[row].selected = list->IsTicked(static_cast<int>(row));
}

StrategyFileLog StrategyFileWidgets::Logger() const {
    return [box = log](const std::string& lineGbk) { box->Prepend(FromGbk(lineGbk)); };
}

std::filesystem::path StrategyFileWidgets::FilePath() const {
    return QFile::encodeName(path->text()).toStdString();
}

StrategyFileWidgets BuildStrategyFileLayout(QDialog& dialog, const QString& start) {
    const StrategyFileWidgets w{new QLineEdit(&dialog),
                                new QPushButton(QStringLiteral("..."), &dialog),
                                new CheckList({{QStringLiteral("代码"), 60, Qt::AlignHCenter},
                                               {QStringLiteral("名称"), 60, Qt::AlignHCenter},
                                               {QStringLiteral("生成日期"), 60, Qt::AlignRight},
                                               {QStringLiteral("市场"), 40, Qt::AlignHCenter}},
                                              &dialog),
                                new LogBox(&dialog),
                                new QPushButton(QStringLiteral("全选"), &dialog),
                                new QPushButton(QStringLiteral("全不选"), &dialog),
                                new QPushButton(start, &dialog)};
    QObject::connect(w.tickAll, &QPushButton::clicked, w.list, [list = w.list] { list->TickAll(true); });
    QObject::connect(w.tickNone, &QPushButton::clicked, w.list, [list = w.list] { list->TickAll(false); });
    w.browse->setFixedWidth(w.browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(new QLabel(QStringLiteral("文件路径:"), &dialog));
    pathRow->addWidget(w.path, 1);
    pathRow->addWidget(w.browse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(w.tickAll);
    buttons->addWidget(w.tickNone);
    buttons->addStretch();
    buttons->addWidget(w.start);
    auto* right = new QVBoxLayout;
    right->addWidget(w.log);
    right->addLayout(buttons);
    auto* body = new QHBoxLayout;
    body->addWidget(w.list);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(pathRow);
    layout->addLayout(body, 1);
    w.list->setMinimumWidth(w.list->ColumnsWidth());
    dialog.resize(w.list->ColumnsWidth() + 340, 420);
    return w;
}

OpxPathChooser& ChooseOpxPath() {
    static OpxPathChooser chooser = AskForPath;
    return chooser;
}

QString WithOpxExtension(const QString& path) {
    return path.endsWith(kExtension, Qt::CaseInsensitive) ? path : path + kExtension;
}
