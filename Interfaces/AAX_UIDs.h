// Fixed identifiers of interfaces, components and features shared with the host.
#pragma once

#include "acfbasetypes.h"

extern const acfUID IID_IACFUnknown;
extern const acfUID IID_IACFDefinition;
extern const acfUID IID_IACFPluginDefinition;
extern const acfUID IID_IACFComponentFactory;
extern const acfUID AAXCompID_HostServices;
extern const acfUID IID_IAAXHostServicesV1;
extern const acfUID IID_IAAXHostServicesV2;
extern const acfUID IID_IAAXHostServicesV3;
extern const acfUID AAXCompID_AAXCollection;
extern const acfUID IID_IAAXCollectionV1;
extern const acfUID AAXCompID_AAXEffectDescriptor;
extern const acfUID IID_IAAXEffectDescriptorV1;
extern const acfUID IID_IAAXEffectDescriptorV2;
extern const acfUID AAXCompID_AAXComponentDescriptor;
extern const acfUID IID_IAAXComponentDescriptorV1;
extern const acfUID IID_IAAXComponentDescriptorV2;
extern const acfUID IID_IAAXComponentDescriptorV3;
extern const acfUID AAXCompID_AAXPropertyMap;
extern const acfUID IID_IAAXPropertyMapV1;
extern const acfUID IID_IAAXPropertyMapV2;
extern const acfUID IID_IAAXPropertyMapV3;
extern const acfUID IID_IAAXAutomationDelegateV1;
extern const acfUID IID_IAAXControllerV1;
extern const acfUID IID_IAAXControllerV2;
extern const acfUID IID_IAAXControllerV3;
extern const acfUID IID_IAAXPageTableController;
extern const acfUID IID_IAAXPageTableControllerV2;
extern const acfUID IID_IAAXViewContainerV1;
extern const acfUID IID_IAAXViewContainerV2;
extern const acfUID IID_IAAXTransportV1;
extern const acfUID IID_IAAXTransportV2;
extern const acfUID AAXCompID_PageTable;
extern const acfUID IID_IAAXPageTableV1;
extern const acfUID IID_IAAXPageTableV2;
extern const acfUID IID_IAAXDescriptionHostV1;
extern const acfUID IID_IAAXFeatureInfoV1;
extern const acfUID IID_IAAXEffectParametersV1;
extern const acfUID IID_IAAXEffectParametersV2;
extern const acfUID IID_IAAXEffectParametersV3;
extern const acfUID IID_IAAXEffectParametersV4;
extern const acfUID IID_IAAXEffectGUIV1;
extern const acfUID AAXATTR_ClientFeature_StemFormat;

/// Number of identifiers above; they lie one after the other in the library's constant data.
constexpr int kAAX_NumFixedUIDs = 42;
