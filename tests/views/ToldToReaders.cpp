// A plugin linked into this test program: defined before any Qt header.
#define QT_STATICPLUGIN

#include "views/ToldToReaders.h"

#include <QAccessibleBridgePlugin>
#include <QtPlugin>

class RecordingBridge final : public QAccessibleBridge {
public:
    void setRootObject(QAccessibleInterface*) override { }
    void notifyAccessibilityUpdate(QAccessibleEvent* event) override
    {
        if (viewtest::toldToReaders)
            viewtest::toldToReaders(event);
    }
};

class RecordingBridgePlugin final : public QAccessibleBridgePlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QAccessibleBridgeFactoryInterface" FILE "ToldToReaders.json")

public:
    QAccessibleBridge* create(const QString&) override { return new RecordingBridge; }
};

Q_IMPORT_PLUGIN(RecordingBridgePlugin)

#include "ToldToReaders.moc"
