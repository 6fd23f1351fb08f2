#pragma once

#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace kittest {

// A desktop's light or dark palette: window, text and accent.
inline QPalette palette(bool dark)
{
    QPalette p;
    const QColor text = dark ? QColor(240, 240, 240) : QColor(20, 20, 20);
    p.setColor(QPalette::Window, dark ? QColor(30, 30, 32) : QColor(236, 236, 236));
    p.setColor(QPalette::Base, dark ? QColor(40, 40, 42) : QColor(Qt::white));
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, dark ? QColor(10, 132, 255) : QColor(0, 122, 255));
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
        if (widget)
            layout->addWidget(widget);
        layout->insertWidget(otherFirst ? 0 : -1, other);
    }
    void show() { showActive(window); }
};

// What an assistive tool does to `widget` by one of its actions, a press unless told otherwise.
inline void doAction(QWidget* widget, const QString& action = QAccessibleActionInterface::pressAction())
{
    QAccessible::queryAccessibleInterface(widget)->actionInterface()->doAction(action);
}

// Delivers a mouse event straight to a widget, through the application's event filters.
inline void sendMouse(QWidget* widget, QEvent::Type type, QPointF pos, Qt::MouseButtons buttons = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A stand-in for GNOME's gsettings tool in `dir`: a shell script running `body`.
inline QString script(QTemporaryDir& dir, const char* body)
{
    const QString path = dir.filePath(QStringLiteral("gsettings"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray("#!/bin/sh\n") + body + "\n") > 0);
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

inline QImage render(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// The start of `whole` that `widget` is drawn showing before a "…", found by drawing `twin` (a
// control of the same kind and size, fitting text) with each shorter start and "…" in turn;
// empty when it shows none of them (the whole text, its tail, a cut without a mark).
inline QString shownStart(
    QWidget* widget, QWidget* twin, const std::function<void(const QString&)>& show, const QString& whole)
{
    const QImage drawn = render(widget);
    for (qsizetype n = whole.size() - 1; n > 0; --n) {
        show(whole.left(n) + QStringLiteral("\u2026"));
        if (render(twin) == drawn)
            return whole.left(n);
    }
    return {};
}

// WCAG contrast ratio of two opaque colours, from their relative luminance.
inline double contrastRatio(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline bool near(const QColor& a, const QColor& b, int tolerance = 3)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace kittest
