#include "App/MenuBarLabel.h"

#include "Engine/TremlorEngine.h"
#include "Models/TremlorSettings.h"
#include "Views/Shared/SettingBinding.h"

namespace tremlor {

QString MenuBarLabel::glyphName(bool isActive, bool isPausedByIdle)
{
    if (isPausedByIdle)
        return QStringLiteral("tremlor-glyph-paused");
    if (isActive)
        return QStringLiteral("tremlor-glyph-active");
    return QStringLiteral("tremlor-glyph");
}

MenuBarLabel::Content MenuBarLabel::contentFor(const Inputs& in)
{
    Content content;
    content.glyphName = glyphName(in.isActive, in.isPausedByIdle);
    if (!in.isActive)
        return content;
    if (in.showCountdownInMenuBar || in.displayMode == MenuBarDisplayMode::iconAndCountdown) {
        content.text = in.remainingTimeString;
        content.isCountdown = !content.text.isEmpty();
        content.guide = content.text;
        for (QChar& c : content.guide) {
            if (c.isDigit())
                c = QLatin1Char('0');
        }
    } else if (in.displayMode == MenuBarDisplayMode::iconAndAppName) {
        // One line whatever the name holds.
        content.text = in.currentAppName.simplified();
        content.guide = content.text;
    }
    return content;
}

MenuBarLabel::MenuBarLabel(const TremlorEngine& engine, const TremlorSettings& settings, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
    , m_settings(settings)
{
    watch(
        this, &m_engine, [this] { refresh(); }, &TremlorEngine::isActiveChanged, &TremlorEngine::isPausedByIdleChanged,
        &TremlorEngine::remainingTimeStringChanged, &TremlorEngine::currentAppNameChanged);
    watch(
        this, &m_settings, [this] { refresh(); }, &TremlorSettings::showCountdownInMenuBarChanged,
        &TremlorSettings::menuBarDisplayModeChanged);
}

void MenuBarLabel::refresh()
{
    Inputs in;
    in.isActive = m_engine.isActive();
    in.isPausedByIdle = m_engine.isPausedByIdle();
    in.remainingTimeString = m_engine.remainingTimeString();
    in.currentAppName = m_engine.currentAppName();
    in.showCountdownInMenuBar = m_settings.showCountdownInMenuBar();
    in.displayMode = m_settings.menuBarDisplayMode();
    Content next = contentFor(in);
    if (next == m_content)
        return;
    m_content = std::move(next);
    Q_EMIT changed();
}

} // namespace tremlor
