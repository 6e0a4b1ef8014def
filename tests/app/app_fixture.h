#pragma once
// Shared set-up of the desktop program's tests: a session on a fresh client
// database with its own data center (HOST pointing where nobody answers, so
// a worker fails at once), the main window's view on it, waiting with the
// event loop running, and message boxes answered by the test.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "../support/bundled_data.h"
#include "../support/temp_dir.h"
#include "../support/test_store.h"
#include "app/dialog_commands.h"
#include "app/dialogs/user_messages.h"
#include "app/frame_actions.h"
#include "app/korvel_view.h"
#include "app/session.h"
#include "datastore/program_version.h"
#include "datastore/settings.h"

namespace app_test {

using testing_support::Count;

// Runs the event loop until `done` holds; false after `ms` without.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 120000) { return QTest::qWaitFor(done, ms); }

class AppStore {
public:
    // Nothing listens on port 1 of loopback: requests fail at once.
    explicit AppStore(const std::string& host = "127.0.0.1:1") {
        QStandardPaths::setTestModeEnabled(true);  // QSettings away from the user's own
        session.store = OpenLocalStore(dir.path(), dc, [](std::string_view m) { ADD_FAILURE() << m; });
        if (!session.store) throw std::runtime_error("cannot open the test store");
        session.dataCenter = &dc;
        StoreSetting(db(), "HOST", host);
        session.store->settings["HOST"] = host;
    }
    Database& db() { return session.Db(); }

    // A watch-list row (SECRET) of this version with the given advice.
    void Watch(const std::string& market, const std::string& code, const std::string& advice = "") {
        ASSERT_TRUE(db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN, INDI) VALUES(?, ?, ?, ?)",
                              {market, code, version::kNumber, advice}));
    }

    testing_support::TempDir dir;
    CDataCenter dc;
    Session session;
};

// The main window's view on `store` with the frame's actions and dialog
// commands, shown once the stock it opens at set-up (SS 000001) is done.
struct OpenView {
    explicit OpenView(AppStore& store) : view(store.session, actions) {
        new DialogCommands(store.session, actions, view);
        view.resize(1000, 600);
        view.show();
        EXPECT_TRUE(WaitUntil([this] { return !view.IsBusy(); }));
    }

    QWidget owner;
    FrameActions actions{&owner};
    CKorvelView view;
};

// The cells of a query's rows, each followed by "|".
inline std::string Dump(Database& db, const std::string& query) {
    const std::optional<TextTable> rows = db.GetTable(query);
    if (!rows) return "(failed)";
    std::string out;
    for (const std::string& cell : rows->cells) out += cell + "|";
    return out;
}

// The push button of `dialog` showing `text`, and a click on it.
inline QPushButton* ButtonNamed(QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text) return button;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}
inline void Click(QWidget& dialog, const QString& text) {
    QTest::mouseClick(ButtonNamed(dialog, text), Qt::LeftButton);
}

// Replaces the program's message boxes while it lives: notices and
// questions are kept, and every question is answered No.
class AnsweredMessages {
public:
    AnsweredMessages() : saved_(Messages()) {
        Messages().inform = [this](QWidget*, const QString& text) { informed.push_back(text); };
        Messages().ask = [this](QWidget*, const QString& text) {
            asked.push_back(text);
            return false;
        };
    }
    ~AnsweredMessages() { Messages() = saved_; }

    std::vector<QString> informed;
    std::vector<QString> asked;

private:
    UserMessages saved_;
};

// Presses `button` of the next QMessageBox that opens (within 15 s); its
// text goes to `text` when given.
inline void AnswerNextMessageBox(QMessageBox::StandardButton button = QMessageBox::Ok, QString* text = nullptr) {
    auto* poll = new QTimer(qApp);
    poll->start(20);
    QObject::connect(poll, &QTimer::timeout, [poll, button, text, ticks = 0]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            if (++ticks > 750) poll->deleteLater();  // none came: do not answer a later one
            return;
        }
        if (text != nullptr) *text = box->text();
        poll->deleteLater();
        box->button(button)->click();
    });
}

}  // namespace app_test
