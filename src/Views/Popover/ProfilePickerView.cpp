#include "Views/Popover/ProfilePickerView.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Models/TremlorSettings.h"
#include "Platform/Json.h"
#include "Views/Popover/SymbolLabel.h"
#include "Views/Shared/ChosenItemAccessible.h"
#include "Views/Shared/SettingBinding.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalBlocker>

#include <algorithm>

namespace tremlor {

// A quiet pop-up button: the chosen item's title and an up-and-down chevron on a rounded
// tertiary surface that brightens under the pointer. Its menu is the combo box's own list.
class ProfilePickerView::Picker final : public QComboBox {
public:
    explicit Picker(QWidget* parent)
        : QComboBox(parent)
    {
        setAttribute(Qt::WA_Hover);
        setFont(kestu::Font::callout());
        setSizeAdjustPolicy(QComboBox::AdjustToContents);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        setMaximumWidth(maximumPickerWidth);
    }

    static constexpr int leadingPadding = 8;
    static constexpr int trailingPadding = 6;
    static constexpr int chevronSize = 9;
    static constexpr int height = 22;

    QSize sizeHint() const override
    {
        const QFontMetricsF metrics(font());
        double widest = 0;
        for (int i = 0; i < count(); ++i)
            widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
        const int width
            = int(std::ceil(widest)) + leadingPadding + int(kestu::Space::space8) + chevronSize + trailingPadding;
        return { std::min(width, maximumPickerWidth), height };
    }
    QSize minimumSizeHint() const override { return { leadingPadding + chevronSize + trailingPadding, height }; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const double radius = kestu::Radius::small + 1;
        p.setPen(QPen(kestu::Color::border().resolve(this), 0.5));
        p.setBrush(kestu::Color::surfaceTertiary().resolve(this));
        p.drawRoundedRect(r, radius, radius);
        if (underMouse() || hasFocus()) {
            p.setPen(Qt::NoPen);
            p.setBrush(kestu::withOpacity(kestu::Color::textSecondary().resolve(this), 0.12));
            p.drawRoundedRect(r, radius, radius);
        }

        const QRectF chevron(
            r.right() - trailingPadding - chevronSize, r.center().y() - chevronSize / 2.0, chevronSize, chevronSize);
        const QRectF text(r.left() + leadingPadding, r.top(),
            chevron.left() - kestu::Space::space4 - r.left() - leadingPadding, r.height());
        p.setPen(kestu::Color::text().resolve(this));
        p.setFont(font());
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
            p.fontMetrics().elidedText(currentText(), Qt::ElideRight, int(text.width())));
        kestu::KestuSymbols::paint(p, chevron, QStringLiteral("chevron.up.chevron.down"), chevronSize,
            kestu::Color::textSecondary().resolve(this));
        if (kestu::showsFocusRing(this))
            kestu::paintFocusRing(p, this, QRectF(rect()), radius + 0.5);
    }

    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::HoverEnter || e->type() == QEvent::HoverLeave)
            update();
        return QComboBox::event(e);
    }

    // Choosing applies a profile, which replaces the interval and the applications: the closed
    // box only opens its list (Space, Alt+Down, F4), and never steps through the profiles by
    // arrows, letters or the wheel. The open list chooses on Return or a click.
    void keyPressEvent(QKeyEvent* e) override
    {
        const Qt::KeyboardModifiers modifiers = e->modifiers() & ~Qt::KeypadModifier;
        const bool opens = (e->key() == Qt::Key_Space && modifiers == Qt::NoModifier)
            || (e->key() == Qt::Key_F4 && modifiers == Qt::NoModifier)
            || (e->key() == Qt::Key_Down && modifiers == Qt::AltModifier);
        if (opens)
            showPopup();
        else
            e->ignore();
    }
    void wheelEvent(QWheelEvent* e) override { e->ignore(); }
};

ProfilePickerView::ProfilePickerView(TremlorSettings& settings, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_picker(new Picker(this))
{
    tellChosenItem(m_picker);
    setObjectName(QStringLiteral("profile-section"));
    m_picker->setObjectName(QStringLiteral("profile-picker"));

    auto* label = new SymbolLabel(QStringLiteral("person.crop.rectangle.stack"), tr("Profile"), kestu::Font::caption(),
        kestu::Color::textSecondary(), this);
    // Screen readers name the box by its label (a labelled-by relation) and read the chosen
    // item as its value.
    label->setBuddy(m_picker);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, int(kestu::Space::space2), 0, int(kestu::Space::space2));
    layout->setSpacing(int(kestu::Space::space8));
    layout->addWidget(label);
    layout->addStretch(1);
    layout->addWidget(m_picker);

    // Only a choice of the user's writes the store: activated() is not sent for the items and
    // the mark that refresh() sets.
    connect(m_picker, &QComboBox::activated, this, [this](int index) {
        if (index >= 0)
            m_settings.setActiveProfileId(m_picker->itemData(index).toString());
    });
    watch(
        this, &m_settings, [this] { refresh(); }, &TremlorSettings::activeProfileIdChanged,
        &TremlorSettings::profilesChanged);
}

void ProfilePickerView::refresh()
{
    const QSignalBlocker block(m_picker);
    m_picker->clear();
    m_picker->addItem(tr("No Profile"), QString());
    for (const Profile& profile : m_settings.profiles())
        m_picker->addItem(profile.name, json::uuidText(profile.id));
    // Exact text: a lower-case or stale id marks nothing.
    const QString active = m_settings.activeProfileId();
    int marked = -1;
    for (int i = 0; i < m_picker->count() && marked < 0; ++i) {
        if (m_picker->itemData(i).toString() == active)
            marked = i;
    }
    m_picker->setCurrentIndex(marked);
    m_picker->updateGeometry();
}

} // namespace tremlor
