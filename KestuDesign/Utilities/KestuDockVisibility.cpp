#include "KestuDesign/Utilities/KestuDockVisibility.h"

namespace kestu {

namespace {
KestuActivationPolicy s_policy = KestuActivationPolicy::regular;
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
    applier() = std::move(a);
}

void KestuDockVisibility::setDockVisibility(bool visible)
{
    const auto wanted = visible ? KestuActivationPolicy::regular : KestuActivationPolicy::accessory;
    if (wanted == s_policy)
        return;
    s_policy = wanted;
    if (applier())
        applier()(wanted);
}

} // namespace kestu
