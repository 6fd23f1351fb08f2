#include "Views/Shared/TokenLabel.h"

#include <QEvent>

namespace tremlor {

TokenLabel::TokenLabel(const QString& text, const QFont& font, const kestu::KestuColor& color, QWidget* parent)
    : QLabel(text, parent)
    , m_color(color)
{
    setFont(font);
    applyColor();
}

void TokenLabel::setColorToken(const kestu::KestuColor& color)
{
    m_color = color;
    applyColor();
}

void TokenLabel::applyColor()
{
    const QColor color = m_color.resolve(this);
    if (palette().color(QPalette::WindowText) == color)
        return;
    m_applying = true;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    setPalette(p);
    m_applying = false;
}

void TokenLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (!m_applying && (event->type() == QEvent::PaletteChange || event->type() == QEvent::ThemeChange))
        applyColor();
}

} // namespace tremlor
