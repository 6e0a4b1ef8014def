#pragma once
// CReportDlg ("策略报告"): a stored strategy's report, its trade log read from
// the database, and its strategy text, in three tabs.
#include <string>

#include <QDialog>

#include "datastore/database.h"

class QTabWidget;

class CReportDlg : public QDialog {
    Q_OBJECT
public:
    // `storedReport` is the stock's SECRET.CRPT (GBK) as the watch list
    // holds it; market and code are GBK.
    CReportDlg(Database& db, const std::string& market, const std::string& code, const std::string& storedReport,
               QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return tabs_; }

private:
    QTabWidget* tabs_;
};
