#include "aaxhost/Description.h"
#include "aaxhost/Host.h"

namespace aaxhost
{

namespace
{

template <class T>
Creator creatorOf(std::shared_ptr<DescriptionSetup> setup)
{
    return [setup](const CreateRequest& request)
    {
        HostRef<T> object = makeHost<T>(request.recorder);
        for (const Uid& iid : setup->refusedVersions)
            object->refuse(iid);
        return HostRef<HostObject>(object);
    };
}
} // namespace

std::shared_ptr<DescriptionSetup> installDescriptionComponents(Host& host)
{
    auto setup = std::make_shared<DescriptionSetup>();
    ComponentFactory& factory = host.factory();
    factory.registerComponent(AAXCompID_AAXCollection, creatorOf<HostCollection>(setup));
    factory.registerComponent(AAXCompID_AAXEffectDescriptor, creatorOf<HostEffectDescriptor>(setup));
    factory.registerComponent(AAXCompID_AAXComponentDescriptor, creatorOf<HostComponentDescriptor>(setup));
    factory.registerComponent(AAXCompID_AAXPropertyMap, creatorOf<HostPropertyMap>(setup));
    return setup;
}

HostRef<HostDescriptionHost> installDescriptionHost(Host& host)
{
    auto descriptionHost = makeHost<HostDescriptionHost>(host.sharedRecorder());
    host.unknown().provide(IID_IAAXDescriptionHostV1, HostRef<HostObject>(descriptionHost));
    host.unknown().provide(IID_IACFDefinition,
                           HostRef<HostObject>(makeHost<HostDefinition>(host.sharedRecorder())));
    return descriptionHost;
}

} // namespace aaxhost
