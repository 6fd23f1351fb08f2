#include "Views/Shared/FormStepper.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Shared/AccessibleFactory.h"
#include "Views/Shared/TokenLabel.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tremlor {

namespace {

// One half of the stepper, for the mouse: a symbol on a small rounded segment. Both halves wear
// the ring while the stepper has the keyboard.
class StepButton final : public QAbstractButton {
public:
    StepButton(QString symbol, QWidget* stepper)
        : QAbstractButton(stepper)
        , m_symbol(std::move(symbol))
    {
        setFixedSize(28, 24);
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(
            QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kestu::Radius::small + 1, kestu::Radius::small + 1);
        QColor fill = kestu::Color::surfaceTertiary().resolve(this);
        if (isEnabled() && (isDown() || underMouse()))
            fill = kestu::appearanceOf(this) == kestu::KestuAppearance::dark ? fill.lighter(125) : fill.darker(106);
        p.fillPath(path, fill);
        p.setPen(QPen(kestu::Color::border().resolve(this), 1));
        p.drawPath(path);
        const QColor color = isEnabled() ? kestu::Color::text().resolve(this)
                                         : kestu::withOpacity(kestu::Color::textSecondary().resolve(this), 0.5);
        kestu::KestuSymbols::paint(p, QRectF(rect()), m_symbol, 11, color);
        if (kestu::showsFocusRing(parentWidget()))
            kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small + 1, fill,
                kestu::Color::surfaceSecondary().resolve(this));
    }

private:
    QString m_symbol;
};

// A spin button: its name is the label, its value the number, and it steps by one in its range.
class StepperAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit StepperAccessible(FormStepper* stepper)
        : QAccessibleWidget(stepper, QAccessible::SpinBox)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? QString::number(stepper()->value()) : QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        return QStringList { increaseAction(), decreaseAction() } + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == increaseAction() || name == decreaseAction())
            stepper()->stepBy(name == increaseAction() ? 1 : -1);
        else
            QAccessibleWidget::doAction(name);
    }

    QVariant currentValue() const override { return QVariant::fromValue<qlonglong>(stepper()->value()); }
    void setCurrentValue(const QVariant& value) override
    {
        bool ok = false;
        const qlonglong wanted = value.toLongLong(&ok);
        if (ok)
            stepper()->choose(wanted);
    }
    QVariant maximumValue() const override { return QVariant::fromValue<qlonglong>(stepper()->maximum()); }
    QVariant minimumValue() const override { return QVariant::fromValue<qlonglong>(stepper()->minimum()); }
    QVariant minimumStepSize() const override { return 1; }

private:
    FormStepper* stepper() const { return static_cast<FormStepper*>(widget()); }
};

} // namespace

FormStepper::FormStepper(
    std::int64_t minimum, std::int64_t maximum, std::function<QString(std::int64_t)> label, QWidget* parent)
    : QWidget(parent)
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_value(minimum)
    , m_labelText(std::move(label))
    , m_label(new TokenLabel(QString(), kestu::Font::body(), kestu::Color::text(), this))
    , m_minus(new StepButton(QStringLiteral("minus"), this))
    , m_plus(new StepButton(QStringLiteral("plus"), this))
{
    installAccessible<FormStepper, StepperAccessible>();
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(static_cast<int>(kestu::Space::space4));
    layout->addWidget(m_label);
    layout->addStretch(1);
    layout->addWidget(m_minus);
    layout->addWidget(m_plus);
    connect(m_minus, &QAbstractButton::clicked, this, [this] { stepBy(-1); });
    connect(m_plus, &QAbstractButton::clicked, this, [this] { stepBy(+1); });
    refresh();
}

void FormStepper::showValue(std::int64_t value)
{
    if (value == m_value)
        return;
    m_value = value;
    refresh();
    QAccessibleValueChangeEvent changed(this, QVariant::fromValue<qlonglong>(value));
    QAccessible::updateAccessibility(&changed);
}

void FormStepper::refresh()
{
    m_label->setText(m_labelText(m_value));
    setAccessibleName(m_label->text());
    m_minus->setEnabled(m_value > m_minimum);
    m_plus->setEnabled(m_value < m_maximum);
}

void FormStepper::stepBy(int delta)
{
    // From a value outside the range, the first step lands on its nearest end.
    choose(m_value + delta);
}

void FormStepper::choose(std::int64_t value)
{
    const std::int64_t next = std::clamp(value, m_minimum, m_maximum);
    if (next != m_value)
        Q_EMIT chosen(next);
}

void FormStepper::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Plus:
        stepBy(+1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Minus:
        stepBy(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void FormStepper::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    m_minus->update();
    m_plus->update();
}

void FormStepper::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_minus->update();
    m_plus->update();
}

} // namespace tremlor
