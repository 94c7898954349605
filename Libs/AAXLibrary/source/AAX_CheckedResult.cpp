// A result that throws when it is set to anything but an accepted code.
#include "AAX_Exception.h"
#include "AAX_CHostServices.h"

#include <utility>

AAX_CheckedResult::AAX_CheckedResult(AAX_Result inResult)
    : mCurResult(inResult), mLastError(AAX_SUCCESS), mAcceptedResults{AAX_SUCCESS}
{
    Check();
}

AAX_CheckedResult& AAX_CheckedResult::operator=(AAX_Result inResult)
{
    mCurResult = inResult;
    Check();
    return *this;
}

void AAX_CheckedResult::Check()
{
    if (mAcceptedResults.count(mCurResult) != 0)
        return;

    AAX::Exception::ResultError error(mCurResult);
    mLastError = mCurResult;
    mCurResult = AAX_SUCCESS;
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_Normal, "AAX_CheckedResult - throwing %s", error.what());
    throw error;
}
