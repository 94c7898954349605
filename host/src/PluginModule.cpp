#include "aaxhost/PluginModule.h"

#include "aaxhost/Failure.h"

#include "tambrix/text/Words.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
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
// dlsym gives an object pointer; the entry points are functions.
template <class Proc>
Proc toProc(void* symbol)
{
    static_assert(sizeof(Proc) == sizeof(void*), "function pointers must be pointer-sized");
    Proc proc;
    std::memcpy(&proc, &symbol, sizeof proc);
    return proc;
}

// What a file that is not a regular file is, in words; empty for a regular file.
std::string kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

// Why a file must not be given to the system loader, or nothing. The loader
// maps a binary's loadable segments straight from the file and dies of SIGBUS
// on the first page it touches past the end, so a binary whose ELF header,
// program headers or loadable segments reach past its end is refused, as is a
// file that is not an x86-64 ELF shared object; the loader reads no section
// header, so neither does this. Opens nothing but a regular file. *missing is
// set when there is no such file.
std::string refusalOf(const std::string& binary, bool* missing)
{
    struct stat status = {};
    if (::stat(binary.c_str(), &status) != 0)
    {
        const int reason = errno;
        *missing = reason == ENOENT || reason == ENOTDIR;
        return std::generic_category().message(reason);
    }
    const auto notABinary = [](const std::string& kind)
    {
        return "it is " + kind + ", not a plug-in binary";
    };
    if (const std::string kind = kindOf(status.st_mode); !kind.empty()) // not opened: a FIFO would block
        return notABinary(kind);
    struct File
    {
        int fd;
        ~File()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } file{::open(binary.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0)
        return std::generic_category().message(errno);
    if (const std::string kind = kindOf(status.st_mode); !kind.empty()) // replaced since
        return notABinary(kind);

    Elf64_Ehdr header = {};
    const ssize_t got = ::pread(file.fd, &header, sizeof header, 0);
    if (got < 0)
        return "cannot read it: " + std::generic_category().message(errno);
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

    if (static_cast<std::size_t>(got) < SELFMAG || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return "not an ELF shared object";
    if (static_cast<std::size_t>(got) < offsetof(Elf64_Ehdr, e_version)) // not even its machine
        return truncated("ELF header reaches", sizeof header);
    const std::string wanted = "; this host loads x86-64 shared objects";
    if (header.e_ident[EI_CLASS] == ELFCLASS32)
        return "a 32-bit binary" + wanted;
    if (header.e_ident[EI_CLASS] != ELFCLASS64)
        return "an ELF file of unknown class " + std::to_string(header.e_ident[EI_CLASS]) + wanted;
    if (header.e_ident[EI_DATA] == ELFDATA2MSB)
        return "a binary for another machine (big-endian, ELF machine " +
               std::to_string(static_cast<uint16_t>(header.e_machine >> 8 | header.e_machine << 8)) +
               "), not x86-64";
    if (header.e_ident[EI_DATA] != ELFDATA2LSB)
        return "an ELF file of unknown byte order " + std::to_string(header.e_ident[EI_DATA]) + wanted;
    if (header.e_machine != EM_X86_64)
        return "a binary for another machine (ELF machine " + std::to_string(header.e_machine) +
               "), not x86-64";
    if (header.e_type != ET_DYN)
        return "not a shared object (ELF type " + std::to_string(header.e_type) + ")";
    if (static_cast<std::size_t>(got) < sizeof header)
        return truncated("ELF header reaches", sizeof header);

    if (header.e_phentsize != sizeof(Elf64_Phdr)) // dlopen refuses these itself
        return {};
    const uint64_t tableBytes = uint64_t{header.e_phnum} * sizeof(Elf64_Phdr);
    const uint64_t tableEnd = reach(header.e_phoff, tableBytes);
    if (tableEnd > size)
        return truncated("program headers reach", tableEnd);
    std::vector<Elf64_Phdr> segments(header.e_phnum); // at most 65535 * 56 bytes, all in the file
    if (::pread(file.fd, segments.data(), tableBytes, static_cast<off_t>(header.e_phoff)) !=
        static_cast<ssize_t>(tableBytes))
        return "cannot read its program headers";
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
        return Failure(error, "not a plug-in bundle (a folder whose name ends in .aaxplugin): " +
                                  printablePath(path));
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
    // A name without a slash would make dlopen search the library path instead of
    // opening the file that was just found in the current folder.
    const std::string loadPath = binary.find('/') == std::string::npos ? "./" + binary : binary;
    bool noSuchFile = false;
    const std::string refusal = refusalOf(loadPath, &noSuchFile);
    if (noSuchFile)
        return Failure(error, binary == path ? "no such plug-in binary: " + printablePath(path)
                                             : "bundle " + printablePath(path) + " has no binary at " +
                                                   printablePath(binary));
    if (!refusal.empty())
        return Failure(error, "cannot load " + printablePath(binary) + ": " + refusal);
    dlerror(); // clear any earlier message
    void* handle = dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* message = dlerror();
        // The system's message names the file too.
        return Failure(error, "cannot load " + printablePath(binary) + ": " +
                                  (message != nullptr ? printablePath(message) : "unknown reason"));
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
        return Failure(error, "missing entry point(s) in " + printablePath(binary) + ": " + missing);
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
