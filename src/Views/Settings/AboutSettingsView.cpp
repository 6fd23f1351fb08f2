#include "Views/Settings/AboutSettingsView.h"

#include "KestuDesign/Components/KestuAboutView.h"
#include "KestuDesign/Components/KestuAnimatedGradient.h"
#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/FocusScrollArea.h"
#include "Views/Shared/GroupedForm.h"
#include "Views/Shared/TokenLabel.h"
#include "Views/Shared/TremlorColor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace tremlor {

namespace {
constexpr double gradientSweepSeconds = 6.0;
constexpr int brandSpacing = 20;
constexpr int brandEdgeSpacer = 16;
constexpr int iconSide = 96;
constexpr int descriptionWidth = 300;
constexpr int dividerWidth = 200;

// Keeps its background child as large as itself, under everything else.
class BrandPanel final : public QWidget {
public:
    QWidget* background = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        if (background) {
            background->setGeometry(rect());
            background->lower();
        }
    }
};

// The divider line, lightened with white so it reads on the gradient.
class BrandDivider final : public QWidget {
public:
    explicit BrandDivider(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(dividerWidth, 1);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), kestu::Color::separator().resolve(this));
        p.fillRect(rect(), kestu::withOpacity(kestu::Color::white().resolve(this), 0.2));
    }
};

// White at `opacity`, in light and dark alike: the brand block's text sits on the gradient.
kestu::KestuColor whiteAt(qreal opacity)
{
    return kestu::KestuColor::fixed(kestu::withOpacity(kestu::Color::white().light(), opacity));
}

TokenLabel* brandLabel(const QString& text, const QFont& font, qreal opacity, const char* name)
{
    auto* label = new TokenLabel(text, font, whiteAt(opacity));
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

// A link tile: the symbol over the title, both in the accent colour, on a faint accent fill.
class LinkTile final : public QAbstractButton {
public:
    LinkTile(const QString& title, QString symbol, QUrl url, QWidget* parent)
        : QAbstractButton(parent)
        , m_symbol(std::move(symbol))
        , m_url(std::move(url))
    {
        setText(title);
        setAccessibleName(title);
        setAccessibleDescription(m_url.toString());
        setToolTip(m_url.toString());
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        QFont f = kestu::systemFont(10, QFont::Medium);
        setFont(f);
        connect(this, &QAbstractButton::clicked, this, [this] { QDesktopServices::openUrl(m_url); });
    }

    QSize sizeHint() const override
    {
        return QSize(
            QFontMetrics(font()).horizontalAdvance(text()) + 16, 8 + 16 + 4 + QFontMetrics(font()).height() + 8);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), kestu::Radius::medium, kestu::Radius::medium);
        const QColor accent = kestu::Color::accent().resolve(this);
        p.fillPath(path, kestu::withOpacity(accent, underMouse() || isDown() ? 0.16 : 0.08));
        const QFontMetrics fm(font());
        const double top = (height() - (16 + 4 + fm.height())) / 2.0;
        kestu::KestuSymbols::paint(p, QRectF(0, top, width(), 16), m_symbol, 14, accent);
        p.setPen(accent);
        p.setFont(font());
        p.drawText(QRectF(0, top + 20, width(), fm.height()), Qt::AlignCenter, text());
        if (kestu::showsFocusRing(this))
            kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::medium);
    }

private:
    QString m_symbol;
    QUrl m_url;
};
// The maker's address under the tagline, as plain text that opens it. A button rather than a
// label's link: Tab stops on it once (a label stops on itself, then on its link), it shows the
// focus ring, and assistive tools can press it.
class MakerLink final : public QAbstractButton {
public:
    // Room for the focus ring above and below the text (twice that at its ends).
    static constexpr int ringRoom = 2;

    MakerLink(const QString& text, QUrl url)
        : m_url(std::move(url))
    {
        setText(text);
        setAccessibleName(text);
        setAccessibleDescription(m_url.toString());
        setCursor(Qt::PointingHandCursor);
        setFont(kestu::Font::caption());
        connect(this, &QAbstractButton::clicked, this, [this] { QDesktopServices::openUrl(m_url); });
    }

    QSize sizeHint() const override
    {
        return QSize(fontMetrics().horizontalAdvance(text()) + 4 * ringRoom, fontMetrics().height() + 2 * ringRoom);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(whiteAt(0.9).resolve(this));
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter, text());
        // The link stands on the brand gradient: a ring that stands out from its darkest colour
        // stands out from all of it.
        if (kestu::showsFocusRing(this))
            kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small, QColor(), Color::accentDark());
    }

private:
    QUrl m_url;
};
} // namespace

QUrl AboutSettingsView::feedbackUrl()
{
    return QUrl(QStringLiteral("mailto:support@tremlor.example?subject=Tremlor%20Feedback"), QUrl::StrictMode);
}

QUrl AboutSettingsView::websiteUrl()
{
    return kestu::KestuAboutView::makerUrl();
}

QString AboutSettingsView::makerTagline()
{
    return tr("Small tools that keep out of your way.");
}

QString AboutSettingsView::copyrightLine(int year)
{
    return tr("Copyright \u00A9 %1 %2. All rights reserved.")
        .arg(QString::number(year), kestu::KestuAboutView::makerName());
}

AboutSettingsView::AboutSettingsView(SettingsContext& context, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("about-settings"));
    setAccessibleName(tr("About"));

    auto* scroll = new FocusScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->viewport()->setAutoFillBackground(false);
    applySlimScrollBars(scroll);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    auto* column = new QVBoxLayout(content);
    const int space16 = static_cast<int>(kestu::Space::space16);
    // The brand block runs edge to edge; the copyright line keeps clear of the bottom.
    column->setContentsMargins(0, 0, 0, space16);
    column->setSpacing(0);

    auto* brand = new BrandPanel;
    brand->setObjectName(QStringLiteral("about-brand"));
    const QColor stops[] = { QColor::fromRgbF(0.96f, 0.62f, 0.04f), QColor::fromRgbF(0.85f, 0.47f, 0.02f),
        QColor::fromRgbF(0.96f, 0.72f, 0.20f) };
    auto* gradient = new kestu::KestuAnimatedGradient({ stops[0], stops[1], stops[2] }, gradientSweepSeconds, brand);
    gradient->setObjectName(QStringLiteral("about-gradient"));
    // From the corner-to-corner diagonal to the steeper axis from (0.3, 0) to (0.8, 1).
    gradient->setAxisEnds({ QLineF(0, 0, 1, 1), QLineF(0.3, 0, 0.8, 1) });
    brand->background = gradient;
    brand->setAccessibleName(tr("About Tremlor"));

    auto* brandLayout = new QVBoxLayout(brand);
    brandLayout->setSpacing(brandSpacing);
    // The spacers above and below sit a stack spacing away from their neighbours (below, the
    // maker link's room for its focus ring counts in).
    brandLayout->setContentsMargins(
        0, brandEdgeSpacer + brandSpacing, 0, brandEdgeSpacer + brandSpacing - MakerLink::ringRoom);
    const QIcon appIcon = QApplication::windowIcon();
    if (!appIcon.isNull()) {
        auto* icon = new QLabel;
        icon->setObjectName(QStringLiteral("about-icon"));
        icon->setFixedSize(iconSide, iconSide);
        icon->setAlignment(Qt::AlignCenter);
        const qreal dpr = devicePixelRatioF();
        const QSize largest = appIcon.actualSize(QSize(1024, 1024));
        QPixmap pixmap = appIcon.pixmap(largest.isValid() ? largest : QSize(iconSide, iconSide));
        pixmap = pixmap.scaled(QSize(iconSide, iconSide) * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        pixmap.setDevicePixelRatio(dpr);
        icon->setPixmap(pixmap);
        brandLayout->addWidget(icon, 0, Qt::AlignHCenter);
    }

    auto* titles = new QVBoxLayout;
    titles->setSpacing(static_cast<int>(kestu::Space::space4));
    titles->addWidget(
        brandLabel(QStringLiteral("Tremlor"), kestu::Font::display(), 1.0, "about-name"), 0, Qt::AlignHCenter);
    titles->addWidget(brandLabel(kestu::KestuAboutView::versionLine(), kestu::Font::caption(), 0.7, "about-version"), 0,
        Qt::AlignHCenter);
    brandLayout->addLayout(titles);

    const QString descriptionText
        = tr("A tray utility that keeps your computer awake and apps active through simulated mouse movement, "
             "keyboard input, and app rotation.");
    TokenLabel* description = brandLabel(descriptionText, kestu::Font::caption(), 0.8, "about-description");
    description->setWordWrap(true);
    // As wide as its text, up to the limit; then it wraps, keeping every line inside the scroll
    // area, which sizes children by their plain size hints.
    description->setFixedWidth(
        std::min(description->fontMetrics().horizontalAdvance(descriptionText) + 1, descriptionWidth));
    description->setMinimumHeight(description->heightForWidth(description->width()));
    brandLayout->addWidget(description, 0, Qt::AlignHCenter);

    auto* divider = new BrandDivider(brand);
    divider->setObjectName(QStringLiteral("about-divider"));
    brandLayout->addWidget(divider, 0, Qt::AlignHCenter);

    auto* maker = new QVBoxLayout;
    const int space4 = static_cast<int>(kestu::Space::space4);
    maker->setSpacing(0);
    maker->addWidget(
        brandLabel(tr("Crafted by"), kestu::Font::caption(), 0.7, "about-crafted-by"), 0, Qt::AlignHCenter);
    maker->addSpacing(space4);
    maker->addWidget(
        brandLabel(kestu::KestuAboutView::makerName().toUpper(), kestu::Font::displayLarge(), 1.0, "about-maker"), 0,
        Qt::AlignHCenter);
    maker->addSpacing(space4);
    QFont taglineFont = kestu::Font::callout();
    taglineFont.setItalic(true);
    maker->addWidget(brandLabel(makerTagline(), taglineFont, 0.7, "about-tagline"), 0, Qt::AlignHCenter);
    // The link's room for its focus ring comes out of the space around it: its text stays put.
    maker->addSpacing(space4 - MakerLink::ringRoom);
    auto* link = new MakerLink(kestu::KestuAboutView::makerDomain(), websiteUrl());
    link->setObjectName(QStringLiteral("about-link"));
    maker->addWidget(link, 0, Qt::AlignHCenter);
    brandLayout->addLayout(maker);
    column->addWidget(brand);

    auto* links = new QHBoxLayout;
    links->setContentsMargins(space16, space16, space16, space16);
    links->setSpacing(static_cast<int>(kestu::Space::space12));
    auto* feedback
        = new LinkTile(QStringLiteral("Send Feedback"), QStringLiteral("envelope.fill"), feedbackUrl(), content);
    feedback->setObjectName(QStringLiteral("about-feedback-link"));
    auto* website
        = new LinkTile(QStringLiteral("All Apps"), QStringLiteral("square.grid.2x2.fill"), websiteUrl(), content);
    website->setObjectName(QStringLiteral("about-website-link"));
    links->addWidget(feedback, 1);
    links->addWidget(website, 1);
    column->addLayout(links);

    // The year is read from the clock each time the section is built.
    auto* copyright = new TokenLabel(copyrightLine(context.clock.now().date().year()), kestu::Font::caption(),
        kestu::Color::textSecondary(), content);
    copyright->setObjectName(QStringLiteral("about-copyright"));
    copyright->setAccessibleName(copyright->text());
    copyright->setAlignment(Qt::AlignHCenter);
    column->addWidget(copyright);
    column->addStretch(1);
    scroll->setWidget(content);
}

} // namespace tremlor
