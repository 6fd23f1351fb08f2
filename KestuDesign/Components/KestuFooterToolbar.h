#pragma once

#include <QList>
#include <QString>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class QHBoxLayout;

namespace kestu {

class KestuFooterButton;

// One button of the footer toolbar. Each action made gets a fresh random id; copies keep it.
// The shortcut and its modifiers are data for the holder: the toolbar does not install them.
class KestuFooterAction final {
public:
    KestuFooterAction(QString icon, QString tooltip, std::optional<Qt::Key> shortcut, Qt::KeyboardModifiers modifiers,
        std::optional<QString> accessibilityID, std::function<void()> action);

    const QUuid& id() const { return m_id; }
    const QString& icon() const { return m_icon; }
    const QString& tooltip() const { return m_tooltip; }
    const std::optional<Qt::Key>& shortcut() const { return m_shortcut; }
    Qt::KeyboardModifiers modifiers() const { return m_modifiers; }
    const std::optional<QString>& accessibilityID() const { return m_accessibilityID; }
    const std::function<void()>& action() const { return m_action; }

private:
    QUuid m_id;
    QString m_icon;
    QString m_tooltip;
    std::optional<Qt::Key> m_shortcut;
    Qt::KeyboardModifiers m_modifiers;
    std::optional<QString> m_accessibilityID;
    std::function<void()> m_action;
};

// A bar of small symbol buttons for the bottom edge of a panel: the leading actions, free
// space, the trailing actions; 16 points between buttons and at the sides, 10 above and below.
// It draws no background of its own.
class KestuFooterToolbar final : public QWidget {
    Q_OBJECT
public:
    KestuFooterToolbar(QList<KestuFooterAction> leading, QList<KestuFooterAction> trailing, QWidget* parent = nullptr);

    const QList<KestuFooterAction>& leading() const { return m_leading; }
    const QList<KestuFooterAction>& trailing() const { return m_trailing; }
    // A button whose action id stays in the lists keeps its widget and hover state (also when
    // it moves between the two lists through setActions).
    void setActions(QList<KestuFooterAction> leading, QList<KestuFooterAction> trailing);
    void setLeading(QList<KestuFooterAction> actions);
    void setTrailing(QList<KestuFooterAction> actions);

    // The buttons in bar order: leading ones, then trailing ones.
    QList<KestuFooterButton*> buttons() const;

private:
    void rebuild();

    QList<KestuFooterAction> m_leading;
    QList<KestuFooterAction> m_trailing;
    QList<KestuFooterButton*> m_buttons;
    QHBoxLayout* m_row;
};

} // namespace kestu
