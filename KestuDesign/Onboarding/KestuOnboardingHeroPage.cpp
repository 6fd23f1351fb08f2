#include "KestuDesign/Onboarding/KestuOnboardingHeroPage.h"

#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPauseAnimation>
#include <QSequentialAnimationGroup>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>

namespace kestu {

namespace {
constexpr double startScale = 0.5;
constexpr int textSpacing = 8;
constexpr int textFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
} // namespace

// The symbol, filled with a colour or a top-to-bottom gradient, scaled about its centre.
class KestuOnboardingHeroPage::Icon final : public QWidget {
public:
    Icon(const QString& symbol, int size, std::optional<QList<QColor>> gradient, const KestuColor& color,
        QWidget* parent)
        : QWidget(parent)
        , name(symbol)
        , side(size)
        , stops(std::move(gradient))
        , tint(color)
    {
        setFixedSize(size, size);
    }

    QColor colorAt(double fraction) const
    {
        if (!stops)
            return tint.resolve(this);
        if (stops->isEmpty())
            return Qt::transparent;
        const qsizetype last = stops->size() - 1;
        if (last == 0)
            return stops->first();
        const double position = std::clamp(fraction, 0.0, 1.0) * double(last);
        const auto below = qsizetype(position);
        if (below >= last)
            return stops->last();
        const double t = position - double(below);
        const QColor a = stops->at(below);
        const QColor b = stops->at(below + 1);
        return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
            float(a.greenF() + (b.greenF() - a.greenF()) * t), float(a.blueF() + (b.blueF() - a.blueF()) * t),
            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
    }

    const QString name;
    const int side;
    const std::optional<QList<QColor>> stops;
    const KestuColor& tint;
    double scale = startScale;

protected:
    void paintEvent(QPaintEvent*) override
    {
        // An empty gradient fills with nothing, so nothing shows.
        if (stops && stops->isEmpty())
            return;
        const qreal dpr = devicePixelRatioF();
        const QPixmap shape = KestuSymbols::pixmap(name, side, Qt::black, dpr);
        if (shape.isNull())
            return;
        QPixmap filled(shape.size());
        filled.setDevicePixelRatio(dpr);
        filled.fill(Qt::transparent);
        {
            QPainter fill(&filled);
            fill.drawPixmap(0, 0, shape);
            fill.setCompositionMode(QPainter::CompositionMode_SourceIn);
            if (stops && stops->size() > 1) {
                QLinearGradient gradient(0, 0, 0, side);
                const qsizetype last = stops->size() - 1;
                for (qsizetype i = 0; i <= last; ++i)
                    gradient.setColorAt(double(i) / double(last), stops->at(i));
                fill.fillRect(QRectF(0, 0, side, side), gradient);
            } else {
                fill.fillRect(QRectF(0, 0, side, side), colorAt(0));
            }
        }
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(width() / 2.0, height() / 2.0);
        painter.scale(std::max(0.0, scale), std::max(0.0, scale));
        painter.drawPixmap(QPointF(-side / 2.0, -side / 2.0), filled);
    }
};

// Title over detail text, centred, drawn at one opacity.
class KestuOnboardingHeroPage::TextBlock final : public QWidget {
public:
    TextBlock(const QString& titleText, const QString& detailText, QWidget* parent)
        : QWidget(parent)
        , title(titleText)
        , detail(detailText)
    {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        const QRect bounds(0, 0, std::max(1, width), 100000);
        const int titleHeight = QFontMetrics(Font::display()).boundingRect(bounds, textFlags, title).height();
        const int detailHeight = QFontMetrics(Font::body()).boundingRect(bounds, textFlags, detail).height();
        return titleHeight + textSpacing + detailHeight;
    }
    QSize sizeHint() const override
    {
        const int width = std::max(
            QFontMetrics(Font::display()).boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignHCenter, title).width(),
            QFontMetrics(Font::body()).boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignHCenter, detail).width());
        return QSize(width, heightForWidth(width));
    }

    const QString title;
    const QString detail;
    double opacity = 0.0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (opacity <= 0.0)
            return;
        QPainter painter(this);
        painter.setOpacity(std::min(1.0, opacity));
        QRect bounds = rect();
        painter.setFont(Font::display());
        painter.setPen(Color::text().resolve(this));
        QRect used;
        painter.drawText(bounds, textFlags, title, &used);
        bounds.setTop(used.bottom() + 1 + textSpacing);
        painter.setFont(Font::body());
        painter.setPen(Color::textSecondary().resolve(this));
        painter.drawText(bounds, textFlags, detail);
    }
};

KestuOnboardingHeroPage::KestuOnboardingHeroPage(const QString& symbol, int symbolSize,
    std::optional<QList<QColor>> gradient, const KestuColor& color, const QString& title, const QString& detail,
    QWidget* parent)
    : QWidget(parent)
    , m_icon(new Icon(symbol, symbolSize, std::move(gradient), color, this))
    , m_text(new TextBlock(title, detail, this))
    , m_iconSpring(new QVariantAnimation(this))
    , m_textEntrance(new QSequentialAnimationGroup(this))
{
    m_icon->setObjectName(QStringLiteral("onboarding-icon"));
    m_text->setObjectName(QStringLiteral("onboarding-text"));
    // The symbol and the texts are painted: screen readers take the page's words from here.
    for (QWidget* reader : { static_cast<QWidget*>(this), static_cast<QWidget*>(m_text) }) {
        reader->setAccessibleName(title);
        reader->setAccessibleDescription(detail);
    }

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 0, 24, 0);
    column->setSpacing(24);
    column->addStretch(1);
    column->addWidget(m_icon, 0, Qt::AlignHCenter);
    column->addWidget(m_text);
    column->addStretch(1);

    m_iconSpring->setObjectName(QStringLiteral("icon-spring"));
    m_iconSpring->setStartValue(startScale);
    m_iconSpring->setEndValue(1.0);
    connect(m_iconSpring, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_icon->scale = value.toDouble();
        m_icon->update();
    });

    m_textEntrance->setObjectName(QStringLiteral("text-entrance"));
    m_textEntrance->addAnimation(new QPauseAnimation(textDelayMs, m_textEntrance));
    auto* fade = new QVariantAnimation(m_textEntrance);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setDuration(textFadeMs);
    fade->setEasingCurve(KestuAnimation::easeOut(textFadeMs / 1000.0).easingCurve());
    connect(fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_text->opacity = value.toDouble();
        m_text->update();
    });
    m_textEntrance->addAnimation(fade);
}

KestuOnboardingHeroPage::~KestuOnboardingHeroPage() = default;

QString KestuOnboardingHeroPage::symbolName() const
{
    return m_icon->name;
}
QString KestuOnboardingHeroPage::title() const
{
    return m_text->title;
}
QString KestuOnboardingHeroPage::detail() const
{
    return m_text->detail;
}
double KestuOnboardingHeroPage::iconScale() const
{
    return m_icon->scale;
}
double KestuOnboardingHeroPage::textOpacity() const
{
    return m_text->opacity;
}
QColor KestuOnboardingHeroPage::iconTopColor() const
{
    return m_icon->colorAt(0.0);
}
QColor KestuOnboardingHeroPage::iconBottomColor() const
{
    return m_icon->colorAt(1.0);
}

void KestuOnboardingHeroPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The entrance plays once per page; showing it again keeps the revealed state.
    if (!m_entered) {
        m_entered = true;
        startEntrance();
    }
}

void KestuOnboardingHeroPage::startEntrance()
{
    if (prefersReducedMotion()) {
        m_icon->scale = 1.0;
        m_text->opacity = 1.0;
        update();
        return;
    }
    Animation::springBouncy().apply(m_iconSpring);
    m_iconSpring->start();
    m_textEntrance->start();
}

} // namespace kestu
