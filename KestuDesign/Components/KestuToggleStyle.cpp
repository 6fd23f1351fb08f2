#include "KestuDesign/Components/KestuToggleStyle.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuShadow.h"
#include "KestuDesign/Utilities/KestuCheckable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVariantAnimation>

namespace kestu {

namespace {
constexpr double trackWidth = 44;
constexpr double trackHeight = 26;
constexpr double knobInset = 3;
constexpr double trackRadius = 16;
constexpr double smallScale = 0.7;

QColor mix(const QColor& a, const QColor& b, double t)
{
    const auto lerp = [t](float x, float y) { return x + (y - x) * float(t); };
    return QColor::fromRgbF(lerp(a.redF(), b.redF()), lerp(a.greenF(), b.greenF()), lerp(a.blueF(), b.blueF()),
        lerp(a.alphaF(), b.alphaF()));
}
} // namespace

KestuToggleSwitch::KestuToggleSwitch(KestuBinding<bool> isOn, QWidget* parent, KestuControlSize size)
    : QAbstractButton(parent)
    , m_isOn(std::move(isOn))
    , m_shown(m_isOn.get())
    , m_position(m_shown ? 1.0 : 0.0)
    , m_scale(size == KestuControlSize::small ? smallScale : 1.0)
    , m_animation(new QVariantAnimation(this))
{
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(QStringLiteral("switch"));
    // Checkable before anything asks for its accessible interface, so a screen reader hears a
    // check box that says on or off rather than a plain button.
    setCheckable(true);
    setChecked(m_shown);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_position = value.toDouble();
        update();
    });
    // A click, Space and an assistive tool's Toggle all change the checked state; the binding
    // decides, and refresh() shows its answer (a refused change springs back).
    actOnCheckedChange(
        this,
        [this](bool on) {
            m_isOn.set(on);
            refresh();
        },
        [this] { return m_isOn.get(); });
}

void KestuToggleSwitch::refresh()
{
    const bool on = m_isOn.get();
    showChecked(this, on);
    if (on != m_shown)
        animateTo(on);
}

void KestuToggleSwitch::animateTo(bool on)
{
    m_shown = on;
    m_animation->stop();
    m_animation->setStartValue(m_position);
    m_animation->setEndValue(on ? 1.0 : 0.0);
    Animation::springSnappy().apply(m_animation);
    m_animation->start();
}

QColor KestuToggleSwitch::trackColor() const
{
    // The colour follows the knob's travel, so it changes with the same spring.
    const double t = std::clamp(m_position, 0.0, 1.0);
    return mix(Color::surfaceTertiary().resolve(this), Color::accent().resolve(this), t);
}

QSize KestuToggleSwitch::sizeHint() const
{
    return QSizeF(trackWidth * m_scale, trackHeight * m_scale).toSize();
}

bool KestuToggleSwitch::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

void KestuToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.scale(m_scale, m_scale);
    const QRectF track(0, 0, trackWidth, trackHeight);
    // A 16-point radius on a 26-point height is capped at half the height: a capsule.
    const double radius = std::min(trackRadius, trackHeight / 2);
    p.setBrush(trackColor());
    p.drawRoundedRect(track, radius, radius);

    const double knob = trackHeight - 2 * knobInset;
    const double x = knobInset + m_position * (trackWidth - trackHeight);
    const QRectF knobRect(x, knobInset, knob, knob);
    paintKestuShadow(p, knobRect, knob / 2, KestuShadow::thumb());
    p.setBrush(Color::white().resolve(this));
    p.drawEllipse(knobRect);
    p.resetTransform();
    if (showsFocusRing(this))
        paintFocusRing(p, this, QRectF(rect()), height() / 2.0, trackColor());
}

KestuToggleStyle::KestuToggleStyle(const QString& label, KestuBinding<bool> isOn, QWidget* parent)
    : QWidget(parent)
    , m_label(new QLabel(label, this))
    , m_switch(new KestuToggleSwitch(std::move(isOn), this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    layout->addStretch(1);
    layout->addWidget(m_switch, 0, Qt::AlignVCenter);
    m_switch->setAccessibleName(label);
}

void KestuToggleStyle::refresh()
{
    m_switch->refresh();
}

} // namespace kestu
