#include "Views/Popover/RotationMenuButton.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Models/TremlorSettings.h"
#include "Views/Shared/AccessibleFactory.h"
#include "Views/Shared/SettingBinding.h"

#include <QAccessibleWidget>
#include <QActionGroup>
#include <QEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>

#include <cmath>

namespace tremlor {

namespace {
struct ModeLook {
    RotationMode mode;
    const char* title;
    const char* symbol;
};
// In the order of RotationMode's cases. Titles are shown as they are, not translated.
constexpr ModeLook modeLooks[] = {
    { RotationMode::sequential, "Sequential", "arrow.right.arrow.left" },
    { RotationMode::random, "Random", "shuffle" },
};

const ModeLook& lookOf(RotationMode mode)
{
    for (const ModeLook& look : modeLooks) {
        if (look.mode == mode)
            return look;
    }
    return modeLooks[0];
}

constexpr int menuSymbolSize = 14;
// Room around the label for the focus ring, clear of the text.
constexpr int ringRoomX = int(kestu::focusRingWidth) + 2;
constexpr int ringRoomY = int(kestu::focusRingWidth) + 1;

// A menu popup is a window of its own, and the application's accessible children leave popups
// out: so the menu is told as this button's child, as a split button's is. Opening it returns
// at once, so an assistive tool is not held until the menu closes.
class MenuButtonAccessible final : public QAccessibleWidget {
public:
    explicit MenuButtonAccessible(QToolButton* button)
        : QAccessibleWidget(button, QAccessible::ButtonMenu)
    {
    }
    QToolButton* button() const { return static_cast<QToolButton*>(widget()); }

    int childCount() const override { return button()->menu() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 && button()->menu() ? QAccessible::queryAccessibleInterface(button()->menu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && button()->menu() && child->object() == button()->menu() ? 0 : -1;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = true;
        s.expanded = button()->menu() && button()->menu()->isVisible();
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList { showMenuAction(), pressAction() } + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == showMenuAction() || name == pressAction())
            QMetaObject::invokeMethod(button(), &QToolButton::showMenu, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(name);
    }
};

} // namespace

RotationMenuButton::RotationMenuButton(TremlorSettings& settings, QWidget* parent)
    : QToolButton(parent)
    , m_settings(settings)
    , m_menu(new QMenu(this))
    , m_modes(new QActionGroup(this))
{
    installAccessible<RotationMenuButton, MenuButtonAccessible>();
    setObjectName(QStringLiteral("rotation-menu"));
    setPopupMode(QToolButton::InstantPopup);
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMenu(m_menu);
    m_menu->setObjectName(QStringLiteral("rotation-order-menu"));
    m_menu->setAccessibleName(tr("Rotation order"));
    m_modes->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    rebuildMenu();
    watch(
        this, &m_settings, [this] { refresh(); }, &TremlorSettings::rotationModeChanged);
}

void RotationMenuButton::rebuildMenu()
{
    m_menu->clear();
    const QColor ink = kestu::Color::text().resolve(this);
    for (const ModeLook& look : modeLooks) {
        const QString symbol = QLatin1String(look.symbol);
        QIcon icon(kestu::KestuSymbols::pixmap(symbol, menuSymbolSize, ink, devicePixelRatioF()));
        QAction* action = m_menu->addAction(icon, QLatin1String(look.title));
        action->setObjectName(QStringLiteral("rotation-") + rawValue(look.mode));
        // Checkable, so screen readers say which order is in use; the mark follows the store.
        action->setCheckable(true);
        m_modes->addAction(action);
        const RotationMode mode = look.mode;
        connect(action, &QAction::triggered, this, [this, mode] {
            m_settings.setRotationMode(mode);
            refresh();
            // An assistive tool's press triggers the item without closing the menu.
            m_menu->hide();
        });
    }
    refresh();
}

void RotationMenuButton::refresh()
{
    const ModeLook& look = lookOf(m_settings.rotationMode());
    m_symbol = QLatin1String(look.symbol);
    m_title = QLatin1String(look.title);
    setAccessibleName(tr("Rotation order: %1").arg(m_title));
    for (QAction* action : m_modes->actions())
        action->setChecked(action->objectName() == QStringLiteral("rotation-") + rawValue(look.mode));
    updateGeometry();
    update();
}

QSize RotationMenuButton::sizeHint() const
{
    const QFont& font = kestu::Font::tag();
    const QFontMetricsF metrics(font);
    const double width = font.pixelSize() + spacing + metrics.horizontalAdvance(m_title);
    const double height = std::max(metrics.height(), double(font.pixelSize()));
    return { int(std::ceil(width)) + 2 * ringRoomX, int(std::ceil(height)) + 2 * ringRoomY };
}

void RotationMenuButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFont& font = kestu::Font::tag();
    const int size = font.pixelSize();
    QColor color = kestu::Color::textSecondary().resolve(this);
    if (isDown() || underMouse())
        color = kestu::Color::text().resolve(this);
    const QRectF bounds = QRectF(rect()).adjusted(ringRoomX, ringRoomY, -ringRoomX, -ringRoomY);
    kestu::KestuSymbols::paint(
        p, QRectF(bounds.left(), bounds.center().y() - size / 2.0, size, size), m_symbol, size, color);
    p.setPen(color);
    p.setFont(font);
    p.drawText(bounds.adjusted(size + spacing, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_title);
    if (kestu::showsFocusRing(this))
        kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small);
}

void RotationMenuButton::changeEvent(QEvent* event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        rebuildMenu();
}

} // namespace tremlor
