#include "Views/Settings/AdvancedSettingsView.h"

#include "Views/Shared/TokenLabel.h"
#include "views/SettingsTestSupport.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace tremlor;
using settingstest::Fixture;

// The check runs at once when the section comes on screen, then on each tick of its two-second
// timer, and never while the section is not shown.
TEST(AdvancedSettings, PollsOnlyWhileShownAndChecksAtOnce)
{
    Fixture f;
    f.accessibility.trusted = false;
    AdvancedSettingsView view(f.context);
    const auto statusText = [&] { return view.findChild<TokenLabel*>("accessibility-status-text")->text(); };
    EXPECT_FALSE(view.pollTimer()->isActive());
    EXPECT_EQ(f.accessibility.checks, 0);

    view.show();
    EXPECT_EQ(f.accessibility.checks, 1);
    EXPECT_TRUE(view.pollTimer()->isActive());
    EXPECT_EQ(statusText(), QStringLiteral("Not Granted"));
    f.accessibility.trusted = true;
    QMetaObject::invokeMethod(view.pollTimer(), "timeout");
    EXPECT_EQ(statusText(), QStringLiteral("Granted"));
    EXPECT_TRUE(view.isAccessibilityGranted());

    view.hide();
    EXPECT_FALSE(view.pollTimer()->isActive());
    f.accessibility.trusted = false;
    view.show();
    EXPECT_EQ(f.accessibility.checks, 3);
    EXPECT_EQ(statusText(), QStringLiteral("Not Granted"));
}

// Cancel is the default and the Escape button and changes nothing; Reset restores the
// defaults (what it keeps is the store's own test, Settings.ResetWritesEveryDefaultInOrder...).
TEST(AdvancedSettings, ResetAsksFirstAndCancelChangesNothing)
{
    Fixture f;
    TremlorSettings& s = f.settings();
    s.setMaxInterval(99);
    AdvancedSettingsView view(f.context);

    view.confirmReset();
    auto* alert = view.findChild<QMessageBox*>("reset-alert");
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->defaultButton()->objectName(), QStringLiteral("reset-cancel"));
    EXPECT_EQ(alert->escapeButton()->objectName(), QStringLiteral("reset-cancel"));
    alert->findChild<QPushButton*>("reset-cancel")->click();
    EXPECT_EQ(s.maxInterval(), 99);

    view.confirmReset();
    QTest::qWait(0);
    const auto alerts = view.findChildren<QMessageBox*>("reset-alert");
    const auto shown = std::find_if(alerts.begin(), alerts.end(), [](QMessageBox* a) { return a->isVisible(); });
    ASSERT_NE(shown, alerts.end());
    alert = *shown;
    alert->findChild<QPushButton*>("reset-confirm")->click();
    EXPECT_EQ(s.maxInterval(), 30);
}
