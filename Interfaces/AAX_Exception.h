// Result names, the library's exceptions and the checked result.
#pragma once

#include "AAX.h"
#include "AAX_Errors.h"

#include <set>
#include <string>

namespace AAX
{
/// The name of a result code; "<unknown error code>" for a code without a name.
std::string AsStringResult(AAX_Result inResult);

namespace Exception
{
/// Base of the library's exceptions; deliberately not derived from std::exception.
class Any
{
public:
    explicit Any(const std::string& inDescription);
    virtual ~Any();

    Any(const Any&) = default;
    Any(Any&&) = default;
    Any& operator=(const Any&) = default;
    Any& operator=(Any&&) = default;

    /// The description, then " func:" and the function, then " line:" and the line,
    /// each part only when it is not empty.
    static std::string CreateWhat(const std::string& inDescription, const std::string& inFunction,
                                  const std::string& inLine);

    const std::string& Desc() const noexcept { return mDesc; }
    const std::string& Function() const noexcept { return mFunction; }
    const std::string& Line() const noexcept { return mLine; }
    const std::string& What() const noexcept { return mWhat; }
    /// The what-text as a zero-terminated string.
    const char* what() const noexcept { return mWhat.c_str(); }

private:
    std::string mDesc;
    std::string mFunction;
    std::string mLine;
    std::string mWhat;
};

/// A failed result code.
class ResultError : public Any
{
public:
    explicit ResultError(AAX_Result inWhatResult);
    ~ResultError() override;

    ResultError(const ResultError&) = default;
    ResultError(ResultError&&) = default;
    ResultError& operator=(const ResultError&) = default;
    ResultError& operator=(ResultError&&) = default;

    /// The code's name, " (", the code in signed decimal, ")".
    static std::string FormatResult(AAX_Result inResult);

    AAX_Result Result() const noexcept { return mResult; }

private:
    AAX_Result mResult;
};
} // namespace Exception
} // namespace AAX

/// Turns any result other than an accepted one (only AAX_SUCCESS) into a thrown
/// AAX::Exception::ResultError, traced first at priority 0x04000000.
class AAX_CheckedResult
{
public:
    /// Sets the result and checks it: constructing from a failure throws.
    AAX_CheckedResult(AAX_Result inResult = AAX_SUCCESS);

    /// Sets the result and checks it.
    AAX_CheckedResult& operator=(AAX_Result inResult);

    /// Throws when the current result is not accepted; the checked result then holds
    /// AAX_SUCCESS and remembers the failed code as its last error.
    void Check();

    AAX_Result Result() const noexcept { return mCurResult; }
    AAX_Result LastError() const noexcept { return mLastError; }

private:
    AAX_Result mCurResult;
    AAX_Result mLastError;
    std::set<AAX_Result> mAcceptedResults;
};
