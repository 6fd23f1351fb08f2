#pragma once

#include "KestuDesign/Tokens/KestuColor.h"

#include <QLabel>

namespace tremlor {

// A label whose text colour is a kit colour token, resolved again whenever the appearance
// changes (a plain QLabel would keep the palette's text colour).
class TokenLabel final : public QLabel {
    Q_OBJECT

public:
    TokenLabel(const QString& text, const QFont& font, const kestu::KestuColor& color, QWidget* parent = nullptr);

    void setColorToken(const kestu::KestuColor& color);

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyColor();

    kestu::KestuColor m_color;
    bool m_applying = false;
};

} // namespace tremlor
