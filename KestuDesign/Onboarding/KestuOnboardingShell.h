#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QVariantAnimation;

namespace kestu {

class KestuOnboardingStepDots;

// The paged container of a first-run onboarding: one page at a time above a bar with Back,
// the page dots and "Continue" (or "Get Started" on the last page, which runs the completion
// callback and then closes the window that holds the shell). Always 540 x 420 points. As in a
// dialog, Return or Enter presses the focused button, the bar's or a page's. A page that comes
// while the shell has the keyboard takes it, so a screen reader speaks the page's accessible
// name and description (its title and text); Return there presses Continue (or Get Started).
class KestuOnboardingShell final : public QWidget {
    Q_OBJECT
public:
    // Builds the page for a step; the shell takes ownership of the widget it returns and
    // deletes it once another page has replaced it.
    using PageBuilder = std::function<QWidget*(int step)>;

    KestuOnboardingShell(
        int totalSteps, std::function<void()> onComplete, PageBuilder content, QWidget* parent = nullptr);

    int totalSteps() const { return m_totalSteps; }
    int currentStep() const { return m_currentStep; }
    QWidget* currentPage() const { return m_pageContent; }
    bool isLastStep() const { return m_currentStep >= m_totalSteps - 1; }
    // How strongly `page` shows now: below 1 while it fades in or out.
    double pageOpacity(QWidget* page) const;

    static constexpr int shellWidth = 540;
    static constexpr int shellHeight = 420;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Veil;
    void goTo(int step);
    void complete();
    void showPage(QWidget* page);
    void placeBarAfter(QWidget* page);
    void finishTransition();
    void layoutPages(double progress);
    void refreshBar();

    int m_totalSteps;
    int m_currentStep = 0;
    std::function<void()> m_onComplete;
    PageBuilder m_content;

    QWidget* m_pageArea;
    Veil* m_veil;
    // Each page sits in a holder of the shell's own, which the transition moves; the veil fades it.
    QPointer<QWidget> m_page;
    QPointer<QWidget> m_leaving;
    QPointer<QWidget> m_pageContent;
    QVariantAnimation* m_transition;
    QAbstractButton* m_back;
    KestuOnboardingStepDots* m_dots;
    QAbstractButton* m_primary;
    // Whether the bar was last worked by a key rather than the mouse.
    bool m_turnedByKey = false;
};

} // namespace kestu
