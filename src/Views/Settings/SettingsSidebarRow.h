#pragma once

#include "Models/Enumerations.h"

#include <QAbstractButton>

namespace tremlor {

// One section of the sidebar: its symbol and title; the selected row is filled with the
// product's accent gradient.
class SettingsSidebarRow final : public QAbstractButton {
    Q_OBJECT

public:
    explicit SettingsSidebarRow(SettingsSection section, QWidget* parent = nullptr);

    SettingsSection section() const { return m_section; }
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SettingsSection m_section;
    bool m_highlighted = false;
};

} // namespace tremlor
