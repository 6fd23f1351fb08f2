#pragma once

#include <QAbstractButton>

#include <optional>

namespace tremlor {

// The small buttons of a settings list's bar and rows: a borderless symbol (plus, minus), a
// prominent one (the desktop's accent fill, white symbol and title), a bordered one (a quiet rounded fill),
// or a destructive one (the bordered look with its title in the danger colour). The hover fill and the dimmed disabled
// look come from the kit's tokens. Space and Return press it.
class BarButton final : public QAbstractButton {
    Q_OBJECT

public:
    enum class Style { borderless, prominent, bordered, destructive };

    BarButton(Style style, const QString& title, std::optional<QString> symbol, const QString& objectName,
        QWidget* parent = nullptr);

    Style style() const { return m_style; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Style m_style;
    std::optional<QString> m_symbol;
    bool m_hovering = false;
};

} // namespace tremlor
