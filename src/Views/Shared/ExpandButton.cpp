#include "Views/Shared/ExpandButton.h"

#include "Views/Shared/AccessibleFactory.h"

#include <QAccessibleWidget>

namespace tremlor {

namespace {

class ExpandButtonAccessible final : public QAccessibleWidget {
public:
    explicit ExpandButtonAccessible(ExpandButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = button()->isExpanded();
        state.collapsed = !button()->isExpanded();
        return state;
    }
    QStringList actionNames() const override
    {
        return QStringList { pressAction() } + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    ExpandButton* button() const { return static_cast<ExpandButton*>(widget()); }
};

} // namespace

ExpandButton::ExpandButton(bool expanded, QWidget* parent)
    : QAbstractButton(parent)
    , m_expanded(expanded)
{
    installAccessible<ExpandButton, ExpandButtonAccessible>();
}

void ExpandButton::showExpanded(bool expanded)
{
    if (expanded == m_expanded)
        return;
    m_expanded = expanded;
    update();
    QAccessible::State changed;
    changed.expanded = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace tremlor
