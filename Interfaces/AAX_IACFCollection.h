// The host's collection: the plug-in definition being described.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

/// IID_IAAXCollectionV1.
class AAX_IACFCollection : public IACFUnknown
{
public:
    /// Positions 3 to 6: operations of the host that the library never calls.
    virtual AAX_Result UnusedPosition3() = 0;
    virtual AAX_Result UnusedPosition4() = 0;
    virtual AAX_Result UnusedPosition5() = 0;
    virtual AAX_Result UnusedPosition6() = 0;
    /// Position 7.
    virtual AAX_Result AddEffect(const char* inEffectID, IACFUnknown* inEffectDescriptor) = 0;
    /// Position 8.
    virtual AAX_Result SetManufacturerName(const char* inPackageName) = 0;
    /// Position 9.
    virtual AAX_Result AddPackageName(const char* inPackageName) = 0;
    /// Position 10.
    virtual AAX_Result SetPackageVersion(uint32_t inVersion) = 0;
    /// Position 11.
    virtual AAX_Result SetProperties(IACFUnknown* inProperties) = 0;

protected:
    ~AAX_IACFCollection() = default;
};
