// The library's exceptions.
#include "AAX_Exception.h"

namespace AAX
{
namespace Exception
{
Any::Any(const std::string& inDescription)
    : mDesc(inDescription), mFunction(), mLine(), mWhat(CreateWhat(mDesc, mFunction, mLine))
{
}

Any::~Any() = default;

std::string Any::CreateWhat(const std::string& inDescription, const std::string& inFunction,
                            const std::string& inLine)
{
    std::string what(inDescription);
    if (!inFunction.empty())
        what += " func:" + inFunction;
    if (!inLine.empty())
        what += " line:" + inLine;
    return what;
}

ResultError::ResultError(AAX_Result inWhatResult) : Any(FormatResult(inWhatResult)), mResult(inWhatResult) {}

ResultError::~ResultError() = default;

std::string ResultError::FormatResult(AAX_Result inResult)
{
    return AsStringResult(inResult) + " (" + std::to_string(inResult) + ")";
}
} // namespace Exception
} // namespace AAX
