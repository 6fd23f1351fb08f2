#include "Views/Onboarding/OnboardingPermissionView.h"

#include "Helpers/AccessibilityChecking.h"
#include "KestuDesign/Components/KestuButton.h"
#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>

namespace tremlor {

namespace {
constexpr int kIconSize = 56;
constexpr int kGrantWidth = 200;

// A flat text button: the style draws no focus on it, so it shows the kit's ring.
class LinkButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPushButton::paintEvent(event);
        if (kestu::showsFocusRing(this)) {
            QPainter p(this);
            kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small);
        }
    }
};

QString message(bool granted)
{
    return granted
        ? QStringLiteral("Permission granted! Tremlor is ready to go.")
        : QStringLiteral("Tremlor needs Accessibility permission to move the mouse\nand activate apps on your "
                         "behalf.");
}
} // namespace

OnboardingPermissionView::OnboardingPermissionView(
    AccessibilityChecking& accessibility, std::function<void()> openAccessibilitySettings, QWidget* parent)
    : QWidget(parent)
    , m_accessibility(accessibility)
    , m_openAccessibilitySettings(std::move(openAccessibilitySettings))
    , m_icon(new QLabel(this))
    , m_title(new QLabel(QStringLiteral("Accessibility Permission"), this))
    , m_message(new QLabel(this))
    , m_actions(new QWidget(this))
    , m_reveal(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("onboarding-permission"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 32, 32, 32);
    layout->setSpacing(24);
    layout->addStretch(1);

    m_icon->setObjectName(QStringLiteral("permission-icon"));
    m_icon->setAlignment(Qt::AlignCenter);
    m_icon->setFixedHeight(kIconSize + 8);
    layout->addWidget(m_icon);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(8);
    m_title->setObjectName(QStringLiteral("permission-title"));
    m_title->setFont(kestu::Font::display());
    m_title->setAlignment(Qt::AlignCenter);
    m_message->setObjectName(QStringLiteral("permission-message"));
    m_message->setFont(kestu::Font::body());
    m_message->setAlignment(Qt::AlignCenter);
    texts->addWidget(m_title);
    texts->addWidget(m_message);
    layout->addLayout(texts);

    auto* actions = new QVBoxLayout(m_actions);
    actions->setContentsMargins(0, 0, 0, 0);
    actions->setSpacing(12);
    auto* grant = new kestu::KestuButton(
        QStringLiteral("Grant Permission"), QStringLiteral("lock.open"), kestu::KestuButtonVariant::primary,
        [this] {
            // X11 has no prompt: the request only answers the state, which the check then follows.
            m_accessibility.requestAccess(true);
            startPolling();
        },
        m_actions);
    grant->setObjectName(QStringLiteral("grant-permission-button"));
    grant->setAccessibleName(QStringLiteral("Grant Permission"));
    grant->setFixedWidth(kGrantWidth);
    m_grantButton = grant;
    actions->addWidget(grant, 0, Qt::AlignHCenter);

    // Made after the grant button, so Tab reaches the two from top to bottom.
    m_openSettingsButton = new LinkButton(QStringLiteral("Open System Settings"), m_actions);
    m_openSettingsButton->setObjectName(QStringLiteral("open-system-settings-button"));
    m_openSettingsButton->setAccessibleName(QStringLiteral("Open System Settings"));
    m_openSettingsButton->setFlat(true);
    m_openSettingsButton->setCursor(Qt::PointingHandCursor);
    m_openSettingsButton->setFont(kestu::Font::caption());
    connect(m_openSettingsButton, &QPushButton::clicked, this, [this] {
        if (m_openAccessibilitySettings)
            m_openAccessibilitySettings();
        startPolling();
    });
    actions->addWidget(m_openSettingsButton, 0, Qt::AlignHCenter);
    layout->addWidget(m_actions);
    layout->addStretch(1);

    // The state change fades the shield in with the gentle spring. The fade is painted into the
    // icon rather than a graphics effect, which the onboarding shell's page could not draw
    // inside an effect of its own.
    connect(m_reveal, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_iconOpacity = value.toDouble();
        showIcon();
    });
    connect(m_reveal, &QVariantAnimation::finished, this, [this] {
        m_iconOpacity = 1.0;
        showIcon();
    });
    setAccessibleName(m_title->text());
    refresh();
}

void OnboardingPermissionView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setGranted(m_accessibility.isTrusted(), false);
    if (!m_permissionGranted)
        startPolling();
}

void OnboardingPermissionView::hideEvent(QHideEvent* event)
{
    stopPolling();
    QWidget::hideEvent(event);
}

void OnboardingPermissionView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        refresh();
    QWidget::changeEvent(event);
}

void OnboardingPermissionView::startPolling()
{
    stopPolling();
    m_checkTimer = new QTimer(this);
    m_checkTimer->setInterval(pollIntervalMs);
    connect(m_checkTimer, &QTimer::timeout, this, [this] { check(); });
    m_checkTimer->start();
}

void OnboardingPermissionView::stopPolling()
{
    delete m_checkTimer.data();
}

void OnboardingPermissionView::check()
{
    const bool trusted = m_accessibility.isTrusted();
    if (trusted == m_permissionGranted)
        return;
    setGranted(trusted, true);
    if (trusted)
        stopPolling();
}

void OnboardingPermissionView::setGranted(bool granted, bool animated)
{
    const bool changed = granted != m_permissionGranted;
    m_permissionGranted = granted;
    refresh();
    if (changed && animated) {
        m_reveal->stop();
        m_reveal->setStartValue(0.0);
        m_reveal->setEndValue(1.0);
        kestu::Animation::springGentle().apply(m_reveal);
        m_reveal->start();
    }
}

void OnboardingPermissionView::refresh()
{
    const QString symbol
        = m_permissionGranted ? QStringLiteral("checkmark.shield.fill") : QStringLiteral("lock.shield");
    const QColor color = (m_permissionGranted ? kestu::Color::success() : kestu::Color::warning()).resolve(this);
    m_iconPixmap = kestu::KestuSymbols::pixmap(symbol, kIconSize, color, devicePixelRatioF());
    showIcon();
    m_icon->setAccessibleName(
        m_permissionGranted ? QStringLiteral("Permission granted") : QStringLiteral("Permission needed"));
    m_message->setText(message(m_permissionGranted));
    m_message->setAccessibleName(m_message->text());
    setAccessibleDescription(m_message->text());
    QPalette secondary = m_message->palette();
    secondary.setColor(QPalette::WindowText, kestu::Color::textSecondary().resolve(this));
    m_message->setPalette(secondary);
    if (m_openSettingsButton) {
        QPalette link = m_openSettingsButton->palette();
        link.setColor(QPalette::ButtonText, kestu::Color::accent().resolve(this));
        m_openSettingsButton->setPalette(link);
    }
    m_actions->setVisible(!m_permissionGranted);
}

void OnboardingPermissionView::showIcon()
{
    if (m_iconOpacity >= 1.0 || m_iconPixmap.isNull()) {
        m_icon->setPixmap(m_iconPixmap);
        return;
    }
    QPixmap faded(m_iconPixmap.size());
    faded.setDevicePixelRatio(m_iconPixmap.devicePixelRatio());
    faded.fill(Qt::transparent);
    QPainter painter(&faded);
    painter.setOpacity(std::max(0.0, m_iconOpacity));
    painter.drawPixmap(0, 0, m_iconPixmap);
    painter.end();
    m_icon->setPixmap(faded);
}

} // namespace tremlor
