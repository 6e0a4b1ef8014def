#pragma once
// Shared set-up of the desktop program's tests: a session on a fresh client
// database with its own data center (HOST pointing where nobody answers, so
// a worker fails at once), waiting with the event loop running, and
// answering the next message box.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/session.h"
#include "datastore/program_version.h"
#include "datastore/settings.h"
#include "../support/temp_dir.h"

namespace app_test {

// Nothing listens on port 1 of loopback: requests fail at once.
inline constexpr const char* kDeadHost = "127.0.0.1:1";

class AppStore {
public:
    explicit AppStore(const std::string& host = kDeadHost) {
        QStandardPaths::setTestModeEnabled(true);  // QSettings away from the user's own
        session.store = OpenLocalStore(dir.path(), dc, [](std::string_view m) { ADD_FAILURE() << m; });
        if (!session.store) throw std::runtime_error("cannot open the test store");
        session.dataCenter = &dc;
        SetHost(host);
    }
    void SetHost(const std::string& host) {
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

// Runs the event loop until `done` holds; false after `ms` without.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 15000) { return QTest::qWaitFor(done, ms); }

// Presses `button` of the next message box that opens (within 15 s); its
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
