#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"

#include <QFont>
#include <QLineEdit>

#include <functional>
#include <optional>

namespace kestu {

// The kit's single-line text input, bound two-way to a string the host owns.
//
// The binding follows every change of the text that the field did not make itself: typed,
// pasted, or set by an assistive tool. An edit begins with the first such change while the field
// holds the keyboard (not with focus). While editing, outside changes of the binding are not
// shown. Return commits (binding ← text, then onCommit) and gives up focus; Escape cancels (the
// text from before the edit goes back into the binding and the field, then onCancel) and gives
// up focus. Losing the keyboard to another control commits too, even with nothing typed (then
// only onCommit runs, as there is nothing to write); another window or a popup taking it does
// not. With numericOnly, every change is reduced to number characters, "." and "-", keeping the
// caret in place. Reached by the keyboard (Tab, Backtab, or handed over), the field shows its
// caret at the end and selects nothing; only autoFocus selects the whole text. Unfocused, a text
// too long for the field shows its start and "…". While it holds the keyboard, however it got
// it, the field draws the kit's focus ring along its edge (not the style's focus frame), with
// room kept for it around the text.
class KestuTextField : public QLineEdit {
    Q_OBJECT

public:
    // What the host hands in at every update. bordered and autoFocus only count at creation.
    struct Description {
        QString placeholder;
        KestuBinding<QString> text;
        std::optional<QFont> font; // absent: the system font at 13 points
        Qt::Alignment alignment = Qt::AlignLeft;
        bool bordered = false;
        bool numericOnly = false;
        bool autoFocus = false;
        std::function<void()> onCommit;
        std::function<void()> onCancel;
    };

    KestuTextField(const QString& placeholder, KestuBinding<QString> text, std::optional<QFont> font,
        Qt::Alignment alignment, bool bordered, bool numericOnly, bool autoFocus, std::function<void()> onCommit,
        std::function<void()> onCancel, QWidget* parent = nullptr);
    explicit KestuTextField(Description description, QWidget* parent = nullptr);

    // Takes a new description (the binding, flags and callbacks take effect at once; a font that
    // is absent keeps the last one), then refresh().
    void setDescription(Description description);
    const Description& description() const { return m_description; }
    // Shows the binding's text, unless the user is in the middle of an edit.
    void refresh();
    bool isEditing() const { return m_editing; }
    // Puts `value` into the field and the binding at once, whether or not an edit is under way
    // (an edit in progress goes on with the new text).
    void replaceText(const QString& value);
    // For a host that rings the field together with its own parts (a search row): the field
    // then draws no ring and keeps no room for one.
    void setDrawsFocusRing(bool draws);

    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void initStyleOption(QStyleOptionFrame* option) const override;

private:
    void applyAppearance(bool creation);
    void beginEdit();
    void onTextChanged();
    // Ends the edit: binding ← text when `write`, then onCommit.
    void commit(bool write);
    void cancel();

    Description m_description;
    QString m_originalValue;
    bool m_editing = false;
    bool m_filtering = false;
    bool m_ownChange = false;
    bool m_ending = false;
    bool m_drawsFocusRing = true;
};

// A one-line text that does not fit shows its start and then "…" while nobody types in it
// (QLineEdit would show wherever its caret was last, cut mid-letter); the text itself stays
// whole. For the kit's line edits, from their paintEvent: when `edit` is not focused and its
// text overflows, paints it that way and answers true; otherwise paints nothing.
bool paintElidedWhenUnfocused(QLineEdit* edit, const QStyleOptionFrame& panel);
// From focusInEvent: an edit reached by the keyboard (Tab, Backtab, a shortcut, or focus handed
// to it) shows its caret at the end with nothing selected, so the next key adds to the text.
void showCaretAtEndForKeyboard(QLineEdit* edit, const QFocusEvent* event);
// Sets `edit`'s text as the program's own change: `ownChange` is true meanwhile, so the edit's
// change handler tells it from a change the user or an assistive tool made.
void setOwnText(QLineEdit* edit, bool& ownChange, const QString& text);
// From focusInEvent: a click that focuses an elided edit places its caret where the user saw
// the letter, so the edit scrolls back to the start before the press is handled.
void showStartForFocusingClick(QLineEdit* edit, const QFocusEvent* event);

} // namespace kestu
