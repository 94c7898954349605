// Fixed identifiers of interfaces, components and features shared with the host.
#pragma once

#include "acfbasetypes.h"

/// Number of fixed identifiers.
constexpr int kAAX_NumFixedUIDs = 42;

/// All fixed identifiers, one after the other in the library's constant data, in the
/// order of the names below.
extern const acfUID kAAX_FixedUIDs[kAAX_NumFixedUIDs];

// Each name refers to its element of the array: no storage of its own, usable wherever
// an identifier object is (comparisons, its address, constant initialisers).
inline constexpr const acfUID& IID_IACFUnknown = kAAX_FixedUIDs[0];
inline constexpr const acfUID& IID_IACFDefinition = kAAX_FixedUIDs[1];
inline constexpr const acfUID& IID_IACFPluginDefinition = kAAX_FixedUIDs[2];
inline constexpr const acfUID& IID_IACFComponentFactory = kAAX_FixedUIDs[3];
inline constexpr const acfUID& AAXCompID_HostServices = kAAX_FixedUIDs[4];
inline constexpr const acfUID& IID_IAAXHostServicesV1 = kAAX_FixedUIDs[5];
inline constexpr const acfUID& IID_IAAXHostServicesV2 = kAAX_FixedUIDs[6];
inline constexpr const acfUID& IID_IAAXHostServicesV3 = kAAX_FixedUIDs[7];
inline constexpr const acfUID& AAXCompID_AAXCollection = kAAX_FixedUIDs[8];
inline constexpr const acfUID& IID_IAAXCollectionV1 = kAAX_FixedUIDs[9];
inline constexpr const acfUID& AAXCompID_AAXEffectDescriptor = kAAX_FixedUIDs[10];
inline constexpr const acfUID& IID_IAAXEffectDescriptorV1 = kAAX_FixedUIDs[11];
inline constexpr const acfUID& IID_IAAXEffectDescriptorV2 = kAAX_FixedUIDs[12];
inline constexpr const acfUID& AAXCompID_AAXComponentDescriptor = kAAX_FixedUIDs[13];
inline constexpr const acfUID& IID_IAAXComponentDescriptorV1 = kAAX_FixedUIDs[14];
inline constexpr const acfUID& IID_IAAXComponentDescriptorV2 = kAAX_FixedUIDs[15];
inline constexpr const acfUID& IID_IAAXComponentDescriptorV3 = kAAX_FixedUIDs[16];
inline constexpr const acfUID& AAXCompID_AAXPropertyMap = kAAX_FixedUIDs[17];
inline constexpr const acfUID& IID_IAAXPropertyMapV1 = kAAX_FixedUIDs[18];
inline constexpr const acfUID& IID_IAAXPropertyMapV2 = kAAX_FixedUIDs[19];
inline constexpr const acfUID& IID_IAAXPropertyMapV3 = kAAX_FixedUIDs[20];
inline constexpr const acfUID& IID_IAAXAutomationDelegateV1 = kAAX_FixedUIDs[21];
inline constexpr const acfUID& IID_IAAXControllerV1 = kAAX_FixedUIDs[22];
inline constexpr const acfUID& IID_IAAXControllerV2 = kAAX_FixedUIDs[23];
inline constexpr const acfUID& IID_IAAXControllerV3 = kAAX_FixedUIDs[24];
inline constexpr const acfUID& IID_IAAXPageTableController = kAAX_FixedUIDs[25];
inline constexpr const acfUID& IID_IAAXPageTableControllerV2 = kAAX_FixedUIDs[26];
inline constexpr const acfUID& IID_IAAXViewContainerV1 = kAAX_FixedUIDs[27];
inline constexpr const acfUID& IID_IAAXViewContainerV2 = kAAX_FixedUIDs[28];
inline constexpr const acfUID& IID_IAAXTransportV1 = kAAX_FixedUIDs[29];
inline constexpr const acfUID& IID_IAAXTransportV2 = kAAX_FixedUIDs[30];
inline constexpr const acfUID& AAXCompID_PageTable = kAAX_FixedUIDs[31];
inline constexpr const acfUID& IID_IAAXPageTableV1 = kAAX_FixedUIDs[32];
inline constexpr const acfUID& IID_IAAXPageTableV2 = kAAX_FixedUIDs[33];
inline constexpr const acfUID& IID_IAAXDescriptionHostV1 = kAAX_FixedUIDs[34];
inline constexpr const acfUID& IID_IAAXFeatureInfoV1 = kAAX_FixedUIDs[35];
inline constexpr const acfUID& IID_IAAXEffectParametersV1 = kAAX_FixedUIDs[36];
inline constexpr const acfUID& IID_IAAXEffectParametersV2 = kAAX_FixedUIDs[37];
inline constexpr const acfUID& IID_IAAXEffectParametersV3 = kAAX_FixedUIDs[38];
inline constexpr const acfUID& IID_IAAXEffectParametersV4 = kAAX_FixedUIDs[39];
inline constexpr const acfUID& IID_IAAXEffectGUIV1 = kAAX_FixedUIDs[40];
inline constexpr const acfUID& AAXATTR_ClientFeature_StemFormat = kAAX_FixedUIDs[41];
