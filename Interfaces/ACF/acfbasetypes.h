// Basic types of the component model shared by host and plug-in: the 16-byte
// identifier, the 32-bit result values and the export decoration.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

/// Result of a component-model operation; a value with the top bit set is a failure.
typedef int32_t ACFRESULT;

/// 16-byte identifier of an interface, a component or a feature (GUID layout).
struct _acfUID
{
    uint32_t Data1;   ///< bytes 0-3, platform byte order
    uint16_t Data2;   ///< bytes 4-5, platform byte order
    uint16_t Data3;   ///< bytes 6-7, platform byte order
    uint8_t Data4[8]; ///< bytes 8-15, in order
};

typedef _acfUID acfUID;
typedef _acfUID acfIID;
typedef _acfUID acfCLSID;

static_assert(sizeof(_acfUID) == 16, "identifiers are 16 bytes");
static_assert(offsetof(_acfUID, Data2) == 4 && offsetof(_acfUID, Data3) == 6 && offsetof(_acfUID, Data4) == 8,
              "identifier fields are packed in GUID layout");

/// Identifiers are equal when all 16 bytes are equal; they have no ordering.
inline bool operator==(const _acfUID& a, const _acfUID& b) noexcept
{
    return std::memcmp(&a, &b, sizeof(_acfUID)) == 0;
}

inline bool operator!=(const _acfUID& a, const _acfUID& b) noexcept
{
    return !(a == b);
}

/// Result values of the component model.
constexpr ACFRESULT ACF_OK = 0;
/// An owning interface pointer was to be built from a null unknown.
constexpr ACFRESULT ACF_E_NULLUNKNOWN = static_cast<ACFRESULT>(0x80000003u);
/// The object does not offer the requested interface.
constexpr ACFRESULT ACF_E_NOINTERFACE = static_cast<ACFRESULT>(0x80000004u);
/// An empty owning interface pointer was dereferenced.
constexpr ACFRESULT ACF_E_NULLPOINTER = static_cast<ACFRESULT>(0x80000005u);
/// An exception escaped an exported entry point.
constexpr ACFRESULT ACF_E_UNEXPECTED = static_cast<ACFRESULT>(0x8000FFFFu);

inline constexpr bool ACFSUCCEEDED(ACFRESULT r) noexcept
{
    return r >= 0;
}

inline constexpr bool ACFFAILED(ACFRESULT r) noexcept
{
    return r < 0;
}

/// Exported functions of the bundle keep their plain names and default visibility.
#if defined(_WIN32)
#define ACF_EXPORT __declspec(dllexport)
#else
#define ACF_EXPORT __attribute__((visibility("default")))
#endif
