#pragma once

#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace kittest {

inline QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(30, 30, 32));
    p.setColor(QPalette::WindowText, QColor(240, 240, 240));
    p.setColor(QPalette::Base, QColor(40, 40, 42));
    p.setColor(QPalette::Text, QColor(240, 240, 240));
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 155));
    p.setColor(QPalette::Button, QColor(50, 50, 52));
    p.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    p.setColor(QPalette::Highlight, QColor(10, 132, 255));
    return p;
}

inline QPalette lightPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(236, 236, 236));
    p.setColor(QPalette::WindowText, QColor(20, 20, 20));
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, QColor(20, 20, 20));
    p.setColor(QPalette::PlaceholderText, QColor(140, 140, 145));
    p.setColor(QPalette::Button, QColor(240, 240, 240));
    p.setColor(QPalette::ButtonText, QColor(20, 20, 20));
    p.setColor(QPalette::Highlight, QColor(0, 122, 255));
    return p;
}

// Sets the motion preference for one test and clears it again, even when an assertion ends
// the test early (a preference left behind would change every later test's animations).
struct MotionOverride {
    explicit MotionOverride(bool reduced) { kestu::setReducedMotionOverride(reduced); }
    ~MotionOverride() { kestu::setReducedMotionOverride(std::nullopt); }
    Q_DISABLE_COPY_MOVE(MotionOverride)
};

// Shows a top-level window and makes it active, so its widgets can take keyboard focus.
inline void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// A window holding the widget under test and a plain button to take focus or clicks away from
// it (above the widget when `otherFirst`); `show()` makes it active.
struct KitWindow {
    QWidget window;
    QVBoxLayout* layout = new QVBoxLayout(&window);
    QPushButton* other = new QPushButton(QStringLiteral("other"));

    explicit KitWindow(QWidget* widget = nullptr, bool otherFirst = false)
    {
        layout->setContentsMargins(0, 0, 0, 0);
        if (otherFirst)
            layout->addWidget(other);
        if (widget)
            layout->addWidget(widget);
        if (!otherFirst)
            layout->addWidget(other);
    }
    void show() { showActive(window); }
};

// Delivers a mouse event straight to a widget, through the application's event filters.
inline void sendMouse(QWidget* widget, QEvent::Type type, QPointF pos, Qt::MouseButtons buttons = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// The widget painted into an image at its current size.
inline QImage render(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

inline bool near(const QColor& a, const QColor& b, int tolerance = 3)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// A render worth looking at: the expected size, more than its background drawn, and (for a
// themed view) the two appearances different.
inline void expectRendered(const QImage& light, const QImage& dark, QSize size, const QString& name, bool themed = true)
{
    SCOPED_TRACE(name.toStdString());
    EXPECT_EQ(light.size(), size);
    EXPECT_EQ(dark.size(), light.size());
    for (const QImage& image : { light, dark }) {
        const QColor background = image.pixelColor(2, 2);
        int drawn = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                drawn += near(image.pixelColor(x, y), background, 2) ? 0 : 1;
        EXPECT_GT(drawn, 20);
    }
    if (themed) {
        EXPECT_NE(light, dark);
    }
}

} // namespace kittest
