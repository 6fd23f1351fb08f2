#include "Views/Shared/FormPicker.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Shared/ChosenItemAccessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

namespace tremlor {

namespace {
constexpr int symbolRole = Qt::UserRole + 1;
constexpr int symbolSize = 14;
constexpr int padding = 10;
constexpr int chevronWidth = 8;

} // namespace

FormPicker::FormPicker(QWidget* parent)
    : QComboBox(parent)
{
    tellChosenItem(this);
    setFont(kestu::Font::body());
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    // Not WheelFocus: a wheel turned over the picker on its way down the form must not pick.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::activated, this, [this](int index) { Q_EMIT chosen(itemData(index)); });
}

void FormPicker::addItem(const QString& title, const QVariant& tag, std::optional<QString> symbol)
{
    QComboBox::addItem(title, tag);
    if (symbol)
        setItemData(count() - 1, *symbol, symbolRole);
    refreshIcons();
}

void FormPicker::showValue(const QVariant& tag)
{
    const int index = findData(tag);
    if (index == currentIndex())
        return;
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    update();
}

void FormPicker::refreshIcons()
{
    const QColor color = kestu::Color::textSecondary().resolve(this);
    for (int i = 0; i < count(); ++i) {
        const QString symbol = itemData(i, symbolRole).toString();
        if (!symbol.isEmpty())
            setItemIcon(i, QIcon(kestu::KestuSymbols::pixmap(symbol, symbolSize, color, devicePixelRatioF())));
    }
}

QSize FormPicker::sizeHint() const
{
    const QFontMetrics fm(font());
    int widest = 0;
    bool anySymbol = false;
    for (int i = 0; i < count(); ++i) {
        widest = std::max(widest, fm.horizontalAdvance(itemText(i)));
        anySymbol = anySymbol || !itemData(i, symbolRole).toString().isEmpty();
    }
    const int symbol = anySymbol ? symbolSize + 6 : 0;
    return QSize(padding + symbol + widest + 12 + chevronWidth + padding, std::max(26, fm.height() + 10));
}

QSize FormPicker::minimumSizeHint() const
{
    return sizeHint();
}

void FormPicker::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(r, kestu::Radius::small + 2, kestu::Radius::small + 2);
    const bool hovered = underMouse() && isEnabled();
    QColor fill = kestu::Color::surfaceTertiary().resolve(this);
    if (hovered)
        fill = fill.darker(kestu::appearanceOf(this) == kestu::KestuAppearance::dark ? 80 : 104);
    p.fillPath(path, fill);
    p.setPen(QPen(kestu::Color::border().resolve(this), 1));
    p.drawPath(path);

    const QColor textColor = kestu::Color::text().resolve(this);
    double x = padding;
    if (currentIndex() >= 0) {
        const QString symbol = itemData(currentIndex(), symbolRole).toString();
        if (!symbol.isEmpty()) {
            kestu::KestuSymbols::paint(p, QRectF(x, (height() - symbolSize) / 2.0, symbolSize, symbolSize), symbol,
                symbolSize, kestu::Color::accent().resolve(this));
            x += symbolSize + 6;
        }
        p.setPen(textColor);
        p.setFont(font());
        const QRectF textRect(x, 0, width() - x - padding - chevronWidth - 6, height());
        p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
            QFontMetrics(font()).elidedText(currentText(), Qt::ElideRight, static_cast<int>(textRect.width())));
    }

    // Up-and-down chevrons: this picker opens a list, not a menu of commands.
    const double cx = width() - padding - chevronWidth / 2.0;
    const double cy = height() / 2.0;
    QPen pen(kestu::Color::textSecondary().resolve(this), 1.4);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    const double w = chevronWidth / 2.0 - 0.5;
    p.drawPolyline(QPolygonF({ QPointF(cx - w, cy - 1.5), QPointF(cx, cy - 5), QPointF(cx + w, cy - 1.5) }));
    p.drawPolyline(QPolygonF({ QPointF(cx - w, cy + 1.5), QPointF(cx, cy + 5), QPointF(cx + w, cy + 1.5) }));
    if (kestu::showsFocusRing(this))
        kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small + 2);
}

void FormPicker::wheelEvent(QWheelEvent* event)
{
    // Unfocused, the wheel is the scrolling form's: QComboBox would pick the next item.
    if (hasFocus())
        tellChoice([this, event] { QComboBox::wheelEvent(event); });
    else
        event->ignore();
}

void FormPicker::keyPressEvent(QKeyEvent* event)
{
    tellChoice([this, event] { QComboBox::keyPressEvent(event); });
}

void FormPicker::tellChoice(const std::function<void()>& step)
{
    // A choice made on the closed picker is heard as its new, selected text; one made in the
    // open list is heard as the list closes and the picker takes the keyboard back.
    const QString before = currentText();
    step();
    if (currentText() != before && !view()->isVisible()) {
        QAccessibleTextInsertEvent inserted(this, 0, currentText());
        QAccessible::updateAccessibility(&inserted);
    }
}

void FormPicker::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        refreshIcons();
}

} // namespace tremlor
