#pragma once

#include <QWidget>

#include <optional>

namespace kestu {

// The small title line that opens a group of controls: an optional symbol (11 points) and the
// title in callout, both textSecondary, 6 points apart, at the leading edge.
class KestuSectionHeader final : public QWidget {
    Q_OBJECT

public:
    KestuSectionHeader(const QString& title, std::optional<QString> icon, QWidget* parent = nullptr);

    QString title() const { return m_title; }
    std::optional<QString> icon() const { return m_icon; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    std::optional<QString> m_icon;
};

} // namespace kestu
