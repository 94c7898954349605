// `aaxhost describe --json` on the built bundle: the plug-in's identity, its
// components, parameters and chunks as the host received them.
#include "Json.h"
#include "subprocess.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{

using aaxhost::tool::Json;

// Four characters as the 32-bit code a host reads (first character in the high byte).
int64_t code(const char (&text)[5])
{
    return (int64_t{static_cast<unsigned char>(text[0])} << 24) |
           (int64_t{static_cast<unsigned char>(text[1])} << 16) |
           (int64_t{static_cast<unsigned char>(text[2])} << 8) | int64_t{static_cast<unsigned char>(text[3])};
}

class DescribeJsonTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        output = new tambrix::test::CommandOutput(
            tambrix::test::run(tambrix::test::quoted(AAXHOST_EXECUTABLE) + " describe " +
                               tambrix::test::quoted(TAMBRIX_BUNDLE) + " --json"));
        std::string error;
        if (auto parsed = Json::parse(output->out, &error))
            report = new Json(std::move(*parsed));
        else
            parseError = new std::string(error);
    }
    static void TearDownTestSuite()
    {
        delete output;
        delete report;
        delete parseError;
        output = nullptr;
        report = nullptr;
        parseError = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(report, nullptr) << "not JSON (" << (parseError ? *parseError : "") << "):\n"
                                   << output->out;
    }

    static tambrix::test::CommandOutput* output;
    static Json* report;
    static std::string* parseError;
};

tambrix::test::CommandOutput* DescribeJsonTest::output = nullptr;
Json* DescribeJsonTest::report = nullptr;
std::string* DescribeJsonTest::parseError = nullptr;

TEST_F(DescribeJsonTest, TheWholePassIsCleanAndLeavesNothingAlive)
{
    EXPECT_EQ(output->exitCode, 0);
    EXPECT_EQ((*report)["register_result"].asInteger(), 0);
    EXPECT_EQ((*report)["sdk_version"].asString(), "0x0000020300C96BF5");
    ASSERT_TRUE((*report)["traces"].isArray());
    EXPECT_EQ((*report)["traces"].size(), 0u) << (*report)["traces"].dump();
    ASSERT_TRUE((*report)["can_unload_now"].isInteger());
    EXPECT_EQ((*report)["can_unload_now"].asInteger(), 0);
    EXPECT_EQ((*report)["host_objects_left"].asInteger(), 0);
}

TEST_F(DescribeJsonTest, CollectionCarriesTheIdentity)
{
    const Json& collection = (*report)["collection"];
    EXPECT_EQ(collection["effect_id"].asString(), "com.jelv.tambrix");
    EXPECT_EQ(collection["manufacturer"].asString(), "Jelv");
    ASSERT_EQ(collection["package_names"].size(), 2u);
    EXPECT_EQ(collection["package_names"][0].asString(), "Jelv - tambrix");
    EXPECT_EQ(collection["package_names"][1].asString(), "tambrix");
    // 1.0.7: major in the high 16 bits, minor in bits 8-15, build in bits 0-7.
    EXPECT_EQ(collection["package_version"].asInteger(), (1 << 16) | (0 << 8) | 7);
}

TEST_F(DescribeJsonTest, OneEffectWithItsNamesCategoryAndCreators)
{
    ASSERT_EQ((*report)["effects"].size(), 1u);
    const Json& effect = (*report)["effects"][0];
    ASSERT_EQ(effect["names"].size(), 2u);
    EXPECT_EQ(effect["names"][0].asString(), "tambrix");
    EXPECT_EQ(effect["names"][1].asString(), "Jelv - tambrix");
    EXPECT_EQ(effect["category"].asInteger(), 0);
    ASSERT_EQ(effect["procs"].size(), 2u);
    EXPECT_EQ(effect["procs"][0]["id"].asInteger(), 1); // the GUI object's creator first
    EXPECT_EQ(effect["procs"][1]["id"].asInteger(), 0);
    EXPECT_NE(effect["procs"][0]["address"].asString(), "null");
    EXPECT_NE(effect["procs"][1]["address"].asString(), "null");
    EXPECT_NE(effect["procs"][0]["address"].asString(), effect["procs"][1]["address"].asString());
}

TEST_F(DescribeJsonTest, OneComponentForEveryPairOfTheThirteenStemFormats)
{
    const Json& components = (*report)["effects"][0]["components"];
    std::set<std::pair<int64_t, int64_t>> pairs;
    std::set<int64_t> nativeIds, suiteIds;
    for (const Json& component : components.items())
    {
        const Json& properties = component["properties"];
        const int64_t in = properties["51"].asInteger();
        const int64_t out = properties["52"].asInteger();
        // A stem format: the format's index in the high 16 bits (accepted up to 12),
        // its channel count in the low 16 bits (at least one).
        EXPECT_LE(in >> 16, 12);
        EXPECT_LE(out >> 16, 12);
        EXPECT_GE(in & 0xFFFF, 1);
        EXPECT_GE(out & 0xFFFF, 1);
        pairs.insert({in, out});
        nativeIds.insert(properties["13"].asInteger());
        suiteIds.insert(properties["14"].asInteger());
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
    const Json& components = (*report)["effects"][0]["components"];
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
        const Json& fields = component["fields"];
        ASSERT_EQ(fields.size(), expectedFields.size());
        for (std::size_t i = 0; i < expectedFields.size(); ++i)
        {
            EXPECT_EQ(fields[i]["index"].asInteger(), expectedFields[i].first);
            EXPECT_EQ(fields[i]["kind"].asString(), expectedFields[i].second);
        }
        EXPECT_EQ(fields[3]["size"].asInteger(), 4); // the bypass port: one 32-bit value
        EXPECT_EQ(fields[7]["size"].asInteger(), 4); // the prepared flag
        // The framework's instance pointer and placeholders are pointer-sized.
        EXPECT_EQ(fields[6]["size"].asInteger(), static_cast<int64_t>(sizeof(void*)));
        EXPECT_EQ(fields[8]["size"].asInteger(), static_cast<int64_t>(sizeof(void*)));
        EXPECT_EQ(fields[9]["size"].asInteger(), static_cast<int64_t>(sizeof(void*)));

        const Json& nodes = component["midi_nodes"];
        ASSERT_EQ(nodes.size(), 2u);
        EXPECT_EQ(nodes[0]["index"].asInteger(), 4);
        EXPECT_EQ(nodes[0]["node_type"].asInteger(), 0); // local input
        EXPECT_EQ(nodes[0]["name"].asString(), "tambrix");
        EXPECT_EQ(nodes[0]["channel_mask"].asInteger(), 0xFFFF);
        EXPECT_EQ(nodes[1]["index"].asInteger(), 5);
        EXPECT_EQ(nodes[1]["node_type"].asInteger(), 1); // local output
        EXPECT_EQ(nodes[1]["name"].asString(), "tambrix Out");
        EXPECT_EQ(nodes[1]["channel_mask"].asInteger(), 0xFFFF);

        const Json& properties = component["properties"];
        std::set<std::string> keys;
        for (const auto& member : properties.members())
            keys.insert(member.first);
        EXPECT_EQ(keys, expectedProperties);
        EXPECT_EQ(properties["11"].asInteger(), code("Jelv"));
        EXPECT_EQ(properties["12"].asInteger(), code("tbrx"));
        EXPECT_EQ(properties["60"].asInteger(), 1);
        EXPECT_EQ(properties["304"].asInteger(), 1);
        EXPECT_NE(properties["13"].asInteger(), properties["14"].asInteger());

        const Json& procs = component["process_procs"];
        ASSERT_EQ(procs.size(), 1u);
        EXPECT_EQ(procs[0]["kind"].asString(), "native");
        EXPECT_NE(procs[0]["process"].asString(), "null");
        EXPECT_EQ(procs[0]["instance_init"].asString(), "null");
        EXPECT_EQ(procs[0]["background"].asString(), "null");
        if (procAddress.empty())
            procAddress = procs[0]["process"].asString();
        EXPECT_EQ(procs[0]["process"].asString(), procAddress) << "one process callback for all";
    }
}

TEST_F(DescribeJsonTest, TheInstanceHasTheTwoParametersAndTwoChunks)
{
    const Json& parameters = (*report)["parameters"];
    ASSERT_EQ(parameters.size(), 2u);
    const Json& time = parameters[0];
    EXPECT_EQ(time["id"].asString(), "0");
    EXPECT_EQ(time["name"].asString(), "Time Signature");
    EXPECT_EQ(time["steps"].asInteger(), 2048); // the framework's value for an index-based parameter
    EXPECT_EQ(time["type"].asInteger(), 1);     // continuous
    EXPECT_DOUBLE_EQ(time["default"].asNumber(), 0.0);
    EXPECT_NEAR(time["value"].asNumber(), 6.0 / 30.0, 1e-6); // 8/8, index 6
    EXPECT_TRUE(time["automatable"].asBool());

    const Json& bypass = parameters[1];
    EXPECT_EQ(bypass["id"].asString(), "MasterBypassID");
    EXPECT_EQ(bypass["name"].asString(), "Master Bypass");
    EXPECT_EQ(bypass["steps"].asInteger(), 2);
    EXPECT_EQ(bypass["type"].asInteger(), 0); // discrete
    EXPECT_DOUBLE_EQ(bypass["value"].asNumber(), 0.0);
    EXPECT_TRUE(bypass["automatable"].asBool());

    const Json& chunks = (*report)["chunks"];
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0]["id"].asString(), "elck");
    // Marker (4), then "0" stored as a double: tag, separator, name and zero (4), value (8).
    EXPECT_EQ(chunks[0]["size"].asInteger(), 4 + 4 + 8);
    EXPECT_EQ(chunks[1]["id"].asString(), "juce");
    EXPECT_EQ(chunks[1]["size"].asInteger(), 2); // the processor's state bytes
}

TEST(DescribeCommand, TextFormTheSharedObjectItselfAndBadArguments)
{
    const std::string tool = tambrix::test::quoted(AAXHOST_EXECUTABLE);
    const tambrix::test::CommandOutput text =
        tambrix::test::run(tool + " describe " + tambrix::test::quoted(TAMBRIX_BUNDLE_BINARY));
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("effect id: com.jelv.tambrix"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("live objects: 0"), std::string::npos);

    EXPECT_EQ(tambrix::test::run(tool + " 2>/dev/null").exitCode, 2);
    EXPECT_EQ(tambrix::test::run(tool + " describe 2>/dev/null").exitCode, 2);
    EXPECT_EQ(tambrix::test::run(tool + " describe /nonexistent.aaxplugin 2>/dev/null").exitCode, 2);
    EXPECT_EQ(
        tambrix::test::run(tool + " describe " + tambrix::test::quoted(TAMBRIX_BUNDLE) + " --xml 2>/dev/null")
            .exitCode,
        2);
}

TEST(JsonValue, RoundTripsWhatTheToolWrites)
{
    Json value = Json::object();
    value.set("text", "quote \" backslash \\ tab \t");
    value.set("big", int64_t{-9007199254740993});
    value.set("real", 0.1);
    value.set("none", Json());
    Json list = Json::array();
    list.push(true);
    list.push(Json::object());
    value.set("list", std::move(list));
    for (int indent : {0, 2})
    {
        const auto back = Json::parse(value.dump(indent));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->dump(0), value.dump(0));
    }
    EXPECT_FALSE(Json::parse("{\"a\": 1,}").has_value());
    EXPECT_FALSE(Json::parse("[1] 2").has_value());
    EXPECT_EQ(Json::parse("\"\\u00e9\\ud83d\\ude00\"")->asString(), "\xC3\xA9\xF0\x9F\x98\x80");
}

} // namespace
