#include "KestuDesign/Utilities/KestuDockVisibility.h"

#include "KestuDesign/Utilities/KestuX11Taskbar.h"

namespace kestu {

namespace {
KestuActivationPolicy s_policy = KestuActivationPolicy::regular;
bool s_applierChosen = false;
KestuDockVisibility::Applier& applier()
{
    static KestuDockVisibility::Applier a;
    return a;
}
} // namespace

KestuActivationPolicy KestuDockVisibility::activationPolicy()
{
    return s_policy;
}

void KestuDockVisibility::setApplier(Applier a)
{
    s_applierChosen = true;
    applier() = std::move(a);
}

void KestuDockVisibility::setDockVisibility(bool visible)
{
    if (!s_applierChosen) {
        // On X11 the running application's windows are marked, unless a host chose otherwise;
        // also under the regular policy, which keeps tool windows out of the taskbar.
        s_applierChosen = true;
        KestuX11Taskbar::installForApplication();
    }
    const auto wanted = visible ? KestuActivationPolicy::regular : KestuActivationPolicy::accessory;
    if (wanted == s_policy)
        return;
    s_policy = wanted;
    if (applier())
        applier()(wanted);
}

} // namespace kestu
