#include "App/PanelPopup.h"

#include "KestuDesign/Utilities/KestuX11Taskbar.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace tremlor {

namespace {
void* xcbConnection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}
} // namespace

PanelPopup::PanelPopup(ContentFactory factory, QWidget* parent)
    // A frameless tool window rather than a Qt::Popup: screen readers never see popups.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint)
    , m_factory(std::move(factory))
{
    setObjectName(QStringLiteral("tremlor-panel-popup"));
    setAccessibleName(QStringLiteral("Tremlor"));
    setWindowTitle(QStringLiteral("Tremlor"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    qApp->installEventFilter(this);
}

bool PanelPopup::eventFilter(QObject* watched, QEvent* event)
{
    // On X11 Qt stamps input events with the server's time, which the give-back must carry.
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::MouseButtonPress
        || type == QEvent::MouseButtonRelease) {
        if (const auto time = static_cast<QInputEvent*>(event)->timestamp())
            m_userTime = quint32(time);
    }
    return QWidget::eventFilter(watched, event);
}

void PanelPopup::ensureContent()
{
    if (m_content || !m_factory)
        return;
    m_content = m_factory(this);
    if (!m_content)
        return;
    layout()->addWidget(m_content);
}

void PanelPopup::toggleAt(QPoint at)
{
    if (isVisible()) {
        dismiss();
        return;
    }
    if (m_hiddenAt.isValid() && m_hiddenAt.elapsed() < reopenGuardMs) {
        m_hiddenAt.invalidate();
        return;
    }
    showAt(at);
}

void PanelPopup::showAt(QPoint at)
{
    ensureContent();
    if (!m_content)
        return;
    adjustSize();
    QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    m_anchor = at;
    if (screen) {
        setScreen(screen);
        setGeometry(placement(at, sizeHint().expandedTo(size()), screen->availableGeometry()));
    }
    rememberActiveWindow();
    m_knownWindows = kestu::KestuX11Taskbar::clientWindows(xcbConnection());
    show();
    raise();
    activateWindow();
}

QRect PanelPopup::placement(QPoint at, QSize size, const QRect& available)
{
    const int width = std::min(size.width(), available.width());
    const int height = std::min(size.height(), available.height());
    int left = at.x() - width / 2;
    left = std::clamp(left, available.left(), available.right() + 1 - width);
    // A tray in the lower half of the screen sits at the bottom: open upward.
    const bool upward = at.y() > available.center().y();
    int top = upward ? at.y() - gap - height : at.y() + gap;
    top = std::clamp(top, available.top(), available.bottom() + 1 - height);
    return { left, top, width, height };
}

void PanelPopup::resizeEvent(QResizeEvent* event)
{
    // The panel grows and shrinks as its options open and close: it stays anchored at the tray.
    QWidget::resizeEvent(event);
    if (QScreen* screen = QGuiApplication::screenAt(m_anchor); screen && isVisible())
        move(placement(m_anchor, size(), screen->availableGeometry()).topLeft());
}

void PanelPopup::hideEvent(QHideEvent* event)
{
    // Closed by a click outside, perhaps on the tray item itself: a toggle that follows at once
    // is that same click (a dismissal clears the guard again).
    m_hiddenAt.start();
    QWidget::hideEvent(event);
}

void PanelPopup::changeEvent(QEvent* event)
{
    // Closes when the user turns elsewhere (a menu of the panel itself keeps it active); the
    // window turned to keeps the keyboard.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()
        && !QApplication::activePopupWidget() && !takeKeyboardFromNewWindow())
        hide();
    QWidget::changeEvent(event);
}

bool PanelPopup::takeKeyboardFromNewWindow()
{
    // An application a session launched just before the panel opened maps its window now.
    if (QApplication::activeWindow())
        return false;
    const quint32 active = kestu::KestuX11Taskbar::activeWindow(xcbConnection());
    if (active == 0 || std::find(m_knownWindows.begin(), m_knownWindows.end(), active) != m_knownWindows.end())
        return false;
    m_knownWindows.push_back(active);
    kestu::KestuX11Taskbar::activate(xcbConnection(), quint32(winId()), m_userTime);
    return true;
}

void PanelPopup::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        dismiss();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PanelPopup::dismiss()
{
    hide();
    // Not closed by a click elsewhere: the next click on the tray item opens it again at once.
    m_hiddenAt.invalidate();
    giveKeyboardBack();
}

void PanelPopup::rememberActiveWindow()
{
    m_previousOwn = nullptr;
    m_previousForeign = 0;
    QWidget* own = QApplication::activeWindow();
    if (own && own != this)
        m_previousOwn = own;
    else if (!own)
        m_previousForeign = kestu::KestuX11Taskbar::activeWindow(xcbConnection());
}

void PanelPopup::giveKeyboardBack()
{
    // A window hidden from the taskbar does not get the keyboard back from every window manager
    // (openbox leaves it with no one) when a popup over it closes.
    const QPointer<QWidget> own = std::exchange(m_previousOwn, nullptr);
    const quint32 foreign = std::exchange(m_previousForeign, 0);
    if (own && own->isVisible() && !own->isMinimized())
        own->activateWindow();
    else if (foreign)
        kestu::KestuX11Taskbar::activate(xcbConnection(), foreign, m_userTime);
}

} // namespace tremlor
