#pragma once

#include "Views/Settings/SectionList.h"

namespace kestu {
class KestuTextField;
} // namespace kestu

namespace tremlor {

class TremlorSettings;

// A row of the Profiles section: the profile's name in an always editable field, the check mark
// of the active profile and the one-line summary. It reads its profile from the store by id at every
// refresh and reports what the user does; the section writes the store. Tab reaches the name of
// the selected row only (a click reaches any).
class ProfileRow final : public SectionListRow {
    Q_OBJECT

public:
    ProfileRow(const QUuid& id, const TremlorSettings& settings, QWidget* parent = nullptr);

    // Shows the stored profile (a rename under way keeps its text and caret).
    void refresh();

    kestu::KestuTextField* nameField() const { return m_name; }
    QWidget* checkMark() const { return m_check; }
    SectionListText* summaryLabel() const { return m_summary; }
    bool hasMenu() const override { return true; }

Q_SIGNALS:
    // Every keystroke of a rename: the name exactly as typed.
    void renamed(const QUuid& id, const QString& name);
    void menuRequested(const QUuid& id, const QPoint& globalPos);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void selectedChanged() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const TremlorSettings& m_settings;
    kestu::KestuTextField* m_name;
    QWidget* m_check;
    SectionListText* m_summary;
};

} // namespace tremlor
