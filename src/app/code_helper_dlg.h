#pragma once
// CCodeHelperDlg: the quick code search "代码精灵". It pops up over the
// bottom-right corner of the view as soon as the user types a digit or a
// letter there, filters the indicators and the stock list by what has been
// typed, and hands the chosen candidate to the view (which opens the stock
// or switches the chart to the indicator).
#include <QDialog>

#include <functional>
#include <vector>

#include "app/code_candidates.h"

class QLineEdit;
class QTableView;
class CandidateListModel;

class CCodeHelperDlg : public QDialog {
    Q_OBJECT
public:
    using Chooser = std::function<void(const CodeCandidate& chosen)>;

    // Sits over `anchor`'s bottom-right corner; `choose` gets the chosen candidate.
    CCodeHelperDlg(QWidget* anchor, std::vector<CodeCandidate> candidates, Chooser choose);
    ~CCodeHelperDlg() override;

    // Shows the window with `typed` (the key that opened it) in the edit box.
    void OpenWith(const QString& typed);

    // The candidates now listed, in order (for the view's tests and tools).
    std::vector<const CodeCandidate*> Shown() const;
    int SelectedRow() const;
    QLineEdit* Edit() const { return edit_; }
    QTableView* List() const { return list_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Filter(const QString& text);
    void SelectRow(int row);
    void ChooseRow(int row);

    QWidget* anchor_;
    std::vector<CodeCandidate> candidates_;
    Chooser choose_;
    QString typed_;
    QLineEdit* edit_;
    QTableView* list_;
    CandidateListModel* model_;
};
