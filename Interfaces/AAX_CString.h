// The library's owning, growable byte string.
#pragma once

#include "AAX_IString.h"

#include <string>

/// An owning byte string (no encoding imposed); Get always yields it NUL-terminated.
class AAX_CString : public AAX_IString
{
public:
    AAX_CString();
    /// Copies the NUL-terminated text; a null pointer gives the empty text.
    AAX_CString(const char* iString); // implicit on purpose: plain texts convert
    AAX_CString(const AAX_CString& iOther);
    explicit AAX_CString(const AAX_IString& iOther);
    ~AAX_CString() override;

    uint32_t Length() const override;
    /// Always 0xFFFFFFFE.
    uint32_t MaxLength() const override;
    const char* Get() const override;
    void Set(const char* iString) override;
    AAX_IString& operator=(const AAX_IString& iOther) override;
    AAX_IString& operator=(const char* iString) override;

    AAX_CString& operator=(const AAX_CString& iOther);

    const char* CString() const;
    void Clear();
    /// Removes min(count, Length() - pos) characters from pos on.
    AAX_CString& Erase(uint32_t pos, uint32_t count);
    /// Appends the number in fixed-point notation with `precision` decimals.
    AAX_CString& AppendNumber(double number, int32_t precision);
    /// Reads a number from the start of the text; false and 0.0 when there is none.
    bool ToDouble(double* oValue) const;
    /// Hands at most `count` characters from `pos` on to outputStr->Set.
    void SubString(uint32_t pos, uint32_t count, AAX_IString* outputStr) const;

    bool operator==(const AAX_CString& other) const;
    bool operator!=(const AAX_CString& other) const;
    bool operator!=(const char* otherStr) const;
    char& operator[](uint32_t index);

protected:
    std::string mString;
};
