#pragma once

#include <QAccessible>
#include <QRegularExpression>
#include <QStringList>

#include <functional>
#include <utility>

namespace viewtest {

// While a test sets this, every event told to screen readers reaches it: Qt hands each update
// to the accessibility bridges among its plugins, also with no reader active.
inline std::function<void(QAccessibleEvent*)> toldToReaders;

// While it lives, a line for each event of these kinds told to screen readers: "@NAME" as NAME
// takes the keyboard (as the Profiles walk writes it), "checked NAME" or "expanded NAME" as that
// state of NAME flips, "value V" as a value changes, "text T" as text appears.
class ToldLog final {
public:
    ToldLog()
    {
        toldToReaders = [this](QAccessibleEvent* event) {
            QAccessibleInterface* about = event->accessibleInterface();
            const QString name = about ? about->text(QAccessible::Name) : QString();
            const QAccessible::Event type = event->type();
            if (type == QAccessible::Focus)
                m_lines << "@" + name;
            if (type == QAccessible::ValueChanged)
                m_lines << "value " + static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
            if (type == QAccessible::TextInserted)
                m_lines << "text " + static_cast<QAccessibleTextInsertEvent*>(event)->textInserted();
            if (type != QAccessible::StateChanged)
                return;
            const QAccessible::State changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
            if (changed.checked || changed.expanded)
                m_lines << (changed.checked ? "checked " : "expanded ") + name;
        };
    }
    ~ToldLog() { toldToReaders = nullptr; }
    Q_DISABLE_COPY_MOVE(ToldLog)

    // What was told since the last call.
    QStringList take() { return std::exchange(m_lines, {}); }
    // The last of those lines that starts with `kind`, or nothing.
    QString takeLast(const QString& kind)
    {
        const QStringList lines = take().filter(QRegularExpression("^" + kind));
        return lines.isEmpty() ? QString() : lines.last();
    }

private:
    QStringList m_lines;
};

} // namespace viewtest
