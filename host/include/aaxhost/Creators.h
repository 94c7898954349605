#pragma once

// The creator procedures an effect's description registered (AddProcPtr on the
// effect descriptor), typed for the drivers that call them.

#include "aaxhost/Description.h"
#include "aaxhost/EffectGUI.h"
#include "aaxhost/EffectParameters.h"

#include <cstdint>

namespace aaxhost
{

// Procedure identifiers: 0 makes the effect object, 1 the GUI object.
constexpr uint32_t kProcIdCreateEffect = 0;
constexpr uint32_t kProcIdCreateGui = 1;

// The procedure registered last under `procId`, or null.
void* registeredProcedure(const HostEffectDescriptor& descriptor, uint32_t procId);
// Creator procedure 0 / 1 of `descriptor`, or null when it registered none.
EffectCreator effectCreatorOf(const HostEffectDescriptor& descriptor);
GuiCreator guiCreatorOf(const HostEffectDescriptor& descriptor);

} // namespace aaxhost
