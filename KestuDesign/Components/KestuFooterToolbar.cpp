#include "KestuDesign/Components/KestuFooterToolbar.h"

#include "KestuDesign/Components/KestuFooterButton.h"

#include <QHBoxLayout>
#include <QHash>

namespace kestu {

KestuFooterAction::KestuFooterAction(QString icon, QString tooltip, std::optional<Qt::Key> shortcut,
    Qt::KeyboardModifiers modifiers, std::optional<QString> accessibilityID, std::function<void()> action)
    : m_id(QUuid::createUuid())
    , m_icon(std::move(icon))
    , m_tooltip(std::move(tooltip))
    , m_shortcut(shortcut)
    , m_modifiers(modifiers)
    , m_accessibilityID(std::move(accessibilityID))
    , m_action(std::move(action))
{
}

KestuFooterToolbar::KestuFooterToolbar(
    QList<KestuFooterAction> leading, QList<KestuFooterAction> trailing, QWidget* parent)
    : QWidget(parent)
    , m_leading(std::move(leading))
    , m_trailing(std::move(trailing))
    , m_row(new QHBoxLayout(this))
{
    m_row->setSpacing(16);
    m_row->setContentsMargins(16, 10, 16, 10);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    rebuild();
}

void KestuFooterToolbar::setActions(QList<KestuFooterAction> leading, QList<KestuFooterAction> trailing)
{
    m_leading = std::move(leading);
    m_trailing = std::move(trailing);
    rebuild();
}

void KestuFooterToolbar::setLeading(QList<KestuFooterAction> actions)
{
    m_leading = std::move(actions);
    rebuild();
}

void KestuFooterToolbar::setTrailing(QList<KestuFooterAction> actions)
{
    m_trailing = std::move(actions);
    rebuild();
}

QList<KestuFooterButton*> KestuFooterToolbar::buttons() const
{
    return m_buttons;
}

void KestuFooterToolbar::rebuild()
{
    QMultiHash<QUuid, KestuFooterButton*> existing;
    for (KestuFooterButton* button : std::as_const(m_buttons))
        existing.insert(button->action().id(), button);
    while (m_row->count() > 0)
        delete m_row->takeAt(0);

    QList<KestuFooterButton*> buttons;
    const auto place = [&](const KestuFooterAction& action) {
        KestuFooterButton* button = existing.take(action.id());
        if (button)
            button->setAction(action);
        else
            button = new KestuFooterButton(action, this);
        m_row->addWidget(button);
        button->show();
        buttons << button;
    };
    for (const KestuFooterAction& action : std::as_const(m_leading))
        place(action);
    m_row->addStretch(1);
    for (const KestuFooterAction& action : std::as_const(m_trailing))
        place(action);

    // A button may be running its own action right now (the action rebuilt the bar).
    for (KestuFooterButton* gone : std::as_const(existing)) {
        gone->hide();
        gone->deleteLater();
    }
    m_buttons = buttons;
}

} // namespace kestu
