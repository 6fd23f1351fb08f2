#pragma once

#include "Models/Enumerations.h"

#include <QWidget>

namespace tremlor {

struct SettingsContext;

// How the simulated activity moves: interval, distance, pattern, added keys and clicks, and
// smart idle detection with its threshold. Keeps no state of its own.
class MouseSettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit MouseSettingsView(SettingsContext& context, QWidget* parent = nullptr);

    static QString displayName(MovementPattern pattern);
    static QString description(MovementPattern pattern);
    static QString icon(MovementPattern pattern);
};

} // namespace tremlor
