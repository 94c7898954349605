#include "aaxhost/Host.h"
#include "aaxhost/Loader.h"
#include "aaxhost/PluginSession.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

    const std::string notElf = std::string(HOST_BASE_SCRATCH_DIR) + "/NotABinary.so";
    std::ofstream(notElf) << "just text\n";
    EXPECT_EQ(PluginModule::open(notElf, &error), nullptr);
    EXPECT_NE(error.find("cannot load " + notElf), std::string::npos) << error;

    // A plug-in binary cut short: inside its ELF header, its program headers,
    // and its loadable segments (the system loader would die of SIGBUS there).
    const std::string cut = std::string(HOST_BASE_SCRATCH_DIR) + "/Cut.so";
    for (const auto& [bytes, what] : {std::pair<std::size_t, std::string>{40, "ELF header reaches byte 64"},
                                      {100, "program headers reach"},
                                      {4096, "loadable segments reach"}})
    {
        ASSERT_GT(std::filesystem::file_size(kBinary), bytes);
        std::filesystem::copy_file(kBinary, cut, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::resize_file(cut, bytes);
        EXPECT_EQ(PluginModule::open(cut, &error), nullptr);
        EXPECT_NE(error.find("cannot load " + cut + ": the file is truncated: its " + what),
                  std::string::npos)
            << error;
        EXPECT_NE(error.find("but it has " + std::to_string(bytes) + " bytes"), std::string::npos) << error;
    }
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
