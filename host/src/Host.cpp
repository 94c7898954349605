#include "aaxhost/Host.h"

namespace aaxhost
{

Host::Host()
    : recorder_(std::make_shared<CallRecorder>()), services_(std::make_shared<HostServicesLog>()),
      factory_(makeHost<ComponentFactory>(recorder_)), unknown_(makeHost<HostUnknown>(recorder_))
{
    registerHostServices(*factory_, services_);
    unknown_->provide(IID_IACFComponentFactory, HostRef<HostObject>(factory_));
}

Host::~Host() = default;

} // namespace aaxhost
