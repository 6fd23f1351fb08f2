#include "Views/Shared/ChosenItemAccessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace tremlor {

namespace {

const char* const marker = "tremlor.tellsChosenItem";

// Told as a combo box without children (its list is a window of its own), whose text is the
// chosen item's title, all of it selected: Orca speaks an inserted text that is selected.
class ChosenItemAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ChosenItemAccessible(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if ((t == QAccessible::Name || t == QAccessible::Value) && !shown().isEmpty())
            return shown();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        state.hasPopup = true;
        return state;
    }
    QStringList actionNames() const override { return { showMenuAction(), pressAction() }; }
    void doAction(const QString& name) override
    {
        if (name != showMenuAction() && name != pressAction())
            return;
        // Queued: the assistive tool's call returns before the list takes the keyboard.
        QComboBox* const target = box();
        QMetaObject::invokeMethod(
            target,
            [target] {
                if (target->view()->isVisible())
                    target->hidePopup();
                else
                    target->showPopup();
            },
            Qt::QueuedConnection);
    }

    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    int cursorPosition() const override { return characterCount(); }
    void setCursorPosition(int) override { }
    int selectionCount() const override { return shown().isEmpty() ? 0 : 1; }
    void selection(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
    }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
    QString shown() const { return box()->currentText(); }
};

QAccessibleInterface* chosenItemFactory(const QString&, QObject* object)
{
    auto* box = qobject_cast<QComboBox*>(object);
    return box && box->property(marker).toBool() ? new ChosenItemAccessible(box) : nullptr;
}

} // namespace

void tellChosenItem(QComboBox* box)
{
    QAccessible::installFactory(chosenItemFactory); // Qt keeps one copy
    box->setProperty(marker, true);
}

} // namespace tremlor
