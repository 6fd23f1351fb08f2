#pragma once

#include <QAbstractButton>

namespace tremlor {

// A push button that shows or hides more. Screen readers hear a button that can expand, whether
// it is expanded now, and each change of that; their press action clicks it.
class ExpandButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit ExpandButton(bool expanded, QWidget* parent = nullptr);

    bool isExpanded() const { return m_expanded; }
    // Shows `expanded`, and tells screen readers when it changes.
    void showExpanded(bool expanded);

private:
    bool m_expanded;
};

} // namespace tremlor
