#include "KestuDesign/Components/KestuSliderLabelField.h"

#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Utilities/KestuNumeric.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFrame>

namespace kestu {

namespace {
constexpr int labelWidth = 56;
} // namespace

KestuSliderLabelField::KestuSliderLabelField(KestuBinding<double> value, double lower, double upper, double step,
    const QString& suffix, int fractionDigits, QWidget* parent)
    : QLineEdit(parent)
    , m_value(std::move(value))
    , m_lower(lower)
    , m_upper(upper)
    , m_step(step)
    , m_suffix(suffix)
    , m_fractionDigits(fractionDigits)
{
    setFrame(false);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Text, p.color(QPalette::WindowText));
    setPalette(p);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFont(Font::mono());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setText(formattedValue(m_value.get()));
    // Typed or not: an assistive tool sets the text without any typed change.
    connect(this, &QLineEdit::textChanged, this, &KestuSliderLabelField::onTextChanged);
}

KestuSliderLabelField::~KestuSliderLabelField()
{
    removeClickOutsideMonitor();
}

QString KestuSliderLabelField::formattedValue(double value) const
{
    // A value beyond the range (only an imported file holds one) shows as the bound it passes,
    // which fits the label however large the value is. Not being a number, the text commits
    // nothing if the user leaves it as it is; the stored value stays.
    if (value > m_upper)
        return QStringLiteral(">") + KestuNumeric::format(m_upper, m_fractionDigits, m_suffix);
    if (value < m_lower)
        return QStringLiteral("<") + KestuNumeric::format(m_lower, m_fractionDigits, m_suffix);
    return KestuNumeric::format(value, m_fractionDigits, m_suffix);
}

QString KestuSliderLabelField::numericPart(const QString& text) const
{
    const QString trimmed = KestuNumeric::trimSpacesAndTabs(text);
    if (!m_suffix.isEmpty() && trimmed.endsWith(m_suffix))
        return KestuNumeric::trimSpacesAndTabs(trimmed.left(trimmed.size() - m_suffix.size()));
    return KestuNumeric::numberCharacters(trimmed);
}

void KestuSliderLabelField::refresh()
{
    if (!m_editing)
        setOwnText(this, m_ownChange, formattedValue(m_value.get()));
}

QSize KestuSliderLabelField::sizeHint() const
{
    return QSize(labelWidth, QLineEdit::sizeHint().height());
}

void KestuSliderLabelField::activate()
{
    m_editing = true;
    m_typed = false;
    // Select just the number, so typing replaces it and keeps the unit.
    const QString current = text();
    const QString number = numericPart(current);
    const qsizetype at = number.isEmpty() ? -1 : current.indexOf(number);
    if (at >= 0)
        setSelection(int(at), int(number.size()));
    else
        selectAll();
}

void KestuSliderLabelField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Coming back from a popup or another window continues the edit in progress.
    if (m_editing && (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason))
        return;
    activate();
    installClickOutsideMonitor();
    // The press that focused the field would place the caret: select again on release.
    m_reselectOnRelease = event->reason() == Qt::MouseFocusReason;
}

void KestuSliderLabelField::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (m_reselectOnRelease && !hasSelectedText())
        activate();
    m_reselectOnRelease = false;
}

void KestuSliderLabelField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    removeClickOutsideMonitor();
    commitEdit();
}

void KestuSliderLabelField::paintEvent(QPaintEvent* event)
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    if (!paintElidedWhenUnfocused(this, panel))
        QLineEdit::paintEvent(event);
}

bool KestuSliderLabelField::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    // The text follows the window text when the appearance changes (it was copied at creation).
    if (event->type() == QEvent::PaletteChange
        && palette().color(QPalette::Text) != palette().color(QPalette::WindowText)) {
        QPalette p = palette();
        p.setColor(QPalette::Text, p.color(QPalette::WindowText));
        setPalette(p);
    }
    return QLineEdit::event(event);
}

void KestuSliderLabelField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        clearFocus(); // ends and commits the edit
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void KestuSliderLabelField::onTextChanged()
{
    if (m_filtering || m_ownChange)
        return;
    m_typed = true;
    if (!m_editing) {
        // Set from outside while nobody edits the label: a whole entry, committed at once.
        m_editing = true;
        commitEdit();
        return;
    }
    const QString unit = m_suffix.isEmpty() ? QString() : QLatin1Char(' ') + m_suffix;
    const QString current = text();
    const QString body
        = !unit.isEmpty() && current.endsWith(unit) ? current.left(current.size() - unit.size()) : current;
    const QString cleaned = KestuNumeric::numberCharacters(body);
    if (cleaned == body)
        return;
    m_filtering = true;
    const int caret = int(KestuNumeric::numberCharacters(current.left(cursorPosition())).size());
    setText(cleaned + unit);
    setCursorPosition(std::min<int>(caret, int(cleaned.size())));
    m_filtering = false;
}

void KestuSliderLabelField::commitEdit()
{
    if (!m_editing)
        return;
    m_editing = false;
    // Tabbing through the label is no entry: a stored value off the step stays as it is.
    const auto number = m_typed ? KestuNumeric::parseNumber(numericPart(text())) : std::nullopt;
    if (number)
        m_value.set(KestuNumeric::snap(*number, m_lower, m_upper, m_step));
    setOwnText(this, m_ownChange, formattedValue(m_value.get()));
}

void KestuSliderLabelField::installClickOutsideMonitor()
{
    removeClickOutsideMonitor();
    qApp->installEventFilter(this);
    m_monitorInstalled = true;
}

void KestuSliderLabelField::removeClickOutsideMonitor()
{
    if (m_monitorInstalled && qApp)
        qApp->removeEventFilter(this);
    m_monitorInstalled = false;
}

bool KestuSliderLabelField::eventFilter(QObject* watched, QEvent* event)
{
    if (m_monitorInstalled && event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* target = static_cast<QWidget*>(watched);
        // Every press reaches the filter once per widget it is delivered to; judge it by the
        // window it landed in.
        if (mouse->button() == Qt::LeftButton && target->window() == window()) {
            const QPoint local = mapFromGlobal(mouse->globalPosition().toPoint());
            if (!rect().contains(local))
                clearFocus(); // ends and commits the edit; the press goes on to its target
        }
    }
    return QLineEdit::eventFilter(watched, event);
}

} // namespace kestu
