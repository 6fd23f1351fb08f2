#include "KestuDesign/Components/KestuSearchField.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Tokens/KestuTransition.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

namespace kestu {

namespace {
// Room around the symbol for the focus ring (it has no fill, so no inner line).
constexpr int clearRingRoom = int(focusRingWidth) + 1;

bool isReturn(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

KestuClearButton::KestuClearButton(int symbolSize, QWidget* parent)
    : QAbstractButton(parent)
    , m_size(symbolSize)
{
    // Tab reaches it; a click does not focus it, and clearing hands the keyboard to the field.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
    setAccessibleName(QStringLiteral("Clear"));
    setFixedSize(sizeHint());
}

QSize KestuClearButton::sizeHint() const
{
    const int side = m_size + 2 + 2 * clearRingRoom;
    return QSize(side, side);
}

void KestuClearButton::setSymbolColor(const QColor& color)
{
    m_color = color;
    update();
}

void KestuClearButton::setBackdrop(const QColor& color)
{
    m_backdrop = color;
    update();
}

bool KestuClearButton::event(QEvent* event)
{
    // Return presses the focused button before any window shortcut sees it.
    if (event->type() == QEvent::ShortcutOverride && isReturn(static_cast<QKeyEvent*>(event)->key())) {
        event->accept();
        return true;
    }
    return QAbstractButton::event(event);
}

void KestuClearButton::keyPressEvent(QKeyEvent* event)
{
    if (isReturn(event->key())) {
        event->accept();
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void KestuClearButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    KestuSymbols::paint(p, QRectF(rect()), QStringLiteral("xmark.circle.fill"), m_size, m_color);
    if (showsFocusRing(this))
        paintFocusRing(p, this, QRectF(rect()), height() / 2.0, QColor(), m_backdrop);
}

// The magnifying glass before the text.
class KestuSearchField::Glass final : public QWidget {
public:
    Glass(int size, QWidget* parent)
        : QWidget(parent)
        , m_size(size)
    {
        setFixedSize(size, size);
    }
    QColor color;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        KestuSymbols::paint(p, QRectF(rect()), QStringLiteral("magnifyingglass"), m_size, color);
    }

private:
    int m_size;
};

namespace {
// The caption font's size: the symbols are drawn at the size of a caption glyph.
int captionSize()
{
    return Font::caption().pixelSize();
}
} // namespace

KestuSearchField::KestuSearchField(KestuBinding<QString> text, const QString& placeholder, QWidget* parent)
    : QWidget(parent)
    , m_text(std::move(text))
    , m_glass(new Glass(captionSize(), this))
{
    QPointer<KestuSearchField> self(this);
    // Each keystroke reaches the host's binding and decides whether the clear button shows.
    KestuBinding<QString> watched([this] { return m_text.get(); },
        [self, this](const QString& value) {
            m_text.set(value);
            if (self)
                updateClearButton();
        });
    m_field = new KestuTextField(
        placeholder, watched, systemFont(13), Qt::AlignLeft, false, false, true, nullptr, nullptr, this);
    m_field->setDrawsFocusRing(false);
    m_field->installEventFilter(this);
    // Made after the field, so Tab reaches it after the field.
    m_clear = new KestuClearButton(captionSize(), this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 5, 8, 5);
    layout->setSpacing(4);
    layout->addWidget(m_glass, 0, Qt::AlignVCenter);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_clear, 0, Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    connect(m_clear, &QAbstractButton::clicked, this, &KestuSearchField::clear);
    m_clearShown = !m_text.get().isEmpty();
    m_clear->setVisible(m_clearShown);
    applyColors();
}

void KestuSearchField::refresh()
{
    m_field->refresh();
    updateClearButton();
}

void KestuSearchField::clear()
{
    // The keyboard goes to the field, and the field and binding empty, even mid-edit.
    m_field->setFocus(Qt::OtherFocusReason);
    m_field->replaceText(QString());
}

void KestuSearchField::updateClearButton()
{
    const bool show = !m_text.get().isEmpty();
    if (show == m_clearShown)
        return;
    m_clearShown = show;
    // A button that goes away hands the keyboard to its field, not to the window's next control.
    if (!show && m_clear->hasFocus())
        m_field->setFocus(Qt::OtherFocusReason);
    if (show)
        KestuTransition::kestuScale().insert(m_clear, Animation::fadeQuick());
    else
        KestuTransition::kestuScale().remove(m_clear, Animation::fadeQuick());
}

void KestuSearchField::applyColors()
{
    const QColor color = withOpacity(Color::textSecondary().resolve(this), 0.6);
    m_glass->color = color;
    m_glass->update();
    m_clear->setSymbolColor(color);
}

bool KestuSearchField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        update();
    return QWidget::eventFilter(watched, event);
}

void KestuSearchField::paintEvent(QPaintEvent*)
{
    if (!m_field->hasFocus())
        return;
    QPainter p(this);
    paintFocusRing(p, this, QRectF(rect()), Radius::medium);
}

void KestuSearchField::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

} // namespace kestu
