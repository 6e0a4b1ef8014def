#include "app/wizard/new_wiz_page.h"

#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

CNewWizPage::CNewWizPage(int templateId, const QString& title) : templateId_(templateId), title_(title) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    hide();
}

QFont CNewWizPage::TitleFont() {
    QFont font(QStringLiteral("黑体"));
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

bool CNewWizPage::Create() {
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(title_, this);
    title->setFont(TitleFont());
    layout->addWidget(title);
    body_ = new QVBoxLayout;
    layout->addLayout(body_, 1);
    created_ = true;
    return OnCreatePage();
}
