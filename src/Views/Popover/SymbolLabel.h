#pragma once

#include "KestuDesign/Tokens/KestuColor.h"

#include <QFont>
#include <QLabel>

namespace tremlor {

// A symbol (none for an empty name) followed by a title, both in one font's size and one
// colour token: the panel's small captions and labels ("Interval", "Profile", the rotation order).
// A label to screen readers, so it can name the control it is the buddy of.
class SymbolLabel final : public QLabel {
    Q_OBJECT

public:
    SymbolLabel(QString symbol, QString title, QFont font, kestu::KestuColor color, QWidget* parent = nullptr,
        int spacing = defaultSpacing);
    Q_DISABLE_COPY_MOVE(SymbolLabel)

    static constexpr int defaultSpacing = 4;

    QString symbol() const { return m_symbol; }
    QString title() const { return m_title; }
    void setContent(const QString& symbol, const QString& title);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // A symbol reads as tall as the text's capitals and ascenders when drawn a little larger.
    int symbolSize() const { return m_font.pixelSize() + 2; }
    int leadingWidth() const { return m_symbol.isEmpty() ? 0 : symbolSize() + m_spacing; }

    QString m_symbol;
    QString m_title;
    QFont m_font;
    kestu::KestuColor m_color;
    int m_spacing;
};

} // namespace tremlor
