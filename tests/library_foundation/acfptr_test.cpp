// The owning interface pointer, over host objects that count their references.
#include "ACFPtr.h"
#include "AAX_UIDs.h"
#include "acfbaseapi.h"

#include "aaxhost/HostObject.h"
#include "aaxhost/HostUnknown.h"

#include "library_unknown.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
using tambrix::test::asLibrary;

template <class Body>
int32_t thrownCode(Body body)
{
    try
    {
        body();
    }
    catch (int32_t code)
    {
        return code;
    }
    return 0;
}

class ACFPtrTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        EXPECT_EQ(first->overReleases(), 0u);
        EXPECT_EQ(second->overReleases(), 0u);
    }

    std::shared_ptr<aaxhost::CallRecorder> recorder = std::make_shared<aaxhost::CallRecorder>();
    aaxhost::HostRef<aaxhost::HostUnknown> first = aaxhost::makeHost<aaxhost::HostUnknown>(recorder, "First");
    aaxhost::HostRef<aaxhost::HostUnknown> second =
        aaxhost::makeHost<aaxhost::HostUnknown>(recorder, "Second");
};

TEST_F(ACFPtrTest, ANullUnknownThrowsAndHoldsNothing)
{
    EXPECT_EQ(thrownCode([] { ACFPtr<IACFUnknown> p(IID_IACFUnknown, nullptr); }),
              static_cast<int32_t>(0x80000003u));
}

TEST_F(ACFPtrTest, AMissingInterfaceThrowsTheQueryResult)
{
    EXPECT_EQ(thrownCode(
                  [this] {
                      ACFPtr<IACFComponentFactory> p(IID_IACFComponentFactory,
                                                     asLibrary(first->primaryInterface()));
                  }),
              static_cast<int32_t>(0x80000004u));
    EXPECT_EQ(first->refCount(), 1u); // only the test's own reference

    first->refuse(aaxhost::IID_IACFUnknown);
    EXPECT_EQ(
        thrownCode([this] { ACFPtr<IACFUnknown> p(IID_IACFUnknown, asLibrary(first->primaryInterface())); }),
        static_cast<int32_t>(0x80000004u));
    EXPECT_EQ(first->refCount(), 1u);
}

TEST_F(ACFPtrTest, HoldsExactlyOneReferenceAndReleasesItOnce)
{
    {
        ACFPtr<IACFUnknown> p(IID_IACFUnknown, asLibrary(first->primaryInterface()));
        EXPECT_EQ(first->refCount(), 2u);
        EXPECT_EQ(static_cast<void*>(p.get()), static_cast<void*>(first->primaryInterface()));
    }
    EXPECT_EQ(first->refCount(), 1u);
}

TEST_F(ACFPtrTest, CopiesAddAReference)
{
    ACFPtr<IACFUnknown> p(IID_IACFUnknown, asLibrary(first->primaryInterface()));
    {
        ACFPtr<IACFUnknown> copy(p);
        EXPECT_EQ(first->refCount(), 3u);
        ACFPtr<IACFUnknown> moved(std::move(copy));
        EXPECT_TRUE(copy.isNull());
        EXPECT_EQ(first->refCount(), 3u);
    }
    EXPECT_EQ(first->refCount(), 2u);

    ACFPtr<IACFUnknown>& alias = p;
    p = alias; // assignment to itself changes nothing
    EXPECT_EQ(first->refCount(), 2u);
    EXPECT_FALSE(p.isNull());
}

TEST_F(ACFPtrTest, AssignmentAddsTheNewReferenceBeforeReleasingTheOld)
{
    ACFPtr<IACFUnknown> a(IID_IACFUnknown, asLibrary(first->primaryInterface()));
    ACFPtr<IACFUnknown> b(IID_IACFUnknown, asLibrary(second->primaryInterface()));
    recorder->setRecordReferenceCalls(true);
    recorder->clear();

    a = b;
    EXPECT_EQ(first->refCount(), 1u);
    EXPECT_EQ(second->refCount(), 3u);

    const auto calls = recorder->calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].object, "Second");
    EXPECT_EQ(calls[0].operation, "AddRef");
    EXPECT_EQ(calls[1].object, "First");
    EXPECT_EQ(calls[1].operation, "Release");

    // Both holding the same object: reassigning must not drop its last reference midway.
    ACFPtr<IACFUnknown> c(b);
    b.clear();
    a.clear();
    EXPECT_EQ(second->refCount(), 2u);
    auto& sameC = c;
    c = sameC;
    a = c;
    EXPECT_EQ(second->refCount(), 3u);
}

TEST_F(ACFPtrTest, DereferencingAnEmptyPointerThrows)
{
    ACFPtr<IACFUnknown> empty;
    const ACFPtr<IACFUnknown>& constEmpty = empty;
    EXPECT_EQ(thrownCode([&] { empty->AddRef(); }), static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(thrownCode([&] { (void)constEmpty.operator->(); }), static_cast<int32_t>(0x80000005u));
}

TEST_F(ACFPtrTest, TheOutParameterFormReleasesWhatItHeld)
{
    ACFPtr<IACFUnknown> p(IID_IACFUnknown, asLibrary(first->primaryInterface()));
    EXPECT_EQ(first->refCount(), 2u);
    ASSERT_EQ(asLibrary(second->primaryInterface())->QueryInterface(IID_IACFUnknown, p.outputVoid()), 0);
    EXPECT_EQ(first->refCount(), 1u);
    EXPECT_EQ(second->refCount(), 2u);
    p.clear();
    EXPECT_EQ(second->refCount(), 1u);
}
} // namespace
