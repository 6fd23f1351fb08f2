#include "KestuDesign/Components/KestuAboutView.h"

#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace kestu {

namespace {
constexpr int iconSide = 96;
constexpr int dividerWidth = 200;

QString localized(const char* text)
{
    return QCoreApplication::translate("KestuAboutView", text);
}

// A host value counts only when it is a string; numbers and the like read as missing.
QString infoString(const char* key, const QString& fallback)
{
    const QVariant value = qApp ? qApp->property(key) : QVariant();
    if (value.metaType().id() != QMetaType::QString)
        return fallback;
    return value.toString();
}

QLabel* plainLabel(const QString& text, const QFont& font, QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

// The icon stretched or shrunk to fit the square, keeping its shape (a small icon grows too).
QPixmap fitted(const QIcon& icon, qreal dpr)
{
    const QSize wanted(iconSide, iconSide);
    const QSize largest = icon.actualSize(QSize(1024, 1024));
    QPixmap pixmap = icon.pixmap(largest.isValid() ? largest : wanted);
    if (pixmap.isNull())
        return pixmap;
    pixmap = pixmap.scaled(wanted * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}
} // namespace

KestuAboutView::KestuAboutView(QString appName, QString appDescription, std::optional<QIcon> appIcon, QWidget* parent)
    : QWidget(parent)
    , m_appName(std::move(appName))
    , m_appDescription(std::move(appDescription))
    , m_appIcon(std::move(appIcon))
{
    build();
}

QString KestuAboutView::appVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("1.0.0") : version;
}

QString KestuAboutView::buildNumber()
{
    return infoString("buildNumber", QStringLiteral("1"));
}

QString KestuAboutView::versionLine()
{
    return localized("Version %1 (%2)").arg(appVersion(), buildNumber());
}

QString KestuAboutView::makerName()
{
    return localized("The Tremlor Project");
}

QString KestuAboutView::makerDomain()
{
    return localized("tremlor.example");
}

QUrl KestuAboutView::makerUrl()
{
    return QUrl(QStringLiteral("https://tremlor.example/"), QUrl::StrictMode);
}

void KestuAboutView::build()
{
    auto* column = new QVBoxLayout(this);
    column->setSpacing(20);
    column->addStretch(1);

    const QIcon icon = m_appIcon.value_or(qApp ? QApplication::windowIcon() : QIcon());
    if (!icon.isNull()) {
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("about-icon"));
        image->setFixedSize(iconSide, iconSide);
        image->setAlignment(Qt::AlignCenter);
        image->setPixmap(fitted(icon, devicePixelRatioF()));
        column->addWidget(image, 0, Qt::AlignHCenter);
    }

    auto* titles = new QVBoxLayout;
    titles->setSpacing(4);
    titles->addWidget(plainLabel(m_appName, Font::display(), this, "about-name"), 0, Qt::AlignHCenter);
    titles->addWidget(plainLabel(versionLine(), Font::caption(), this, "about-version"), 0, Qt::AlignHCenter);
    column->addLayout(titles);

    QLabel* description = plainLabel(m_appDescription, Font::caption(), this, "about-description");
    description->setWordWrap(true);
    // As wide as its longest line, up to the limit; then it wraps.
    int natural = 0;
    for (const QString& line : m_appDescription.split(QLatin1Char('\n')))
        natural = std::max(natural, description->fontMetrics().horizontalAdvance(line) + 1);
    description->setFixedWidth(std::min(natural, descriptionWidth));
    column->addWidget(description, 0, Qt::AlignHCenter);

    auto* divider = new QWidget(this);
    divider->setObjectName(QStringLiteral("about-divider"));
    divider->setFixedSize(dividerWidth, 1);
    divider->setAutoFillBackground(true);
    column->addWidget(divider, 0, Qt::AlignHCenter);

    auto* credit = new QVBoxLayout;
    credit->setSpacing(8);
    credit->addWidget(
        plainLabel(localized("Crafted by"), Font::caption(), this, "about-crafted-by"), 0, Qt::AlignHCenter);
    credit->addWidget(plainLabel(makerName(), Font::title(), this, "about-maker"), 0, Qt::AlignHCenter);
    auto* link = new QLabel(this);
    link->setObjectName(QStringLiteral("about-link"));
    link->setTextFormat(Qt::RichText);
    link->setFont(Font::caption());
    link->setOpenExternalLinks(true);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    credit->addWidget(link, 0, Qt::AlignHCenter);
    column->addLayout(credit);

    column->addStretch(1);
    applyColors();
}

void KestuAboutView::applyColors()
{
    const QColor secondary = Color::textSecondary().resolve(this);
    for (const char* name : { "about-version", "about-description", "about-crafted-by" }) {
        if (auto* label = findChild<QLabel*>(QLatin1String(name)))
            setTextColor(label, secondary);
    }
    if (auto* maker = findChild<QLabel*>(QStringLiteral("about-maker")))
        setTextColor(maker, Color::text().resolve(this));
    if (auto* divider = findChild<QWidget*>(QStringLiteral("about-divider"))) {
        QPalette palette = divider->palette();
        palette.setColor(QPalette::Window, withOpacity(this->palette().color(QPalette::WindowText), 0.12));
        divider->setPalette(palette);
    }
    // The link takes the accent colour, without an underline.
    if (auto* link = findChild<QLabel*>(QStringLiteral("about-link"))) {
        link->setText(QStringLiteral("<a href=\"%1\" style=\"color: %2; text-decoration: none\">%3</a>")
                          .arg(makerUrl().toString(QUrl::FullyEncoded).toHtmlEscaped(),
                              Color::accent().resolve(this).name(), makerDomain().toHtmlEscaped()));
    }
}

void KestuAboutView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ThemeChange)
        applyColors();
}

void KestuAboutView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The host may set its Info values after building the page: read them again.
    if (auto* version = findChild<QLabel*>(QStringLiteral("about-version")))
        version->setText(versionLine());
}

} // namespace kestu
