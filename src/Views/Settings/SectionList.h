#pragma once

#include "KestuDesign/Tokens/KestuColor.h"

#include <QLabel>
#include <QList>
#include <QPointer>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class QScrollArea;
class QTimer;
class QVBoxLayout;

namespace kestu {
class KestuEmptyState;
}

namespace tremlor {

class SectionList;

// A one-line text of a list row. Where the row is too narrow it shows the start of its text
// ending in "…", cut again at every resize; the text itself stays whole: text() and the
// accessible name give all of it, and so does the tooltip while it is cut.
class SectionListText : public QLabel {
    Q_OBJECT

public:
    SectionListText(const QFont& font, const kestu::KestuColor& color, QWidget* parent = nullptr);

    // What the row shows of the text at its present width.
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    kestu::KestuColor m_color;
};

// One row of a SectionList: it stands for the record with its id (a profile, a schedule
// entry) and draws the list's alternating and selected backgrounds behind its content.
// Assistive tools hear it as a selectable cell of its list, focused while the keyboard is on it;
// its press action selects it.
class SectionListRow : public QWidget {
    Q_OBJECT

public:
    explicit SectionListRow(const QUuid& id, QWidget* parent = nullptr);

    const QUuid& id() const { return m_id; }
    bool isSelected() const { return m_selected; }
    // The list's current row while the list holds the keyboard.
    bool hasKeyboard() const;
    SectionList* list() const { return m_list; }

    // Whether the row has a menu (it opens on a QContextMenuEvent); assistive tools then offer
    // to show it.
    virtual bool hasMenu() const { return false; }
    // Opens the row's menu by the row, as the Menu key does.
    void openMenu(Qt::KeyboardModifiers modifiers = {});

Q_SIGNALS:
    // A left press on the row: it becomes the selected and current one.
    void pressed(const QUuid& id);
    // A field of the row ended its edit (Return, Escape): the keyboard goes back to the list.
    void editEnded(const QUuid& id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // After the row becomes selected or stops being.
    virtual void selectedChanged() { }

private:
    friend class SectionList;
    void setLook(bool alternate, bool selected, bool current);

    QUuid m_id;
    SectionList* m_list = nullptr;
    bool m_alternate = false;
    bool m_selected = false;
    bool m_current = false;
};

// The list of a list-shaped settings section: rows on an inset rounded card with alternating
// backgrounds and single selection, and the empty state over it while it has no rows (the
// section lays out its bar under it). Rows are keyed by their record's id, never by position:
// setRows keeps the row (and whatever the user is doing in it) of every id still there. A long
// list shows its first rows at once and makes the others a part per turn of the event loop, so
// opening a section with a thousand records never holds up the window. The list takes the keyboard, on its
// current row, which is not always the selected one: the arrow keys, Home and End move both,
// Space selects the current row, Delete removes the selected record, and the Menu key or
// Shift+F10 opens the current row's menu. Return or Escape in a row's field brings the keyboard
// back to the list, on that row. Assistive tools read the selection through the list's table.
class SectionList final : public QWidget {
    Q_OBJECT

public:
    explicit SectionList(kestu::KestuEmptyState* emptyState, QWidget* parent = nullptr);

    static constexpr qsizetype firstRows = 40;
    static constexpr qsizetype rowsPerTurn = 80;

    // Shows one row per id in this order, making rows only for ids not shown yet. makeRow is
    // kept for the rows made later: it must find its record by the id it is given.
    void setRows(const QList<QUuid>& ids, const std::function<SectionListRow*(const QUuid&)>& makeRow);
    // The rows made so far, in list order (every id's row once isComplete()).
    QList<SectionListRow*> rows() const { return m_rows; }
    bool isComplete() const;
    SectionListRow* row(const QUuid& id) const;

    // The selection may name a record that is gone (it then marks no row).
    const std::optional<QUuid>& selectedId() const { return m_selectedId; }
    void setSelectedId(const std::optional<QUuid>& id);
    // The row the keyboard is on: the one last moved to, else the selected one. A current record
    // that goes passes the keyboard to the row now in its place.
    SectionListRow* currentRow() const;

    // The bar's buttons that remove the selected record and add one.
    void setBarButtons(QWidget* remove, QWidget* add);
    // Controls that Tab reaches after the rows' own ones (the bar under the rows).
    void setTabAfterRows(const QList<QWidget*>& controls);
    // Removes the record `id` as the user asked (`remove` stores the list without it). When it is
    // the selected one, the selection is cleared and the row now in its place becomes the current
    // one. While the keyboard is on the list, in that row or on the bar's remove button, it stays
    // in the list, or goes to the add button once no row is left: it never falls to the next
    // control of the window, such as a name field with its text selected.
    void removeRecord(QUuid id, const std::function<void()>& remove);

    kestu::KestuEmptyState* emptyState() const { return m_emptyState; }
    QScrollArea* scrollArea() const { return m_scroll; }

Q_SIGNALS:
    void selectionChanged();
    // Delete or Backspace while the list has focus and a selection.
    void deleteRequested(const QUuid& id);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveSelection(int key);
    void setCurrentId(const std::optional<QUuid>& id);
    // Puts the keyboard on `id`'s row (a field of it ended its edit).
    void takeKeyboard(const QUuid& id);
    void placeTabAfterRows();
    void restyle();
    void placeEmptyState();
    SectionListRow* adopt(SectionListRow* row);
    void scheduleMore();
    void makeMore();

    QScrollArea* m_scroll;
    class RowsCard;
    RowsCard* m_card;
    kestu::KestuEmptyState* m_emptyState;
    QList<SectionListRow*> m_rows;
    QList<QUuid> m_ids;
    std::function<SectionListRow*(const QUuid&)> m_makeRow;
    QTimer* m_more;
    std::optional<QUuid> m_selectedId;
    std::optional<QUuid> m_currentId;
    QWidget* m_removeButton = nullptr;
    QWidget* m_addButton = nullptr;
    QList<QPointer<QWidget>> m_tabAfterRows;
};

} // namespace tremlor
