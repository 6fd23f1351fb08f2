#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

#include <optional>

class QSequentialAnimationGroup;
class QVariantAnimation;

namespace kestu {

class KestuColor;

// The layout and entrance shared by the welcome and completion pages: a large symbol that
// springs up from half size, and under it a title and a line of text that fade in 0.3 s later
// over 0.4 s; both centred vertically, 24 points apart, 24 points in from the sides.
class KestuOnboardingHeroPage : public QWidget {
    Q_OBJECT
public:
    ~KestuOnboardingHeroPage() override;

    QString symbolName() const;
    QString title() const;
    QString detail() const;

    // Presentation state: the symbol's scale (0.5 until the entrance, then 1) and the text
    // block's opacity (0 until it fades in).
    double iconScale() const;
    double textOpacity() const;
    // The colour at the top and at the bottom of the drawn symbol.
    QColor iconTopColor() const;
    QColor iconBottomColor() const;

    // Delay and length of the text's fade, in milliseconds.
    static constexpr int textDelayMs = 300;
    static constexpr int textFadeMs = 400;

protected:
    // The symbol is filled with `gradient` (top to bottom) when present, else with `color`.
    KestuOnboardingHeroPage(const QString& symbol, int symbolSize, std::optional<QList<QColor>> gradient,
        const KestuColor& color, const QString& title, const QString& detail, QWidget* parent);

    void showEvent(QShowEvent* event) override;

private:
    void startEntrance();
    void showText(double opacity);

    class Icon;
    class Text;
    Icon* m_icon;
    Text* m_title;
    Text* m_detail;
    bool m_entered = false;
    QVariantAnimation* m_iconSpring;
    QSequentialAnimationGroup* m_textEntrance;
};

} // namespace kestu
