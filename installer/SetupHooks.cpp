#include "installer/SetupHooks.h"

namespace {

SSetupHooks& Hooks()
{
    static SSetupHooks hooks;
    return hooks;
}

} // namespace

void SetSetupHooks(const SSetupHooks& hooks)
{
    Hooks() = hooks;
}

const SSetupHooks& GetSetupHooks()
{
    return Hooks();
}
