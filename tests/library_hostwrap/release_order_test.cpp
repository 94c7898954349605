// Each wrapper lets go of the host interfaces it holds in the reverse order of
// taking them. Every version is answered by a host object of its own, so the
// recorded releases tell the versions apart.

#include "host_wrap_fixture.h"

#include "AAX_VController.h"
#include "AAX_VPageTable.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

#include "aaxhost/ComponentFactory.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace
{

namespace ah = aaxhost;
using ah::HostObject;
using ah::HostRef;

template <class T>
HostRef<HostObject> fresh(ah::Host& host)
{
    return ah::makeHost<T>(host.sharedRecorder());
}

struct ReleaseCase
{
    const char* wrapper;
    std::function<std::shared_ptr<void>(IACFUnknown*)> make;
    // The identifiers in the order the wrapper takes them, each with the kind of
    // host object that answers it.
    std::vector<std::pair<ah::Uid, HostRef<HostObject> (*)(ah::Host&)>> versions;
};

TEST(WrapperReleaseOrder, TheLastInterfaceTakenIsTheFirstReleased)
{
    const ReleaseCase cases[] = {
        {"controller",
         [](IACFUnknown* u) { return std::shared_ptr<void>(new AAX_VController(u)); },
         {{ah::IID_IAAXControllerV1, fresh<ah::Controller>},
          {ah::IID_IAAXControllerV2, fresh<ah::Controller>},
          {ah::IID_IAAXControllerV3, fresh<ah::Controller>},
          {ah::IID_IAAXPageTableController, fresh<ah::Controller>},
          {ah::IID_IAAXPageTableControllerV2, fresh<ah::Controller>},
          {ah::IID_IACFComponentFactory, fresh<ah::ComponentFactory>}}},
        {"transport",
         [](IACFUnknown* u) { return std::shared_ptr<void>(new AAX_VTransport(u)); },
         {{ah::IID_IAAXTransportV1, fresh<ah::Transport>}, {ah::IID_IAAXTransportV2, fresh<ah::Transport>}}},
        {"view container",
         [](IACFUnknown* u) { return std::shared_ptr<void>(new AAX_VViewContainer(u)); },
         {{ah::IID_IAAXViewContainerV1, fresh<ah::ViewContainer>},
          {ah::IID_IAAXViewContainerV2, fresh<ah::ViewContainer>}}},
        {"page table",
         [](IACFUnknown* u) { return std::shared_ptr<void>(new AAX_VPageTable(u)); },
         {{ah::IID_IAAXPageTableV1, fresh<ah::PageTable>}, {ah::IID_IAAXPageTableV2, fresh<ah::PageTable>}}},
    };

    for (const ReleaseCase& c : cases)
    {
        ah::Host host;
        HostRef<ah::HostUnknown> unknown = ah::makeHost<ah::HostUnknown>(host.sharedRecorder());
        std::vector<const void*> objects;
        for (const auto& version : c.versions)
        {
            HostRef<HostObject> object = version.second(host);
            objects.push_back(object.get());
            unknown->provide(version.first, object);
        }

        std::shared_ptr<void> wrapper = c.make(tambrix::test::asLibrary(unknown->primaryInterface()));
        host.recorder().clear();
        wrapper.reset();

        std::vector<std::size_t> released;
        for (const ah::Call& call : host.recorder().calls("Release"))
            for (std::size_t i = 0; i < objects.size(); ++i)
                if (call.address == objects[i])
                    released.push_back(i);
        std::vector<std::size_t> expected;
        for (std::size_t i = objects.size(); i-- > 0;)
            expected.push_back(i);
        EXPECT_EQ(released, expected) << c.wrapper;
    }
}

} // namespace
