#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace tremlor {

// One long-lived connection to a bus, shared by the services on it (inhibits die with the
// connection). Notices when the bus goes away and connects again when it is back.
class BusLink final : public QObject {
    Q_OBJECT

public:
    // The process's links to the standard session and system bus, shared by their users.
    static std::shared_ptr<BusLink> session();
    static std::shared_ptr<BusLink> system();
    // A link to the bus at a given address (a test's private bus).
    static std::shared_ptr<BusLink> toAddress(const QString& address);

    ~BusLink() override;
    Q_DISABLE_COPY_MOVE(BusLink)

    QDBusConnection connection() const { return m_connection; }
    bool isConnected() const { return m_connection.isConnected(); }
    // How often a lost bus is tried again (default 5 s).
    void setRetryInterval(int milliseconds) { m_retry.setInterval(milliseconds); }

    // D-Bus timeout for calls made on the main thread.
    static constexpr int callTimeoutMs = 1000;

Q_SIGNALS:
    void disconnected();
    void connected();

private Q_SLOTS:
    void onDisconnected();

private:
    enum class Kind { session, system, address };
    BusLink(Kind kind, QString address);
    static std::shared_ptr<BusLink> shared(Kind kind);
    void open();
    void tryAgain();

    const Kind m_kind;
    const QString m_address;
    QString m_name;
    QDBusConnection m_connection;
    QTimer m_retry;
};

} // namespace tremlor
