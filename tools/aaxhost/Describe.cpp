#include "Describe.h"

#include "BundleArgument.h"

#include "aaxhost/Creators.h"
#include "aaxhost/EffectDriver.h"
#include "aaxhost/EffectInstance.h"
#include "aaxhost/ParameterFacts.h"
#include "aaxhost/PluginSession.h"

#include "tambrix/io/Output.h"
#include "tambrix/io/Tool.h"
#include "tambrix/text/FourChar.h"
#include "tambrix/text/Hex.h"
#include "tambrix/text/Words.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <sstream>

namespace aaxhost::tool
{

namespace
{

using tambrix::text::hexNumber;

std::string addressText(const void* pointer)
{
    if (pointer == nullptr)
        return "null";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%p", pointer);
    return buffer;
}

// An argument of a recorded call: a text (null when it is none) or a whole number
// (0 when it is none).
Json argument(const std::vector<Value>& args, std::size_t index, bool text)
{
    const Value* value = index < args.size() ? &args[index] : nullptr;
    if (text)
    {
        const auto* s = value != nullptr ? std::get_if<std::string>(value) : nullptr;
        return s != nullptr ? Json(*s) : Json();
    }
    if (const auto* i = value != nullptr ? std::get_if<int64_t>(value) : nullptr)
        return *i;
    if (const auto* u = value != nullptr ? std::get_if<uint64_t>(value) : nullptr)
        return static_cast<int64_t>(*u);
    return 0;
}

// How a recorded call appears in the report: its kind and the keys of its
// arguments, in order.
struct Shape
{
    struct Key
    {
        const char* name;
        bool text = false;
    };
    const char* operation;
    const char* kind;
    std::vector<Key> keys;

    // Sets the keys to the arguments from `first` on.
    void addArguments(Json& record, const std::vector<Value>& args, std::size_t first) const
    {
        for (std::size_t i = 0; i < keys.size(); ++i)
            record[keys[i].name] = argument(args, first + i, keys[i].text);
    }
};

const Shape* shapeOf(const std::vector<Shape>& shapes, const std::string& operation)
{
    const auto found =
        std::find_if(shapes.begin(), shapes.end(),
                     [&operation](const Shape& shape) { return operation == shape.operation; });
    return found != shapes.end() ? &*found : nullptr;
}

// The fields of a component's algorithm context (the index is argument 0).
const std::vector<Shape> fieldShapes{
    {"AddAudioIn", "audio_in", {}},
    {"AddAudioOut", "audio_out", {}},
    {"AddAudioBufferLength", "buffer_length", {}},
    {"AddSampleRate", "sample_rate", {}},
    {"AddClock", "clock", {}},
    {"AddSideChainIn", "side_chain_in", {}},
    {"AddDataInPort", "data_in_port", {{"size"}, {"port_type"}}},
    {"AddAuxOutputStem", "aux_output_stem", {{"stem_format"}, {"name", true}}},
    {"AddPrivateData", "private_data", {{"size"}, {"options"}}},
    {"AddTemporaryData", "temporary_data", {{"size"}}},
    {"AddDmaInstance", "dma_instance", {{"mode"}}},
    {"AddMIDINode", "midi_node", {{"node_type"}, {"name", true}, {"channel_mask"}}},
    {"AddMeters", "meters", {}},
    {"AddReservedField", "reserved", {{"field_type"}}},
};

// Traces, stack traces and assertion reports.
const std::vector<Shape> traceShapes{
    {"Trace", "trace", {{"priority"}, {"message", true}}},
    {"StackTrace", "stack_trace", {{"priority"}, {"stack_priority"}, {"message", true}}},
    {"HandleAssertFailure", "assertion", {{"file", true}, {"line"}, {"condition", true}, {"flags"}}},
};

// One field of a component's algorithm context: its index, kind and what the
// plug-in declared about it.
Json fieldJson(const Entry& entry)
{
    Json field{{"index", argument(entry.args, 0, false)}};
    const Shape* shape = shapeOf(fieldShapes, entry.operation);
    if (shape == nullptr)
    {
        field["kind"] = entry.operation;
        return field;
    }
    field["kind"] = shape->kind;
    shape->addArguments(field, entry.args, 1);
    if (entry.operation == "AddMeters")
    {
        Json ids = Json::array();
        for (std::size_t i = 3; i < entry.args.size(); ++i)
            ids.push_back(argument(entry.args, i, false));
        field["meter_ids"] = std::move(ids);
    }
    return field;
}

Json propertiesJson(const HostPropertyMap* map)
{
    Json properties = Json::object();
    if (map != nullptr)
        for (const auto& [id, value] : map->values())
            properties[std::to_string(id)] = static_cast<int64_t>(value);
    return properties;
}

Json componentJson(const HostComponentDescriptor& component)
{
    Json fields = Json::array();
    Json midiNodes = Json::array();
    for (const Entry& entry : component.fields())
    {
        Json field = fieldJson(entry);
        if (entry.operation == "AddMIDINode")
            midiNodes.push_back(field);
        fields.push_back(std::move(field));
    }

    // The component's properties as the host reads them: those of its process
    // procedures (for one procedure, its map).
    Json properties = Json::object();
    Json procs = Json::array();
    for (const ProcessProcRecord& proc : component.processProcs())
    {
        Json record{{"id", proc.id}};
        if (proc.kind == ProcessProcRecord::Kind::Native)
        {
            record["kind"] = "native";
            record["process"] = addressText(reinterpret_cast<const void*>(proc.processProc));
            record["instance_init"] = addressText(reinterpret_cast<const void*>(proc.instanceInitProc));
            record["background"] = addressText(reinterpret_cast<const void*>(proc.backgroundProc));
        }
        else
        {
            record["kind"] = "ti";
            record["dll"] = proc.dllFileName;
            record["process"] = proc.processProcSymbol;
            record["instance_init"] = proc.instanceInitSymbol;
            record["background"] = proc.backgroundSymbol;
        }
        record["properties"] = propertiesJson(proc.properties.get());
        properties.update(record["properties"]);
        procs.push_back(std::move(record));
    }

    return {{"fields", std::move(fields)},
            {"midi_nodes", std::move(midiNodes)},
            {"properties", std::move(properties)},
            {"process_procs", std::move(procs)}};
}

Json effectJson(const EffectRecord& effect)
{
    const HostEffectDescriptor& descriptor = *effect.descriptor;
    uint32_t category = 0;
    for (uint32_t bits : descriptor.categories())
        category |= bits;
    Json procs = Json::array();
    for (const ProcPtrRecord& proc : descriptor.procPtrs())
        procs.push_back({{"id", proc.procId}, {"address", addressText(proc.procPtr)}});
    Json components = Json::array();
    for (const HostRef<HostComponentDescriptor>& component : descriptor.components())
        components.push_back(componentJson(*component));

    return {{"effect_id", effect.effectId},
            {"names", Json(descriptor.names())},
            {"category", category},
            {"procs", std::move(procs)},
            {"components", std::move(components)}};
}

Json collectionJson(const HostCollection& collection)
{
    const std::vector<EffectRecord> effects = collection.effects();
    const auto manufacturer = collection.manufacturerName();
    const auto version = collection.packageVersion();
    return {{"effect_id", effects.empty() ? Json() : Json(effects.front().effectId)},
            {"manufacturer", manufacturer ? Json(*manufacturer) : Json()},
            {"package_names", Json(collection.packageNames())},
            {"package_version", version ? Json(*version) : Json()}};
}

// Traces, stack traces and assertion reports, in the order the plug-in made them.
Json tracesJson(const CallRecorder& recorder)
{
    Json traces = Json::array();
    for (const Call& call : recorder.calls())
    {
        const Shape* shape = call.object == "HostServices" ? shapeOf(traceShapes, call.operation) : nullptr;
        if (shape == nullptr)
            continue;
        Json record{{"kind", shape->kind}};
        shape->addArguments(record, call.args, 0);
        traces.push_back(std::move(record));
    }
    return traces;
}

// Creates one effect through `creator`, initialises it (with a controller as an
// EffectInstance has it by default: the component's stem formats for its channel
// count, its sample rate) and reads its parameters and chunks; everything is
// released again before returning.
void describeInstance(PluginSession& session, EffectCreator creator, Json& report, bool& clean)
{
    Json results = Json::object();
    Json parameters = Json::array();
    Json chunks = Json::array();
    {
        EffectDriver driver(session.host());
        const EffectInstance::Setup setup;
        driver.controller().setSampleRate(static_cast<float>(setup.sampleRate));
        if (const HostRef<HostComponentDescriptor> component =
                session.componentFor(setup.channels, setup.channels))
            driver.controller().setStemFormats(
                static_cast<int32_t>(PluginSession::stemFormat(*component, property::InputStemFormat)),
                static_cast<int32_t>(PluginSession::stemFormat(*component, property::OutputStemFormat)));

        const Result created = driver.create(creator);
        results["create"] = created;
        clean = clean && created == kResultOk;
        if (driver.effect() != nullptr)
        {
            const Result initialized = driver.initialize();
            results["initialize"] = initialized;
            clean = clean && initialized == kResultOk;
        }
        if (driver.initialized())
        {
            IEffectParameters& effect = *driver.effect();
            Result counted = kResultOk;
            for (const ParameterFacts& p : readParameters(effect, &counted))
            {
                if (p.idResult != kResultOk)
                    continue;
                clean = clean && p.ok;
                parameters.push_back(
                    parameterJson(p, {"id", "name", "steps", "type", "default", "value", "automatable"}));
            }
            results["number_of_parameters"] = counted;

            Result chunksCounted = kResultOk;
            for (const ChunkFacts& c : readChunks(effect, &chunksCounted))
            {
                clean = clean && c.idResult == kResultOk && c.sizeResult == kResultOk;
                chunks.push_back({{"id", tambrix::text::fourCharText(c.id)}, {"size", c.size}});
            }
            results["number_of_chunks"] = chunksCounted;

            const Result uninitialized = driver.uninitialize();
            results["uninitialize"] = uninitialized;
            clean = clean && uninitialized == kResultOk;
        }
        results["release"] = driver.release();
    }
    report["parameters"] = std::move(parameters);
    report["chunks"] = std::move(chunks);
    report["instance_results"] = std::move(results);
}

std::string describeText(const Json& report)
{
    const auto text = [](const Json& value)
    {
        return value.is_string() ? value.get<std::string>() : "";
    };
    const auto list = [&text](const Json& array)
    {
        std::string out;
        for (const Json& item : array)
            out += (out.empty() ? "\"" : ", \"") + text(item) + "\"";
        return out;
    };
    std::ostringstream out;
    out << "bundle: " << text(report.at("bundle")) << "\n";
    out << "SDK version: " << text(report.at("sdk_version")) << "\n";
    out << "registration result: " << report.at("register_result") << "\n";
    const Json& collection = report.at("collection");
    if (collection.is_object())
    {
        const Json& version = collection.at("package_version");
        out << "collection\n";
        out << "  effect id: " << text(collection.at("effect_id")) << "\n";
        out << "  manufacturer: " << text(collection.at("manufacturer")) << "\n";
        out << "  package names: " << list(collection.at("package_names")) << "\n";
        out << "  package version: " << hexNumber(version.is_number() ? version.get<uint64_t>() : 0, 8)
            << "\n";
    }
    const Json& effects = report.at("effects");
    for (std::size_t e = 0; e < effects.size(); ++e)
    {
        const Json& effect = effects[e];
        out << "effect " << e << ": " << text(effect.at("effect_id")) << "\n";
        out << "  names: " << list(effect.at("names")) << "\n";
        out << "  category: " << effect.at("category") << "\n";
        for (const Json& proc : effect.at("procs"))
            out << "  creator procedure " << proc.at("id") << ": " << text(proc.at("address")) << "\n";
        const Json& components = effect.at("components");
        for (std::size_t c = 0; c < components.size(); ++c)
        {
            const Json& component = components[c];
            out << "  component " << c << "\n";
            for (const Json& field : component.at("fields"))
            {
                out << "    field " << field.at("index") << ": " << text(field.at("kind"));
                for (const auto& [key, value] : field.items())
                    if (key != "index" && key != "kind")
                        out << " " << key << "=" << tambrix::text::jsonText(value);
                out << "\n";
            }
            for (const auto& [id, value] : component.at("properties").items())
                out << "    property " << id << " = " << value << "\n";
            for (const Json& proc : component.at("process_procs"))
                out << "    process procedure " << proc.at("id") << ": " << text(proc.at("kind")) << " "
                    << text(proc.at("process")) << "\n";
        }
    }
    if (report.contains("parameters"))
    {
        out << "parameters\n";
        for (const Json& p : report.at("parameters"))
            out << "  \"" << text(p.at("id")) << "\" \"" << text(p.at("name")) << "\" steps=" << p.at("steps")
                << " type=" << p.at("type") << " default=" << p.at("default").get<double>()
                << " value=" << p.at("value").get<double>()
                << " automatable=" << (p.at("automatable").get<bool>() ? "yes" : "no") << "\n";
        out << "chunks\n";
        for (const Json& chunk : report.at("chunks"))
            out << "  " << text(chunk.at("id")) << ": " << chunk.at("size") << " bytes\n";
    }
    const Json& traces = report.at("traces");
    out << "traces:" << (traces.empty() ? " none" : "") << "\n";
    for (const Json& trace : traces)
        out << "  " << tambrix::text::jsonText(trace) << "\n";
    out << "live objects: " << report.at("can_unload_now") << "\n";
    out << "host objects left: " << report.at("host_objects_left") << "\n";
    return out.str();
}

} // namespace

DescribeResult describeBundle(const std::string& path)
{
    DescribeResult outcome;
    const int64_t hostObjectsBefore = HostObject::liveCount();
    std::unique_ptr<PluginSession> session =
        PluginSession::load(path, &outcome.error, PluginModule::Options{}); // unloaded at the end
    if (!session)
        return outcome;
    outcome.loaded = true;
    session->host().recorder().setEnabled(true); // the traces are read from it
    Json& report = outcome.report;
    report = Json{{"bundle", session->module().binaryPath()}};
    session->start(nullptr, /*registerAnyway*/ true);
    uint64_t sdkVersion = 0;
    const Result versioned = session->entryPoints().getSDKVersion(&sdkVersion);
    report["sdk_version"] = versioned == kResultOk ? Json(hexNumber(sdkVersion, 16)) : Json();
    report["register_result"] = session->registerResult();
    bool clean = session->startResult() == kResultOk && session->registerResult() == kResultOk;

    EffectCreator effectCreator = nullptr;
    Json effects = Json::array();
    if (const HostCollection* collection = session->collection())
    {
        report["collection"] = collectionJson(*collection);
        for (const EffectRecord& effect : collection->effects())
        {
            effects.push_back(effectJson(effect));
            if (effectCreator == nullptr)
                effectCreator = effectCreatorOf(*effect.descriptor);
        }
    }
    else
    {
        report["collection"] = nullptr;
        clean = false;
    }
    report["effects"] = std::move(effects);

    if (effectCreator != nullptr)
        describeInstance(*session, effectCreator, report, clean);
    else
        clean = false;

    const Result liveObjects = session->close();
    report["can_unload_now"] = liveObjects;
    Json traces = tracesJson(session->host().recorder());
    clean = clean && liveObjects == 0 && traces.empty();
    report["traces"] = std::move(traces);
    session.reset();

    const int64_t hostObjectsLeft = HostObject::liveCount() - hostObjectsBefore;
    report["host_objects_left"] = hostObjectsLeft;
    outcome.clean = clean && hostObjectsLeft == 0;
    return outcome;
}

int runDescribeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::string name = "aaxhost describe";
    if (std::any_of(args.begin(), args.end(), tambrix::io::isHelp))
    {
        out << "usage: " << name << " BUNDLE [--json]\n"
            << "Loads the bundle as a host does and prints what it describes (--json: as one JSON "
               "document).\n"
            << bundleNote;
        return tambrix::io::exitSuccess;
    }
    std::vector<std::string> bundles;
    bool json = false;
    for (const std::string& arg : args)
    {
        if (arg == "--json")
            json = true;
        else if (arg.size() > 1 && arg[0] == '-')
            return tambrix::io::usageError(err, name,
                                           "unknown option '" + tambrix::text::printable(arg) + "'");
        else
            bundles.push_back(arg);
    }
    if (bundles.size() != 1 || bundles[0].empty())
        return tambrix::io::usageError(err, name,
                                       bundles.empty()       ? "missing BUNDLE"
                                       : bundles.size() == 1 ? "BUNDLE needs a file name"
                                                             : "more than one BUNDLE");
    const std::string& bundle = bundles[0];
    if (const std::string refusal = tambrix::io::standardOutputRefusal({bundleInput(bundle)});
        !refusal.empty())
    {
        err << name << ": " << refusal << "\n";
        return tambrix::io::exitUsage;
    }

    const DescribeResult result = describeBundle(bundle);
    if (!result.loaded)
    {
        err << name << ": " << result.error << "\n";
        return tambrix::io::exitUsage;
    }
    tambrix::io::endIfMemoryRanOut(); // the report would blame the plug-in
    out << (json ? tambrix::text::jsonText(result.report, 2) + "\n" : describeText(result.report));
    return result.clean ? tambrix::io::exitSuccess : tambrix::io::exitFailure;
}

} // namespace aaxhost::tool
