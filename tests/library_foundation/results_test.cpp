// Result names, the library's exceptions and checked results.
#include "library_unknown.h"

#include "AAX_Exception.h"
#include "AAX_CHostServices.h"

#include "aaxhost/Host.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace
{
// The published names, code by code.
const std::pair<int32_t, const char*> kNames[] = {
    {0, "AAX_SUCCESS"},
    {-20001, "AAX_ERROR_INVALID_PARAMETER_ID"},
    {-20002, "AAX_ERROR_INVALID_STRING_CONVERSION"},
    {-20003, "AAX_ERROR_INVALID_METER_INDEX"},
    {-20004, "AAX_ERROR_NULL_OBJECT"},
    {-20005, "AAX_ERROR_OLDER_VERSION"},
    {-20006, "AAX_ERROR_INVALID_CHUNK_INDEX"},
    {-20007, "AAX_ERROR_INVALID_CHUNK_ID"},
    {-20008, "AAX_ERROR_INCORRECT_CHUNK_SIZE"},
    {-20009, "AAX_ERROR_UNIMPLEMENTED"},
    {-20010, "AAX_ERROR_INVALID_PARAMETER_INDEX"},
    {-20011, "AAX_ERROR_NOT_INITIALIZED"},
    {-20012, "AAX_ERROR_ACF_ERROR"},
    {-20013, "AAX_ERROR_INVALID_METER_TYPE"},
    {-20014, "AAX_ERROR_CONTEXT_ALREADY_HAS_METERS"},
    {-20015, "AAX_ERROR_NULL_COMPONENT"},
    {-20016, "AAX_ERROR_PORT_ID_OUT_OF_RANGE"},
    {-20017, "AAX_ERROR_FIELD_TYPE_DOES_NOT_SUPPORT_DIRECT_ACCESS"},
    {-20018, "AAX_ERROR_DIRECT_ACCESS_OUT_OF_BOUNDS"},
    {-20019, "AAX_ERROR_FIFO_FULL"},
    {-20020, "AAX_ERROR_INITIALIZING_PACKET_STREAM_THREAD"},
    {-20021, "AAX_ERROR_POST_PACKET_FAILED"},
    {-20022, "AAX_RESULT_PACKET_STREAM_NOT_EMPTY"},
    {-20023, "AAX_RESULT_ADD_FIELD_UNSUPPORTED_FIELD_TYPE"},
    {-20024, "AAX_ERROR_MIXER_THREAD_FALLING_BEHIND"},
    {-20025, "AAX_ERROR_INVALID_FIELD_INDEX"},
    {-20026, "AAX_ERROR_MALFORMED_CHUNK"},
    {-20027, "AAX_ERROR_TOD_BEHIND"},
    {-20028, "AAX_RESULT_NEW_PACKET_POSTED"},
    {-20030, "AAX_ERROR_PLUGIN_NULL_PARAMETER"},
    {-20031, "AAX_ERROR_NOTIFICATION_FAILED"},
    {-20032, "AAX_ERROR_INVALID_VIEW_SIZE"},
    {-20033, "AAX_ERROR_SIGNED_INT_OVERFLOW"},
    {-20034, "AAX_ERROR_NO_COMPONENTS"},
    {-20035, "AAX_ERROR_DUPLICATE_EFFECT_ID"},
    {-20036, "AAX_ERROR_DUPLICATE_TYPE_ID"},
    {-20037, "AAX_ERROR_EMPTY_EFFECT_NAME"},
    {-20038, "AAX_ERROR_UNKNOWN_PLUGIN"},
    {-20039, "AAX_ERROR_PROPERTY_UNDEFINED"},
    {-20040, "AAX_ERROR_INVALID_PATH"},
    {-20041, "AAX_ERROR_UNKNOWN_ID"},
    {-20042, "AAX_ERROR_UNKNOWN_EXCEPTION"},
    {-20043, "AAX_ERROR_INVALID_ARGUMENT"},
    {-20044, "AAX_ERROR_NULL_ARGUMENT"},
    {-20045, "AAX_ERROR_INVALID_INTERNAL_DATA"},
    {-20046, "AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW"},
};

TEST(ResultNames, EveryListedCodeHasItsName)
{
    for (const auto& entry : kNames)
        EXPECT_EQ(AAX::AsStringResult(entry.first), entry.second) << entry.first;
}

TEST(ResultNames, CodesWithoutANameReadUnknown)
{
    for (int32_t code : {-20047, -20029, -19999, -20000, 1, -1, -333, static_cast<int32_t>(0x80000004u)})
        EXPECT_EQ(AAX::AsStringResult(code), "<unknown error code>") << code;
}

TEST(Exceptions, ResultErrorTextAndCode)
{
    EXPECT_EQ(AAX::Exception::ResultError::FormatResult(-20009), "AAX_ERROR_UNIMPLEMENTED (-20009)");
    EXPECT_EQ(AAX::Exception::ResultError::FormatResult(-20047), "<unknown error code> (-20047)");

    const AAX::Exception::ResultError error(-20009);
    EXPECT_EQ(error.Result(), -20009);
    EXPECT_EQ(error.What(), "AAX_ERROR_UNIMPLEMENTED (-20009)");
    EXPECT_STREQ(error.what(), "AAX_ERROR_UNIMPLEMENTED (-20009)");
    EXPECT_TRUE(error.Function().empty());
    EXPECT_TRUE(error.Line().empty());
}

TEST(Exceptions, WhatTextJoinsOnlyTheNonEmptyParts)
{
    using AAX::Exception::Any;
    EXPECT_EQ(Any::CreateWhat("boom", "", ""), "boom");
    EXPECT_EQ(Any::CreateWhat("boom", "f", ""), "boom func:f");
    EXPECT_EQ(Any::CreateWhat("boom", "", "12"), "boom line:12");
    EXPECT_EQ(Any::CreateWhat("boom", "f", "12"), "boom func:f line:12");
    EXPECT_EQ(Any("plain").What(), "plain");
}

TEST(Exceptions, CaughtAsAnyButNeverAsStandardException)
{
    bool caughtAsAny = false;
    try
    {
        throw AAX::Exception::ResultError(-20004);
    }
    catch (const AAX::Exception::Any& any)
    {
        caughtAsAny = true;
        EXPECT_EQ(any.What(), "AAX_ERROR_NULL_OBJECT (-20004)");
    }
    EXPECT_TRUE(caughtAsAny);

    bool caughtAsStandard = false;
    bool caughtOtherwise = false;
    try
    {
        try
        {
            throw AAX::Exception::ResultError(-20004);
        }
        catch (const std::exception&)
        {
            caughtAsStandard = true;
        }
    }
    catch (...)
    {
        caughtOtherwise = true;
    }
    EXPECT_FALSE(caughtAsStandard);
    EXPECT_TRUE(caughtOtherwise);
}

// Checked results trace through the host's services before they throw.
class CheckedResultTest : public ::testing::Test
{
protected:
    void SetUp() override { AAX_CHostServices::Set(tambrix::test::asLibrary(host.unknownInterface())); }
    void TearDown() override { AAX_CHostServices::Set(nullptr); }

    aaxhost::Host host;
};

TEST_F(CheckedResultTest, SuccessNeitherThrowsNorTraces)
{
    AAX_CheckedResult result(AAX_SUCCESS);
    EXPECT_NO_THROW(result = AAX_SUCCESS);
    EXPECT_NO_THROW(AAX_CheckedResult{0});
    EXPECT_EQ(result.Result(), AAX_SUCCESS);
    EXPECT_EQ(result.LastError(), AAX_SUCCESS);
    EXPECT_TRUE(host.services().traces().empty());
}

TEST_F(CheckedResultTest, AFailureTracesOnceThenThrowsAndCanBeCheckedAgain)
{
    AAX_CheckedResult result;
    int32_t thrownCode = 0;
    try
    {
        result = AAX_ERROR_NULL_OBJECT;
        ADD_FAILURE() << "no exception";
    }
    catch (const AAX::Exception::ResultError& error)
    {
        thrownCode = error.Result();
        EXPECT_EQ(error.What(), "AAX_ERROR_NULL_OBJECT (-20004)");
    }
    EXPECT_EQ(thrownCode, -20004);
    EXPECT_EQ(result.Result(), AAX_SUCCESS);
    EXPECT_EQ(result.LastError(), -20004);

    const auto traces = host.services().traces();
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0].priority, 0x04000000);
    EXPECT_EQ(traces[0].message, "AAX_CheckedResult - throwing AAX_ERROR_NULL_OBJECT (-20004)");

    EXPECT_NO_THROW(result.Check()); // holds success again
}

TEST_F(CheckedResultTest, ConstructingFromAFailureThrows)
{
    EXPECT_THROW(AAX_CheckedResult{-20009}, AAX::Exception::ResultError);
    EXPECT_THROW(AAX_CheckedResult{7}, AAX::Exception::Any); // positive values are not accepted either
    EXPECT_EQ(host.services().traces().size(), 2u);
}
} // namespace
