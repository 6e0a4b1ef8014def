#pragma once
// Shared pieces of the desktop program's tests: message boxes answered by
// the test, waiting while the event loop runs, and a store holding the
// bundled history of SS 600000 with the stock loaded in a data center.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

#include <QString>
#include <QTest>

#include "../support/bundled_data.h"
#include "../support/engine_state.h"
#include "../support/test_store.h"
#include "app/dialogs/user_messages.h"
#include "datastore/data_center.h"
#include "datastore/settings.h"
#include "datastore/run_parameters.h"

namespace dialog_test {

// Replaces the message boxes while it lives: notices are kept, questions
// are kept and answered from `answers` (No when it runs out).
class AnsweredMessages {
public:
    AnsweredMessages() : saved_(Messages()) {
        Messages().inform = [this](QWidget*, const QString& text) { informed.push_back(text); };
        Messages().ask = [this](QWidget*, const QString& text) {
            asked.push_back(text);
            if (answers.empty()) return false;
            const bool yes = answers.front();
            answers.pop_front();
            return yes;
        };
    }
    ~AnsweredMessages() { Messages() = saved_; }

    std::vector<QString> informed;
    std::vector<QString> asked;
    std::deque<bool> answers;

private:
    UserMessages saved_;
};

// Runs the event loop until `done` holds; false after `ms` milliseconds.
inline bool WaitFor(const std::function<bool()>& done, int ms = 120000) { return QTest::qWaitFor(done, ms); }

// SS 600000 loaded from the bundled data with the settings of a new
// installation, in a data center of the test's own.
class PufaStore {
public:
    PufaStore() {
        testing_support::ImportPufa(store.db());
        LoadSettings(store.db(), settings, {});
        ApplyStartupSettings(dc->Parameters(), settings);
        dc->LoadStockList();
        if (!dc->LoadStock("600000", "SS")) ADD_FAILURE() << "cannot load SS 600000";
    }
    Database& db() { return store.db(); }

    testing_support::Store store;
    SettingsMap settings;
    std::unique_ptr<CDataCenter> dc = std::make_unique<CDataCenter>(store.db());
};

}  // namespace dialog_test
