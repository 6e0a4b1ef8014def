#pragma once
// CIndicatorDlg: the floating advice panel "操盘信号" of chart mode. It
// repeats the stock's name, code, newest price, change and the stored
// strategy's current advice in large letters. Modeless; the view owns it,
// creates it hidden and shows it only in chart mode.
#include <QDialog>

#include <string>

#include "chart/advice_summary.h"

class QLabel;

class CIndicatorDlg : public QDialog {
    Q_OBJECT
public:
    explicit CIndicatorDlg(QWidget* parent = nullptr);

    // Sets the five labels; texts are GBK as the core keeps them.
    void Update(const AdviceSummary& summary);

    // Shows the panel over the top left of `chart`'s plot, the first time
    // only; afterwards it stays where the user moved it.
    void ShowOver(const QWidget& chart);

    const QLabel& NameLabel() const { return *name_; }
    const QLabel& CodeLabel() const { return *code_; }
    const QLabel& PriceLabel() const { return *price_; }
    const QLabel& ChangeLabel() const { return *change_; }
    const QLabel& AdviceLabel() const { return *advice_; }

private:
    QLabel* name_;
    QLabel* code_;
    QLabel* price_;
    QLabel* change_;
    QLabel* advice_;
    bool placed_ = false;
};

// The view's refresh of the panel for the data center's current stock,
// with the stored advice or without it.
void RefreshAdvicePanel(CIndicatorDlg& panel, Database& db, const CDataCenter& dc, bool withAdvice);
