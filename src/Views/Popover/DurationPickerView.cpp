#include "Views/Popover/DurationPickerView.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuPressStyle.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Utilities/KestuCheckable.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "Views/Shared/TremlorColor.h"

#include <QAccessible>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVariantAnimation>

#include <algorithm>

namespace tremlor {

namespace {
constexpr double pulsedScale = 1.04;
constexpr int horizontalPadding = 8;
constexpr int verticalPadding = 4;

QColor mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
        float(a.greenF() + (b.greenF() - a.greenF()) * t), float(a.blueF() + (b.blueF() - a.blueF()) * t),
        float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QFont chipFont(bool selected)
{
    QFont font = kestu::Font::callout();
    font.setWeight(selected ? QFont::DemiBold : QFont::Normal);
    return font;
}
} // namespace

DurationChip::DurationChip(const Duration& duration, QWidget* parent)
    : QAbstractButton(parent)
    , m_duration(duration)
{
    setObjectName(QStringLiteral("duration-chip-%1").arg(duration.id()));
    setText(duration.displayLabel());
    setAccessibleName(tr("Set duration to %1").arg(duration.accessibleLabel()));
    // One choice among the row: radio buttons to assistive tools, checked while selected; the
    // row decides what is shown.
    setCheckable(true);
    setAutoExclusive(true);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    kestu::KestuPressStyle::attach(this);
}

QSize DurationChip::sizeHint() const
{
    // Wide enough for the semibold label, so the row does not shift as the selection moves.
    const QFontMetrics metrics(chipFont(true));
    return { metrics.horizontalAdvance(text()) + 2 * horizontalPadding + 2 * pulseMargin,
        metrics.height() + 2 * verticalPadding + 2 * pulseMargin };
}

void DurationChip::setSelected(bool selected, bool immediately)
{
    // The checked button of a group never unchecks itself; a custom length checks none.
    if (!selected && isChecked()) {
        setAutoExclusive(false);
        kestu::showChecked(this, false);
        setAutoExclusive(true);
    }
    kestu::showChecked(this, selected);
    if (selected != m_selected) {
        m_selected = selected;
        if (QAccessible::isActive()) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(this, changed);
            QAccessible::updateAccessibility(&event);
        }
    }
    animate(m_selectionMove, m_selectedness, selected ? 1.0 : 0.0, immediately);
}

void DurationChip::setPulsing(bool pulsing, bool immediately)
{
    animate(m_scaleMove, m_scale, pulsing ? pulsedScale : 1.0, immediately);
}

void DurationChip::animate(QVariantAnimation*& animation, double& value, double target, bool immediately)
{
    if (animation)
        animation->stop();
    if (value == target)
        return;
    if (immediately || kestu::prefersReducedMotion() || !isVisible()) {
        value = target;
        update();
        return;
    }
    if (!animation) {
        animation = new QVariantAnimation(this);
        double* field = &value;
        connect(animation, &QVariantAnimation::valueChanged, this, [this, field](const QVariant& v) {
            *field = v.toDouble();
            update();
        });
    }
    animation->setStartValue(value);
    animation->setEndValue(target);
    kestu::Animation::springSnappy().apply(animation);
    animation->start();
}

void DurationChip::keyPressEvent(QKeyEvent* event)
{
    // The arrows move the choice along the row, as in any group of radio buttons.
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            Q_EMIT stepRequested(-1);
            return;
        case Qt::Key_Right:
        case Qt::Key_Down:
            Q_EMIT stepRequested(1);
            return;
        default:
            break;
        }
    }
    QAbstractButton::keyPressEvent(event);
}

void DurationChip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).adjusted(pulseMargin, pulseMargin, -pulseMargin, -pulseMargin);
    const QPointF centre = capsule.center();
    const double scale = std::clamp(m_scale, 0.9, 1.1);
    p.translate(centre);
    p.scale(scale, scale);
    p.translate(-centre);

    const double t = std::clamp(m_selectedness, 0.0, 1.0);
    const double radius = capsule.height() / 2;
    p.setPen(Qt::NoPen);
    if (t < 1) {
        p.setBrush(kestu::Color::surfaceTertiary().resolve(this));
        p.drawRoundedRect(capsule, radius, radius);
    }
    if (t > 0) {
        p.setOpacity(t);
        p.setBrush(Color::accentGradient(capsule));
        p.drawRoundedRect(capsule, radius, radius);
        p.setOpacity(1);
    }
    p.setFont(chipFont(t >= 0.5));
    p.setPen(mix(kestu::Color::text().resolve(this), kestu::Color::white().resolve(this), t));
    p.drawText(capsule, Qt::AlignCenter, text());
    if (kestu::showsFocusRing(this)) {
        // Around the capsule at rest; the kit parts it from the fill it lies on where needed.
        p.resetTransform();
        kestu::paintFocusRing(
            p, this, capsule, radius, t >= 0.5 ? Color::accent() : kestu::Color::surfaceTertiary().resolve(this));
    }
}

DurationPickerView::DurationPickerView(kestu::KestuBinding<Duration> selectedDuration, QWidget* parent)
    : QWidget(parent)
    , m_selected(std::move(selectedDuration))
{
    setObjectName(QStringLiteral("duration-picker"));
    setAccessibleName(tr("Duration"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    // Four points between the capsules, less the room each keeps for its pulse.
    row->setSpacing(4 - 2 * DurationChip::pulseMargin);
    for (const Duration& duration : Duration::allCases()) {
        auto* chip = new DurationChip(duration, this);
        // Checking a chip (a click, Space, an assistive tool's Toggle) chooses it; the chip it
        // replaces unchecks itself. A tap on the chosen chip, which stays checked, chooses it
        // again; every tap pulses.
        connect(chip, &QAbstractButton::toggled, this, [this, duration](bool checked) {
            if (checked)
                choose(duration);
        });
        connect(chip, &QAbstractButton::clicked, this, [this, duration] {
            choose(duration);
            if (!kestu::prefersReducedMotion())
                triggerScalePulse();
        });
        connect(chip, &DurationChip::stepRequested, this, [this, chip](int step) { moveChoice(chip, step); });
        row->addWidget(chip);
        m_chips.append(chip);
    }
    row->addStretch(1);
    const Duration current = m_selected.get();
    for (DurationChip* chip : m_chips)
        chip->setSelected(chip->duration() == current, true);
}

void DurationPickerView::refresh(bool animated)
{
    const Duration current = m_selected.get();
    const bool hadKeyboard = isAncestorOf(QApplication::focusWidget());
    const auto chosen = std::ranges::find(m_chips, current, &DurationChip::duration);
    for (DurationChip* chip : m_chips)
        chip->setSelected(chip->duration() == current, !animated);
    if (chosen == m_chips.end())
        return; // a custom length: Tab still stops at the chip it stopped at
    // The row is one stop for Tab, the chosen chip, and the keyboard follows the choice made by
    // a digit or a profile: it never rests on a chip other than the chosen one.
    for (DurationChip* chip : m_chips)
        chip->setFocusPolicy(chip == *chosen ? Qt::TabFocus : Qt::NoFocus);
    if (hadKeyboard)
        (*chosen)->setFocus(Qt::TabFocusReason);
}

void DurationPickerView::choose(const Duration& duration)
{
    m_selected.set(duration);
    refresh();
}

void DurationPickerView::moveChoice(DurationChip* from, int step)
{
    // Round the row, from either end to the other.
    const qsizetype count = m_chips.size();
    DurationChip* to = m_chips[(m_chips.indexOf(from) + step + count) % count];
    m_selected.set(to->duration());
    refresh(); // the keyboard follows
}

void DurationPickerView::triggerScalePulse()
{
    setScaleSelected(true);
    // Every tap schedules its own return; an earlier one may end a later pulse early.
    QTimer::singleShot(pulseMs, this, [this] { setScaleSelected(false); });
}

void DurationPickerView::setScaleSelected(bool value)
{
    m_scaleSelected = value;
    const bool reduced = kestu::prefersReducedMotion();
    for (DurationChip* chip : m_chips)
        chip->setPulsing(value && !reduced && chip->isSelected(), false);
}

} // namespace tremlor
