#include "Views/Popover/DisclosureToggle.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QPainter>
#include <QVariantAnimation>

namespace tremlor {

namespace {
constexpr int chevronSize = 10;
constexpr int spacing = 4;
constexpr int verticalPadding = 4;
} // namespace

DisclosureToggle::DisclosureToggle(kestu::KestuBinding<bool> expanded, QWidget* parent)
    : ExpandButton(expanded.get(), parent)
    , m_binding(std::move(expanded))
    , m_turn(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("disclosure-toggle"));
    setFont(kestu::Font::callout());
    setCursor(Qt::PointingHandCursor);
    // Tab reaches it (Space flips it); a click leaves the keyboard with the panel.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_turn, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_angle = v.toDouble();
        update();
    });
    connect(this, &QAbstractButton::clicked, this, &DisclosureToggle::flip);
    turnChevron(true);
    setAccessibleName(isExpanded() ? tr("Show fewer options") : tr("Show more options"));
}

QString DisclosureToggle::labelText() const
{
    return isExpanded() ? tr("Fewer options") : tr("More options");
}

void DisclosureToggle::refresh()
{
    const bool value = m_binding.get();
    if (value == isExpanded())
        return;
    setAccessibleName(value ? tr("Show fewer options") : tr("Show more options"));
    showExpanded(value);
    turnChevron(false);
}

void DisclosureToggle::flip()
{
    m_binding.set(!m_binding.get());
    refresh();
}

void DisclosureToggle::turnChevron(bool immediately)
{
    const double target = isExpanded() ? 90.0 : 0.0;
    m_turn->stop();
    if (immediately || kestu::prefersReducedMotion() || !isVisible()) {
        m_angle = target;
        update();
        return;
    }
    m_turn->setStartValue(m_angle);
    m_turn->setEndValue(target);
    kestu::Animation::springSnappy().apply(m_turn);
    m_turn->start();
}

QSize DisclosureToggle::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int textWidth
        = std::max(metrics.horizontalAdvance(tr("Fewer options")), metrics.horizontalAdvance(tr("More options")));
    return { chevronSize + spacing + textWidth, std::max(metrics.height(), chevronSize) + 2 * verticalPadding };
}

QSize DisclosureToggle::minimumSizeHint() const
{
    return sizeHint();
}

void DisclosureToggle::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor color = kestu::Color::textSecondary().resolve(this);
    const QRectF chevron(0, 0, chevronSize, height());
    p.save();
    p.translate(chevron.center());
    p.rotate(m_angle);
    p.translate(-chevron.center());
    kestu::KestuSymbols::paint(p, chevron, QStringLiteral("chevron.right"), chevronSize, color);
    p.restore();
    p.setPen(color);
    p.setFont(font());
    p.drawText(QRectF(chevronSize + spacing, 0, width() - chevronSize - spacing, height()),
        Qt::AlignVCenter | Qt::AlignLeft, labelText());
    if (kestu::showsFocusRing(this))
        kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small);
}

} // namespace tremlor
