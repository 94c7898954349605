// The host's page table, versions 1 and 2.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_IString;

/// Version 1 (IID_IAAXPageTableV1).
class AAX_IACFPageTable : public IACFUnknown
{
public:
    virtual AAX_Result Clear() = 0;                               // 3
    virtual AAX_Result Empty(AAX_CBoolean& oEmpty) const = 0;     // 4
    virtual AAX_Result GetNumPages(int32_t& oNumPages) const = 0; // 5
    virtual AAX_Result InsertPage(int32_t iPage) = 0;             // 6
    virtual AAX_Result RemovePage(int32_t iPage) = 0;             // 7
    virtual AAX_Result GetNumMappedParameterIDs(int32_t iPage,
                                                int32_t& oNumParameterIdentifiers) const = 0; // 8
    virtual AAX_Result ClearMappedParameter(int32_t iPage, int32_t iIndex) = 0;               // 9
    virtual AAX_Result GetMappedParameterID(int32_t iPage, int32_t iIndex,
                                            AAX_IString& oParameterIdentifier) const = 0; // 10
    virtual AAX_Result MapParameterID(AAX_CParamID iParameterIdentifier, int32_t iPage,
                                      int32_t iIndex) = 0; // 11

protected:
    ~AAX_IACFPageTable() = default;
};

/// Version 2 (IID_IAAXPageTableV2).
class AAX_IACFPageTable_V2 : public AAX_IACFPageTable
{
public:
    virtual AAX_Result GetNumParametersWithNameVariations(int32_t& oNumParameterIdentifiers) const = 0; // 12
    virtual AAX_Result GetNameVariationParameterIDAtIndex(int32_t iIndex,
                                                          AAX_IString& oParameterIdentifier) const = 0; // 13
    virtual AAX_Result GetNumNameVariationsForParameter(AAX_CParamID iParameterIdentifier,
                                                        int32_t& oNumVariations) const = 0; // 14
    virtual AAX_Result GetParameterNameVariationAtIndex(AAX_CParamID iParameterIdentifier, int32_t iIndex,
                                                        AAX_IString& oNameVariation,
                                                        int32_t& oLength) const = 0; // 15
    virtual AAX_Result GetParameterNameVariationOfLength(AAX_CParamID iParameterIdentifier, int32_t iLength,
                                                         AAX_IString& oNameVariation) const = 0; // 16
    virtual AAX_Result ClearParameterNameVariations() = 0;                                       // 17
    virtual AAX_Result ClearNameVariationsForParameter(AAX_CParamID iParameterIdentifier) = 0;   // 18
    virtual AAX_Result SetParameterNameVariation(AAX_CParamID iParameterIdentifier,
                                                 const AAX_IString& iNameVariation,
                                                 int32_t iLength) = 0; // 19

protected:
    ~AAX_IACFPageTable_V2() = default;
};
