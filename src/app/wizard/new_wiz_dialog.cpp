#include "app/wizard/new_wiz_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/wizard/new_wiz_page.h"

namespace {

QPushButton* WizardButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);  // Enter must not move the wizard
    return button;
}

}  // namespace

CNewWizDialog::CNewWizDialog(QWidget* parent)
    : QDialog(parent), pageArea_(new QWidget(this)), pageLayout_(new QGridLayout(pageArea_)),
      back_(WizardButton(QStringLiteral("< 上一步"), this)), next_(WizardButton(QStringLiteral("下一步 >"), this)),
      cancel_(WizardButton(QStringLiteral("取消"), this)), finish_(WizardButton(QStringLiteral("结束"), this)) {
    pageLayout_->setContentsMargins(0, 0, 0, 0);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {back_, next_, cancel_, finish_}) buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(pageArea_, 1);
    layout->addWidget(line);
    buttons->setContentsMargins(10, 0, 10, 0);
    layout->addLayout(buttons);

    connect(back_, &QPushButton::clicked, this, &CNewWizDialog::Back);
    connect(next_, &QPushButton::clicked, this, &CNewWizDialog::Next);
    connect(finish_, &QPushButton::clicked, this, &CNewWizDialog::Finish);
    connect(cancel_, &QPushButton::clicked, this, &CNewWizDialog::reject);
}

CNewWizDialog::~CNewWizDialog() {
    for (CNewWizPage* page : pages_) {
        if (!page->IsCreated()) continue;
        page->OnKillActive();
        page->OnDestroyPage();
    }
}

void CNewWizDialog::AddPage(CNewWizPage* page) {
    page->setParent(pageArea_);
    pageLayout_->addWidget(page, 0, 0);
    page->hide();
    pages_.push_back(page);
}

void CNewWizDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!begun_) Begin();
}

void CNewWizDialog::Begin() {
    begun_ = true;
    if (pages_.empty()) return;
    ShowPage(pages_.front());
    back_->setEnabled(false);
    finish_->setEnabled(pages_.size() < 2);
    next_->setEnabled(pages_.size() >= 2);
}

bool CNewWizDialog::ShowPage(CNewWizPage* page) {
    if (!page->IsCreated() && !page->Create()) return false;
    if (active_ != nullptr) {
        if (!active_->OnKillActive()) return false;
        active_->hide();
        active_->active_ = false;
    }
    page->setEnabled(true);
    page->show();
    page->repaint();
    page->OnSetActive();
    page->active_ = true;
    active_ = page;
    return true;
}

int CNewWizDialog::IndexOf(const CNewWizPage* page) const {
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i] == page) return static_cast<int>(i);
    return -1;
}

CNewWizPage* CNewWizDialog::Target(int answer, int step) const {
    if (answer == -1) return nullptr;
    if (answer == 0) {
        const int index = IndexOf(active_) + step;
        return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[static_cast<size_t>(index)] : nullptr;
    }
    for (CNewWizPage* page : pages_)
        if (page->TemplateId() == answer) return page;
    return nullptr;
}

void CNewWizDialog::Back() {
    if (active_ == nullptr) return;
    CNewWizPage* target = Target(active_->OnWizardBack(), -1);
    if (target == nullptr || !ShowPage(target)) return;
    const int index = IndexOf(target);
    if (index == 0) back_->setEnabled(false);
    if (index == 0 || index + 1 < static_cast<int>(pages_.size())) finish_->setEnabled(false);
    next_->setEnabled(true);
}

void CNewWizDialog::Next() {
    if (active_ == nullptr) return;
    CNewWizPage* target = Target(active_->OnWizardNext(), 1);
    if (target == nullptr || !ShowPage(target)) return;
    if (IndexOf(target) + 1 == static_cast<int>(pages_.size())) {
        next_->setEnabled(false);
        finish_->setEnabled(true);
    }
    back_->setEnabled(true);
}

void CNewWizDialog::Finish() {
    if (active_ != nullptr && !active_->OnKillActive()) return;
    for (CNewWizPage* page : pages_)
        if (page->IsCreated() && !page->OnWizardFinish()) return;
    accept();
}

void CNewWizDialog::reject() {
    for (CNewWizPage* page : pages_)
        if (page->IsCreated() && !page->OnQueryCancel()) return;
    QDialog::reject();
}
