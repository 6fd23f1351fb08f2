#include "KestuDesign/Onboarding/KestuOnboardingHeroPage.h"

#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QLabel>
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

// The title or the detail text: a label (so screen readers read it as one, its text its name),
// centred and wrapped, drawn at the opacity of the text's fade.
class KestuOnboardingHeroPage::Text final : public QLabel {
public:
    Text(const QString& text, const QFont& font, const KestuColor& color, QWidget* parent)
        : QLabel(text, parent)
        , m_color(color)
    {
        setTextFormat(Qt::PlainText);
        setFont(font);
        setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        setWordWrap(true);
    }

    double opacity = 0.0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (opacity <= 0.0)
            return;
        QPainter painter(this);
        painter.setOpacity(std::min(1.0, opacity));
        painter.setFont(font());
        painter.setPen(m_color.resolve(this));
        painter.drawText(contentsRect(), textFlags, text());
    }

private:
    const KestuColor& m_color;
};

KestuOnboardingHeroPage::KestuOnboardingHeroPage(const QString& symbol, int symbolSize,
    std::optional<QList<QColor>> gradient, const KestuColor& color, const QString& title, const QString& detail,
    QWidget* parent)
    : QWidget(parent)
    , m_icon(new Icon(symbol, symbolSize, std::move(gradient), color, this))
    , m_title(new Text(title, Font::display(), Color::text(), this))
    , m_detail(new Text(detail, Font::body(), Color::textSecondary(), this))
    , m_iconSpring(new QVariantAnimation(this))
    , m_textEntrance(new QSequentialAnimationGroup(this))
{
    m_icon->setObjectName(QStringLiteral("onboarding-icon"));
    m_title->setObjectName(QStringLiteral("onboarding-title"));
    m_detail->setObjectName(QStringLiteral("onboarding-detail"));
    // What a screen reader speaks when the page takes the keyboard.
    setAccessibleName(title);
    setAccessibleDescription(detail);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(textSpacing);
    texts->addWidget(m_title);
    texts->addWidget(m_detail);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 0, 24, 0);
    column->setSpacing(24);
    column->addStretch(1);
    column->addWidget(m_icon, 0, Qt::AlignHCenter);
    column->addLayout(texts);
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
    connect(
        fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) { showText(value.toDouble()); });
    m_textEntrance->addAnimation(fade);
}

KestuOnboardingHeroPage::~KestuOnboardingHeroPage() = default;

QString KestuOnboardingHeroPage::symbolName() const
{
    return m_icon->name;
}
QString KestuOnboardingHeroPage::title() const
{
    return m_title->text();
}
QString KestuOnboardingHeroPage::detail() const
{
    return m_detail->text();
}
double KestuOnboardingHeroPage::iconScale() const
{
    return m_icon->scale;
}
double KestuOnboardingHeroPage::textOpacity() const
{
    return m_title->opacity;
}

void KestuOnboardingHeroPage::showText(double opacity)
{
    for (Text* text : { m_title, m_detail }) {
        text->opacity = opacity;
        text->update();
    }
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
        m_icon->update();
        showText(1.0);
        return;
    }
    Animation::springBouncy().apply(m_iconSpring);
    m_iconSpring->start();
    m_textEntrance->start();
}

} // namespace kestu
