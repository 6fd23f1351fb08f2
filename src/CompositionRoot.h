#pragma once

#include "Engine/TremlorEngine.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace tremlor {

class AccessibilityChecking;
class AppScanning;
class LoginItemManaging;
class TremlorSettings;

// Builds the core once at start-up and keeps it for the whole run: the shared settings store,
// the engine with every system service, and the services the interface uses. The one place
// where the system's services are chosen; everything else receives them.
class CompositionRoot final : public QObject {
    Q_OBJECT

public:
    // Makes one installed-application scanner.
    using AppScannerFactory = std::function<std::unique_ptr<AppScanning>()>;

    // For tests: whatever is given replaces the system's service.
    struct Services {
        TremlorEngine::Services engine;
        // Whether this is the real program; by default, whether the executable is `tremlor`.
        std::optional<bool> runningFromApplicationBundle;
        AppScannerFactory appScannerFactory;
        std::shared_ptr<LoginItemManaging> loginItem;
    };

    // Main thread, after the application object exists.
    explicit CompositionRoot(QObject* parent = nullptr);
    // For tests: a given store, and services that replace the system's where given.
    CompositionRoot(TremlorSettings& settings, Services services, QObject* parent = nullptr);
    ~CompositionRoot() override;
    Q_DISABLE_COPY_MOVE(CompositionRoot)

    TremlorSettings& settings() const { return m_settings; }
    TremlorEngine& engine() const { return *m_engine; }
    const AppScannerFactory& appScannerFactory() const { return m_appScannerFactory; }
    AccessibilityChecking& accessibility() const { return *m_accessibility; }
    LoginItemManaging& loginItem() const { return *m_loginItem; }

private:
    TremlorSettings& m_settings;
    std::shared_ptr<AccessibilityChecking> m_accessibility;
    AppScannerFactory m_appScannerFactory;
    std::shared_ptr<LoginItemManaging> m_loginItem;
    std::unique_ptr<TremlorEngine> m_engine;
};

} // namespace tremlor
