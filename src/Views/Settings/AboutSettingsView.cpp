#include "Views/Settings/AboutSettingsView.h"

#include "KestuDesign/Components/KestuAboutView.h"
#include "KestuDesign/Components/KestuAnimatedGradient.h"
#include "KestuDesign/Components/KestuCard.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/GroupedForm.h"
#include "Views/Shared/TokenLabel.h"
#include "Views/Shared/TremlorColor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tremlor {

namespace {
constexpr double gradientSweepSeconds = 6.0;
constexpr double washOpacity = 0.16;

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
        p.fillPath(path, kestu::withOpacity(Color::accent(), underMouse() || isDown() ? 0.16 : 0.08));
        const QFontMetrics fm(font());
        const double top = (height() - (16 + 4 + fm.height())) / 2.0;
        kestu::KestuSymbols::paint(p, QRectF(0, top, width(), 16), m_symbol, 14, Color::accent());
        p.setPen(Color::accent());
        p.setFont(font());
        p.drawText(QRectF(0, top + 20, width(), fm.height()), Qt::AlignCenter, text());
    }

private:
    QString m_symbol;
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

    auto* scroll = new QScrollArea(this);
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
    const int margin = static_cast<int>(kestu::Space::space20);
    column->setContentsMargins(margin, margin, margin, margin);
    column->setSpacing(0);

    // The brand card: the kit's About page over a faint wash of the warm gradient, which swings
    // slowly while the section is shown.
    auto* brand = new BrandPanel;
    const QColor stops[] = { Color::accent(), Color::accentDark(), QColor::fromRgbF(0.96f, 0.72f, 0.20f) };
    auto* gradient = new kestu::KestuAnimatedGradient({ stops[0], stops[1], stops[2] }, gradientSweepSeconds, brand);
    gradient->setObjectName(QStringLiteral("about-gradient"));
    auto* wash = new QGraphicsOpacityEffect(gradient);
    wash->setOpacity(washOpacity);
    gradient->setGraphicsEffect(wash);
    brand->background = gradient;
    auto* brandLayout = new QVBoxLayout(brand);
    brandLayout->setContentsMargins(
        0, static_cast<int>(kestu::Space::space16), 0, static_cast<int>(kestu::Space::space16));
    const QIcon appIcon = QApplication::windowIcon();
    auto* about = new kestu::KestuAboutView(QStringLiteral("Tremlor"),
        tr("A tray utility that keeps your computer awake and apps active through simulated mouse movement, keyboard "
           "input, and app rotation."),
        appIcon.isNull() ? std::nullopt : std::optional<QIcon>(appIcon), brand);
    about->setObjectName(QStringLiteral("about-brand"));
    // The page's wrapped description must keep all its lines inside a scroll area, which sizes
    // children by their plain size hints.
    if (auto* description = about->findChild<QLabel*>(QStringLiteral("about-description")))
        description->setMinimumHeight(description->heightForWidth(description->width()));
    brandLayout->addWidget(about);
    auto* card = new kestu::KestuCard(true, brand);
    card->setObjectName(QStringLiteral("about-card"));
    column->addWidget(card);

    auto* links = new QHBoxLayout;
    links->setContentsMargins(0, static_cast<int>(kestu::Space::space16), 0, static_cast<int>(kestu::Space::space16));
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
