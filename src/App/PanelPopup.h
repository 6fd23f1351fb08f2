#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>
#include <vector>

namespace tremlor {

// The frameless window under the tray item that hosts the panel. It opens at the point the
// host gave, on the screen holding that point, upward when the tray sits at the bottom; turning
// to another window or Escape hides it (a window that appears meanwhile, which the user did not
// turn to, does not). Closed by Escape, by the tray item or by dismiss(), it hands the keyboard
// back to the window that had it before it opened; a window the user turned to keeps it.
class PanelPopup final : public QWidget {
    Q_OBJECT

public:
    // Makes the panel the first time the popup opens.
    using ContentFactory = std::function<QWidget*(QWidget* parent)>;

    explicit PanelPopup(ContentFactory factory, QWidget* parent = nullptr);

    // Opens at `at`, or hides when open. A toggle that follows an automatic hide within the
    // guard time is the same click that closed the popup, and is ignored.
    void toggleAt(QPoint at);
    void showAt(QPoint at);
    // Hides the popup and activates the window that was active before it opened.
    void dismiss();
    QWidget* content() const { return m_content; }

    static constexpr int reopenGuardMs = 350;
    static constexpr int gap = 4;
    // Where a panel of `size` opens for a click at `at` on a screen whose free area is `available`.
    static QRect placement(QPoint at, QSize size, const QRect& available);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ensureContent();
    void rememberActiveWindow();
    void giveKeyboardBack();
    // Whether the window that took the keyboard appeared after the panel opened; then the panel
    // takes it back, once for that window.
    bool takeKeyboardFromNewWindow();

    ContentFactory m_factory;
    // Before the popup opened: one of this application's windows, or another one's X window.
    QPointer<QWidget> m_previousOwn;
    quint32 m_previousForeign = 0;
    // The windows managed when the panel opened, and those it has taken the keyboard back from.
    std::vector<quint32> m_knownWindows;
    // The X server time of the user's last key or click that Qt saw.
    quint32 m_userTime = 0;
    QWidget* m_content = nullptr;
    QElapsedTimer m_hiddenAt;
    QPoint m_anchor;
};

} // namespace tremlor
