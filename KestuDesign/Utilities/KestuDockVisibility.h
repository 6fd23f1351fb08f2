#pragma once

#include <functional>

class QWidget;

namespace kestu {

// Whether the application shows in the taskbar and window switcher (regular) or not
// (accessory). On X11 the application's windows are marked skip-taskbar and skip-pager
// (KestuX11Taskbar); a host may install its own applier instead.
enum class KestuActivationPolicy { regular, accessory };

class KestuDockVisibility final {
public:
    // Applies a policy to the application's windows.
    using Applier = std::function<void(KestuActivationPolicy)>;

    KestuDockVisibility() = delete;

    static KestuActivationPolicy activationPolicy();
    static void setApplier(Applier applier);
    // Regular when visible, accessory when not; nothing happens when the policy is already the
    // wanted one.
    static void setDockVisibility(bool visible);
};

} // namespace kestu
