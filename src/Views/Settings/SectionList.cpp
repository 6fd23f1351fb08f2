#include "Views/Settings/SectionList.h"

#include "KestuDesign/Components/KestuEmptyState.h"
#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Settings/SectionListAccessible.h"
#include "Views/Shared/CurrentRowFocus.h"
#include "Views/Shared/GroupedForm.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHash>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace tremlor {

namespace {

constexpr int cardInset = static_cast<int>(kestu::Space::space20);
constexpr int cardPadding = static_cast<int>(kestu::Space::space4);

// A control of a row that edits a value, whose edit Return or Escape ends (a button keeps them).
bool isField(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)
        || qobject_cast<const QComboBox*>(widget);
}

} // namespace

SectionListText::SectionListText(const QFont& font, const kestu::KestuColor& color, QWidget* parent)
    : QLabel(parent)
    , m_color(color)
{
    setFont(font);
    setTextFormat(Qt::PlainText);
}

QString SectionListText::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

bool SectionListText::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        if (shownText() != text())
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void SectionListText::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(m_color.resolve(this));
    p.drawText(contentsRect(), int(alignment()) | Qt::TextSingleLine, shownText());
}

// The rounded card the rows sit on. It stacks them itself, touching only the rows whose place
// or height changed: adding rows at the end, or opening one row, never lays out the others.
class SectionList::RowsCard final : public QWidget {
public:
    explicit RowsCard(QWidget* parent)
        : QWidget(parent)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    void setRows(const QList<SectionListRow*>& rows)
    {
        m_rows = rows;
        relayout();
    }

    void setRinged(bool ringed)
    {
        if (ringed != m_ringed) {
            m_ringed = ringed;
            update();
        }
    }

    QSize sizeHint() const override { return QSize(0, m_height); }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool event(QEvent* event) override
    {
        // A row's own layout changed (it opened or closed).
        if (event->type() == QEvent::LayoutRequest)
            relayout();
        return QWidget::event(event);
    }

    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        relayout();
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kestu::Color::border().resolve(this), 0.5));
        p.setBrush(kestu::Color::surfaceSecondary().resolve(this));
        p.drawRoundedRect(
            QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), kestu::Radius::medium, kestu::Radius::medium);
        // The list holds the keyboard, which reached it by keyboard.
        if (m_ringed)
            kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::medium);
    }

private:
    void relayout()
    {
        const int rowWidth = std::max(0, width() - 2 * cardPadding);
        int y = cardPadding;
        for (SectionListRow* row : std::as_const(m_rows)) {
            const int height
                = row->sizeHint().expandedTo(row->minimumSizeHint()).expandedTo(row->minimumSize()).height();
            const QRect place(cardPadding, y, rowWidth, height);
            if (row->geometry() != place)
                row->setGeometry(place);
            y += height;
        }
        const int total = m_rows.isEmpty() ? 0 : y + cardPadding;
        if (total != m_height) {
            m_height = total;
            updateGeometry();
        }
    }

    QList<SectionListRow*> m_rows;
    int m_height = 0;
    bool m_ringed = false;
};

SectionListRow::SectionListRow(const QUuid& id, QWidget* parent)
    : QWidget(parent)
    , m_id(id)
{
    QAccessible::installFactory(sectionListAccessibleFactory); // Qt keeps one copy
}

bool SectionListRow::hasKeyboard() const
{
    return m_current && m_list && m_list->hasFocus();
}

void SectionListRow::setLook(bool alternate, bool selected, bool current)
{
    if (alternate == m_alternate && selected == m_selected && current == m_current)
        return;
    const bool selectionChanged = selected != m_selected;
    const bool becameCurrent = current && !m_current;
    m_alternate = alternate;
    m_selected = selected;
    m_current = current;
    update();
    // Qt's AT-SPI bridge passes a row's selected state on for these events (not for a state
    // change event).
    if (selectionChanged) {
        QAccessibleEvent event(this, selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
        QAccessible::updateAccessibility(&event);
        selectedChanged();
    }
    if (becameCurrent && hasKeyboard()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void SectionListRow::paintEvent(QPaintEvent*)
{
    const bool ringed = hasKeyboard() && kestu::showsFocusRing(m_list);
    if (!m_alternate && !m_selected && !ringed)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor fill;
    if (m_alternate || m_selected) {
        fill = (m_selected ? kestu::Color::accent() : kestu::Color::surfaceTertiary()).resolve(this);
        fill.setAlphaF(m_selected ? 0.22 : 0.55);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(rect()), kestu::Radius::small, kestu::Radius::small);
    }
    // The row the keyboard is on, which need not be the selected one.
    if (ringed)
        kestu::paintFocusRing(
            p, this, QRectF(rect()), kestu::Radius::small, fill, kestu::Color::surfaceSecondary().resolve(this));
}

void SectionListRow::openMenu(Qt::KeyboardModifiers modifiers)
{
    const QPoint at = rect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, mapToGlobal(at), modifiers);
    QApplication::sendEvent(this, &event);
}

void SectionListRow::mousePressEvent(QMouseEvent* event)
{
    // A right press only opens the row's menu, which acts on the row without selecting it.
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed(m_id);
    QWidget::mousePressEvent(event);
}

SectionList::SectionList(kestu::KestuEmptyState* emptyState, QWidget* parent)
    : QWidget(parent)
    , m_scroll(new QScrollArea(this))
    , m_card(new RowsCard(nullptr))
    , m_emptyState(emptyState)
    , m_more(new QTimer(this))
{
    QAccessible::installFactory(sectionListAccessibleFactory); // Qt keeps one copy
    setFocusPolicy(Qt::StrongFocus);
    m_more->setSingleShot(true);
    m_more->setInterval(0);
    connect(m_more, &QTimer::timeout, this, &SectionList::makeMore);

    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(cardInset, cardInset, cardInset, cardInset);
    contentLayout->setSpacing(0);
    contentLayout->addWidget(m_card);
    contentLayout->addStretch(1);

    m_scroll->setObjectName(QStringLiteral("section-list-scroll"));
    applySlimScrollBars(m_scroll);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->setWidget(content);
    m_scroll->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_scroll, 1);

    m_emptyState->setParent(this);
    m_emptyState->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_card->hide();
    placeEmptyState();
}

SectionListRow* SectionList::row(const QUuid& id) const
{
    for (SectionListRow* r : m_rows) {
        if (r->id() == id)
            return r;
    }
    return nullptr;
}

SectionListRow* SectionList::currentRow() const
{
    if (SectionListRow* current = m_currentId ? row(*m_currentId) : nullptr)
        return current;
    return m_selectedId ? row(*m_selectedId) : nullptr;
}

void SectionList::setRows(const QList<QUuid>& ids, const std::function<SectionListRow*(const QUuid&)>& makeRow)
{
    // The current record gone, the keyboard is on the row now in its place.
    if (m_currentId && !ids.contains(*m_currentId)) {
        const qsizetype at = m_ids.indexOf(*m_currentId);
        m_currentId.reset();
        if (at >= 0 && !ids.isEmpty())
            m_currentId = ids[std::min(at, ids.size() - 1)];
    }
    m_makeRow = makeRow;
    m_ids = ids;
    // The rows made so far stay made; a long list is made in parts, from the top.
    const qsizetype count = std::min(ids.size(), std::max(m_rows.size(), firstRows));
    bool same = m_rows.size() == count;
    for (qsizetype i = 0; same && i < count; ++i)
        same = m_rows[i]->id() == ids[i];
    if (!same) {
        QHash<QUuid, SectionListRow*> kept;
        kept.reserve(m_rows.size());
        for (SectionListRow* r : std::as_const(m_rows))
            kept.insert(r->id(), r);
        QList<SectionListRow*> rows;
        rows.reserve(count);
        for (qsizetype i = 0; i < count; ++i) {
            SectionListRow* r = kept.take(ids[i]);
            if (!r)
                r = adopt(m_makeRow(ids[i]));
            rows.append(r);
        }
        m_rows = std::move(rows);
        // Rows whose record is gone go with it, once no list of rows names them.
        qDeleteAll(kept);
        for (SectionListRow* r : std::as_const(m_rows))
            r->show();
        m_card->setRows(m_rows);
        m_card->setVisible(!m_rows.isEmpty());
        m_emptyState->setVisible(m_rows.isEmpty());
        restyle();
        placeTabAfterRows();
    }
    scheduleMore();
}

SectionListRow* SectionList::adopt(SectionListRow* row)
{
    row->setParent(m_card);
    row->m_list = this;
    connect(row, &SectionListRow::pressed, this, [this](const QUuid& pressedId) {
        setSelectedId(pressedId);
        setCurrentId(pressedId);
        setFocus(Qt::MouseFocusReason);
    });
    connect(row, &SectionListRow::editEnded, this, &SectionList::takeKeyboard);
    return row;
}

void SectionList::scheduleMore()
{
    if (m_rows.size() < m_ids.size())
        m_more->start();
    else
        m_more->stop();
}

void SectionList::makeMore()
{
    const qsizetype end = std::min(m_ids.size(), m_rows.size() + rowsPerTurn);
    for (qsizetype i = m_rows.size(); i < end; ++i) {
        SectionListRow* r = adopt(m_makeRow(m_ids[i]));
        r->show();
        m_rows.append(r);
    }
    m_card->setRows(m_rows);
    restyle();
    placeTabAfterRows();
    scheduleMore();
}

bool SectionList::isComplete() const
{
    return m_rows.size() == m_ids.size();
}

void SectionList::setSelectedId(const std::optional<QUuid>& id)
{
    if (id == m_selectedId)
        return;
    m_selectedId = id;
    restyle();
    Q_EMIT selectionChanged();
}

void SectionList::setCurrentId(const std::optional<QUuid>& id)
{
    m_currentId = id;
    restyle();
}

void SectionList::takeKeyboard(const QUuid& id)
{
    setCurrentId(id);
    setFocus(Qt::OtherFocusReason);
}

void SectionList::setBarButtons(QWidget* remove, QWidget* add)
{
    m_removeButton = remove;
    m_addButton = add;
}

void SectionList::setTabAfterRows(const QList<QWidget*>& controls)
{
    m_tabAfterRows = QList<QPointer<QWidget>>(controls.cbegin(), controls.cend());
    placeTabAfterRows();
}

void SectionList::placeTabAfterRows()
{
    // A new row's controls join the window's Tab order at its end, after everything made before.
    // Finding the rows' last control walks the window's whole chain: only when there is a need.
    if (m_tabAfterRows.isEmpty())
        return;
    QWidget* last = nullptr;
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && m_card->isAncestorOf(w))
            last = w;
    }
    for (QWidget* control : std::as_const(m_tabAfterRows)) {
        if (last && control) {
            QWidget::setTabOrder(last, control);
            last = control;
        }
    }
}

void SectionList::removeRecord(QUuid id, const std::function<void()>& remove)
{
    QWidget* keyboard = QApplication::focusWidget();
    SectionListRow* removed = row(id);
    const bool keepKeyboard
        = keyboard && (keyboard == this || keyboard == m_removeButton || (removed && removed->isAncestorOf(keyboard)));
    const bool wasSelected = m_selectedId == id;
    const qsizetype at = m_ids.indexOf(id);
    // Before the row goes and the remove button is disabled: Qt would hand the keyboard on to the
    // next control of the window.
    if (keepKeyboard)
        setFocus(Qt::OtherFocusReason);
    remove();
    if (wasSelected) {
        setSelectedId(std::nullopt);
        if (at >= 0 && !m_ids.isEmpty())
            setCurrentId(m_ids[std::min(at, m_ids.size() - 1)]);
    }
    if (keepKeyboard && m_rows.isEmpty() && m_addButton)
        m_addButton->setFocus(Qt::OtherFocusReason);
}

void SectionList::restyle()
{
    SectionListRow* current = currentRow();
    m_card->setRinged(kestu::showsFocusRing(this) && !current);
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        SectionListRow* r = m_rows[i];
        r->setLook(i % 2 == 1, m_selectedId && r->id() == *m_selectedId, r == current);
    }
}

void SectionList::keyPressEvent(QKeyEvent* event)
{
    QWidget* focus = QApplication::focusWidget();
    const int key = event->key();
    // Return or Escape that a row's field left alone ends its edit there.
    if (focus != this && isField(focus) && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        for (QWidget* w = focus; w && w != this; w = w->parentWidget()) {
            if (auto* r = qobject_cast<SectionListRow*>(w); r && r->list() == this) {
                takeKeyboard(r->id());
                event->accept();
                return;
            }
        }
    }
    if (focus == this && (key == Qt::Key_Menu || (key == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier))) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), mapToGlobal(QPoint()), event->modifiers());
        contextMenuEvent(&menu);
        return;
    }
    // Only the list's own focus: a key typed into a row's control is that control's.
    if (focus == this && !(event->modifiers() & ~Qt::KeypadModifier)) {
        switch (key) {
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            if (m_selectedId) {
                Q_EMIT deleteRequested(*m_selectedId);
                event->accept();
                return;
            }
            break;
        case Qt::Key_Space:
            if (SectionListRow* current = currentRow())
                setSelectedId(current->id());
            event->accept();
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
            moveSelection(key);
            event->accept();
            return;
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}

void SectionList::moveSelection(int key)
{
    if (m_rows.isEmpty())
        return;
    const qsizetype last = m_rows.size() - 1;
    const qsizetype at = m_rows.indexOf(currentRow());
    // With no current row, Down starts at the top, Up at the bottom.
    qsizetype next = 0;
    if (key == Qt::Key_Up)
        next = at < 0 ? last : std::max<qsizetype>(at - 1, 0);
    else if (key == Qt::Key_Down)
        next = at < 0 ? 0 : std::min(at + 1, last);
    else if (key == Qt::Key_End)
        next = last;
    // Selected before it becomes the current one, so the row is heard as selected.
    setSelectedId(m_rows[next]->id());
    setCurrentId(m_rows[next]->id());
    m_scroll->ensureWidgetVisible(m_rows[next], 0, 0);
}

void SectionList::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    restyle();
    if (SectionListRow* current = currentRow())
        current->update();
    tellCurrentRow(this);
}

void SectionList::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    restyle();
    if (SectionListRow* current = currentRow())
        current->update();
}

void SectionList::contextMenuEvent(QContextMenuEvent* event)
{
    // The Menu key while the list holds the keyboard: the current row's menu, by that row.
    SectionListRow* current = currentRow();
    if (event->reason() != QContextMenuEvent::Keyboard || !current || !current->hasMenu()) {
        event->ignore();
        return;
    }
    m_scroll->ensureWidgetVisible(current, 0, 0);
    current->openMenu(event->modifiers());
}

bool SectionList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll && event->type() == QEvent::Resize)
        placeEmptyState();
    return QWidget::eventFilter(watched, event);
}

void SectionList::placeEmptyState()
{
    const QRect area = m_scroll->geometry();
    const int width = qMax(0, area.width() - 2 * cardInset);
    const int height = m_emptyState->heightForWidth(width);
    m_emptyState->setGeometry(area.x() + cardInset, area.y() + (area.height() - height) / 2, width, height);
    m_emptyState->raise();
}

} // namespace tremlor
