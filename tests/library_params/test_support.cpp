#include "test_support.h"
#include "library_unknown.h"

#include "AAX_CHostServices.h"

namespace tambrix::test
{

HostController::HostController(aaxhost::Host& host, const std::string& name)
    : controllerUnknown(aaxhost::makeHost<aaxhost::HostUnknown>(host.sharedRecorder(), name)),
      delegate(aaxhost::makeHost<aaxhost::AutomationDelegate>(host.sharedRecorder(), name + "Delegate"))
{
    controllerUnknown->provide(aaxhost::IID_IAAXAutomationDelegateV1,
                               aaxhost::HostRef<aaxhost::HostObject>(delegate.get()));
}

IACFUnknown* HostController::unknown() const
{
    return tambrix::test::asLibrary(controllerUnknown->primaryInterface());
}

ServicesScope::ServicesScope(aaxhost::Host& host)
{
    AAX_CHostServices::Set(tambrix::test::asLibrary(host.unknownInterface()));
}

ServicesScope::~ServicesScope()
{
    AAX_CHostServices::Set(nullptr);
}

std::vector<std::string> assertionConditions(aaxhost::Host& host)
{
    std::vector<std::string> out;
    for (const auto& record : host.services().assertions())
        out.push_back(record.condition);
    return out;
}

std::string eventKinds(const aaxhost::AutomationDelegate& delegate)
{
    std::string out;
    for (const auto& event : delegate.events())
    {
        if (!out.empty())
            out += ' ';
        out += aaxhost::toString(event.kind);
    }
    return out;
}

} // namespace tambrix::test
