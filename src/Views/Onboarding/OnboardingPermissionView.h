#pragma once

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QVariantAnimation;

namespace tremlor {

class AccessibilityChecking;

// The onboarding's permission page: the trust state, checked when the page appears and then
// once a second until it is granted or the page goes away.
class OnboardingPermissionView final : public QWidget {
    Q_OBJECT

public:
    OnboardingPermissionView(AccessibilityChecking& accessibility, std::function<void()> openAccessibilitySettings,
        QWidget* parent = nullptr);

    bool permissionGranted() const { return m_permissionGranted; }
    // The running check, if any.
    QTimer* checkTimer() const { return m_checkTimer; }

    static constexpr int pollIntervalMs = 1000;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // (Re)starts the one-second check; never two at once.
    void startPolling();
    void stopPolling();
    void check();
    void setGranted(bool granted, bool animated);
    void refresh();
    void showIcon();

    AccessibilityChecking& m_accessibility;
    std::function<void()> m_openAccessibilitySettings;
    bool m_permissionGranted = false;
    QPointer<QTimer> m_checkTimer;
    QLabel* m_icon;
    QPixmap m_iconPixmap;
    double m_iconOpacity = 1.0;
    QLabel* m_title;
    QLabel* m_message;
    QWidget* m_actions;
    QWidget* m_grantButton;
    QPushButton* m_openSettingsButton = nullptr;
    QVariantAnimation* m_reveal;
};

} // namespace tremlor
