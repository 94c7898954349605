#pragma once

// Shared set-up of the description tests: a host stand-in with the
// description components installed and its services started, so that traces
// and assertion reports reach the host's log.

#include "AAX_CHostServices.h"
#include "AAX_IPropertyMap.h"
#include "acfunknown.h"
#include "library_unknown.h"

#include "aaxhost/Description.h"
#include "aaxhost/Host.h"

#include <gtest/gtest.h>

#include <memory>

namespace tambrix::test
{

// The host map behind a library wrapper, or null.
inline aaxhost::HostPropertyMap* hostMapOf(AAX_IPropertyMap* map)
{
    return map != nullptr ? aaxhost::HostPropertyMap::fromUnknown(asHost(map->GetIUnknown())) : nullptr;
}

class DescriptionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        liveAtStart = aaxhost::HostObject::liveCount();
        host = std::make_unique<aaxhost::Host>();
        setup = aaxhost::installDescriptionComponents(*host);
        AAX_CHostServices::Set(hostUnknown());
        host->recorder().setRecordReferenceCalls(false);
        host->recorder().clear();
    }

    void TearDown() override
    {
        AAX_CHostServices::Set(nullptr);
        descriptionHost.reset();
        host.reset();
        EXPECT_EQ(aaxhost::HostObject::liveCount(), liveAtStart) << "host objects left alive";
    }

    IACFUnknown* hostUnknown() { return asLibrary(host->unknownInterface()); }

    void addDescriptionHost() { descriptionHost = aaxhost::installDescriptionHost(*host); }

    // Calls of one operation on one kind of host object.
    std::size_t count(const char* object, const char* operation) const
    {
        return host->recorder().calls(object, operation).size();
    }

    int64_t liveAtStart = 0;
    std::unique_ptr<aaxhost::Host> host;
    std::shared_ptr<aaxhost::DescriptionSetup> setup;
    aaxhost::HostRef<aaxhost::HostDescriptionHost> descriptionHost;
};

} // namespace tambrix::test
