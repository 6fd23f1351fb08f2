#include "App/PanelPopup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace tremlor {

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
}

void PanelPopup::ensureContent()
{
    if (m_content || !m_factory)
        return;
    m_content = m_factory(this);
    if (m_content)
        layout()->addWidget(m_content);
}

void PanelPopup::toggleAt(QPoint at)
{
    if (isVisible()) {
        hide();
        m_hiddenAt.invalidate();
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
    // Closed by a click outside (perhaps on the tray item itself) or by Escape.
    m_hiddenAt.start();
    QWidget::hideEvent(event);
}

void PanelPopup::changeEvent(QEvent* event)
{
    // Closes when the user turns elsewhere (a menu of the panel itself keeps it active).
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()
        && !QApplication::activePopupWidget())
        hide();
    QWidget::changeEvent(event);
}

void PanelPopup::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tremlor
