#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class QSystemTrayIcon;

namespace tremlor {

class MenuBarLabel;
class StatusNotifierItem;
class TremlorEngine;
class TremlorSettings;

// The program's permanent presence: a StatusNotifierItem with the glyph and the label where a
// watcher is registered, else the glyph alone in an XEmbed tray. With neither, the program
// keeps running and says so once.
class TremlorTray final : public QObject {
    Q_OBJECT

public:
    enum class Presence { pending, statusNotifierItem, xembed, none };

    TremlorTray(const TremlorEngine& engine, const TremlorSettings& settings, QObject* parent = nullptr);
    ~TremlorTray() override;
    Q_DISABLE_COPY_MOVE(TremlorTray)

    void start();
    Presence presence() const { return m_presence; }
    const MenuBarLabel& label() const { return *m_label; }

    static QString noHostMessage();
    static constexpr int trayRetryMs = 5000;

Q_SIGNALS:
    // The user clicked the item; `at` is the screen point the host gave (or the icon's centre).
    void activated(QPoint at);

private:
    void refresh();
    void useFallback();

    MenuBarLabel* m_label;
    StatusNotifierItem* m_item = nullptr;
    QPointer<QSystemTrayIcon> m_fallback;
    Presence m_presence = Presence::pending;
    bool m_saidNoHost = false;
    QTimer m_trayRetry;
    QString m_glyph;
};

} // namespace tremlor
