#pragma once

#include "Models/Enumerations.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>

namespace tremlor {

// The sections the sidebar lists, in their order.
class SettingsSidebarModel final : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { SectionRole = Qt::UserRole + 1 };

    explicit SettingsSidebarModel(QObject* parent = nullptr);

    void setSections(QList<SettingsSection> sections);
    const QList<SettingsSection>& sections() const { return m_sections; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QList<SettingsSection> m_sections;
};

// Draws a section's row: its symbol and title; the selected row wears the desktop's selection
// colours (its highlight), like every list of the platform; the row with the keyboard, the ring.
class SettingsSidebarDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace tremlor
