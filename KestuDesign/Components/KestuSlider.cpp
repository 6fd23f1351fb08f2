#include "KestuDesign/Components/KestuSlider.h"

#include "KestuDesign/Components/KestuSliderLabelField.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuShadow.h"
#include "KestuDesign/Utilities/KestuNumeric.h"

#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

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
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        // Only the thumb starts a drag; a press on it already counts as a change. The thumb is
        // the one the user saw: an edit committed by this very press may have moved it since.
        const QPointF at = event->position();
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
        if (const auto value = m_slider->valueForDrag(x)) {
            m_slider->m_value.set(*value);
            m_slider->refresh();
        }
    }

    KestuSlider* m_slider;
    bool m_dragging = false;
    QRectF m_paintedThumb;
    QBrush m_brush;
    double m_brushWidth = -1;
    QColor m_brushTint;
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
}

QWidget* KestuSlider::track() const
{
    return m_track;
}

void KestuSlider::refresh()
{
    m_track->update();
    m_label->refresh();
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
