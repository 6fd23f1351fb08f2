#include "Views/Shared/GroupedForm.h"

#include "KestuDesign/Components/KestuSectionHeader.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Shared/TokenLabel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tremlor {

namespace {
constexpr int rowHorizontal = static_cast<int>(kestu::Space::space12);
constexpr int rowVertical = static_cast<int>(kestu::Space::space8);
constexpr int rowMinimumHeight = 38;
} // namespace

void applySlimScrollBars(QAbstractScrollArea* area)
{
    area->verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { width: 10px; background: transparent; margin: 2px 2px 2px 0; }"
        "QScrollBar::handle:vertical { background: rgba(128, 128, 128, 110); border-radius: 3px; min-height: 28px;"
        " margin: 0 1px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
}

GroupedForm::GroupedForm(QWidget* parent)
    : FocusScrollArea(parent)
    , m_content(new QWidget)
    , m_layout(new QVBoxLayout(m_content))
    , m_sectionSpacing(static_cast<int>(kestu::Space::space20))
{
    applySlimScrollBars(this);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The form lies on the window's own background.
    viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
    const int outer = static_cast<int>(kestu::Space::space20);
    m_layout->setContentsMargins(outer, outer, outer, outer);
    m_layout->setSpacing(0);
    m_layout->addStretch(1);
    setWidget(m_content);
}

GroupedFormSection* GroupedForm::addSection(const QString& header, const QString& objectName)
{
    const int index = m_layout->count() - 1; // before the closing stretch
    int at = index;
    if (!m_sections.isEmpty())
        m_layout->insertSpacing(at++, m_sectionSpacing);
    if (!header.isEmpty()) {
        auto* title = new kestu::KestuSectionHeader(header, std::nullopt, m_content);
        title->setObjectName(objectName.isEmpty() ? QString() : objectName + QStringLiteral("-header"));
        title->setAccessibleName(header);
        title->setContentsMargins(rowHorizontal / 2, 0, 0, 0);
        m_layout->insertWidget(at++, title);
        m_layout->insertSpacing(at++, static_cast<int>(kestu::Space::space8) - 2);
    }
    auto* section = new GroupedFormSection(m_content);
    if (!objectName.isEmpty())
        section->setObjectName(objectName);
    section->setAccessibleName(header);
    m_layout->insertWidget(at, section);
    m_sections << section;
    return section;
}

void GroupedForm::setOuterMargins(int left, int top, int right, int bottom)
{
    m_layout->setContentsMargins(left, top, right, bottom);
}

void GroupedForm::addWidget(QWidget* widget)
{
    m_layout->insertSpacing(m_layout->count() - 1, static_cast<int>(kestu::Space::space12));
    m_layout->insertWidget(m_layout->count() - 1, widget);
}

GroupedFormSection::GroupedFormSection(QWidget* parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 2, 0, 2);
    m_layout->setSpacing(0);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
}

QWidget* GroupedFormSection::addRow(const QString& label, QWidget* control)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(rowHorizontal, rowVertical, rowHorizontal, rowVertical);
    layout->setSpacing(static_cast<int>(kestu::Space::space12));
    auto* title = new TokenLabel(label, kestu::Font::body(), kestu::Color::text(), row);
    layout->addWidget(title, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    control->setParent(row);
    layout->addWidget(control, 0, Qt::AlignVCenter);
    // The label is the control's (labelled by). A combo box keeps its own name, which is its value.
    if (control->accessibleName().isEmpty() && !qobject_cast<QComboBox*>(control))
        control->setAccessibleName(label);
    title->setBuddy(control);
    return appendRow(row, false);
}

QWidget* GroupedFormSection::addRow(QWidget* content)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(rowHorizontal, rowVertical, rowHorizontal, rowVertical);
    layout->setSpacing(0);
    content->setParent(row);
    layout->addWidget(content, 1);
    return appendRow(row, false);
}

kestu::KestuToggleStyle* GroupedFormSection::addToggle(
    const QString& label, const QString& objectName, kestu::KestuBinding<bool> isOn)
{
    auto* toggle = new kestu::KestuToggleStyle(label, std::move(isOn), this);
    toggle->setObjectName(objectName);
    toggle->setAccessibleName(label);
    toggle->toggleSwitch()->setObjectName(objectName + QStringLiteral("-switch"));
    toggle->label()->setFont(kestu::Font::body());
    addRow(toggle);
    return toggle;
}

QLabel* GroupedFormSection::addCaption(const QString& text, const QString& objectName)
{
    auto* caption = new TokenLabel(text, kestu::Font::caption(), kestu::Color::textSecondary(), this);
    caption->setWordWrap(true);
    caption->setObjectName(objectName);
    caption->setAccessibleName(text);
    caption->setContentsMargins(rowHorizontal, 0, rowHorizontal, rowVertical + 2);
    appendRow(caption, true);
    return caption;
}

QWidget* GroupedFormSection::appendRow(QWidget* row, bool caption)
{
    if (!caption)
        row->setMinimumHeight(rowMinimumHeight);
    m_layout->addWidget(row);
    m_rows.append({ row, caption });
    update();
    return row;
}

void GroupedFormSection::setRowVisible(QWidget* row, bool visible)
{
    row->setVisible(visible);
    update();
}

void GroupedFormSection::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(card, kestu::Radius::medium + 2, kestu::Radius::medium + 2);
    p.fillPath(path, kestu::Color::surfaceSecondary().resolve(this));
    p.setPen(QPen(kestu::Color::border().resolve(this), 1));
    p.drawPath(path);

    // Hairlines between rows, inset at the leading edge; a caption belongs to the row above it.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kestu::Color::border().resolve(this), 1));
    bool first = true;
    for (const Row& row : m_rows) {
        if (row.widget->isHidden())
            continue;
        if (!first && !row.caption) {
            const int y = row.widget->geometry().top();
            p.drawLine(rowHorizontal, y, width() - 1, y);
        }
        first = false;
    }
}

} // namespace tremlor
