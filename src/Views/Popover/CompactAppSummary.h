#pragma once

#include "Models/AppInfo.h"

#include <QAbstractButton>
#include <QIcon>
#include <QList>

namespace tremlor {

// The one-line summary of the chosen applications that stands in for the panel's closed
// section: "Apps", then the first few icons overlapping by 2 points, "+N" for those that do
// not fit, the count and a chevron. The whole row is one button (clicked() expands).
class CompactAppSummary final : public QAbstractButton {
    Q_OBJECT

public:
    CompactAppSummary(QList<AppInfo> selectedApps, int maxIcons, int iconSize, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CompactAppSummary)

    static constexpr int spacing = 4;
    static constexpr int iconOverlap = 2;
    static constexpr int iconCornerRadius = 3;
    static constexpr int verticalPadding = 4;
    static constexpr int chevronSize = 9;

    const QList<AppInfo>& selectedApps() const { return m_apps; }
    // Takes a new list (icons are read once per application shown).
    void setSelectedApps(const QList<AppInfo>& apps);
    int maxIcons() const { return m_maxIcons; }
    int iconSize() const { return m_iconSize; }

    // What the row shows, as drawn: the icons' rectangles, "+N" (empty when all fit), the count
    // (or "None") and where the chevron stands.
    QList<QRectF> iconRects() const;
    QString overflowText() const;
    QString countText() const;
    QRectF chevronRect() const;
    // "Apps", ending in "…" when the icons and counts leave it too little room.
    QString shownAppsText() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout {
        QRectF apps;
        QList<QRectF> icons;
        QRectF overflow;
        QRectF count;
        QRectF chevron;
    };
    Layout layoutFor(const QRectF& bounds) const;
    int shownIcons() const;
    void updateAccessibleName();

    QList<AppInfo> m_apps;
    QList<QIcon> m_icons; // of the shown applications, in order
    int m_maxIcons;
    int m_iconSize;
};

} // namespace tremlor
