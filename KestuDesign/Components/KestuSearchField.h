#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"

#include <QAbstractButton>
#include <QWidget>

namespace kestu {

class KestuTextField;

// A round symbol button used by the search fields to clear their text. Tab reaches it while it
// is shown, it draws the kit's focus ring, and Space or Return presses it.
class KestuClearButton final : public QAbstractButton {
    Q_OBJECT

public:
    KestuClearButton(int symbolSize, QWidget* parent = nullptr);
    void setSymbolColor(const QColor& color);
    // What the button stands on, for its focus ring (invalid: the window's colour).
    void setBackdrop(const QColor& color);
    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_size;
    QColor m_color;
    QColor m_backdrop;
};

// The panel's search box: a magnifying glass, the kit's text field (focused when shown) and a
// clear button that scales and fades in while there is text. While the field holds the
// keyboard, the kit's focus ring goes round the whole row. It filters nothing itself: the host
// reads the bound text.
class KestuSearchField final : public QWidget {
    Q_OBJECT

public:
    KestuSearchField(KestuBinding<QString> text, const QString& placeholder, QWidget* parent = nullptr);

    // Follows an outside change of the bound text.
    void refresh();
    KestuTextField* textField() const { return m_field; }
    KestuClearButton* clearButton() const { return m_clear; }
    // Whether the clear button is (or is becoming) shown.
    bool isClearButtonShown() const { return m_clearShown; }

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void updateClearButton();
    void clear();
    void applyColors();

    KestuBinding<QString> m_text;
    class Glass;
    Glass* m_glass;
    KestuTextField* m_field;
    KestuClearButton* m_clear = nullptr;
    bool m_clearShown = false;
};

} // namespace kestu
