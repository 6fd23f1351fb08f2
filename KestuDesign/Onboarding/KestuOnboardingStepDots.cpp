#include "KestuDesign/Onboarding/KestuOnboardingStepDots.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>

namespace kestu {

namespace {
constexpr double dotSize = 8.0;
constexpr double dotSpacing = 8.0;
constexpr double currentScale = 1.2;

QColor mix(const QColor& from, const QColor& to, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
        float(from.greenF() + (to.greenF() - from.greenF()) * t), float(from.blueF() + (to.blueF() - from.blueF()) * t),
        float(from.alphaF() + (to.alphaF() - from.alphaF()) * t));
}
} // namespace

KestuOnboardingStepDots::KestuOnboardingStepDots(int count, QWidget* parent)
    : QWidget(parent)
    , m_count(std::max(0, count))
    , m_spring(new QVariantAnimation(this))
{
    m_spring->setObjectName(QStringLiteral("step-dots-spring"));
    m_spring->setStartValue(0.0);
    m_spring->setEndValue(1.0);
    connect(m_spring, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_progress = value.toDouble();
        update();
    });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void KestuOnboardingStepDots::setCurrentStep(int step)
{
    if (step == m_current)
        return;
    m_previous = m_current;
    m_current = step;
    m_spring->stop();
    if (prefersReducedMotion()) {
        m_progress = 1.0;
        update();
        return;
    }
    m_progress = 0.0;
    Animation::springSnappy().apply(m_spring);
    m_spring->start();
    update();
}

double KestuOnboardingStepDots::emphasis(int index) const
{
    if (index == m_current)
        return m_previous == m_current ? 1.0 : m_progress;
    if (index == m_previous)
        return 1.0 - m_progress;
    return 0.0;
}

QColor KestuOnboardingStepDots::colorOf(int index) const
{
    return mix(Color::surfaceTertiary().resolve(this), Color::accent().resolve(this), emphasis(index));
}

QSize KestuOnboardingStepDots::sizeHint() const
{
    // Room for the enlarged dots at both ends.
    const double grown = dotSize * currentScale;
    const double width = m_count > 0 ? m_count * dotSize + (m_count - 1) * dotSpacing + (grown - dotSize) : 0.0;
    return QSize(int(std::ceil(width)), int(std::ceil(grown)));
}

void KestuOnboardingStepDots::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double total = m_count * dotSize + std::max(0, m_count - 1) * dotSpacing;
    const double left = (width() - total) / 2.0;
    const double centreY = height() / 2.0;
    for (int i = 0; i < m_count; ++i) {
        const double side = dotSize * std::max(0.0, scaleOf(i));
        const double centreX = left + i * (dotSize + dotSpacing) + dotSize / 2.0;
        painter.setBrush(colorOf(i));
        painter.drawEllipse(QRectF(centreX - side / 2.0, centreY - side / 2.0, side, side));
    }
}

} // namespace kestu
