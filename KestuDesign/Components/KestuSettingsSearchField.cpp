#include "KestuDesign/Components/KestuSettingsSearchField.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionFrame>

namespace kestu {

namespace {
constexpr int symbolSize = 11;

// The platform's secondary foreground: the palette's placeholder colour.
QColor secondaryColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::PlaceholderText);
}
} // namespace

class KestuSettingsSearchField::Glass final : public QWidget {
public:
    explicit Glass(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(symbolSize, symbolSize);
    }
    QColor color;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        KestuSymbols::paint(p, QRectF(rect()), QStringLiteral("magnifyingglass"), symbolSize, color);
    }
};

class KestuSettingsSearchField::Edit final : public QLineEdit {
public:
    explicit Edit(QWidget* parent)
        : QLineEdit(parent)
    {
    }

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        showStartForFocusingClick(this, event);
        showCaretAtEndForKeyboard(this, event);
    }
    void paintEvent(QPaintEvent* event) override
    {
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        if (!paintElidedWhenUnfocused(this, panel))
            QLineEdit::paintEvent(event);
    }
};

KestuSettingsSearchField::KestuSettingsSearchField(
    KestuBinding<QString> text, const QString& placeholder, QWidget* parent)
    : QWidget(parent)
    , m_text(std::move(text))
    , m_glass(new Glass(this))
    , m_edit(new Edit(this))
    , m_clear(new KestuClearButton(symbolSize, this))
{
    m_edit->setFrame(false);
    QPalette p = m_edit->palette();
    p.setColor(QPalette::Base, Qt::transparent);
    m_edit->setPalette(p);
    m_edit->setFont(systemFont(12));
    m_edit->setPlaceholderText(placeholder);
    m_edit->setText(m_text.get());
    m_edit->installEventFilter(this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addWidget(m_glass, 0, Qt::AlignVCenter);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_clear, 0, Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    // Typed or not (an assistive tool sets the text without typing), every change the field
    // did not make itself reaches the binding.
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& value) {
        if (m_ownChange)
            return;
        m_text.set(value);
        showClear(!value.isEmpty());
    });
    connect(m_clear, &QAbstractButton::clicked, this, [this] {
        // The keyboard goes to the field, never elsewhere, as the button goes away.
        m_edit->setFocus(Qt::OtherFocusReason);
        m_text.set(QString());
        refresh();
    });
    m_clear->setVisible(!m_text.get().isEmpty());
    applyColors();
}

void KestuSettingsSearchField::refresh()
{
    const QString value = m_text.get();
    if (m_edit->text() != value)
        setOwnText(m_edit, m_ownChange, value);
    showClear(!value.isEmpty());
}

void KestuSettingsSearchField::showClear(bool shown)
{
    // A button that goes away hands the keyboard to its field, not to the window's next control.
    if (!shown && m_clear->hasFocus())
        m_edit->setFocus(Qt::OtherFocusReason);
    m_clear->setVisible(shown);
}

void KestuSettingsSearchField::applyColors()
{
    m_glass->color = secondaryColor(this);
    m_glass->update();
    m_clear->setSymbolColor(secondaryColor(this));
    m_clear->setBackdrop(Color::surfaceTertiary().resolve(this));
}

void KestuSettingsSearchField::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

bool KestuSettingsSearchField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        update();
    return QWidget::eventFilter(watched, event);
}

void KestuSettingsSearchField::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor fill = Color::surfaceTertiary().resolve(this);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(rect()), Radius::small, Radius::small);
    if (m_edit->hasFocus())
        paintFocusRing(p, this, QRectF(rect()), Radius::small, fill);
}

} // namespace kestu
