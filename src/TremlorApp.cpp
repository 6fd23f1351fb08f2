#include "TremlorApp.h"

#include "App/AppWindows.h"
#include "App/PanelPopup.h"
#include "App/TremlorGlyphIcon.h"
#include "App/TremlorTray.h"
#include "CompositionRoot.h"
#include "Engine/TremlorEngine.h"
#include "Helpers/AccessibilityHelper.h"
#include "KestuDesign/Resources/KestuFontRegistry.h"
#include "KestuDesign/Utilities/KestuDockVisibility.h"
#include "Models/TremlorSettings.h"
#include "Views/Onboarding/OnboardingWindow.h"
#include "Views/Popover/TremlorPopoverView.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Settings/SettingsWindow.h"
#include "Views/Shared/ViewSymbols.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

namespace tremlor {

namespace {
QPointer<TremlorApp> s_instance;
} // namespace

TremlorApp::TremlorApp(QObject* parent)
    : QObject(parent)
{
    // The root builds the core over the shared settings store, made on first use.
    m_root = std::make_unique<CompositionRoot>();
    startUp(true);
}

TremlorApp::TremlorApp(std::unique_ptr<CompositionRoot> root, bool withTray, QObject* parent)
    : QObject(parent)
    , m_root(std::move(root))
{
    startUp(withTray);
}

TremlorApp::~TremlorApp()
{
    stopSession();
    // The tray, the windows and the panel use the services below; they go first.
    delete m_tray;
    delete m_windows;
    m_panel->removeEventFilter(this);
    delete m_panel;
}

bool TremlorApp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        engine().setAppSwitchingHeld(event->type() == QEvent::Show);
    return QObject::eventFilter(watched, event);
}

TremlorApp* TremlorApp::instance()
{
    return s_instance;
}

TremlorEngine& TremlorApp::engine() const
{
    return m_root->engine();
}

TremlorSettings& TremlorApp::settings() const
{
    return m_root->settings();
}

void TremlorApp::startUp(bool withTray)
{
    s_instance = this;
    // The views receive the root's services; none is made here.
    m_settingsContext = std::make_unique<SettingsContext>(SettingsContext { settings(), m_root->appScannerFactory(),
        m_root->accessibility(), m_root->loginItem(), SystemClock::instance() });

    // Taskbar presence follows the Dock setting from the start and after each change; a
    // change is announced before it is stored, so it is read on the next turn.
    QMetaObject::invokeMethod(
        this, [this] { applyActivationPolicy(); }, Qt::QueuedConnection);
    connect(
        &settings(), &TremlorSettings::objectWillChange, this, [this] { applyActivationPolicy(); },
        Qt::QueuedConnection);

    // Fonts and glyphs are registered before any view draws.
    kestu::Kestu::registerFonts();
    TremlorGlyphIcon::registerAllOnce();
    // Every window, and the About section, shows it.
    QApplication::setWindowIcon(TremlorGlyphIcon::appIcon(QCoreApplication::applicationDirPath()));
    ViewSymbols::registerAll();

    m_windows
        = new AppWindows([this] { return makeSettingsContent(); }, [this] { return makeOnboardingContent(); }, this);

    // The panel is made the first time it opens. While it is open, rotation brings no window
    // forward: that window would take the keyboard and close the panel under the user's hand.
    m_panel = new PanelPopup([this](QWidget* parent) { return makePanel(parent); });
    m_panel->installEventFilter(this);

    if (withTray) {
        m_tray = new TremlorTray(engine(), settings(), this);
        connect(m_tray, &TremlorTray::activated, this, &TremlorApp::togglePanel);
        m_tray->start();
    }

    // A quit from anywhere (the panel, a signal, the session ending) gives back what a
    // running session holds before the event loop stops.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { stopSession(); });

    // Until onboarding is completed, each start opens the onboarding window shortly after.
    m_windows->showOnboardingIfNeeded(settings().hasCompletedOnboarding());
}

void TremlorApp::applyActivationPolicy()
{
    if (!qApp)
        return;
    kestu::KestuDockVisibility::setDockVisibility(settings().showInDock());
}

void TremlorApp::openSettingsWindow()
{
    if (s_instance)
        s_instance->m_windows->openSettingsWindow();
}

void TremlorApp::hidePanel()
{
    // The panel first: it hands the keyboard back to the window that had it before.
    m_panel->dismiss();
    m_windows->hidePanel();
}

void TremlorApp::togglePanel(QPoint at)
{
    m_panel->toggleAt(at);
}

void TremlorApp::stopSession()
{
    if (m_root && engine().isActive())
        engine().stop(false);
}

void TremlorApp::quit()
{
    stopSession();
    QCoreApplication::quit();
}

QWidget* TremlorApp::makePanel(QWidget* parent)
{
    auto* panel = new TremlorPopoverView(settings(), engine(), m_root->appScannerFactory(), parent);
    panel->setGlyphLookup(&TremlorGlyphIcon::named);
    connect(panel, &TremlorPopoverView::openSettingsRequested, this, [] { openSettingsWindow(); });
    connect(panel, &TremlorPopoverView::dismissPopoverRequested, this, [this] { hidePanel(); });
    // Queued: the panel's own handler finishes before the event loop stops.
    connect(
        panel, &TremlorPopoverView::quitRequested, this, [this] { quit(); }, Qt::QueuedConnection);
    return panel;
}

QWidget* TremlorApp::makeSettingsContent()
{
    return new SettingsWindow(*m_settingsContext);
}

QWidget* TremlorApp::makeOnboardingContent()
{
    return new OnboardingWindow(settings(), m_root->accessibility(), &AccessibilityHelper::openAccessibilitySettings);
}

} // namespace tremlor
