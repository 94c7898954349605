// Property numbers of description property maps.
#pragma once

#include "AAX.h"

/// Property identifiers. The numbers are shared with the host.
enum AAX_EProperty : int32_t
{
    AAX_eProperty_NoID = 0,
    AAX_eProperty_MinProp = 10, ///< lowest id that a property-map copy visits

    AAX_eProperty_ManufacturerID = 11,
    AAX_eProperty_ProductID = 12,
    AAX_eProperty_PlugInID_Native = 13,
    AAX_eProperty_PlugInID_AudioSuite = 14,
    AAX_eProperty_PlugInID_TI = 15,

    AAX_eProperty_NativeProcessProc = 36,
    AAX_eProperty_NativeInstanceInitProc = 37,
    AAX_eProperty_NativeBackgroundProc = 38,
    AAX_eProperty_TIDLLFileName = 39,
    AAX_eProperty_TIProcessProc = 40,
    AAX_eProperty_TIInstanceInitProc = 41,
    AAX_eProperty_TIBackgroundProc = 42,

    AAX_eProperty_InputStemFormat = 51,
    AAX_eProperty_OutputStemFormat = 52,
    AAX_eProperty_AudioBufferLength = 54,

    AAX_eProperty_CanBypass = 60,

    AAX_eProperty_SupportsSideChainInput = 116,

    AAX_eProperty_Meter_Type = 200,
    AAX_eProperty_Meter_Orientation = 201,

    AAX_eProperty_Constraint_MultiMonoSupport = 304,
    AAX_eProperty_Constraint_AlwaysProcess = 305,
    AAX_eProperty_Constraint_DoNotApplyDefaultSettings = 306,
    AAX_eProperty_SupportsSaveRestore = 310,
    AAX_eProperty_ObservesTransportState = 311,

    AAX_eProperty_MaxProp = 401 ///< highest id that a property-map copy visits
};
