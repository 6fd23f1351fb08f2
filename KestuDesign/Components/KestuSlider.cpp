#include "KestuDesign/Components/KestuSlider.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuSliderLabelField.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuShadow.h"
#include "KestuDesign/Utilities/KestuNumeric.h"

#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace kestu {

namespace {
constexpr double trackHeight = 5;
constexpr double thumbDiameter = 16;
constexpr int trackAreaHeight = 20;
} // namespace

class KestuSlider::Track final : public QWidget {
public:
    explicit Track(KestuSlider* slider)
        : QWidget(slider)
        , m_slider(slider)
    {
        setFixedHeight(trackAreaHeight);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setCursor(Qt::PointingHandCursor);
        // A keyboard user steps the value here, so Tab stops on the track before the label.
        setFocusPolicy(Qt::StrongFocus);
    }

    QSize sizeHint() const override { return QSize(160, trackAreaHeight); }
    QSize minimumSizeHint() const override { return QSize(0, trackAreaHeight); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        const double w = width();
        const double top = (trackAreaHeight - trackHeight) / 2;
        p.setBrush(Color::surfaceTertiary().resolve(this));
        p.drawRoundedRect(QRectF(0, top, w, trackHeight), trackHeight / 2, trackHeight / 2);

        const double f = m_slider->drawnFraction();
        const double fillWidth = std::max(f * w, trackHeight);
        const QColor tint = m_slider->m_tint.value_or(Color::accent().resolve(this));
        // The gradient brush is rebuilt only when the fill's width or colour changes.
        if (fillWidth != m_brushWidth || tint != m_brushTint) {
            QLinearGradient gradient(0, 0, fillWidth, 0);
            gradient.setColorAt(0, withOpacity(tint, 0.8));
            gradient.setColorAt(1, tint);
            m_brush = QBrush(gradient);
            m_brushWidth = fillWidth;
            m_brushTint = tint;
        }
        p.setBrush(m_brush);
        p.drawRoundedRect(QRectF(0, top, fillWidth, trackHeight), trackHeight / 2, trackHeight / 2);

        const QRectF thumb = m_slider->thumbRect();
        m_paintedThumb = thumb;
        paintKestuShadow(p, thumb, thumbDiameter / 2, KestuShadow::thumb());
        p.setBrush(Color::white().resolve(this));
        p.drawEllipse(thumb);
        if (m_keyboardFocus && hasFocus()) {
            // Keyboard focus shows as the kit's ring along the thumb's edge, on its white.
            paintFocusRing(p, this, thumb, thumbDiameter / 2, Color::white().resolve(this));
        }
    }

    void focusInEvent(QFocusEvent* event) override
    {
        m_keyboardFocus = event->reason() != Qt::MouseFocusReason;
        update();
    }

    void focusOutEvent(QFocusEvent*) override { update(); }

    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
        case Qt::Key_Right:
        case Qt::Key_Up:
            m_slider->store(m_slider->steppedValue(event->key() == Qt::Key_Right || event->key() == Qt::Key_Up));
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            m_slider->store(m_slider->pagedValue(event->key() == Qt::Key_PageUp));
            break;
        case Qt::Key_Home:
            m_slider->storeExactly(m_slider->m_lower);
            break;
        case Qt::Key_End:
            m_slider->storeExactly(m_slider->m_upper);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
        }
        m_keyboardFocus = true;
        event->accept();
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        // Only the thumb starts a drag; a press on it already counts as a change. The thumb is
        // the one the user saw: an edit committed by this very press may have moved it since.
        const QPointF at = event->position();
        m_keyboardFocus = false;
        m_dragging = event->button() == Qt::LeftButton
            && (m_slider->thumbRect().contains(at) || (m_paintedThumb.isValid() && m_paintedThumb.contains(at)));
        if (m_dragging)
            drag(event->position().x());
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_dragging)
            drag(event->position().x());
    }

    void mouseReleaseEvent(QMouseEvent*) override { m_dragging = false; }

private:
    void drag(double x)
    {
        if (const auto value = m_slider->valueForDrag(x))
            m_slider->store(*value);
    }

    KestuSlider* m_slider;
    bool m_dragging = false;
    bool m_keyboardFocus = false;
    QRectF m_paintedThumb;
    QBrush m_brush;
    double m_brushWidth = -1;
    QColor m_brushTint;
};

// The track is what assistive tools know as the slider: its name, range and value, set or
// stepped as the keyboard does.
class KestuSlider::TrackAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    TrackAccessible(Track* track, KestuSlider* slider)
        : QAccessibleWidget(track, QAccessible::Slider)
        , m_slider(slider)
    {
    }

    static QAccessibleInterface* create(const QString&, QObject* object)
    {
        if (auto* track = dynamic_cast<Track*>(object))
            return new TrackAccessible(track, static_cast<KestuSlider*>(track->parentWidget()));
        return nullptr;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return m_slider->m_label->formattedValue(m_slider->m_value.get());
        return QAccessibleWidget::text(t);
    }

    // Where the thumb stands: a value beyond the range (an imported file's) reads as the bound
    // it passes, as the label shows it, not as a number hundreds of digits long.
    QVariant currentValue() const override
    {
        const double value = m_slider->m_value.get();
        return std::isnan(value) ? m_slider->m_lower : std::clamp(value, m_slider->m_lower, m_slider->m_upper);
    }
    void setCurrentValue(const QVariant& value) override
    {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok && std::isfinite(number))
            m_slider->store(number);
    }
    QVariant maximumValue() const override { return m_slider->m_upper; }
    QVariant minimumValue() const override { return m_slider->m_lower; }
    QVariant minimumStepSize() const override { return m_slider->m_step; }

    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << increaseAction() << decreaseAction();
    }
    void doAction(const QString& name) override
    {
        if (name == increaseAction() || name == decreaseAction())
            m_slider->store(m_slider->steppedValue(name == increaseAction()));
        else
            QAccessibleWidget::doAction(name);
    }

private:
    KestuSlider* m_slider;
};

KestuSlider::KestuSlider(KestuBinding<double> value, double lower, double upper, double step, const QString& suffix,
    int fractionDigits, std::optional<QColor> tintColor, QWidget* parent)
    : QWidget(parent)
    , m_value(std::move(value))
    , m_lower(lower)
    , m_upper(upper)
    , m_step(step)
    , m_tint(std::move(tintColor))
    , m_track(new Track(this))
    , m_label(new KestuSliderLabelField(m_value, lower, upper, step, suffix, fractionDigits, this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(m_track, 1, Qt::AlignVCenter);
    layout->addWidget(m_label, 0, Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QAccessible::installFactory(&TrackAccessible::create); // Qt keeps one copy
}

void KestuSlider::setName(const QString& name)
{
    m_track->setAccessibleName(name);
    m_label->setAccessibleName(name);
}

void KestuSlider::store(double value)
{
    storeExactly(KestuNumeric::snap(value, m_lower, m_upper, m_step));
}

void KestuSlider::storeExactly(double value)
{
    m_value.set(value);
    refresh();
}

double KestuSlider::pagedValue(bool up) const
{
    double value = m_value.get();
    if (std::isnan(value))
        value = m_lower;
    // A tenth of the range and never less than one step; storing snaps and clamps it.
    const double jump = std::max(m_step, (m_upper - m_lower) / 10);
    return up ? value + jump : value - jump;
}

double KestuSlider::steppedValue(bool up) const
{
    double value = m_value.get();
    if (std::isnan(value))
        value = m_lower;
    if (!(m_step > 0))
        return KestuNumeric::snap(value, m_lower, m_upper, m_step);
    // From a value off the step, the first step reaches the neighbouring multiple.
    const double steps = value / m_step;
    const double nearest = std::round(steps);
    const bool onStep = std::abs(steps - nearest) <= 1e-9 * std::max(1.0, std::abs(steps));
    const double next
        = up ? (onStep ? nearest + 1 : std::floor(steps) + 1) : (onStep ? nearest - 1 : std::ceil(steps) - 1);
    return KestuNumeric::snap(m_step * next, m_lower, m_upper, m_step);
}

void KestuSlider::wheelEvent(QWheelEvent* event)
{
    // Unfocused, the wheel passes on to the scrolling form: turning it on the way down a page
    // must not change a setting. The track and the label leave it to us.
    const int delta = event->inverted() ? -event->angleDelta().y() : event->angleDelta().y();
    if (!m_track->hasFocus() || delta == 0) {
        m_wheelAngle = 0;
        event->ignore();
        return;
    }
    // A wheel click is one step; the finer turns of a smooth wheel add up to one.
    m_wheelAngle += delta;
    while (std::abs(m_wheelAngle) >= QWheelEvent::DefaultDeltasPerStep) {
        const bool up = m_wheelAngle > 0;
        m_wheelAngle += up ? -QWheelEvent::DefaultDeltasPerStep : QWheelEvent::DefaultDeltasPerStep;
        store(steppedValue(up));
    }
    event->accept();
}

QWidget* KestuSlider::track() const
{
    return m_track;
}

void KestuSlider::refresh()
{
    m_track->update();
    m_label->refresh();
    QAccessibleValueChangeEvent changed(m_track, m_value.get());
    QAccessible::updateAccessibility(&changed);
}

double KestuSlider::drawnFraction() const
{
    const double f = (m_value.get() - m_lower) / (m_upper - m_lower);
    if (std::isnan(f))
        return 0;
    return std::clamp(f, 0.0, 1.0);
}

QRectF KestuSlider::thumbRect() const
{
    const double x = drawnFraction() * (m_track->width() - thumbDiameter);
    return QRectF(x, (trackAreaHeight - thumbDiameter) / 2, thumbDiameter, thumbDiameter);
}

std::optional<double> KestuSlider::valueForDrag(double x) const
{
    const double w = m_track->width();
    if (!(w > 0))
        return std::nullopt;
    const double t = std::clamp(x / w, 0.0, 1.0);
    const double raw = m_lower + (m_upper - m_lower) * t;
    return KestuNumeric::snap(raw, m_lower, m_upper, m_step);
}

} // namespace kestu
