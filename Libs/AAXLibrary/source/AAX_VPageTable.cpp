#include "AAX_VPageTable.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

// Every operation answers "unimplemented", writing nothing, when the host's
// page table lacks the version that carries it.

AAX_VPageTable::AAX_VPageTable(IACFUnknown* pUnknown)
{
    if (pUnknown == nullptr)
        return;
    // A version the host lacks leaves its member empty; the results are not needed.
    pUnknown->QueryInterface(IID_IAAXPageTableV1, mIPageTable.outputVoid());
    pUnknown->QueryInterface(IID_IAAXPageTableV2, mIPageTableV2.outputVoid());
}

// The members release in reverse order: version 2, then version 1.
AAX_VPageTable::~AAX_VPageTable() = default;

AAX_Result AAX_VPageTable::Clear()
{
    if (AAX_IACFPageTable* host = mIPageTable.get())
        return host->Clear();
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Empty(AAX_CBoolean& oEmpty) const
{
    if (const AAX_IACFPageTable* host = mIPageTable.get())
        return host->Empty(oEmpty);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::GetNumPages(int32_t& oNumPages) const
{
    if (const AAX_IACFPageTable* host = mIPageTable.get())
        return host->GetNumPages(oNumPages);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::InsertPage(int32_t iPage)
{
    if (AAX_IACFPageTable* host = mIPageTable.get())
        return host->InsertPage(iPage);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::RemovePage(int32_t iPage)
{
    if (AAX_IACFPageTable* host = mIPageTable.get())
        return host->RemovePage(iPage);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::GetNumMappedParameterIDs(int32_t iPage, int32_t& oNumParameterIdentifiers) const
{
    if (const AAX_IACFPageTable* host = mIPageTable.get())
        return host->GetNumMappedParameterIDs(iPage, oNumParameterIdentifiers);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::ClearMappedParameter(int32_t iPage, int32_t iIndex)
{
    if (AAX_IACFPageTable* host = mIPageTable.get())
        return host->ClearMappedParameter(iPage, iIndex);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::GetMappedParameterID(int32_t iPage, int32_t iIndex,
                                                AAX_IString& oParameterIdentifier) const
{
    if (const AAX_IACFPageTable* host = mIPageTable.get())
        return host->GetMappedParameterID(iPage, iIndex, oParameterIdentifier);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::MapParameterID(AAX_CParamID iParameterIdentifier, int32_t iPage, int32_t iIndex)
{
    if (AAX_IACFPageTable* host = mIPageTable.get())
        return host->MapParameterID(iParameterIdentifier, iPage, iIndex);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::GetNumParametersWithNameVariations(int32_t& oNumParameterIdentifiers) const
{
    if (const AAX_IACFPageTable_V2* host = mIPageTableV2.get())
        return host->GetNumParametersWithNameVariations(oNumParameterIdentifiers);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::GetNameVariationParameterIDAtIndex(int32_t iIndex,
                                                              AAX_IString& oParameterIdentifier) const
{
    if (const AAX_IACFPageTable_V2* host = mIPageTableV2.get())
        return host->GetNameVariationParameterIDAtIndex(iIndex, oParameterIdentifier);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::GetNumNameVariationsForParameter(AAX_CParamID iParameterIdentifier,
                                                            int32_t& oNumVariations) const
{
    if (const AAX_IACFPageTable_V2* host = mIPageTableV2.get())
        return host->GetNumNameVariationsForParameter(iParameterIdentifier, oNumVariations);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::GetParameterNameVariationAtIndex(AAX_CParamID iParameterIdentifier, int32_t iIndex,
                                                            AAX_IString& oNameVariation,
                                                            int32_t& oLength) const
{
    if (const AAX_IACFPageTable_V2* host = mIPageTableV2.get())
        return host->GetParameterNameVariationAtIndex(iParameterIdentifier, iIndex, oNameVariation, oLength);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::GetParameterNameVariationOfLength(AAX_CParamID iParameterIdentifier,
                                                             int32_t iLength,
                                                             AAX_IString& oNameVariation) const
{
    if (const AAX_IACFPageTable_V2* host = mIPageTableV2.get())
        return host->GetParameterNameVariationOfLength(iParameterIdentifier, iLength, oNameVariation);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::ClearParameterNameVariations()
{
    if (AAX_IACFPageTable_V2* host = mIPageTableV2.get())
        return host->ClearParameterNameVariations();
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::ClearNameVariationsForParameter(AAX_CParamID iParameterIdentifier)
{
    if (AAX_IACFPageTable_V2* host = mIPageTableV2.get())
        return host->ClearNameVariationsForParameter(iParameterIdentifier);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::SetParameterNameVariation(AAX_CParamID iParameterIdentifier,
                                                     const AAX_IString& iNameVariation, int32_t iLength)
{
    if (AAX_IACFPageTable_V2* host = mIPageTableV2.get())
        return host->SetParameterNameVariation(iParameterIdentifier, iNameVariation, iLength);
    return AAX_ERROR_UNIMPLEMENTED;
}
