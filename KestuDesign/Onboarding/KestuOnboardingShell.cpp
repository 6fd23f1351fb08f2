#include "KestuDesign/Onboarding/KestuOnboardingShell.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Onboarding/KestuOnboardingStepDots.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestu {

namespace {
QString localized(const char* text)
{
    return QCoreApplication::translate("KestuOnboardingShell", text);
}

// The platform's secondary foreground: the window text at half strength.
QColor secondaryColor(const QWidget* widget)
{
    return withOpacity(widget->palette().color(QPalette::WindowText), 0.5);
}

// Room around a plain button's text for the focus ring (less above and below).
constexpr int plainPadding = 4;
// Room around a page for the ring of its holder.
constexpr int pageRingRoom = int(focusRingWidth) + 1;

// A text-only button in the platform's secondary colour (plain style).
class PlainButton final : public QAbstractButton {
public:
    PlainButton(const QString& text, QWidget* parent)
        : QAbstractButton(parent)
    {
        setText(text);
        setFont(Font::body());
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
    }
    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return QSize(metrics.horizontalAdvance(text()) + 2 * plainPadding, metrics.height() + plainPadding + 2);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QColor color = secondaryColor(this);
        if (isDown())
            color = withOpacity(color, 0.6);
        painter.setPen(color);
        painter.drawText(rect(), Qt::AlignCenter, text());
        if (showsFocusRing(this))
            paintFocusRing(painter, this, QRectF(rect()), Radius::small);
    }
};

// A filled accent button with white text (bordered-prominent style, regular size).
class ProminentButton final : public QAbstractButton {
public:
    explicit ProminentButton(QWidget* parent)
        : QAbstractButton(parent)
    {
        setFont(Font::body());
        setFocusPolicy(Qt::StrongFocus);
    }
    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return QSize(metrics.horizontalAdvance(text()) + 2 * 12, std::max(24, metrics.height() + 8));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor fill = Color::accent().resolve(this);
        if (isDown())
            fill = fill.darker(115);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        painter.fillPath(shape, fill);
        painter.setPen(Color::white().resolve(this));
        painter.drawText(rect(), Qt::AlignCenter, text());
        if (showsFocusRing(this))
            paintFocusRing(painter, this, QRectF(rect()), 6, fill);
    }
};

// A one-point divider line.
class Divider final : public QWidget {
public:
    explicit Divider(QWidget* parent)
        : QWidget(parent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), withOpacity(palette().color(QPalette::WindowText), 0.12));
    }
};

// Holds a page, with room round it for the ring drawn while the page has the keyboard.
class PageHolder final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QWidget* page = focusWidget();
        if (!page || page->parentWidget() != this || !showsFocusRing(page))
            return;
        QPainter painter(this);
        paintFocusRing(painter, this, QRectF(rect()), Radius::medium);
    }
};

} // namespace

// Fades the pages by covering them with the window's colour: a page under a veil of strength
// 1 - o looks as if drawn at opacity o over the window. A graphics effect on the page would do
// the same but breaks the effects its own widgets carry (Qt cannot paint an effect inside
// another) and renders the page off screen on every frame.
class KestuOnboardingShell::Veil final : public QWidget {
public:
    explicit Veil(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("onboarding-page-veil"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }
    // The page drawn at `opacity` over `area`; several pages lie side by side.
    struct Cover {
        QRect area;
        double opacity;
    };
    void cover(std::initializer_list<Cover> covers)
    {
        m_covers.assign(covers);
        setGeometry(parentWidget()->rect());
        raise();
        show();
        update();
    }
    double opacityAt(QPoint point) const
    {
        for (const Cover& c : m_covers) {
            if (c.area.contains(point))
                return c.opacity;
        }
        return 1.0;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QColor window = palette().color(QPalette::Window);
        for (const Cover& c : m_covers)
            painter.fillRect(c.area, withOpacity(window, 1.0 - std::clamp(c.opacity, 0.0, 1.0)));
    }

private:
    std::vector<Cover> m_covers;
};

KestuOnboardingShell::KestuOnboardingShell(
    int totalSteps, std::function<void()> onComplete, PageBuilder content, QWidget* parent)
    : QWidget(parent)
    // Callers pass at least one page; fewer would leave no page to show.
    , m_totalSteps(std::max(1, totalSteps))
    , m_onComplete(std::move(onComplete))
    , m_content(std::move(content))
    , m_pageArea(new QWidget(this))
    , m_veil(new Veil(m_pageArea))
    , m_transition(new QVariantAnimation(this))
    , m_back(new PlainButton(localized("Back"), this))
    , m_dots(new KestuOnboardingStepDots(m_totalSteps, this))
    , m_primary(new ProminentButton(this))
{
    setFixedSize(shellWidth, shellHeight);
    m_pageArea->setObjectName(QStringLiteral("onboarding-page-area"));
    m_pageArea->installEventFilter(this);
    m_back->installEventFilter(this);
    m_primary->installEventFilter(this);
    m_back->setObjectName(QStringLiteral("onboarding-back"));
    m_dots->setObjectName(QStringLiteral("onboarding-dots"));
    m_primary->setObjectName(QStringLiteral("onboarding-primary"));
    m_transition->setObjectName(QStringLiteral("onboarding-page-transition"));
    m_transition->setStartValue(0.0);
    m_transition->setEndValue(1.0);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(24, 16, 24, 16);
    bar->addWidget(m_back);
    bar->addStretch(1);
    bar->addWidget(m_dots);
    bar->addStretch(1);
    bar->addWidget(m_primary);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_pageArea, 1);
    column->addWidget(new Divider(this));
    column->addLayout(bar);

    connect(m_back, &QAbstractButton::clicked, this, [this] { goTo(m_currentStep - 1); });
    connect(m_primary, &QAbstractButton::clicked, this, [this] {
        if (isLastStep())
            complete();
        else
            goTo(m_currentStep + 1);
    });
    connect(m_transition, &QVariantAnimation::valueChanged, this,
        [this](const QVariant& value) { layoutPages(value.toDouble()); });
    connect(m_transition, &QVariantAnimation::finished, this, &KestuOnboardingShell::finishTransition);

    showPage(m_content ? m_content(0) : nullptr);
    finishTransition();
    refreshBar();
}

void KestuOnboardingShell::goTo(int step)
{
    if (step < 0 || step >= m_totalSteps || step == m_currentStep)
        return;
    m_currentStep = step;
    m_dots->setCurrentStep(step);
    refreshBar();
    showPage(m_content ? m_content(step) : nullptr);
}

void KestuOnboardingShell::complete()
{
    // The callback may tear down the shell or its window: keep what is needed on the stack.
    const QPointer<KestuOnboardingShell> self(this);
    const auto onComplete = m_onComplete;
    if (onComplete)
        onComplete();
    if (!self)
        return;
    QWidget* shellWindow = window();
    if (shellWindow && shellWindow->isVisible())
        shellWindow->close();
}

void KestuOnboardingShell::showPage(QWidget* page)
{
    if (!page)
        page = new QWidget;
    if (page == m_pageContent)
        return; // One widget for several steps: it changes inside by itself.
    // A page still leaving from an earlier step goes now.
    m_transition->stop();
    finishTransition();

    // A page that comes while the keyboard is in the shell takes it, so a screen reader speaks
    // its name and description (its title and text); Return there goes on as Continue does.
    const bool keyboardHere = isAncestorOf(QApplication::focusWidget());
    auto* holder = new PageHolder(m_pageArea);
    holder->setObjectName(QStringLiteral("onboarding-page"));
    holder->setAccessibleName(page->accessibleName());
    page->installEventFilter(this);
    auto* fill = new QVBoxLayout(holder);
    fill->setContentsMargins(pageRingRoom, pageRingRoom, pageRingRoom, pageRingRoom);
    fill->addWidget(page);
    page->show();
    placeBarAfter(page);
    m_leaving = m_page;
    m_page = holder;
    m_pageContent = page;
    holder->setGeometry(m_pageArea->rect());
    const bool slides = m_leaving && !prefersReducedMotion();
    if (slides)
        layoutPages(0.0);
    holder->show();
    // Turned by a key, the page shows the ring as a Tab would; by the mouse, none.
    if (keyboardHere)
        page->setFocus(m_turnedByKey ? Qt::ShortcutFocusReason : Qt::OtherFocusReason);
    if (slides) {
        Animation::springGentle().apply(m_transition);
        m_transition->start();
    } else {
        finishTransition();
    }
}

void KestuOnboardingShell::placeBarAfter(QWidget* page)
{
    // As in a dialog, Tab reaches the page's own controls first, then the bar. Pages are made
    // after the bar, so the focus chain has them last.
    QWidget* last = nullptr;
    for (QWidget* w = m_primary->nextInFocusChain(); w != m_primary; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && page->isAncestorOf(w))
            last = w;
    }
    if (!last)
        return;
    // Qt 6.4 refuses to put the chain's first control after its last one; the page area, made
    // before the bar, stands first while the bar moves.
    m_pageArea->setFocusPolicy(Qt::TabFocus);
    setTabOrder(last, m_back);
    setTabOrder(m_back, m_primary);
    m_pageArea->setFocusPolicy(Qt::NoFocus);
}

void KestuOnboardingShell::finishTransition()
{
    if (m_leaving) {
        m_leaving->hide();
        m_leaving->deleteLater();
        m_leaving = nullptr;
    }
    m_veil->hide();
    if (m_page)
        m_page->setGeometry(m_pageArea->rect());
}

void KestuOnboardingShell::layoutPages(double progress)
{
    // The new page enters from the trailing edge, the old one leaves toward the leading edge;
    // both fade with the move.
    const QRect area = m_pageArea->rect();
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    const int width = area.width();
    const QRect entering = area.translated((rightToLeft ? -1 : 1) * int(std::lround(width * (1.0 - progress))), 0);
    const QRect leaving = area.translated((rightToLeft ? 1 : -1) * int(std::lround(width * progress)), 0);
    if (m_page)
        m_page->setGeometry(entering);
    if (m_leaving)
        m_leaving->setGeometry(leaving);
    m_veil->cover({ { entering, progress }, { leaving, 1.0 - progress } });
}

double KestuOnboardingShell::pageOpacity(QWidget* page) const
{
    if (!page || !m_veil->isVisible())
        return 1.0;
    const QWidget* holder = page->parentWidget();
    return m_veil->opacityAt(holder ? holder->geometry().center() : QPoint());
}

void KestuOnboardingShell::refreshBar()
{
    m_back->setVisible(m_currentStep >= 1);
    m_primary->setText(isLastStep() ? localized("Get Started") : localized("Continue"));
    m_primary->updateGeometry();
}

void KestuOnboardingShell::keyPressEvent(QKeyEvent* event)
{
    // A button leaves Return and Enter to its parents (outside a dialog): they reach us here.
    const bool activates = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    auto* button = qobject_cast<QAbstractButton*>(focusWidget());
    // On the page itself, as on a dialog's body, Return goes on.
    if (activates && m_pageContent && m_pageContent->hasFocus()) {
        button = m_primary;
        m_turnedByKey = true;
    }
    if (activates && button && button->isEnabled() && button->isVisible() && isAncestorOf(button)) {
        event->accept();
        button->click(); // may close the window: nothing of ours is touched after it
        return;
    }
    QWidget::keyPressEvent(event);
}

bool KestuOnboardingShell::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_back || watched == m_primary)
        && (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress))
        m_turnedByKey = event->type() == QEvent::KeyPress;
    // The holder rings the page that has the keyboard.
    if (watched == m_pageContent && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        m_page->update();
    if (watched == m_pageArea && event->type() == QEvent::Resize) {
        if (m_transition->state() == QAbstractAnimation::Running)
            layoutPages(m_transition->currentValue().toDouble());
        else if (m_page)
            m_page->setGeometry(m_pageArea->rect());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kestu
