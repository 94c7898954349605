#include "aaxhost/Loader.h"

#include "tambrix/text/Words.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace aaxhost
{

namespace fs = std::filesystem;
using tambrix::text::printablePath;

namespace
{
void setError(std::string* error, std::string text)
{
    if (error != nullptr)
        *error = std::move(text);
}

// dlsym gives an object pointer; the entry points are functions.
template <class Proc>
Proc toProc(void* symbol)
{
    static_assert(sizeof(Proc) == sizeof(void*), "function pointers must be pointer-sized");
    Proc proc;
    std::memcpy(&proc, &symbol, sizeof proc);
    return proc;
}
} // namespace

std::string PluginModule::binaryPathFor(const std::string& path, std::string* error)
{
    std::error_code ec;
    fs::path given(path);
    if (!fs::is_directory(given, ec))
        return path;
    if (!given.has_filename()) // "X.aaxplugin/"
        given = given.parent_path();
    if (given.extension() != ".aaxplugin")
    {
        setError(error,
                 "not a plug-in bundle (a folder whose name ends in .aaxplugin): " + printablePath(path));
        return {};
    }
    const fs::path binary = given / "Contents" / "x86_64-linux" / (given.stem().string() + ".so");
    return binary.string();
}

std::unique_ptr<PluginModule> PluginModule::open(const std::string& path, std::string* error)
{
    return open(path, error, Options{});
}

std::unique_ptr<PluginModule> PluginModule::open(const std::string& path, std::string* error, Options options)
{
    const std::string binary = binaryPathFor(path, error);
    if (binary.empty())
        return nullptr;
    std::error_code ec;
    if (!fs::is_regular_file(binary, ec))
    {
        setError(error, binary == path
                            ? "no such plug-in binary: " + printablePath(path)
                            : "bundle " + printablePath(path) + " has no binary at " + printablePath(binary));
        return nullptr;
    }

    // A name without a slash would make dlopen search the library path instead of
    // opening the file that was just found in the current folder.
    const std::string loadPath = binary.find('/') == std::string::npos ? "./" + binary : binary;
    dlerror(); // clear any earlier message
    void* handle = dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* message = dlerror();
        // The system's message names the file too.
        setError(error, "cannot load " + printablePath(binary) + ": " +
                            (message != nullptr ? printablePath(message) : "unknown reason"));
        return nullptr;
    }

    void* symbols[kEntryPointNames.size()] = {};
    std::string missing;
    for (std::size_t i = 0; i < kEntryPointNames.size(); ++i)
    {
        symbols[i] = dlsym(handle, kEntryPointNames[i]);
        if (symbols[i] == nullptr)
            missing += std::string(missing.empty() ? "" : ", ") + kEntryPointNames[i];
    }
    if (!missing.empty())
    {
        if (!options.keepLoaded)
            dlclose(handle);
        setError(error, "missing entry point(s) in " + printablePath(binary) + ": " + missing);
        return nullptr;
    }

    EntryPoints entryPoints;
    entryPoints.registerPlugin = toProc<ACFRegisterPluginProc>(symbols[0]);
    entryPoints.registerComponent = toProc<ACFRegisterComponentProc>(symbols[1]);
    entryPoints.getClassFactory = toProc<ACFGetClassFactoryProc>(symbols[2]);
    entryPoints.canUnloadNow = toProc<ACFCanUnloadNowProc>(symbols[3]);
    entryPoints.startup = toProc<ACFStartupProc>(symbols[4]);
    entryPoints.shutdown = toProc<ACFShutdownProc>(symbols[5]);
    entryPoints.getSDKVersion = toProc<ACFGetSDKVersionProc>(symbols[6]);
    return std::unique_ptr<PluginModule>(new PluginModule(handle, binary, entryPoints, options));
}

PluginModule::PluginModule(void* handle, std::string binaryPath, EntryPoints entryPoints, Options options)
    : handle_(handle), binaryPath_(std::move(binaryPath)), entryPoints_(entryPoints), options_(options)
{
}

PluginModule::~PluginModule()
{
    if (handle_ != nullptr && !options_.keepLoaded)
        dlclose(handle_);
}

} // namespace aaxhost
