#pragma once

#include "aaxhost/Interfaces.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace aaxhost
{

// The seven functions a plug-in binary exports, with their exact signatures.
using ACFRegisterPluginProc = Result (*)(IACFUnknown* host, IACFPluginDefinition** definition);
using ACFRegisterComponentProc = Result (*)(IACFUnknown* host, uint32_t index,
                                            IACFComponentDefinition** definition);
using ACFGetClassFactoryProc = Result (*)(IACFUnknown* host, const Uid& componentId, const Uid& interfaceId,
                                          void** factory);
using ACFCanUnloadNowProc = Result (*)(IACFUnknown* host);
using ACFStartupProc = Result (*)(IACFUnknown* host);
using ACFShutdownProc = Result (*)(IACFUnknown* host);
using ACFGetSDKVersionProc = Result (*)(uint64_t* version);

struct EntryPoints
{
    ACFRegisterPluginProc registerPlugin = nullptr;
    ACFRegisterComponentProc registerComponent = nullptr;
    ACFGetClassFactoryProc getClassFactory = nullptr;
    ACFCanUnloadNowProc canUnloadNow = nullptr;
    ACFStartupProc startup = nullptr;
    ACFShutdownProc shutdown = nullptr;
    ACFGetSDKVersionProc getSDKVersion = nullptr;
};

// The exported names, in the order of EntryPoints' fields.
inline constexpr std::array<const char*, 7> kEntryPointNames{
    "ACFRegisterPlugin", "ACFRegisterComponent", "ACFGetClassFactory", "ACFCanUnloadNow",
    "ACFStartup",        "ACFShutdown",          "ACFGetSDKVersion"};

// A loaded plug-in binary. Opens either a shared object or a bundle folder
// `X.aaxplugin`, whose binary is `X.aaxplugin/Contents/x86_64-linux/X.so`,
// and resolves all seven entry points; the binary is unloaded when the
// module is destroyed (unless told to stay).
class PluginModule
{
public:
    struct Options
    {
        // Keep the binary mapped after destruction (for binaries that leave
        // threads or exit handlers behind).
        bool keepLoaded = false;
    };

    // Null on failure, with the reason in *error: a missing file or bundle
    // binary, a path that is no regular file (named for what it is), a file
    // that is not an x86-64 ELF shared object or is cut short of anything its
    // headers say it holds (refused before the system loader maps it), the
    // loader's message, or the names of every missing entry point.
    static std::unique_ptr<PluginModule> open(const std::string& path, std::string* error = nullptr);
    static std::unique_ptr<PluginModule> open(const std::string& path, std::string* error, Options options);

    // The binary a path stands for: the bundle's binary for an `.aaxplugin`
    // folder, the path itself otherwise. Empty (with *error) for a folder that
    // is not a bundle.
    static std::string binaryPathFor(const std::string& path, std::string* error = nullptr);

    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    const EntryPoints& entryPoints() const noexcept { return entryPoints_; }
    const std::string& binaryPath() const noexcept { return binaryPath_; }

private:
    PluginModule(void* handle, std::string binaryPath, EntryPoints entryPoints, Options options);

    void* handle_;
    std::string binaryPath_;
    EntryPoints entryPoints_;
    Options options_;
};

} // namespace aaxhost
