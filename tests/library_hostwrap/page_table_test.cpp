#include "host_wrap_fixture.h"

#include "AAX_Errors.h"
#include "AAX_VPageTable.h"

#include <memory>

using tambrix::test::TestString;

namespace
{

class PageTableWrapper : public ::testing::Test
{
protected:
    aaxhost::Host host;
    aaxhost::HostRef<aaxhost::PageTable> table = aaxhost::makeHost<aaxhost::PageTable>(host.sharedRecorder());

    std::unique_ptr<AAX_IPageTable> makeWrapper()
    {
        return std::make_unique<AAX_VPageTable>(tambrix::test::asLibrary(table->primaryInterface()));
    }
};

TEST_F(PageTableWrapper, PagesAndMappingsReachTheHostTable)
{
    auto p = makeWrapper();
    AAX_CBoolean empty = 0;
    EXPECT_EQ(p->Empty(empty), AAX_SUCCESS);
    EXPECT_EQ(empty, 1);
    EXPECT_EQ(p->InsertPage(0), AAX_SUCCESS);
    EXPECT_EQ(p->InsertPage(1), AAX_SUCCESS);
    EXPECT_EQ(p->InsertPage(5), aaxhost::hostresult::InvalidArgument); // a host error passes through
    EXPECT_EQ(p->MapParameterID("0", 0, 2), AAX_SUCCESS);
    EXPECT_EQ(p->MapParameterID("MasterBypassID", 1, 0), AAX_SUCCESS);

    int32_t pages = 0, mapped = 0;
    EXPECT_EQ(p->GetNumPages(pages), AAX_SUCCESS);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(p->GetNumMappedParameterIDs(0, mapped), AAX_SUCCESS);
    EXPECT_EQ(mapped, 3);
    TestString id;
    EXPECT_EQ(p->GetMappedParameterID(1, 0, id), AAX_SUCCESS);
    EXPECT_EQ(id.text(), "MasterBypassID");
    EXPECT_EQ(p->ClearMappedParameter(0, 2), AAX_SUCCESS);
    EXPECT_EQ(p->GetNumMappedParameterIDs(0, mapped), AAX_SUCCESS);
    EXPECT_EQ(mapped, 0);
    EXPECT_EQ(p->RemovePage(0), AAX_SUCCESS);
    EXPECT_EQ(table->contents().pages, (std::vector<std::vector<std::string>>{{"MasterBypassID"}}));
    EXPECT_EQ(p->Clear(), AAX_SUCCESS);
    EXPECT_EQ(p->Empty(empty), AAX_SUCCESS);
    EXPECT_EQ(empty, 1);
}

TEST_F(PageTableWrapper, NameVariationsReachTheHostTable)
{
    auto p = makeWrapper();
    EXPECT_EQ(p->SetParameterNameVariation("0", TestString("Time Sig."), 9), AAX_SUCCESS);
    EXPECT_EQ(p->SetParameterNameVariation("0", TestString("TSig"), 4), AAX_SUCCESS);
    EXPECT_EQ(p->SetParameterNameVariation("1", TestString("Byp"), 3), AAX_SUCCESS);

    int32_t count = 0;
    EXPECT_EQ(p->GetNumParametersWithNameVariations(count), AAX_SUCCESS);
    EXPECT_EQ(count, 2);
    TestString id;
    EXPECT_EQ(p->GetNameVariationParameterIDAtIndex(1, id), AAX_SUCCESS);
    EXPECT_EQ(id.text(), "1");
    EXPECT_EQ(p->GetNumNameVariationsForParameter("0", count), AAX_SUCCESS);
    EXPECT_EQ(count, 2);
    TestString name;
    int32_t length = 0;
    EXPECT_EQ(p->GetParameterNameVariationAtIndex("0", 0, name, length), AAX_SUCCESS);
    EXPECT_EQ(name.text(), "TSig");
    EXPECT_EQ(length, 4);
    EXPECT_EQ(p->GetParameterNameVariationOfLength("0", 9, name), AAX_SUCCESS);
    EXPECT_EQ(name.text(), "Time Sig.");
    EXPECT_EQ(p->ClearNameVariationsForParameter("0"), AAX_SUCCESS);
    EXPECT_EQ(p->GetNumParametersWithNameVariations(count), AAX_SUCCESS);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(p->ClearParameterNameVariations(), AAX_SUCCESS);
    EXPECT_EQ(p->GetNumParametersWithNameVariations(count), AAX_SUCCESS);
    EXPECT_EQ(count, 0);
}

TEST_F(PageTableWrapper, VersionOneTableMapsButHasNoNameVariations)
{
    table->refuse(aaxhost::IID_IAAXPageTableV2);
    auto p = makeWrapper();
    EXPECT_EQ(p->InsertPage(0), AAX_SUCCESS);
    EXPECT_EQ(p->MapParameterID("0", 0, 0), AAX_SUCCESS);
    EXPECT_EQ(table->contents().pages.at(0).at(0), "0");
    EXPECT_EQ(p->SetParameterNameVariation("0", TestString("T"), 1), AAX_ERROR_UNIMPLEMENTED);
    int32_t count = 42;
    EXPECT_EQ(p->GetNumParametersWithNameVariations(count), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(count, 42);
    EXPECT_TRUE(host.recorder().calls("PageTable", "SetParameterNameVariation").empty());
}

TEST_F(PageTableWrapper, TableWithoutVersionOneRefusesPagesButKeepsNameVariations)
{
    table->refuse(aaxhost::IID_IAAXPageTableV1);
    auto p = makeWrapper();
    EXPECT_EQ(p->InsertPage(0), AAX_ERROR_UNIMPLEMENTED);
    AAX_CBoolean empty = 5;
    EXPECT_EQ(p->Empty(empty), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(empty, 5);
    EXPECT_EQ(p->SetParameterNameVariation("0", TestString("T"), 1), AAX_SUCCESS);
    EXPECT_EQ(table->contents().nameVariations.size(), 1u);
    EXPECT_TRUE(host.recorder().calls("PageTable", "InsertPage").empty());
}

TEST(PageTableWrapperWithoutHost, NullUnknownAnswersUnimplementedEverywhere)
{
    AAX_VPageTable p(nullptr);
    EXPECT_EQ(p.Clear(), AAX_ERROR_UNIMPLEMENTED);
    AAX_CBoolean empty = 3;
    EXPECT_EQ(p.Empty(empty), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(empty, 3);
    int32_t pages = -9;
    EXPECT_EQ(p.GetNumPages(pages), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(pages, -9);
    EXPECT_EQ(p.MapParameterID("0", 0, 0), AAX_ERROR_UNIMPLEMENTED);
    TestString name("kept");
    int32_t length = 7;
    EXPECT_EQ(p.GetParameterNameVariationAtIndex("0", 0, name, length), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(name.text(), "kept");
    EXPECT_EQ(length, 7);
}

TEST_F(PageTableWrapper, ReferencesAreBalancedAfterTheWrapperIsDestroyed)
{
    const uint32_t refs = table->refCount();
    {
        auto p = makeWrapper();
        EXPECT_EQ(table->refCount(), refs + 2);
    }
    EXPECT_EQ(table->refCount(), refs);
    EXPECT_EQ(table->overReleases(), 0u);
}

} // namespace
