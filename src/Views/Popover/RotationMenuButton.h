#pragma once

#include <QToolButton>

class QActionGroup;
class QMenu;

namespace tremlor {

class TremlorSettings;

// The application section's borderless menu of rotation orders: its label is the current
// order's symbol and title; choosing an item (by mouse, keyboard or an assistive tool's press)
// writes that order into the store, nothing else. The items are checked as the store says,
// and screen readers find the menu as the button's child.
class RotationMenuButton final : public QToolButton {
    Q_OBJECT

public:
    explicit RotationMenuButton(TremlorSettings& settings, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(RotationMenuButton)

    static constexpr int spacing = 2;

    // The symbol and title shown, from the store.
    QString symbol() const { return m_symbol; }
    QString title() const { return m_title; }
    void refresh();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void rebuildMenu();

    TremlorSettings& m_settings;
    QMenu* m_menu;
    QActionGroup* m_modes;
    QString m_symbol;
    QString m_title;
};

} // namespace tremlor
