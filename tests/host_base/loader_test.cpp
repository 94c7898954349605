#include "aaxhost/Host.h"
#include "aaxhost/PluginModule.h"
#include "aaxhost/PluginSession.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

namespace
{

using namespace aaxhost;

const std::string kBundle = FAKE_PLUGIN_BUNDLE;
const std::string kBinary = kBundle + "/Contents/x86_64-linux/FakePlugin.so";

TEST(Loader, BundleFolderResolvesToItsBinary)
{
    EXPECT_EQ(PluginModule::binaryPathFor(kBundle), kBinary);
    EXPECT_EQ(PluginModule::binaryPathFor(kBundle + "/"), kBinary);
    EXPECT_EQ(PluginModule::binaryPathFor(kBinary), kBinary);
    std::string error;
    EXPECT_EQ(PluginModule::binaryPathFor(HOST_BASE_SCRATCH_DIR, &error), "");
    EXPECT_NE(error.find("not a plug-in bundle"), std::string::npos) << error;
}

TEST(Loader, EntryPointsWorkWithTheirSignatures)
{
    std::string error;
    auto module = PluginModule::open(kBundle, &error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(module->binaryPath(), kBinary);
    const EntryPoints& entry = module->entryPoints();

    uint64_t version = 0;
    EXPECT_EQ(entry.getSDKVersion(&version), kResultOk);
    EXPECT_EQ(version, 0x0000020300C96BF5ull); // all 64 bits arrive

    IACFComponentDefinition* component = reinterpret_cast<IACFComponentDefinition*>(0x1);
    EXPECT_EQ(entry.registerComponent(nullptr, 0x7FFFFFFEu, &component), 0x7FFFFFFE);
    EXPECT_EQ(component, nullptr);

    void* factory = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(entry.getClassFactory(nullptr, AAXCompID_HostServices, IID_IAAXHostServicesV1, &factory),
              kResultOk);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(entry.getClassFactory(nullptr, IID_IAAXHostServicesV1, AAXCompID_HostServices, &factory),
              kAaxErrorUnimplemented);

    const int64_t live = HostObject::liveCount();
    {
        Host host;
        host.services().clear();
        EXPECT_EQ(entry.startup(host.unknownInterface()), kResultOk);
        EXPECT_EQ(entry.canUnloadNow(host.unknownInterface()), 1);
        IACFPluginDefinition* definition = reinterpret_cast<IACFPluginDefinition*>(0x1);
        EXPECT_EQ(entry.registerPlugin(host.unknownInterface(), &definition), kResultNoInterface);
        EXPECT_EQ(definition, nullptr);
        EXPECT_EQ(entry.shutdown(host.unknownInterface()), kResultOk);
        EXPECT_EQ(entry.canUnloadNow(nullptr), 0);

        const auto traces = host.services().traces();
        ASSERT_EQ(traces.size(), 2u);
        EXPECT_EQ(traces[0].message, "fake plug-in started");
        EXPECT_EQ(traces[1].message, "fake plug-in stopping");
        EXPECT_EQ(traces[0].priority, 0x08000000);
        // The plug-in's calls, in order, as the recorder saw them.
        const auto creates = host.recorder().calls("Create");
        ASSERT_EQ(creates.size(), 1u);
        EXPECT_TRUE(creates[0].arg<Uid>(0) == AAXCompID_HostServices);
        EXPECT_TRUE(creates[0].arg<Uid>(2) == IID_IAAXHostServicesV1);
    }
    EXPECT_EQ(HostObject::liveCount(), live); // the fake released all it took
}

TEST(Loader, MissingEntryPointIsNamed)
{
    std::string error;
    auto module = PluginModule::open(FAKE_PLUGIN_INCOMPLETE, &error);
    EXPECT_EQ(module, nullptr);
    EXPECT_NE(error.find("missing entry point"), std::string::npos) << error;
    EXPECT_NE(error.find("ACFGetClassFactory"), std::string::npos) << error;
    EXPECT_EQ(error.find("ACFStartup"), std::string::npos) << error;
}

TEST(Loader, UnloadableFilesAreReported)
{
    std::string error;
    EXPECT_EQ(PluginModule::open(std::string(HOST_BASE_SCRATCH_DIR) + "/NoSuch.so", &error), nullptr);
    EXPECT_NE(error.find("no such plug-in binary"), std::string::npos) << error;

    const std::string emptyBundle = std::string(HOST_BASE_SCRATCH_DIR) + "/Empty.aaxplugin";
    std::filesystem::create_directories(emptyBundle);
    EXPECT_EQ(PluginModule::open(emptyBundle, &error), nullptr);
    EXPECT_NE(error.find("has no binary at " + emptyBundle + "/Contents/x86_64-linux/Empty.so"),
              std::string::npos)
        << error;

    EXPECT_EQ(PluginModule::open("/dev/null", &error), nullptr);
    EXPECT_EQ(error, "cannot load /dev/null: it is a character device, not a plug-in binary");

    // Files the system loader must not be given, each refused for what it is:
    // a binary cut short of what the loader reads (it would die of SIGBUS past
    // the end), or one that is no x86-64 shared object.
    std::ostringstream read;
    read << std::ifstream(kBinary, std::ios::binary).rdbuf();
    const std::string whole = read.str();
    ASSERT_GT(whole.size(), 4096u);
    const auto patch = [](std::string contents, std::size_t at, auto value)
    {
        contents.replace(at, sizeof value, reinterpret_cast<const char*>(&value), sizeof value);
        return contents;
    };
    const std::string damaged = std::string(HOST_BASE_SCRATCH_DIR) + "/Damaged.so";
    for (const auto& [contents, what] : std::initializer_list<std::pair<std::string, std::string>>{
             {whole.substr(0, 40), "the file is truncated: its ELF header reaches byte 64"},
             {whole.substr(0, 100), "the file is truncated: its program headers reach"},
             {whole.substr(0, 4096), "the file is truncated: its loadable segments reach"},
             {"just text\n", "not an ELF shared object"},
             {patch(whole, EI_CLASS, uint8_t{ELFCLASS32}), "a 32-bit binary"},
             {patch(whole, offsetof(Elf64_Ehdr, e_machine), uint16_t{183}),
              "a binary for another machine (ELF machine 183), not x86-64"},
             {patch(patch(whole, EI_DATA, uint8_t{ELFDATA2MSB}), offsetof(Elf64_Ehdr, e_machine),
                    uint16_t{0x1500}),
              "a binary for another machine (big-endian, ELF machine 21), not x86-64"},
             {patch(whole, offsetof(Elf64_Ehdr, e_type), uint16_t{ET_EXEC}),
              "not a shared object (ELF type 2)"}})
    {
        std::ofstream(damaged, std::ios::binary | std::ios::trunc) << contents;
        EXPECT_EQ(PluginModule::open(damaged, &error), nullptr) << what;
        EXPECT_NE(error.find("cannot load " + damaged + ": " + what), std::string::npos) << error;
        if (what.find("truncated") != std::string::npos)
        {
            EXPECT_NE(error.find(", but it has " + std::to_string(contents.size()) + " bytes"),
                      std::string::npos)
                << error;
        }
    }
    // Cut short of its section headers and the end of its sections, every loadable
    // segment whole: it loads, as the system loader reads no section.
    std::ofstream(damaged, std::ios::binary | std::ios::trunc) << whole.substr(0, whole.size() - 4096);
    EXPECT_NE(PluginModule::open(damaged, &error), nullptr) << error;
}

TEST(Loader, BinaryNamedWithoutAFolderIsOpenedFromTheCurrentFolder)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(kBundle + "/Contents/x86_64-linux");
    std::string error;
    auto module = PluginModule::open("FakePlugin.so", &error);
    std::filesystem::current_path(before);
    ASSERT_NE(module, nullptr) << error;
    uint64_t version = 0;
    EXPECT_EQ(module->entryPoints().getSDKVersion(&version), kResultOk);
}

TEST(Loader, UnloadsOnDestructionUnlessKept)
{
    {
        auto module = PluginModule::open(kBundle);
        ASSERT_NE(module, nullptr);
        void* probe = dlopen(kBinary.c_str(), RTLD_NOW | RTLD_NOLOAD);
        ASSERT_NE(probe, nullptr);
        dlclose(probe); // the probe's own reference
    }
    EXPECT_EQ(dlopen(kBinary.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);

    {
        auto kept = PluginModule::open(kBundle, nullptr, PluginModule::Options{true});
        ASSERT_NE(kept, nullptr);
    }
    void* probe = dlopen(kBinary.c_str(), RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(probe, nullptr);
    if (probe != nullptr)
    {
        dlclose(probe);
        dlclose(probe); // the reference the kept module left behind
    }
}

// A session starts once and, unless asked to go on (describe), registers only a
// plug-in that started: with the factory refusing the host services, the fake's
// start-up fails.
TEST(Loader, SessionStartsOnceAndRegistersOnlyWhatStarted)
{
    const int64_t live = HostObject::liveCount();
    for (const auto& [startupFails, registerAnyway, failure] :
         {std::tuple{false, false, "ACFRegisterPlugin failed with -2147483644"},
          std::tuple{true, false, "ACFStartup failed with -2147483644"},
          std::tuple{true, true, "ACFStartup failed with -2147483644"}})
    {
        std::string error;
        auto session = PluginSession::load(kBundle, &error, PluginModule::Options{false});
        ASSERT_NE(session, nullptr) << error;
        CallRecorder& recorder = session->host().recorder();
        recorder.setEnabled(true);
        if (startupFails)
            session->host().factory().failComponent(AAXCompID_HostServices);
        EXPECT_FALSE(session->start(&error, registerAnyway));
        EXPECT_EQ(error, failure);
        EXPECT_FALSE(session->start(nullptr, registerAnyway)); // calls nothing again
        EXPECT_EQ(recorder.count("Create"), 1u);
        const auto queries = recorder.calls("QueryInterface");
        EXPECT_EQ(std::count_if(queries.begin(), queries.end(),
                                [](const Call& call)
                                { return call.arg<Uid>(0) == IID_IACFPluginDefinition; }),
                  !startupFails || registerAnyway ? 1 : 0);
    }
    EXPECT_EQ(HostObject::liveCount(), live);
}

} // namespace
