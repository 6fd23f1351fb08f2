#include "Views/Settings/TimeField.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>

namespace tremlor {

namespace {
constexpr int fieldHeight = 26;
constexpr int padding = 10;
constexpr int stepperWidth = 20;
} // namespace

TimeField::TimeField(QWidget* parent)
    : QTimeEdit(parent)
{
    setFont(kestu::Font::body());
    setFrame(false);
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    // Hour and minute only, in the same clock the entry's header uses.
    setDisplayFormat(QStringLiteral("h:mm AP"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::IBeamCursor);
    // Not WheelFocus: a wheel turned over the field on its way down the form must not step it.
    setFocusPolicy(Qt::StrongFocus);
    lineEdit()->setTextMargins(padding - 2, 0, stepperWidth, 0);
    lineEdit()->installEventFilter(this);
    applyColors();
}

int TimeField::minutes() const
{
    return time().hour() * 60 + time().minute();
}

void TimeField::setMinutes(int minutes)
{
    const int clamped = std::clamp(minutes, minimumMinutes(), maximumMinutes());
    setTime(QTime(clamped / 60, clamped % 60));
}

QSize TimeField::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(padding + fm.horizontalAdvance(QStringLiteral("12:59 PM")) + 6 + stepperWidth, fieldHeight);
}

QRect TimeField::stepperRect() const
{
    return QRect(width() - stepperWidth - 2, 0, stepperWidth, height());
}

void TimeField::applyColors()
{
    QPalette palette = lineEdit()->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, kestu::Color::text().resolve(this));
    palette.setColor(QPalette::Highlight, kestu::withOpacity(kestu::Color::accent().resolve(this), 0.35));
    palette.setColor(QPalette::HighlightedText, kestu::Color::text().resolve(this));
    lineEdit()->setPalette(palette);
}

void TimeField::changeEvent(QEvent* event)
{
    QTimeEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void TimeField::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(r, kestu::Radius::small + 2, kestu::Radius::small + 2);
    p.fillPath(path, kestu::Color::surfaceTertiary().resolve(this));
    p.setPen(QPen(kestu::Color::border().resolve(this), 1));
    p.drawPath(path);
    if (kestu::showsFocusRing(this))
        kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small + 2);

    const QRect stepper = stepperRect();
    const double cx = stepper.center().x() + 0.5;
    const double cy = height() / 2.0;
    QPen pen(kestu::Color::textSecondary().resolve(this), 1.4);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    const double w = 3.5;
    p.drawPolyline(QPolygonF({ QPointF(cx - w, cy - 2), QPointF(cx, cy - 5.5), QPointF(cx + w, cy - 2) }));
    p.drawPolyline(QPolygonF({ QPointF(cx - w, cy + 2), QPointF(cx, cy + 5.5), QPointF(cx + w, cy + 2) }));
}

void TimeField::wheelEvent(QWheelEvent* event)
{
    // Unfocused, the wheel is the scrolling form's.
    if (hasFocus())
        QTimeEdit::wheelEvent(event);
    else
        event->ignore();
}

bool TimeField::eventFilter(QObject* watched, QEvent* event)
{
    // The chevrons lie over the text field's right margin: a press there steps the time.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint at = lineEdit()->mapTo(this, press->position().toPoint());
        if (press->button() == Qt::LeftButton && stepperRect().contains(at)) {
            stepBy(at.y() < height() / 2 ? 1 : -1);
            return true;
        }
    }
    return QTimeEdit::eventFilter(watched, event);
}

} // namespace tremlor
