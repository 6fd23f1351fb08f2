#include "KestuDesign/Components/KestuTextField.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuNumeric.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

#include <algorithm>

namespace kestu {

namespace {
bool isReturn(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// QLineEdit's own margins around its text line.
constexpr int lineHorizontalMargin = 2;
constexpr int lineVerticalMargin = 1;
// Added to them, so the focus ring never touches the text.
constexpr int ringRoom = int(focusRingWidth);
} // namespace

bool paintElidedWhenUnfocused(QLineEdit* edit, const QStyleOptionFrame& panel)
{
    const QString text = edit->text();
    if (edit->hasFocus() || text.isEmpty() || edit->echoMode() != QLineEdit::Normal)
        return false;
    // The same text line QLineEdit lays out, so nothing moves when the field takes focus.
    const QRect contents
        = edit->style()->subElementRect(QStyle::SE_LineEditContents, &panel, edit).marginsRemoved(edit->textMargins());
    const QFontMetrics fm = edit->fontMetrics();
    const int leftBearing = std::max(0, -fm.minLeftBearing());
    const int rightBearing = std::max(0, -fm.minRightBearing());
    const int lineWidth = contents.width() - 2 * lineHorizontalMargin;
    const int room = lineWidth - leftBearing - rightBearing - 1;
    if (qRound(QFontMetricsF(edit->font()).horizontalAdvance(text)) <= room)
        return false;

    const int lineHeight = std::max(fm.boundingRect(text).height(), fm.height());
    const Qt::Alignment align = QStyle::visualAlignment(edit->layoutDirection(), edit->alignment());
    int top = contents.y() + (contents.height() - lineHeight + 1) / 2;
    if (align & Qt::AlignTop)
        top = contents.y() + lineVerticalMargin;
    else if (align & Qt::AlignBottom)
        top = contents.y() + contents.height() - lineHeight - lineVerticalMargin;
    const QString shown = fm.elidedText(text, Qt::ElideRight, room);
    const int left = contents.x() + lineHorizontalMargin;
    // QLineEdit starts a left-aligned line at its edge, whatever the font's widest bearing.
    const int x = edit->layoutDirection() == Qt::RightToLeft
        ? left + lineWidth - rightBearing - 1 - fm.horizontalAdvance(shown)
        : left;

    QPainter p(edit);
    edit->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p, edit);
    p.setClipRect(contents);
    p.setFont(edit->font());
    p.setPen(edit->palette().text().color());
    p.drawText(QPoint(x, top + fm.ascent()), shown);
    return true;
}

void showCaretAtEndForKeyboard(QLineEdit* edit, const QFocusEvent* event)
{
    // QLineEdit selects its whole text when Tab reaches it: the next key would replace it.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason
        || reason == Qt::OtherFocusReason)
        edit->end(false);
}

void setOwnText(QLineEdit* edit, bool& ownChange, const QString& text)
{
    const QScopedValueRollback own(ownChange, true);
    edit->setText(text);
}

void showStartForFocusingClick(QLineEdit* edit, const QFocusEvent* event)
{
    if (event->reason() != Qt::MouseFocusReason)
        return;
    // QLineEdit maps the press through the scroll of its last own paint: paint once from the
    // start.
    edit->setCursorPosition(0);
    edit->repaint();
}

KestuTextField::KestuTextField(const QString& placeholder, KestuBinding<QString> text, std::optional<QFont> font,
    Qt::Alignment alignment, bool bordered, bool numericOnly, bool autoFocus, std::function<void()> onCommit,
    std::function<void()> onCancel, QWidget* parent)
    : KestuTextField(Description { placeholder, std::move(text), std::move(font), alignment, bordered, numericOnly,
                         autoFocus, std::move(onCommit), std::move(onCancel) },
        parent)
{
}

KestuTextField::KestuTextField(Description description, QWidget* parent)
    : QLineEdit(parent)
    , m_description(std::move(description))
{
    applyAppearance(true);
    setDrawsFocusRing(true);
    setText(m_description.text.get());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // A typed change (reported first) always begins an edit. The binding follows every change,
    // typed or not: an assistive tool sets the text without any typed change.
    connect(this, &QLineEdit::textEdited, this, &KestuTextField::beginEdit);
    connect(this, &QLineEdit::textChanged, this, &KestuTextField::onTextChanged);
    if (m_description.autoFocus) {
        // After the current construction and layout have finished, like a queued block.
        QTimer::singleShot(0, this, [this] {
            setFocus(Qt::OtherFocusReason);
            selectAll();
        });
    }
}

void KestuTextField::applyAppearance(bool creation)
{
    if (creation) {
        setFrame(m_description.bordered);
        if (!m_description.bordered) {
            QPalette p = palette();
            p.setColor(QPalette::Base, Qt::transparent);
            setPalette(p);
        }
        setFont(m_description.font.value_or(systemFont(13)));
    } else if (m_description.font) {
        setFont(*m_description.font);
    }
    setPlaceholderText(m_description.placeholder);
    setAlignment(m_description.alignment);
}

void KestuTextField::setDescription(Description description)
{
    const bool bordered = m_description.bordered;
    const bool autoFocus = m_description.autoFocus;
    m_description = std::move(description);
    m_description.bordered = bordered;
    m_description.autoFocus = autoFocus;
    applyAppearance(false);
    refresh();
}

void KestuTextField::refresh()
{
    if (m_editing)
        return;
    const QString value = m_description.text.get();
    if (value != text())
        setOwnText(this, m_ownChange, value);
}

void KestuTextField::replaceText(const QString& value)
{
    setOwnText(this, m_ownChange, value);
    m_description.text.set(value);
}

void KestuTextField::setDrawsFocusRing(bool draws)
{
    m_drawsFocusRing = draws;
    const int room = draws ? ringRoom : 0;
    setTextMargins(room, room, room, room);
    update();
}

QSize KestuTextField::minimumSizeHint() const
{
    // Low compression resistance: the field shrinks with the space it is offered.
    QSize hint = QLineEdit::minimumSizeHint();
    hint.setWidth(std::min(hint.width(), fontMetrics().averageCharWidth() * 2));
    return hint;
}

void KestuTextField::beginEdit()
{
    if (m_editing || m_filtering)
        return;
    // The binding still holds the text from before this first change.
    m_editing = true;
    m_originalValue = m_description.text.get();
}

void KestuTextField::onTextChanged()
{
    if (m_filtering || m_ownChange)
        return;
    // A change while the field holds the keyboard begins an edit; one that reaches a field
    // without it (an assistive tool) only goes to the binding.
    if (hasFocus())
        beginEdit();
    if (m_description.numericOnly) {
        const QString current = text();
        const QString filtered = KestuNumeric::numberCharacters(current);
        if (filtered != current) {
            m_filtering = true;
            // The caret stays after the same kept characters it followed.
            const int caret = int(KestuNumeric::numberCharacters(current.left(cursorPosition())).size());
            setText(filtered);
            setCursorPosition(std::min<int>(caret, int(filtered.size())));
            m_filtering = false;
        }
    }
    m_description.text.set(text());
}

void KestuTextField::commit(bool write)
{
    m_editing = false;
    if (write)
        m_description.text.set(text());
    if (m_description.onCommit)
        m_description.onCommit();
}

void KestuTextField::cancel()
{
    if (!m_editing)
        m_originalValue = m_description.text.get();
    m_editing = false;
    m_description.text.set(m_originalValue);
    setOwnText(this, m_ownChange, m_originalValue);
    if (m_description.onCancel)
        m_description.onCancel();
}

bool KestuTextField::event(QEvent* event)
{
    // The field keeps Return and Escape: no window shortcut fires while it has focus.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isReturn(key->key()) || key->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void KestuTextField::keyPressEvent(QKeyEvent* event)
{
    if (isReturn(event->key()) || event->key() == Qt::Key_Escape) {
        QPointer<KestuTextField> self(this);
        // The edit ends here: giving up the keyboard below (or in a callback) ends nothing more.
        m_ending = true;
        if (event->key() == Qt::Key_Escape)
            cancel();
        else
            commit(true);
        // A callback may have deleted the field.
        if (self) {
            clearFocus();
            m_ending = false;
        }
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void KestuTextField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    showStartForFocusingClick(this, event);
    showCaretAtEndForKeyboard(this, event);
}

void KestuTextField::paintEvent(QPaintEvent* event)
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    if (!paintElidedWhenUnfocused(this, panel))
        QLineEdit::paintEvent(event);
    if (m_drawsFocusRing && hasFocus()) {
        // A caret alone is easily missed: a focused field shows the ring, clicked into or not.
        QPainter p(this);
        const QColor fill = m_description.bordered ? palette().color(QPalette::Base) : QColor();
        paintFocusRing(p, this, QRectF(rect()), Radius::small, fill);
    }
}

void KestuTextField::initStyleOption(QStyleOptionFrame* option) const
{
    QLineEdit::initStyleOption(option);
    // The kit's ring shows focus, not the style's frame, bordered or not.
    option->state &= ~QStyle::State_HasFocus;
}

void KestuTextField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu or another window taking the keyboard does not end the edit.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason || m_ending)
        return;
    // Losing the keyboard ends the edit, typed in or not. Merely passing through writes nothing:
    // the host would redo its work for the same text (refilter, save), or take back a value it
    // changed since.
    commit(m_editing);
}

} // namespace kestu
