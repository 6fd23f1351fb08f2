#include "KestuDesign/Components/KestuCard.h"

#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace kestu {

namespace {
constexpr double borderWidth = 0.5;
} // namespace

// Draws the border above the content, so content never covers it.
class KestuCard::BorderOverlay final : public QWidget {
public:
    explicit BorderOverlay(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPen pen(Color::border().resolve(this), borderWidth);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        // A stroke centred on a path inset by half its width lies wholly inside the card.
        const double inset = borderWidth / 2;
        const double radius = Radius::medium - inset;
        p.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), radius, radius);
    }
};

KestuCard::KestuCard(bool showBorder, QWidget* content, QWidget* parent)
    : QWidget(parent)
    , m_showBorder(showBorder)
    , m_content(content)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (content)
        layout->addWidget(content);
    if (showBorder) {
        m_border = new BorderOverlay(this);
        m_border->raise();
    }
}

QPainterPath KestuCard::shape() const
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), Radius::medium, Radius::medium);
    return path;
}

void KestuCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Color::surfaceSecondary().resolve(this));
    p.drawRoundedRect(QRectF(rect()), Radius::medium, Radius::medium);
}

void KestuCard::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_border) {
        m_border->setGeometry(rect());
        m_border->raise();
    }
    if (m_content) {
        // Clip the content to the rounded shape (in the content's coordinates).
        const QPolygon polygon = shape().translated(-m_content->pos()).toFillPolygon().toPolygon();
        m_content->setMask(QRegion(polygon));
    }
}

} // namespace kestu
