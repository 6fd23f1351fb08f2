#pragma once

#include "Models/Enumerations.h"

#include <QPointer>
#include <QWidget>

namespace tremlor {

struct SettingsContext;
class SettingsSidebar;

// The settings window's root: the searchable sidebar of the eight sections and the detail pane,
// which builds a section's view anew each time another section is selected. It keeps no
// settings itself.
class SettingsWindow final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsWindow(SettingsContext& context, SettingsSection selectedSection = SettingsSection::general,
        const QString& searchText = {}, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(SettingsWindow)

    SettingsSection selectedSection() const { return m_selected; }
    // Shows `section` in a new view; the section already shown keeps its view as it is.
    void setSelectedSection(SettingsSection section);
    QString searchText() const;
    void setSearchText(const QString& text);

    SettingsSidebar* sidebar() const { return m_sidebar; }
    QWidget* detailView() const { return m_detail; }

Q_SIGNALS:
    void sectionChanged(tremlor::SettingsSection section);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildDetail();
    void applyAccent();

    SettingsContext& m_context;
    SettingsSection m_selected;
    SettingsSidebar* m_sidebar;
    QWidget* m_pane;
    QPointer<QWidget> m_detail;
    bool m_applyingAccent = false;
};

} // namespace tremlor
