#include "Views/Popover/DisclosureToggle.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QVariantAnimation>

namespace tremlor {

namespace {
constexpr int chevronSize = 10;
constexpr int spacing = 4;
constexpr int verticalPadding = 4;

// A push button that tells screen readers whether the options it governs are shown.
class DisclosureAccessible final : public QAccessibleWidget {
public:
    explicit DisclosureAccessible(DisclosureToggle* toggle)
        : QAccessibleWidget(toggle, QAccessible::Button)
    {
    }
    DisclosureToggle* toggle() const { return static_cast<DisclosureToggle*>(widget()); }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = toggle()->isExpanded();
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList { pressAction() } + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        // As for any push button: pressed a moment later, so the tool is not held meanwhile.
        if (name == pressAction()) {
            if (toggle()->isEnabled())
                toggle()->animateClick();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }
};

QAccessibleInterface* disclosureAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("tremlor::DisclosureToggle") && object && object->isWidgetType())
        return new DisclosureAccessible(static_cast<DisclosureToggle*>(object));
    return nullptr;
}
} // namespace

DisclosureToggle::DisclosureToggle(kestu::KestuBinding<bool> isExpanded, QWidget* parent)
    : QAbstractButton(parent)
    , m_binding(std::move(isExpanded))
    , m_turn(new QVariantAnimation(this))
{
    QAccessible::installFactory(disclosureAccessibleFactory); // Qt keeps one copy
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
    m_expanded = m_binding.get();
    turnChevron(true);
    setAccessibleName(m_expanded ? tr("Show fewer options") : tr("Show more options"));
}

QString DisclosureToggle::labelText() const
{
    return m_expanded ? tr("Fewer options") : tr("More options");
}

void DisclosureToggle::refresh()
{
    const bool value = m_binding.get();
    if (value == m_expanded)
        return;
    m_expanded = value;
    setAccessibleName(m_expanded ? tr("Show fewer options") : tr("Show more options"));
    QAccessible::State changed;
    changed.expanded = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    turnChevron(false);
    update();
}

void DisclosureToggle::flip()
{
    m_binding.set(!m_binding.get());
    refresh();
}

void DisclosureToggle::turnChevron(bool immediately)
{
    const double target = m_expanded ? 90.0 : 0.0;
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
