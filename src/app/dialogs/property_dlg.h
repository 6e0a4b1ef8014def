#pragma once
// CPropertyDlg ("参数设置"): the run parameters a user may change: the search
// depth and the buying and selling charges in per cent. OK checks the
// depth, sets the run parameters, stores them in APPSET and reloads the
// settings.
#include <QDialog>

#include "datastore/database.h"
#include "datastore/settings.h"
#include "datastore/run_parameters.h"

class QDoubleSpinBox;
class QSpinBox;

class CPropertyDlg : public QDialog {
    Q_OBJECT
public:
    CPropertyDlg(Database& db, SettingsMap& settings, RunParameters& params, QWidget* parent = nullptr);

    // "确定": refuses a depth below 10 with a message and stays open.
    void accept() override;

private:
    Database& db_;
    SettingsMap& settings_;
    RunParameters& params_;
    QSpinBox* depth_;
    QDoubleSpinBox* buyCharge_;
    QDoubleSpinBox* sellCharge_;
};
