#pragma once

#include <QComboBox>
#include <QWidget>

namespace tremlor {

class TremlorSettings;

// The panel's profile row: "Profile" on the leading edge, a pop-up menu of "No Profile" and
// the saved profiles on the trailing edge. The menu shows the store's activeProfileId (an id
// that names no profile marks nothing) and writes it only when the user chooses an item;
// redrawing it after a change in the store never writes back.
class ProfilePickerView final : public QWidget {
    Q_OBJECT

public:
    explicit ProfilePickerView(TremlorSettings& settings, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ProfilePickerView)

    static constexpr int maximumPickerWidth = 160;

    QComboBox* picker() const { return m_picker; }
    // Redraws the items and the mark from the store.
    void refresh();

private:
    class Picker;

    TremlorSettings& m_settings;
    QComboBox* m_picker;
};

} // namespace tremlor
