#include "App/TremlorTray.h"

#include "App/MenuBarLabel.h"
#include "App/TremlorGlyphIcon.h"
#include "Platform/DBus/StatusNotifierItem.h"

#include <QCursor>
#include <QDBusConnection>
#include <QSystemTrayIcon>

#include <cstdio>

namespace tremlor {

namespace {
const QString kTitle = QStringLiteral("Tremlor");
} // namespace

TremlorTray::TremlorTray(const TremlorEngine& engine, const TremlorSettings& settings, QObject* parent)
    : QObject(parent)
    , m_label(new MenuBarLabel(engine, settings, this))
{
    connect(m_label, &MenuBarLabel::changed, this, [this] { refresh(); });
    m_trayRetry.setInterval(trayRetryMs);
    connect(&m_trayRetry, &QTimer::timeout, this, [this] {
        if (m_presence != Presence::none || !QSystemTrayIcon::isSystemTrayAvailable())
            return;
        // A fresh icon is embedded into the tray that is there now.
        delete m_fallback.data();
        useFallback();
    });
}

TremlorTray::~TremlorTray() = default;

QString TremlorTray::noHostMessage()
{
    return QStringLiteral("tremlor: no system tray is running, so the Tremlor icon cannot be shown; Tremlor keeps "
                          "running. Start tremlor again to open its settings.");
}

void TremlorTray::start()
{
    m_item = new StatusNotifierItem(QDBusConnection::sessionBus(), QStringLiteral("com.tremlor.app"), this);
    m_item->setTitle(kTitle);
    connect(m_item, &StatusNotifierItem::activated, this, &TremlorTray::activated);
    connect(m_item, &StatusNotifierItem::registrationChanged, this, [this](bool registered) {
        if (registered) {
            m_presence = Presence::statusNotifierItem;
            m_trayRetry.stop();
            if (m_fallback)
                m_fallback->hide();
        } else {
            useFallback();
        }
    });
    refresh();
    if (!m_item->start())
        useFallback();
}

void TremlorTray::useFallback()
{
    if (!m_fallback) {
        m_fallback = new QSystemTrayIcon(this);
        connect(m_fallback, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::Context)
                return;
            const QRect geometry = m_fallback->geometry();
            Q_EMIT activated(geometry.isValid() ? geometry.center() : QCursor::pos());
        });
        refresh();
    }
    m_fallback->show();
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_presence = Presence::xembed;
        m_trayRetry.stop();
        return;
    }
    m_presence = Presence::none;
    // Qt 6.4 does not follow an XEmbed tray that starts later, so look again now and then
    // while there is no tray at all (a watcher that appears is announced on the bus).
    m_trayRetry.start();
    if (!m_saidNoHost) {
        m_saidNoHost = true;
        std::fprintf(stderr, "%s\n", qPrintable(noHostMessage()));
    }
}

void TremlorTray::refresh()
{
    const auto& content = m_label->content();
    const QIcon icon = TremlorGlyphIcon::named(content.glyphName);
    const QString tip = content.text.isEmpty() ? kTitle : kTitle + QStringLiteral(" — ") + content.text;
    const bool glyphChanged = content.glyphName != m_glyph;
    m_glyph = content.glyphName;
    if (m_item) {
        if (glyphChanged)
            m_item->setIcon(icon);
        m_item->setToolTip(kTitle, content.text);
        m_item->setLabel(content.text, content.guide);
    }
    if (m_fallback) {
        m_fallback->setIcon(icon);
        m_fallback->setToolTip(tip);
    }
}

} // namespace tremlor
