#pragma once

#include <functional>

class QWidget;

namespace kestu {

// Whether the application shows in the taskbar and window switcher (regular) or not
// (accessory). Only the policy lives here; how windows are marked is the host's backend.
enum class KestuActivationPolicy { regular, accessory };

class KestuDockVisibility final {
public:
    // Applies a policy to the application's windows (the host installs its X11 one).
    using Applier = std::function<void(KestuActivationPolicy)>;

    KestuDockVisibility() = delete;

    static KestuActivationPolicy activationPolicy();
    static void setApplier(Applier applier);
    // Regular when visible, accessory when not; nothing happens when the policy is already the
    // wanted one.
    static void setDockVisibility(bool visible);
};

} // namespace kestu
