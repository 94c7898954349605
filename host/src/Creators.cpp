#include "aaxhost/Creators.h"

namespace aaxhost
{

void* registeredProcedure(const HostEffectDescriptor& descriptor, uint32_t procId)
{
    void* found = nullptr;
    for (const ProcPtrRecord& record : descriptor.procPtrs())
        if (record.procId == procId)
            found = record.procPtr;
    return found;
}

// The plug-in hands its creators over as untyped addresses; the host calls them in
// the form the procedure identifier stands for.
EffectCreator effectCreatorOf(const HostEffectDescriptor& descriptor)
{
    return reinterpret_cast<EffectCreator>(registeredProcedure(descriptor, kProcIdCreateEffect));
}

GuiCreator guiCreatorOf(const HostEffectDescriptor& descriptor)
{
    return reinterpret_cast<GuiCreator>(registeredProcedure(descriptor, kProcIdCreateGui));
}

} // namespace aaxhost
