#include "CompositionRoot.h"

#include "Models/TremlorSettings.h"

namespace tremlor {

CompositionRoot::CompositionRoot(QObject* parent)
    : QObject(parent)
    , m_settings(TremlorSettings::shared())
    // Only the store: every service is the system's. A schedule window that is open now is
    // reported during this step, but its session starts from the event loop, after it.
    , m_engine(std::make_unique<TremlorEngine>(m_settings))
{
}

CompositionRoot::CompositionRoot(TremlorSettings& settings, TremlorEngine::Services services, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_engine(std::make_unique<TremlorEngine>(m_settings, std::move(services)))
{
}

CompositionRoot::~CompositionRoot() = default;

} // namespace tremlor
