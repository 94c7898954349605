// Version of the interface library.
#pragma once

#include <cstdint>

/// Interface library version 2.3 (high 32 bits of the reported version).
#define AAX_SDK_VERSION 0x0203
/// Revision of version 2.3.0: the revision this library implements.
#define AAX_SDK_2p3p0_REVISION 13200373
/// The current revision; revisions after 2.3.0 are deliberately left undefined.
#define AAX_SDK_CURRENT_REVISION AAX_SDK_2p3p0_REVISION

/// The 64-bit version that ACFGetSDKVersion reports: 0x0000020300C96BF5.
constexpr uint64_t kAAX_SDKVersionNumber =
    (static_cast<uint64_t>(AAX_SDK_VERSION) << 32) | static_cast<uint64_t>(AAX_SDK_CURRENT_REVISION);

static_assert(kAAX_SDKVersionNumber == 0x0000020300C96BF5ull, "reported library version");
