#include "Platform/X11/RunningApps.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

using tremlor::x11::RunningApps;
using tremlor::xdg::DesktopEntry;

namespace {

DesktopEntry entry(const QString& id, const QString& exec, const QString& wmClass = {})
{
    DesktopEntry e;
    e.id = id;
    e.name = id;
    e.exec = exec;
    e.startupWMClass = wmClass;
    return e;
}

std::vector<unsigned long> match(const std::vector<RunningApps::ClientWindow>& clients, const DesktopEntry& e)
{
    return RunningApps::matching(clients, e);
}

} // namespace

// The rules desktop shells use, in their order: StartupWMClass against instance or class, then
// the desktop-file ID against instance or class (or their lower-case forms), then the window's
// process against the entry's executable.
TEST(WindowMatching, FollowsTheShellRules)
{
    const QString sh = QFileInfo(QStandardPaths::findExecutable("sh")).canonicalFilePath();
    ASSERT_FALSE(sh.isEmpty());
    const std::vector<RunningApps::ClientWindow> clients {
        { 1, "navigator", "Firefox-esr", "/opt/firefox/firefox-bin", "/opt/firefox/firefox-bin" },
        { 2, "gnome-calculator", "Gnome-calculator", {}, {} },
        { 3, "xterm", "XTerm", "/usr/bin/xterm", "xterm" },
        { 4, "script", "Script", "/usr/bin/python3.11", sh }, // a script started as "sh"
        { 5, "remote", "Remote", {}, {} }, // another machine's client: no process known
        { 6, "xterm", "XTerm", "/usr/bin/xterm", "xterm" },
    };
    EXPECT_EQ(match(clients, entry("firefox-esr", "firefox-esr %u", "Firefox-esr")), std::vector<unsigned long> { 1 });
    EXPECT_EQ(match(clients, entry("gnome-calculator", "/nonexistent/calc")), std::vector<unsigned long> { 2 });
    EXPECT_EQ(match(clients, entry("xterm", "/nonexistent/xterm")), (std::vector<unsigned long> { 3, 6 }));
    EXPECT_EQ(match(clients, entry("run-script", "sh -c 'x'")), std::vector<unsigned long> { 4 });
    // Look-alikes: an ID that differs in case, or an empty class, matches nothing.
    EXPECT_TRUE(match(clients, entry("XTERM", "/nonexistent/xterm")).empty());
    EXPECT_TRUE(match(clients, entry("unknown", "/nonexistent/tool", "")).empty());
    EXPECT_TRUE(match({ { 7, {}, {}, {}, {} } }, entry("", "")).empty());
}
