// Enumerations that cross the host interface. Each has a fixed 32-bit underlying type.
#pragma once

#include "AAX.h"

/// Channel layouts: the format's index in the high 16 bits, its channel count in the low 16.
enum AAX_EStemFormat : int32_t
{
    AAX_eStemFormat_Mono = AAX_STEM_FORMAT(0, 1),
    AAX_eStemFormat_Stereo = AAX_STEM_FORMAT(1, 2),
    AAX_eStemFormat_LCR = AAX_STEM_FORMAT(2, 3),
    AAX_eStemFormat_LCRS = AAX_STEM_FORMAT(3, 4),
    AAX_eStemFormat_Quad = AAX_STEM_FORMAT(4, 4),
    AAX_eStemFormat_5_0 = AAX_STEM_FORMAT(5, 5),
    AAX_eStemFormat_5_1 = AAX_STEM_FORMAT(6, 6),
    AAX_eStemFormat_6_0 = AAX_STEM_FORMAT(7, 6),
    AAX_eStemFormat_6_1 = AAX_STEM_FORMAT(8, 7),
    AAX_eStemFormat_7_0_SDDS = AAX_STEM_FORMAT(9, 7),
    AAX_eStemFormat_7_1_SDDS = AAX_STEM_FORMAT(10, 8),
    AAX_eStemFormat_7_0_DTS = AAX_STEM_FORMAT(11, 7),
    AAX_eStemFormat_7_1_DTS = AAX_STEM_FORMAT(12, 8),
    AAX_eStemFormat_7_1_2 = AAX_STEM_FORMAT(13, 10),
    AAX_eStemFormat_Reserved_1 = AAX_STEM_FORMAT(14, 0),
    AAX_eStemFormat_Reserved_2 = AAX_STEM_FORMAT(15, 0),
    AAX_eStemFormat_Reserved_3 = AAX_STEM_FORMAT(16, 0),
    AAX_eStemFormat_Ambi_1_ACN = AAX_STEM_FORMAT(17, 4),
    AAX_eStemFormat_Ambi_2_ACN = AAX_STEM_FORMAT(18, 9),
    AAX_eStemFormat_Ambi_3_ACN = AAX_STEM_FORMAT(19, 16),
    AAX_eStemFormat_7_0_2 = AAX_STEM_FORMAT(20, 9),

    AAX_eStemFormatNum = 21, ///< number of formats with an index

    AAX_eStemFormat_None = AAX_STEM_FORMAT(-100, 0), ///< 0xFF9C0000: no bus
    AAX_eStemFormat_Any = AAX_STEM_FORMAT(-1, 0),    ///< 0xFFFF0000
    AAX_eStemFormat_INT32_MAX = 0x7FFFFFFF
};

static_assert(AAX_eStemFormat_Stereo == 0x00010002, "stem format value");
static_assert(AAX_eStemFormat_7_1_DTS == 0x000C0008, "stem format value");
static_assert(static_cast<uint32_t>(AAX_eStemFormat_None) == 0xFF9C0000u, "stem format value");
static_assert(static_cast<uint32_t>(AAX_eStemFormat_Any) == 0xFFFF0000u, "stem format value");
static_assert(AAX_STEM_FORMAT_INDEX(AAX_eStemFormat_None) == -100, "index keeps its sign");

/// Where a parameter update comes from.
enum AAX_EUpdateSource : int32_t
{
    AAX_eUpdateSource_Unspecified = 0,
    AAX_eUpdateSource_Parameter = 1,
    AAX_eUpdateSource_Chunk = 2,
    AAX_eUpdateSource_Delay = 3
};

/// How the host treats a parameter's values.
enum AAX_EParameterType : int32_t
{
    AAX_eParameterType_Discrete = 0,
    AAX_eParameterType_Continuous = 1
};

/// Display orientation flags of a parameter (combined with bitwise or).
enum AAX_EParameterOrientationBits : int32_t
{
    AAX_eParameterOrientation_Default = 0,
    AAX_eParameterOrientation_BottomMinTopMax = 0,
    AAX_eParameterOrientation_LeftMinRightMax = 0,
    AAX_eParameterOrientation_RotarySingleDotMode = 0,
    AAX_eParameterOrientation_RotaryLeftMinRightMax = 0,
    AAX_eParameterOrientation_RightMinLeftMax = 1,
    AAX_eParameterOrientation_TopMinBottomMax = 2,
    AAX_eParameterOrientation_RotaryBoostCutMode = 4,
    AAX_eParameterOrientation_RotaryWrapMode = 8,
    AAX_eParameterOrientation_RotaryRightMinLeftMax = 16
};

typedef AAX_CParameterOrientation AAX_EParameterOrientation;

/// Kinds of MIDI node of a component.
enum AAX_EMIDINodeType : int32_t
{
    AAX_eMIDINodeType_LocalInput = 0,
    AAX_eMIDINodeType_LocalOutput = 1,
    AAX_eMIDINodeType_Global = 2,
    AAX_eMIDINodeType_Transport = 3
};

/// How far the host supports a feature.
enum AAX_ESupportLevel : int32_t
{
    AAX_eSupportLevel_Uninitialized = 0,
    AAX_eSupportLevel_Unsupported = 1,
    AAX_eSupportLevel_Supported = 2,
    AAX_eSupportLevel_Disabled = 3,
    AAX_eSupportLevel_ByProperty = 4
};

/// Kinds of native view that a view container holds.
enum AAX_EViewContainer_Type : int32_t
{
    AAX_eViewContainer_Type_NULL = 0,
    AAX_eViewContainer_Type_NSView = 1,
    AAX_eViewContainer_Type_HWND = 2,
    AAX_eViewContainer_Type_UIView = 3
};

/// Modifier key bits of the current event.
enum AAX_EModifiers : int32_t
{
    AAX_eModifiers_None = 0,
    AAX_eModifiers_Shift = 1 << 0,
    AAX_eModifiers_Control = 1 << 1,
    AAX_eModifiers_Option = 1 << 2,
    AAX_eModifiers_Alt = AAX_eModifiers_Option,
    AAX_eModifiers_Command = 1 << 3,
    AAX_eModifiers_SecondaryButton = 1 << 4
};

/// Highlight colours of a parameter's control.
enum AAX_EHighlightColor : int32_t
{
    AAX_eHighlightColor_Red = 0,
    AAX_eHighlightColor_Blue = 1,
    AAX_eHighlightColor_Green = 2,
    AAX_eHighlightColor_Yellow = 3,
    AAX_eHighlightColor_Num = 4
};

/// Notifications sent to effect and GUI objects (the `type` of NotificationReceived).
enum AAX_ENotificationEvent : uint32_t
{
    AAX_eNotificationEvent_InsertPositionChanged = 0x41534970u,      // 'ASIp'
    AAX_eNotificationEvent_TrackNameChanged = 0x41535474u,           // 'ASTt'
    AAX_eNotificationEvent_TrackUIDChanged = 0x41535475u,            // 'ASTu'
    AAX_eNotificationEvent_TrackPositionChanged = 0x41535470u,       // 'ASTp'
    AAX_eNotificationEvent_AlgorithmMoved = 0x4153416Du,             // 'ASAm'
    AAX_eNotificationEvent_GUIOpened = 0x4153476Fu,                  // 'ASGo'
    AAX_eNotificationEvent_GUIClosed = 0x41534763u,                  // 'ASGc'
    AAX_eNotificationEvent_ASProcessingState = 0x41535073u,          // 'ASPs'
    AAX_eNotificationEvent_ASPreviewState = 0x41535076u,             // 'ASPv'
    AAX_eNotificationEvent_EnteringOfflineMode = 0x41534F65u,        // 'ASOe'
    AAX_eNotificationEvent_ExitingOfflineMode = 0x41534F78u,         // 'ASOx'
    AAX_eNotificationEvent_SideChainBeingConnected = 0x41535363u,    // 'ASSc'
    AAX_eNotificationEvent_SideChainBeingDisconnected = 0x41535364u, // 'ASSd'
    AAX_eNotificationEvent_TransportStateChanged = 0x41535453u,      // 'ASTS'
    AAX_eNotificationEvent_MaxViewSizeChanged = 0x4153566Du          // 'ASVm'
};

/// States of an offline (AudioSuite) processing pass.
enum AAX_EProcessingState : int32_t
{
    AAX_eProcessingState_None = 0,
    AAX_eProcessingState_StartPass = 1,
    AAX_eProcessingState_EndPass = 2,
    AAX_eProcessingState_BeginPassGroup = 3,
    AAX_eProcessingState_EndPassGroup = 4
};

/// Kinds of meter.
enum AAX_EMeterType : int32_t
{
    AAX_eMeterType_Input = 0,
    AAX_eMeterType_Output = 1,
    AAX_eMeterType_CLGain = 2,
    AAX_eMeterType_EGGain = 3,
    AAX_eMeterType_Analysis = 4,
    AAX_eMeterType_Other = 5,
    AAX_eMeterType_None = 31
};

/// Orientation of a meter.
enum AAX_EMeterOrientation : int32_t
{
    AAX_eMeterOrientation_Default = 0,
    AAX_eMeterOrientation_BottomLeft = 0,
    AAX_eMeterOrientation_TopRight = 1,
    AAX_eMeterOrientation_Center = 2,
    AAX_eMeterOrientation_PhaseDot = 3
};

/// Kinds of curve data the host may ask for (four-character codes).
enum AAX_ECurveType : uint32_t
{
    AAX_eCurveType_None = 0,
    AAX_eCurveType_EQ = 0x45517543u,       // 'EQuC'
    AAX_eCurveType_Dynamics = 0x44796E43u, // 'DynC'
    AAX_eCurveType_Reduction = 0x52656443u // 'RedC'
};

/// Resource kinds given to AAX_IEffectDescriptor::AddResourceInfo.
enum AAX_EResourceType : int32_t
{
    AAX_eResourceType_None = 0,
    AAX_eResourceType_PageTable = 1,
    AAX_eResourceType_PageTableDir = 2
};

/// Kinds of data-in port.
enum AAX_EDataInPortType : int32_t
{
    AAX_eDataInPortType_Unbuffered = 0,
    AAX_eDataInPortType_Buffered = 1,
    AAX_eDataInPortType_Incremental = 2
};

/// What an instance-initialisation procedure is asked to do.
enum AAX_EComponentInstanceInitAction : int32_t
{
    AAX_eComponentInstanceInitAction_AddingNewInstance = 0,
    AAX_eComponentInstanceInitAction_RemovingInstance = 1,
    AAX_eComponentInstanceInitAction_ResetInstance = 2
};

/// Block lengths as powers of two: the largest block is 1 << AAX_eAudioBufferLength_Max = 1024.
enum AAX_EAudioBufferLength : int32_t
{
    AAX_eAudioBufferLength_Undefined = -1,
    AAX_eAudioBufferLength_1 = 0,
    AAX_eAudioBufferLength_2 = 1,
    AAX_eAudioBufferLength_4 = 2,
    AAX_eAudioBufferLength_8 = 3,
    AAX_eAudioBufferLength_16 = 4,
    AAX_eAudioBufferLength_32 = 5,
    AAX_eAudioBufferLength_64 = 6,
    AAX_eAudioBufferLength_128 = 7,
    AAX_eAudioBufferLength_256 = 8,
    AAX_eAudioBufferLength_512 = 9,
    AAX_eAudioBufferLength_1024 = 10,
    AAX_eAudioBufferLength_Max = AAX_eAudioBufferLength_1024
};

/// Time-code frame rates.
enum AAX_EFrameRate : int32_t
{
    AAX_eFrameRate_Undeclared = 0,
    AAX_eFrameRate_24Frame = 1,
    AAX_eFrameRate_25Frame = 2,
    AAX_eFrameRate_2997NonDrop = 3,
    AAX_eFrameRate_2997DropFrame = 4,
    AAX_eFrameRate_30NonDrop = 5,
    AAX_eFrameRate_30DropFrame = 6,
    AAX_eFrameRate_23976 = 7,
    AAX_eFrameRate_47952 = 8,
    AAX_eFrameRate_48Frame = 9,
    AAX_eFrameRate_50Frame = 10,
    AAX_eFrameRate_5994NonDrop = 11,
    AAX_eFrameRate_5994DropFrame = 12,
    AAX_eFrameRate_60NonDrop = 13,
    AAX_eFrameRate_60DropFrame = 14,
    AAX_eFrameRate_100Frame = 15,
    AAX_eFrameRate_11988NonDrop = 16,
    AAX_eFrameRate_11988DropFrame = 17,
    AAX_eFrameRate_120NonDrop = 18,
    AAX_eFrameRate_120DropFrame = 19
};

/// Feet-and-frames rates.
enum AAX_EFeetFramesRate : int32_t
{
    AAX_eFeetFramesRate_23976 = 0,
    AAX_eFeetFramesRate_24 = 1,
    AAX_eFeetFramesRate_25 = 2
};

/// Text encodings of file paths.
enum AAX_ETextEncoding : int32_t
{
    AAX_eTextEncoding_Undefined = -1,
    AAX_eTextEncoding_UTF8 = 0
};

/// Strings a GUI may be asked to label.
enum AAX_EPlugInStrings : int32_t
{
    AAX_ePlugInStrings_Analysis = 0,
    AAX_ePlugInStrings_MonoMode = 1,
    AAX_ePlugInStrings_File = 2,
    AAX_ePlugInStrings_ClipIndicator = 3,
    AAX_ePlugInStrings_ClipName = 4,
    AAX_ePlugInStrings_ObjectName = 5
};

/// Trace priorities understood by the host's services.
enum AAX_ETracePriorityHost : int32_t
{
    AAX_eTracePriorityHost_None = 0,
    AAX_eTracePriorityHost_Critical = 0x10000000,
    AAX_eTracePriorityHost_High = 0x08000000,   ///< library failures
    AAX_eTracePriorityHost_Normal = 0x04000000, ///< a checked result about to throw
    AAX_eTracePriorityHost_Low = 0x02000000,
    AAX_eTracePriorityHost_Lowest = 0x01000000
};

/// Flag value of an assertion report.
constexpr int32_t kAAX_AssertFlags_Default = 1;
