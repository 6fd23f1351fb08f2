#pragma once

#include "Engine/TremlorEngine.h"

#include <QObject>

#include <memory>

namespace tremlor {

class TremlorSettings;

// Builds the core once at start-up and keeps it for the whole run: the shared settings store
// and the engine with every system service. The one place where the system services are chosen.
class CompositionRoot final : public QObject {
    Q_OBJECT

public:
    // Main thread, after the application object exists.
    explicit CompositionRoot(QObject* parent = nullptr);
    // For tests: a given store, and services that replace the system's where given.
    CompositionRoot(TremlorSettings& settings, TremlorEngine::Services services, QObject* parent = nullptr);
    ~CompositionRoot() override;
    Q_DISABLE_COPY_MOVE(CompositionRoot)

    TremlorSettings& settings() const { return m_settings; }
    TremlorEngine& engine() const { return *m_engine; }

private:
    TremlorSettings& m_settings;
    std::unique_ptr<TremlorEngine> m_engine;
};

} // namespace tremlor
