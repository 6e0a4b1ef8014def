#pragma once
// CNewWizDialog: a small wizard frame. It holds an ordered list of pages and
// shows one at a time in its page area, with the buttons "< 上一步",
// "下一步 >", "取消" and "结束". Every move asks the pages (CNewWizPage) first.
#include <vector>

#include <QDialog>

class CNewWizPage;
class QGridLayout;
class QPushButton;

class CNewWizDialog : public QDialog {
    Q_OBJECT
public:
    explicit CNewWizDialog(QWidget* parent = nullptr);
    ~CNewWizDialog() override;

    // Appends a page; the wizard owns it.
    void AddPage(CNewWizPage* page);
    CNewWizPage* ActivePage() const { return active_; }

    QPushButton* BackButton() const { return back_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* FinishButton() const { return finish_; }
    QPushButton* CancelButton() const { return cancel_; }

    // The buttons' actions.
    void Back();
    void Next();
    void Finish();
    // Cancel, also by Escape and by closing the window: every created page
    // must agree.
    void reject() override;

protected:
    // The first showing shows the first page.
    void showEvent(QShowEvent* event) override;

private:
    void Begin();
    bool ShowPage(CNewWizPage* page);
    // The page `answer` of OnWizardBack/OnWizardNext names, `step` (-1 or 1)
    // from the active one for 0; nothing for -1 or an unknown page.
    CNewWizPage* Target(int answer, int step) const;
    int IndexOf(const CNewWizPage* page) const;

    std::vector<CNewWizPage*> pages_;  // owned through the page area
    CNewWizPage* active_ = nullptr;
    bool begun_ = false;
    QWidget* pageArea_;
    QGridLayout* pageLayout_;
    QPushButton* back_;
    QPushButton* next_;
    QPushButton* cancel_;
    QPushButton* finish_;
};
