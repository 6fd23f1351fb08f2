#pragma once

#include "Models/Enumerations.h"

#include <QObject>
#include <QString>

namespace tremlor {

class TremlorEngine;
class TremlorSettings;

// What the tray item shows: the glyph for the session's state and, while a session runs, the
// countdown or the name of the application kept active.
class MenuBarLabel final : public QObject {
    Q_OBJECT

public:
    struct Inputs {
        bool isActive = false;
        bool isPausedByIdle = false;
        QString remainingTimeString;
        QString currentAppName;
        bool showCountdownInMenuBar = false;
        MenuBarDisplayMode displayMode = MenuBarDisplayMode::iconOnly;
    };

    struct Content {
        QString glyphName;
        QString text;
        // The widest text of the same form (every digit a zero), so a bar keeps its width.
        QString guide;
        bool isCountdown = false;
        bool operator==(const Content&) const = default;
    };

    // The label's rules: paused wins for the glyph; the countdown switch wins over the mode;
    // nothing but the glyph while no session runs.
    static QString glyphName(bool isActive, bool isPausedByIdle);
    static Content contentFor(const Inputs& inputs);

    MenuBarLabel(const TremlorEngine& engine, const TremlorSettings& settings, QObject* parent = nullptr);

    const Content& content() const { return m_content; }

Q_SIGNALS:
    // Only when the glyph or the text actually changed.
    void changed();

private:
    void refresh();

    const TremlorEngine& m_engine;
    const TremlorSettings& m_settings;
    Content m_content;
};

} // namespace tremlor
