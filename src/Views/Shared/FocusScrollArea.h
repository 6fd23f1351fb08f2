#pragma once

#include <QMetaObject>
#include <QScrollArea>

namespace tremlor {

// A scroll area that is no stop of its own on the Tab chain: the keyboard goes to the controls
// inside it, and the one that takes the focus is scrolled into sight, wherever the focus came
// from (Tab from outside, Shift+Tab from below, a click on a half-hidden control).
class FocusScrollArea : public QScrollArea {
    Q_OBJECT

public:
    explicit FocusScrollArea(QWidget* parent = nullptr);
    ~FocusScrollArea() override;
    Q_DISABLE_COPY_MOVE(FocusScrollArea)

private:
    QMetaObject::Connection m_followFocus;
};

} // namespace tremlor
