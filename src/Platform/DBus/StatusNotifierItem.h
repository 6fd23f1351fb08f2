#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QIcon>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPoint>
#include <QString>

class QDBusServiceWatcher;

namespace tremlor {

// One image of an item: width, height and ARGB32 pixels in network byte order.
struct SniIconPixmap {
    int width = 0;
    int height = 0;
    QByteArray bytes;
};
using SniIconPixmapList = QList<SniIconPixmap>;

struct SniToolTip {
    QString iconName;
    SniIconPixmapList iconPixmap;
    QString title;
    QString description;
};

// The tray item as a StatusNotifierItem on the session bus, registered with the
// org.kde.StatusNotifierWatcher whenever one is there: at start, when one appears later, and
// again when it comes back. Every bus call it makes is asynchronous.
class StatusNotifierItem final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconName READ emptyText)
    Q_PROPERTY(tremlor::SniIconPixmapList IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyText)
    Q_PROPERTY(tremlor::SniIconPixmapList OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ emptyText)
    Q_PROPERTY(tremlor::SniIconPixmapList AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ emptyText)
    Q_PROPERTY(tremlor::SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    Q_PROPERTY(QString IconThemePath READ emptyText)
    Q_PROPERTY(QString XAyatanaLabel READ label)
    Q_PROPERTY(QString XAyatanaLabelGuide READ labelGuide)

public:
    static constexpr const char* watcherService = "org.kde.StatusNotifierWatcher";
    static constexpr const char* objectPath = "/StatusNotifierItem";
    // The pixel sizes offered to hosts.
    static const QList<int>& iconSizes();

    StatusNotifierItem(QDBusConnection bus, QString id, QObject* parent = nullptr);
    ~StatusNotifierItem() override;
    Q_DISABLE_COPY_MOVE(StatusNotifierItem)

    // Exports the item and starts looking for a watcher. False when the bus is not usable.
    bool start();
    bool isRegistered() const { return m_registered; }

    void setIcon(const QIcon& icon);
    void setTitle(const QString& title);
    void setToolTip(const QString& title, const QString& description);
    void setLabel(const QString& label, const QString& guide);

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return m_id; }
    QString title() const { return m_title; }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    SniIconPixmapList iconPixmap() const { return m_pixmaps; }
    SniIconPixmapList noPixmaps() const { return {}; }
    SniToolTip toolTip() const { return m_toolTip; }
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const { return QDBusObjectPath(QStringLiteral("/NO_DBUSMENU")); }
    QString label() const { return m_label; }
    QString labelGuide() const { return m_labelGuide; }
    QString emptyText() const { return {}; }

    static SniIconPixmapList pixmapsFor(const QIcon& icon);

public Q_SLOTS:
    Q_SCRIPTABLE void Activate(int x, int y);
    Q_SCRIPTABLE void SecondaryActivate(int x, int y);
    Q_SCRIPTABLE void ContextMenu(int x, int y);
    Q_SCRIPTABLE void Scroll(int delta, const QString& orientation);

Q_SIGNALS:
    Q_SCRIPTABLE void NewTitle();
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewToolTip();
    Q_SCRIPTABLE void NewStatus(const QString& status);
    Q_SCRIPTABLE void XAyatanaNewLabel(const QString& label, const QString& guide);

    // The host asked for the item's window at this screen point.
    void activated(QPoint at);
    // A watcher took the item, or there is none (any more).
    void registrationChanged(bool registered);

private:
    void registerWithWatcher();
    void setRegistered(bool registered);

    QDBusConnection m_bus;
    QString m_id;
    QString m_title;
    SniIconPixmapList m_pixmaps;
    SniToolTip m_toolTip;
    QString m_label;
    QString m_labelGuide;
    QDBusServiceWatcher* m_watcher = nullptr;
    bool m_exported = false;
    bool m_registered = false;
    // Answers of an earlier attempt are stale once the watcher came or went again.
    quint64 m_attempt = 0;
};

} // namespace tremlor

Q_DECLARE_METATYPE(tremlor::SniIconPixmap)
Q_DECLARE_METATYPE(tremlor::SniToolTip)
