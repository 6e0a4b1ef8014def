#pragma once
// One running copy per user. The running copy listens on a local socket
// named after the user; a later copy connects, asks it to come to the front
// and ends.
#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

// The socket name of this user's running copy.
QString InstanceName();

// True when a copy is listening on `name`.
bool IsInstanceRunning(const QString& name);

// Asks the copy listening on `name` to show itself; false when none answered.
bool RaiseRunningInstance(const QString& name);

// The running copy's side: `raise` is called on every request to show.
class InstanceListener : public QObject {
    Q_OBJECT
public:
    InstanceListener(const QString& name, std::function<void()> raise, QObject* parent = nullptr);

    bool IsListening() const;

private:
    void Accept();

    QLocalServer* server_;
    std::function<void()> raise_;
};
