#pragma once
// CNewWizPage: one page of a CNewWizDialog. The wizard creates a page once,
// the first time it is shown (OnCreatePage builds its controls), and then
// asks it before every move: whether it may be left, whether the wizard may
// go back, on or be cancelled, and what finishing needs.
#include <QFont>
#include <QWidget>

class QLabel;
class QVBoxLayout;

class CNewWizPage : public QWidget {
    Q_OBJECT
public:
    // `templateId` names the page for OnWizardBack/OnWizardNext answers.
    CNewWizPage(int templateId, const QString& title);

    int TemplateId() const { return templateId_; }
    bool IsCreated() const { return created_; }
    bool IsActive() const { return active_; }

    // After the page's controls exist; false aborts showing it.
    virtual bool OnCreatePage() { return true; }
    virtual void OnDestroyPage() {}
    // True allows leaving the page.
    virtual bool OnKillActive() { return true; }
    // Each time the page is shown.
    virtual void OnSetActive() {}
    // True allows cancelling the wizard.
    virtual bool OnQueryCancel() { return true; }
    // -1 stays, 0 goes to the neighbouring page, another value to the page
    // with that template number.
    virtual int OnWizardBack() { return 0; }
    virtual int OnWizardNext() { return 0; }
    // False keeps the wizard open.
    virtual bool OnWizardFinish() { return true; }

protected:
    // Where a page puts its controls, below the title.
    QVBoxLayout* Body() const { return body_; }
    static QFont TitleFont();

private:
    friend class CNewWizDialog;
    // Makes the title and calls OnCreatePage; marks the page created.
    bool Create();

    const int templateId_;
    const QString title_;
    bool created_ = false;
    bool active_ = false;
    QVBoxLayout* body_ = nullptr;
};
