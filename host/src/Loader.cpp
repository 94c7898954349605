#include "aaxhost/Loader.h"

#include "tambrix/text/Words.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>
#include <vector>

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

// The system loader maps a binary's loadable segments straight from the file
// and dies of SIGBUS on the first page it touches past the end, so a cut
// binary is refused before dlopen sees it. Gives the reason, or nothing when
// the file is whole or not ELF64 at all (dlopen then says why for itself).
std::string truncationOf(const std::string& binary)
{
    struct File
    {
        int fd;
        ~File()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } file{::open(binary.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat status = {};
    Elf64_Ehdr header = {};
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0)
        return {};
    const ssize_t got = ::pread(file.fd, &header, sizeof header, 0);
    if (got <= EI_DATA || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB)
        return {};

    const uint64_t size = static_cast<uint64_t>(status.st_size);
    const auto truncated = [size](const char* what, uint64_t end)
    {
        return "the file is truncated: its " + std::string(what) + " byte " + std::to_string(end) +
               ", but it has " + std::to_string(size) + " bytes";
    };
    const auto reach = [](uint64_t offset, uint64_t length) // saturates where hostile headers would wrap
    {
        return offset > std::numeric_limits<uint64_t>::max() - length ? std::numeric_limits<uint64_t>::max()
                                                                      : offset + length;
    };
    if (static_cast<std::size_t>(got) < sizeof header)
        return truncated("ELF header reaches", sizeof header);
    if (header.e_phentsize != sizeof(Elf64_Phdr)) // dlopen refuses these itself
        return {};
    const uint64_t tableBytes = uint64_t{header.e_phnum} * sizeof(Elf64_Phdr);
    const uint64_t tableEnd = reach(header.e_phoff, tableBytes);
    if (tableEnd > size)
        return truncated("program headers reach", tableEnd);
    std::vector<Elf64_Phdr> segments(header.e_phnum);
    if (::pread(file.fd, segments.data(), tableBytes, static_cast<off_t>(header.e_phoff)) !=
        static_cast<ssize_t>(tableBytes))
        return {};
    uint64_t end = 0;
    for (const Elf64_Phdr& segment : segments)
        if (segment.p_type == PT_LOAD)
            end = std::max(end, reach(segment.p_offset, segment.p_filesz));
    return end > size ? truncated("loadable segments reach", end) : std::string();
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
    if (const std::string truncation = truncationOf(loadPath); !truncation.empty())
    {
        setError(error, "cannot load " + printablePath(binary) + ": " + truncation);
        return nullptr;
    }
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
