// The host's page-table controller, versions 1 and 2: copies of the host's page tables.
#pragma once

#include "AAX.h"
#include "AAX_Enums.h"
#include "acfunknown.h"

/// Version 1 (IID_IAAXPageTableController). The last argument of each operation is the
/// page table the host copies into (possibly null).
class AAX_IACFPageTableController : public IACFUnknown
{
public:
    virtual AAX_Result CopyTableForEffect(AAX_CPropertyValue inManufacturerID, AAX_CPropertyValue inProductID,
                                          AAX_CPropertyValue inPlugInID, uint32_t inTableType,
                                          int32_t inTablePageSize, IACFUnknown* oPageTable) const = 0; // 3
    virtual AAX_Result CopyTableOfLayoutForEffect(const char* inEffectID, const char* inLayoutName,
                                                  uint32_t inTableType, int32_t inTablePageSize,
                                                  IACFUnknown* oPageTable) const = 0; // 4

protected:
    ~AAX_IACFPageTableController() = default;
};

/// Version 2 (IID_IAAXPageTableControllerV2).
class AAX_IACFPageTableController_V2 : public AAX_IACFPageTableController
{
public:
    virtual AAX_Result
    CopyTableForEffectFromFile(const char* inPageTableFilePath, AAX_ETextEncoding inFilePathEncoding,
                               AAX_CPropertyValue inManufacturerID, AAX_CPropertyValue inProductID,
                               AAX_CPropertyValue inPlugInID, uint32_t inTableType, int32_t inTablePageSize,
                               IACFUnknown* oPageTable) const = 0; // 5
    virtual AAX_Result CopyTableOfLayoutFromFile(const char* inPageTableFilePath,
                                                 AAX_ETextEncoding inFilePathEncoding,
                                                 const char* inLayoutName, uint32_t inTableType,
                                                 int32_t inTablePageSize,
                                                 IACFUnknown* oPageTable) const = 0; // 6

protected:
    ~AAX_IACFPageTableController_V2() = default;
};
