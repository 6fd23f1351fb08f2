#pragma once

#include <QAbstractButton>

#include <functional>
#include <optional>

namespace kestu {

class KestuPressStyle;

enum class KestuButtonVariant { primary, secondary, destructive };

// The kit's wide action button: an optional symbol and a label centred on a filled bar with
// 12-point corners that takes the whole width it is offered, with the press style. A label
// too long for the bar ends in "…".
class KestuButton final : public QAbstractButton {
    Q_OBJECT

public:
    KestuButton(const QString& label, std::optional<QString> icon, KestuButtonVariant variant,
        std::function<void()> action, QWidget* parent = nullptr);

    KestuButtonVariant variant() const { return m_variant; }
    std::optional<QString> icon() const { return m_icon; }
    KestuPressStyle* pressStyle() const { return m_pressStyle; }
    // The fill and foreground for the widget's current appearance.
    QColor fillColor() const;
    QColor foregroundColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<QString> m_icon;
    KestuButtonVariant m_variant;
    std::function<void()> m_action;
    KestuPressStyle* m_pressStyle = nullptr;
};

} // namespace kestu
