#pragma once

#include <QAccessible>
#include <QString>

namespace tremlor {

// Has Qt's accessibility make an `Accessible` for every widget of the class `Widget` (exactly that
// class, which declares Q_OBJECT). Qt keeps one copy of a factory installed twice.
template <typename Widget, typename Accessible> void installAccessible()
{
    QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
        if (className == QLatin1String(Widget::staticMetaObject.className()) && object && object->isWidgetType())
            return new Accessible(static_cast<Widget*>(object));
        return nullptr;
    });
}

} // namespace tremlor
