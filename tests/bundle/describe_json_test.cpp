// `aaxhost describe --json` on the built bundle: the plug-in's identity, its
// components, parameters and chunks as the host received them.
#include "subprocess.h"

#include "tambrix/text/FourChar.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{

using Json = nlohmann::ordered_json;

class DescribeJsonTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        output = new tambrix::test::CommandOutput(
            tambrix::test::run(tambrix::test::quoted(AAXHOST_EXECUTABLE) + " describe " +
                               tambrix::test::quoted(TAMBRIX_BUNDLE) + " --json"));
        report = new Json(Json::parse(output->out, nullptr, false));
    }
    static void TearDownTestSuite()
    {
        delete output;
        delete report;
        output = nullptr;
        report = nullptr;
    }
    void SetUp() override { ASSERT_FALSE(report->is_discarded()) << "not JSON:\n" << output->out; }

    static tambrix::test::CommandOutput* output;
    static Json* report;
};

tambrix::test::CommandOutput* DescribeJsonTest::output = nullptr;
Json* DescribeJsonTest::report = nullptr;

TEST_F(DescribeJsonTest, TheWholePassIsCleanAndLeavesNothingAlive)
{
    EXPECT_EQ(output->exitCode, 0);
    EXPECT_EQ(report->at("register_result").get<int64_t>(), 0);
    EXPECT_EQ(report->at("sdk_version").get<std::string>(), "0x0000020300C96BF5");
    ASSERT_TRUE(report->at("traces").is_array());
    EXPECT_EQ(report->at("traces").size(), 0u) << report->at("traces").dump();
    ASSERT_TRUE(report->at("can_unload_now").is_number_integer());
    EXPECT_EQ(report->at("can_unload_now").get<int64_t>(), 0);
    EXPECT_EQ(report->at("host_objects_left").get<int64_t>(), 0);
}

TEST_F(DescribeJsonTest, CollectionCarriesTheIdentity)
{
    const Json& collection = report->at("collection");
    EXPECT_EQ(collection.at("effect_id").get<std::string>(), "com.jelv.tambrix");
    EXPECT_EQ(collection.at("manufacturer").get<std::string>(), "Jelv");
    ASSERT_EQ(collection.at("package_names").size(), 2u);
    EXPECT_EQ(collection.at("package_names")[0].get<std::string>(), "Jelv - tambrix");
    EXPECT_EQ(collection.at("package_names")[1].get<std::string>(), "tambrix");
    // 1.0.7: major in the high 16 bits, minor in bits 8-15, build in bits 0-7.
    EXPECT_EQ(collection.at("package_version").get<int64_t>(), (1 << 16) | (0 << 8) | 7);
}

TEST_F(DescribeJsonTest, OneEffectWithItsNamesCategoryAndCreators)
{
    ASSERT_EQ(report->at("effects").size(), 1u);
    const Json& effect = report->at("effects")[0];
    ASSERT_EQ(effect.at("names").size(), 2u);
    EXPECT_EQ(effect.at("names")[0].get<std::string>(), "tambrix");
    EXPECT_EQ(effect.at("names")[1].get<std::string>(), "Jelv - tambrix");
    EXPECT_EQ(effect.at("category").get<int64_t>(), 0);
    ASSERT_EQ(effect.at("procs").size(), 2u);
    EXPECT_EQ(effect.at("procs")[0].at("id").get<int64_t>(), 1); // the GUI object's creator first
    EXPECT_EQ(effect.at("procs")[1].at("id").get<int64_t>(), 0);
    EXPECT_NE(effect.at("procs")[0].at("address").get<std::string>(), "null");
    EXPECT_NE(effect.at("procs")[1].at("address").get<std::string>(), "null");
    EXPECT_NE(effect.at("procs")[0].at("address").get<std::string>(),
              effect.at("procs")[1].at("address").get<std::string>());
}

TEST_F(DescribeJsonTest, OneComponentForEveryPairOfTheThirteenStemFormats)
{
    const Json& components = report->at("effects")[0].at("components");
    std::set<std::pair<int64_t, int64_t>> pairs;
    std::set<int64_t> nativeIds, suiteIds;
    for (const Json& component : components)
    {
        const Json& properties = component.at("properties");
        const int64_t in = properties.at("51").get<int64_t>();
        const int64_t out = properties.at("52").get<int64_t>();
        // A stem format: the format's index in the high 16 bits (accepted up to 12),
        // its channel count in the low 16 bits (at least one).
        EXPECT_LE(in >> 16, 12);
        EXPECT_LE(out >> 16, 12);
        EXPECT_GE(in & 0xFFFF, 1);
        EXPECT_GE(out & 0xFFFF, 1);
        pairs.insert({in, out});
        nativeIds.insert(properties.at("13").get<int64_t>());
        suiteIds.insert(properties.at("14").get<int64_t>());
    }
    EXPECT_EQ(components.size(), 13u * 13u);
    EXPECT_EQ(pairs.size(), components.size()) << "a stem-format pair described twice";
    EXPECT_EQ(pairs.count({0x00000001, 0x00000001}), 1u); // mono in, mono out
    EXPECT_EQ(pairs.count({0x00010002, 0x00010002}), 1u); // stereo in, stereo out
    // Each pair has plug-in type identifiers of its own.
    EXPECT_EQ(nativeIds.size(), components.size());
    EXPECT_EQ(suiteIds.size(), components.size());
}

TEST_F(DescribeJsonTest, EveryComponentHasTheSameFieldsNodesPropertiesAndProcedure)
{
    const Json& components = report->at("effects")[0].at("components");
    ASSERT_GT(components.size(), 0u);
    const std::vector<std::pair<int64_t, std::string>> expectedFields{
        {0, "audio_in"},     {1, "audio_out"},   {2, "buffer_length"}, {3, "data_in_port"},
        {4, "midi_node"},    {5, "midi_node"},   {6, "private_data"},  {7, "private_data"},
        {8, "private_data"}, {9, "private_data"}};
    const std::set<std::string> expectedProperties{"11", "12", "13", "14", "51", "52", "60", "304"};
    std::string procAddress;
    for (std::size_t c = 0; c < components.size(); ++c)
    {
        SCOPED_TRACE("component " + std::to_string(c));
        const Json& component = components[c];
        const Json& fields = component.at("fields");
        ASSERT_EQ(fields.size(), expectedFields.size());
        for (std::size_t i = 0; i < expectedFields.size(); ++i)
        {
            EXPECT_EQ(fields[i].at("index").get<int64_t>(), expectedFields[i].first);
            EXPECT_EQ(fields[i].at("kind").get<std::string>(), expectedFields[i].second);
        }
        EXPECT_EQ(fields[3].at("size").get<int64_t>(), 4); // the bypass port: one 32-bit value
        EXPECT_EQ(fields[7].at("size").get<int64_t>(), 4); // the prepared flag
        // The framework's instance pointer and placeholders are pointer-sized.
        EXPECT_EQ(fields[6].at("size").get<int64_t>(), static_cast<int64_t>(sizeof(void*)));
        EXPECT_EQ(fields[8].at("size").get<int64_t>(), static_cast<int64_t>(sizeof(void*)));
        EXPECT_EQ(fields[9].at("size").get<int64_t>(), static_cast<int64_t>(sizeof(void*)));

        const Json& nodes = component.at("midi_nodes");
        ASSERT_EQ(nodes.size(), 2u);
        EXPECT_EQ(nodes[0].at("index").get<int64_t>(), 4);
        EXPECT_EQ(nodes[0].at("node_type").get<int64_t>(), 0); // local input
        EXPECT_EQ(nodes[0].at("name").get<std::string>(), "tambrix");
        EXPECT_EQ(nodes[0].at("channel_mask").get<int64_t>(), 0xFFFF);
        EXPECT_EQ(nodes[1].at("index").get<int64_t>(), 5);
        EXPECT_EQ(nodes[1].at("node_type").get<int64_t>(), 1); // local output
        EXPECT_EQ(nodes[1].at("name").get<std::string>(), "tambrix Out");
        EXPECT_EQ(nodes[1].at("channel_mask").get<int64_t>(), 0xFFFF);

        const Json& properties = component.at("properties");
        std::set<std::string> keys;
        for (const auto& member : properties.items())
            keys.insert(member.key());
        EXPECT_EQ(keys, expectedProperties);
        EXPECT_EQ(properties.at("11").get<int64_t>(), *tambrix::text::fourCharCode("Jelv"));
        EXPECT_EQ(properties.at("12").get<int64_t>(), *tambrix::text::fourCharCode("tbrx"));
        EXPECT_EQ(properties.at("60").get<int64_t>(), 1);
        EXPECT_EQ(properties.at("304").get<int64_t>(), 1);
        EXPECT_NE(properties.at("13").get<int64_t>(), properties.at("14").get<int64_t>());

        const Json& procs = component.at("process_procs");
        ASSERT_EQ(procs.size(), 1u);
        EXPECT_EQ(procs[0].at("kind").get<std::string>(), "native");
        EXPECT_NE(procs[0].at("process").get<std::string>(), "null");
        EXPECT_EQ(procs[0].at("instance_init").get<std::string>(), "null");
        EXPECT_EQ(procs[0].at("background").get<std::string>(), "null");
        if (procAddress.empty())
            procAddress = procs[0].at("process").get<std::string>();
        EXPECT_EQ(procs[0].at("process").get<std::string>(), procAddress) << "one process callback for all";
    }
}

TEST_F(DescribeJsonTest, TheInstanceHasTheTwoParametersAndTwoChunks)
{
    const Json& parameters = report->at("parameters");
    ASSERT_EQ(parameters.size(), 2u);
    const Json& time = parameters[0];
    EXPECT_EQ(time.at("id").get<std::string>(), "0");
    EXPECT_EQ(time.at("name").get<std::string>(), "Time Signature");
    EXPECT_EQ(time.at("steps").get<int64_t>(), 2048); // the framework's value for an index-based parameter
    EXPECT_EQ(time.at("type").get<int64_t>(), 1);     // continuous
    EXPECT_DOUBLE_EQ(time.at("default").get<double>(), 0.0);
    EXPECT_NEAR(time.at("value").get<double>(), 6.0 / 30.0, 1e-6); // 8/8, index 6
    EXPECT_TRUE(time.at("automatable").get<bool>());

    const Json& bypass = parameters[1];
    EXPECT_EQ(bypass.at("id").get<std::string>(), "MasterBypassID");
    EXPECT_EQ(bypass.at("name").get<std::string>(), "Master Bypass");
    EXPECT_EQ(bypass.at("steps").get<int64_t>(), 2);
    EXPECT_EQ(bypass.at("type").get<int64_t>(), 0); // discrete
    EXPECT_DOUBLE_EQ(bypass.at("value").get<double>(), 0.0);
    EXPECT_TRUE(bypass.at("automatable").get<bool>());

    const Json& chunks = report->at("chunks");
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].at("id").get<std::string>(), "elck");
    // Marker (4), then "0" stored as a double: tag, separator, name and zero (4), value (8).
    EXPECT_EQ(chunks[0].at("size").get<int64_t>(), 4 + 4 + 8);
    EXPECT_EQ(chunks[1].at("id").get<std::string>(), "juce");
    EXPECT_EQ(chunks[1].at("size").get<int64_t>(), 2); // the processor's state bytes
}

TEST(DescribeCommand, TextFormTheSharedObjectItselfAndBadArguments)
{
    const std::string tool = tambrix::test::quoted(AAXHOST_EXECUTABLE);
    const tambrix::test::CommandOutput text =
        tambrix::test::run(tool + " describe " + tambrix::test::quoted(TAMBRIX_BUNDLE_BINARY));
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("effect id: com.jelv.tambrix"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("live objects: 0"), std::string::npos);

    // A plug-in whose registration fails: its result, the traces up to the shut-down and
    // what still lives at unload are told all the same.
    const std::string fakeBinary = tambrix::test::quoted(FAKE_PLUGIN_BINARY);
    const tambrix::test::CommandOutput fake =
        tambrix::test::run(tool + " describe " + fakeBinary + " --json");
    EXPECT_EQ(fake.exitCode, 1);
    const Json failed = Json::parse(fake.out, nullptr, false);
    EXPECT_EQ(failed.value("register_result", 0), -2147483644)
        << fake.out;                                                  // the host has no definition for it
    EXPECT_EQ(failed.value("traces", Json()).size(), 2u) << fake.out; // "started", "stopping"
    EXPECT_EQ(failed.value("can_unload_now", 0), 1) << fake.out;
    // Render and script on it fail while running (1), with the step that failed; on a
    // bundle they cannot load, on usage (2).
    for (const auto& [command, status] :
         {std::pair{" render " + fakeBinary + " --out /dev/null 2>&1", 1},
          std::pair{" script " + fakeBinary + " - </dev/null 2>&1", 1},
          std::pair{std::string(" script /nonexistent.aaxplugin - </dev/null 2>/dev/null"), 2}})
    {
        const tambrix::test::CommandOutput played = tambrix::test::run(tool + command);
        EXPECT_EQ(played.exitCode, status) << command << ": " << played.out;
        EXPECT_EQ(played.out.find(": ACFRegisterPlugin failed with -2147483644\n") != std::string::npos,
                  status == 1)
            << played.out;
    }

    // A usage error is one line and how to get the usage; the usage comes from the command table.
    const tambrix::test::CommandOutput missing = tambrix::test::run(tool + " 2>&1");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.out, "aaxhost: missing command\ntry 'aaxhost --help'\n");
    const tambrix::test::CommandOutput script = tambrix::test::run(tool + " script x 2>&1");
    EXPECT_EQ(script.exitCode, 2);
    EXPECT_EQ(script.out,
              "aaxhost script: too few arguments (BUNDLE and SCRIPT)\ntry 'aaxhost script --help'\n");
    const tambrix::test::CommandOutput usage = tambrix::test::run(tool + " bogus --help");
    EXPECT_EQ(usage.exitCode, 0);
    EXPECT_EQ(usage.out, "usage: aaxhost describe BUNDLE [--json]\n"
                         "       aaxhost render BUNDLE [--bypass] [tambrix-render options]\n"
                         "       aaxhost script BUNDLE SCRIPT|-\n"
                         "       aaxhost --help\n"
                         "  BUNDLE: an X.aaxplugin folder or a plug-in shared object (a file: not -)\n");
    EXPECT_EQ(tambrix::test::run(tool + " describe 2>/dev/null").exitCode, 2);
    EXPECT_EQ(tambrix::test::run(tool + " describe /nonexistent.aaxplugin 2>/dev/null").exitCode, 2);
    EXPECT_EQ(
        tambrix::test::run(tool + " describe " + tambrix::test::quoted(TAMBRIX_BUNDLE) + " --xml 2>/dev/null")
            .exitCode,
        2);
}

} // namespace
