#include "Views/Settings/ProfileRow.h"

#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Models/TremlorSettings.h"
#include "Views/Settings/ProfilesSettingsView.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>

namespace tremlor {

namespace {

const Profile* findProfile(const TremlorSettings& settings, const QUuid& id)
{
    for (const Profile& profile : settings.profiles()) {
        if (profile.id == id)
            return &profile;
    }
    return nullptr;
}

// The active profile's mark: "checkmark.circle.fill" in the success colour, at caption size.
class CheckMark final : public QWidget {
public:
    explicit CheckMark(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("profile-active-mark"));
        setAccessibleName(tr("Active profile"));
        setFixedSize(14, 14);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        kestu::KestuSymbols::paint(p, rect(), QStringLiteral("checkmark.circle.fill"),
            kestu::Font::caption().pixelSize(), kestu::Color::success().resolve(this));
    }
};

} // namespace

ProfileRow::ProfileRow(const QUuid& id, const TremlorSettings& settings, QWidget* parent)
    : SectionListRow(id, parent)
    , m_settings(settings)
    , m_check(new CheckMark(this))
    , m_summary(new SectionListText(kestu::Font::caption(), kestu::Color::textSecondary(), this))
{
    setObjectName(QStringLiteral("profile-row"));
    // The field reads the stored name by id and reports each keystroke; names stay as typed.
    kestu::KestuBinding<QString> name(
        [this] {
            const Profile* profile = findProfile(m_settings, this->id());
            return profile ? profile->name : QString();
        },
        [this](const QString& value) { Q_EMIT renamed(this->id(), value); });
    // The field never takes the keyboard by itself: a key meant for the list or the bar would
    // rewrite the name. Return or Escape, which end the edit while the field still has the
    // keyboard, give it back to the list (the next Return must not press another control).
    const auto endEdit = [this] {
        if (m_name->hasFocus())
            Q_EMIT editEnded(this->id());
    };
    m_name = new kestu::KestuTextField(
        tr("Name"), std::move(name), std::nullopt, Qt::AlignLeft, false, false, false, endEdit, endEdit, this);
    m_name->setObjectName(QStringLiteral("profile-name"));
    m_name->setAccessibleName(tr("Profile name"));
    // The row's menu (Duplicate, Set as Default, Delete) also over the name.
    m_name->setContextMenuPolicy(Qt::NoContextMenu);
    m_name->installEventFilter(this);
    m_name->setFocusPolicy(Qt::ClickFocus);

    m_summary->setObjectName(QStringLiteral("profile-summary"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(
        int(kestu::Space::space8), int(kestu::Space::space4), int(kestu::Space::space8), int(kestu::Space::space4));
    layout->setSpacing(int(kestu::Space::space8));
    layout->addWidget(m_name, 1);
    layout->addWidget(m_check);
    layout->addWidget(m_summary);
    setMinimumHeight(36);
    refresh();
}

void ProfileRow::refresh()
{
    const Profile* profile = findProfile(m_settings, id());
    if (!profile)
        return;
    m_name->refresh();
    m_check->setVisible(m_settings.activeProfileId() == json::uuidText(profile->id));
    const QString summary = ProfilesSettingsView::profileSummary(*profile);
    if (m_summary->text() != summary)
        m_summary->setText(summary);
    setAccessibleName(profile->name);
}

void ProfileRow::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu acts on this row, selected or not. By the keyboard (the Menu key, Shift+F10), it
    // opens under the name rather than at the pointer.
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                  : mapToGlobal(m_name->geometry().bottomLeft());
    Q_EMIT menuRequested(id(), at);
    event->accept();
}

void ProfileRow::selectedChanged()
{
    // Tab goes from the bar's buttons to the selected profile's name.
    m_name->setFocusPolicy(isSelected() ? Qt::StrongFocus : Qt::ClickFocus);
}

bool ProfileRow::eventFilter(QObject* watched, QEvent* event)
{
    // A click into the name selects the row too; the field keeps the keyboard and its caret.
    if (watched == m_name && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Q_EMIT pressed(id());
        m_name->setFocus(Qt::MouseFocusReason);
    }
    return SectionListRow::eventFilter(watched, event);
}

} // namespace tremlor
