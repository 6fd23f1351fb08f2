#pragma once

#include "Models/Enumerations.h"

#include <QPointer>
#include <QWidget>

class QSplitter;

namespace tremlor {

struct SettingsContext;
class SettingsSidebar;

// The settings window's root: the searchable sidebar of the eight sections and the detail pane,
// which builds a section's view anew each time another section is selected. The user can widen
// or narrow the sidebar within its limits; the pane takes the rest. It keeps no settings itself.
// A section's field that takes the keyboard when the section appears does so unless the section
// was chosen with the keys of the sidebar's list: the keyboard then stays in the list, so the
// arrows walk on, and Tab goes on into the section in its order. A section's control never leaves
// the keyboard with no one: the next key would go to the window's first field. Return presses the
// focused push button, as Space does.
class SettingsWindow final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsWindow(SettingsContext& context, SettingsSection selectedSection = SettingsSection::general,
        const QString& searchText = {}, QWidget* parent = nullptr);
    ~SettingsWindow() override;
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
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(SettingsSection section, bool byKeys);
    void buildDetail();
    // A section's control that gave up the keyboard to nothing (a field ending its edit with
    // Return or Escape) hands it to its nearest neighbour, so the next Tab goes on from there
    // rather than from the window's first field.
    void keepKeyboardNear(QWidget* gaveUp);

    SettingsContext& m_context;
    SettingsSection m_selected;
    QSplitter* m_splitter;
    SettingsSidebar* m_sidebar;
    QWidget* m_pane;
    QPointer<QWidget> m_detail;
    // The shown section's field that takes the keyboard when it appears, if it has one.
    QPointer<QWidget> m_keyboardField;
    bool m_keepKeyboard = false;
    bool m_replacingDetail = false;
    QMetaObject::Connection m_followFocus;
};

} // namespace tremlor
