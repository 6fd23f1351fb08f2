#include "Views/Shared/ExpandButton.h"

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

QAccessibleInterface* expandButtonAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("tremlor::ExpandButton") && object && object->isWidgetType())
        return new ExpandButtonAccessible(static_cast<ExpandButton*>(object));
    return nullptr;
}

} // namespace

ExpandButton::ExpandButton(bool expanded, QWidget* parent)
    : QAbstractButton(parent)
    , m_expanded(expanded)
{
    QAccessible::installFactory(expandButtonAccessibleFactory); // Qt keeps one copy
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
