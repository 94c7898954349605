#include "Describe.h"

#include "aaxhost/Description.h"
#include "aaxhost/EffectDriver.h"
#include "aaxhost/Host.h"
#include "aaxhost/Loader.h"
#include "aaxhost/PlugInString.h"
#include "aaxhost/UnknownPtr.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace aaxhost::tool
{

namespace
{

// Limits on what is listed of a plug-in that reports absurd counts.
constexpr int32_t kMaxListedParameters = 100000;
constexpr int32_t kMaxListedChunks = 1000;

std::string hex(uint64_t value, int digits)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return buffer;
}

std::string addressText(const void* pointer)
{
    if (pointer == nullptr)
        return "null";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%p", pointer);
    return buffer;
}

// A four-character code as its characters (bytes from the most significant one).
std::string fourChars(uint32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const auto c = static_cast<unsigned char>((code >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return text;
}

int64_t integerArg(const Entry& entry, std::size_t index)
{
    if (index >= entry.args.size())
        return 0;
    const Value& value = entry.args[index];
    if (const auto* i = std::get_if<int64_t>(&value))
        return *i;
    if (const auto* u = std::get_if<uint64_t>(&value))
        return static_cast<int64_t>(*u);
    return 0;
}

Json textArg(const Entry& entry, std::size_t index)
{
    if (index < entry.args.size())
        if (const auto* s = std::get_if<std::string>(&entry.args[index]))
            return Json(*s);
    return Json();
}

// One field of a component's algorithm context: its index, kind and what the
// plug-in declared about it.
Json fieldJson(const Entry& entry)
{
    Json field = Json::object();
    field.set("index", integerArg(entry, 0));
    const std::string& op = entry.operation;
    if (op == "AddAudioIn")
        field.set("kind", "audio_in");
    else if (op == "AddAudioOut")
        field.set("kind", "audio_out");
    else if (op == "AddAudioBufferLength")
        field.set("kind", "buffer_length");
    else if (op == "AddSampleRate")
        field.set("kind", "sample_rate");
    else if (op == "AddClock")
        field.set("kind", "clock");
    else if (op == "AddSideChainIn")
        field.set("kind", "side_chain_in");
    else if (op == "AddDataInPort")
    {
        field.set("kind", "data_in_port");
        field.set("size", integerArg(entry, 1));
        field.set("port_type", integerArg(entry, 2));
    }
    else if (op == "AddAuxOutputStem")
    {
        field.set("kind", "aux_output_stem");
        field.set("stem_format", integerArg(entry, 1));
        field.set("name", textArg(entry, 2));
    }
    else if (op == "AddPrivateData")
    {
        field.set("kind", "private_data");
        field.set("size", integerArg(entry, 1));
        field.set("options", integerArg(entry, 2));
    }
    else if (op == "AddTemporaryData")
    {
        field.set("kind", "temporary_data");
        field.set("size", integerArg(entry, 1));
    }
    else if (op == "AddDmaInstance")
    {
        field.set("kind", "dma_instance");
        field.set("mode", integerArg(entry, 1));
    }
    else if (op == "AddMIDINode")
    {
        field.set("kind", "midi_node");
        field.set("node_type", integerArg(entry, 1));
        field.set("name", textArg(entry, 2));
        field.set("channel_mask", integerArg(entry, 3));
    }
    else if (op == "AddMeters")
    {
        field.set("kind", "meters");
        Json ids = Json::array();
        for (std::size_t i = 3; i < entry.args.size(); ++i)
            ids.push(integerArg(entry, i));
        field.set("meter_ids", std::move(ids));
    }
    else if (op == "AddReservedField")
    {
        field.set("kind", "reserved");
        field.set("field_type", integerArg(entry, 1));
    }
    else
        field.set("kind", op);
    return field;
}

Json propertiesJson(const HostPropertyMap* map)
{
    Json properties = Json::object();
    if (map != nullptr)
        for (const auto& [id, value] : map->values())
            properties.set(std::to_string(id), static_cast<int64_t>(value));
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
            midiNodes.push(field);
        fields.push(std::move(field));
    }

    // The component's properties as the host reads them: those of its process
    // procedures (for one procedure, its map).
    Json properties = Json::object();
    Json procs = Json::array();
    for (const ProcessProcRecord& proc : component.processProcs())
    {
        Json record = Json::object();
        record.set("id", proc.id);
        if (proc.kind == ProcessProcRecord::Kind::Native)
        {
            record.set("kind", "native");
            record.set("process", addressText(reinterpret_cast<const void*>(proc.processProc)));
            record.set("instance_init", addressText(reinterpret_cast<const void*>(proc.instanceInitProc)));
            record.set("background", addressText(reinterpret_cast<const void*>(proc.backgroundProc)));
        }
        else
        {
            record.set("kind", "ti");
            record.set("dll", proc.dllFileName);
            record.set("process", proc.processProcSymbol);
            record.set("instance_init", proc.instanceInitSymbol);
            record.set("background", proc.backgroundSymbol);
        }
        Json procProperties = propertiesJson(proc.properties.get());
        for (const auto& [key, value] : procProperties.members())
            properties.set(key, value);
        record.set("properties", std::move(procProperties));
        procs.push(std::move(record));
    }

    Json out = Json::object();
    out.set("fields", std::move(fields));
    out.set("midi_nodes", std::move(midiNodes));
    out.set("properties", std::move(properties));
    out.set("process_procs", std::move(procs));
    return out;
}

Json effectJson(const EffectRecord& effect)
{
    const HostEffectDescriptor& descriptor = *effect.descriptor;
    Json names = Json::array();
    for (const std::string& name : descriptor.names())
        names.push(name);
    uint32_t category = 0;
    for (uint32_t bits : descriptor.categories())
        category |= bits;
    Json procs = Json::array();
    for (const ProcPtrRecord& proc : descriptor.procPtrs())
    {
        Json record = Json::object();
        record.set("id", proc.procId);
        record.set("address", addressText(proc.procPtr));
        procs.push(std::move(record));
    }
    Json components = Json::array();
    for (const HostRef<HostComponentDescriptor>& component : descriptor.components())
        components.push(componentJson(*component));

    Json out = Json::object();
    out.set("effect_id", effect.effectId);
    out.set("names", std::move(names));
    out.set("category", category);
    out.set("procs", std::move(procs));
    out.set("components", std::move(components));
    return out;
}

Json collectionJson(const HostCollection& collection)
{
    const std::vector<EffectRecord> effects = collection.effects();
    Json names = Json::array();
    for (const std::string& name : collection.packageNames())
        names.push(name);
    Json out = Json::object();
    out.set("effect_id", effects.empty() ? Json() : Json(effects.front().effectId));
    out.set("manufacturer", collection.manufacturerName() ? Json(*collection.manufacturerName()) : Json());
    out.set("package_names", std::move(names));
    out.set("package_version", collection.packageVersion() ? Json(*collection.packageVersion()) : Json());
    return out;
}

// Traces, stack traces and assertion reports, in the order the plug-in made them.
Json tracesJson(const CallRecorder& recorder)
{
    Json traces = Json::array();
    for (const Call& call : recorder.calls())
    {
        if (call.object != "HostServices")
            continue;
        Json record = Json::object();
        const auto text = [&](std::size_t index) -> Json
        {
            if (index < call.args.size())
                if (const auto* s = std::get_if<std::string>(&call.args[index]))
                    return Json(*s);
            return Json();
        };
        const auto integer = [&](std::size_t index) -> int64_t
        {
            if (index < call.args.size())
                if (const auto* i = std::get_if<int64_t>(&call.args[index]))
                    return *i;
            return 0;
        };
        if (call.operation == "Trace")
        {
            record.set("kind", "trace");
            record.set("priority", integer(0));
            record.set("message", text(1));
        }
        else if (call.operation == "StackTrace")
        {
            record.set("kind", "stack_trace");
            record.set("priority", integer(0));
            record.set("stack_priority", integer(1));
            record.set("message", text(2));
        }
        else if (call.operation == "HandleAssertFailure")
        {
            record.set("kind", "assertion");
            record.set("file", text(0));
            record.set("line", integer(1));
            record.set("condition", text(2));
            record.set("flags", integer(3));
        }
        else
            continue;
        traces.push(std::move(record));
    }
    return traces;
}

// Creates one effect through creator procedure 0, initialises it and reads its
// parameters and chunks; everything is released again before returning.
void describeInstance(Host& host, void* creator, const DescribeOptions& options, Json& report, bool& clean)
{
    Json results = Json::object();
    Json parameters = Json::array();
    Json chunks = Json::array();
    {
        EffectDriver driver(host);
        driver.controller().setSampleRate(options.sampleRate);
        driver.controller().setStemFormats(options.inputStemFormat, options.outputStemFormat);

        const Result created = driver.create(reinterpret_cast<EffectCreator>(creator));
        results.set("create", created);
        clean = clean && created == kResultOk;
        if (driver.effect() != nullptr)
        {
            const Result initialized = driver.initialize();
            results.set("initialize", initialized);
            clean = clean && initialized == kResultOk;
        }
        if (driver.initialized())
        {
            IEffectParameters& effect = *driver.effect();
            int32_t count = 0;
            results.set("number_of_parameters", effect.GetNumberOfParameters(&count));
            for (int32_t i = 0; i < std::min(count, kMaxListedParameters); ++i)
            {
                HostString id;
                if (effect.GetParameterIDFromIndex(i, &id) != kResultOk)
                    continue;
                const char* pid = id.text().c_str();
                HostString name;
                int32_t steps = 0;
                int32_t type = 0;
                double defaultValue = 0.0;
                double value = 0.0;
                uint8_t automatable = 0;
                const bool ok = effect.GetParameterName(pid, &name) == kResultOk &&
                                effect.GetParameterNumberOfSteps(pid, &steps) == kResultOk &&
                                effect.GetParameterType(pid, &type) == kResultOk &&
                                effect.GetParameterDefaultNormalizedValue(pid, &defaultValue) == kResultOk &&
                                effect.GetParameterNormalizedValue(pid, &value) == kResultOk &&
                                effect.GetParameterIsAutomatable(pid, &automatable) == kResultOk;
                clean = clean && ok;
                Json parameter = Json::object();
                parameter.set("id", id.text());
                parameter.set("name", name.text());
                parameter.set("steps", steps);
                parameter.set("type", type);
                parameter.set("default", defaultValue);
                parameter.set("value", value);
                parameter.set("automatable", automatable != 0);
                parameters.push(std::move(parameter));
            }

            int32_t chunkCount = 0;
            results.set("number_of_chunks", effect.GetNumberOfChunks(&chunkCount));
            for (int32_t i = 0; i < std::min(chunkCount, kMaxListedChunks); ++i)
            {
                uint32_t chunkId = 0;
                uint32_t size = 0;
                const bool ok = effect.GetChunkIDFromIndex(i, &chunkId) == kResultOk &&
                                effect.GetChunkSize(chunkId, &size) == kResultOk;
                clean = clean && ok;
                Json chunk = Json::object();
                chunk.set("id", fourChars(chunkId));
                chunk.set("size", size);
                chunks.push(std::move(chunk));
            }

            const Result uninitialized = driver.uninitialize();
            results.set("uninitialize", uninitialized);
            clean = clean && uninitialized == kResultOk;
        }
        results.set("release", driver.release());
    }
    report.set("parameters", std::move(parameters));
    report.set("chunks", std::move(chunks));
    report.set("instance_results", std::move(results));
}

} // namespace

DescribeResult describeBundle(const std::string& path, const DescribeOptions& options)
{
    DescribeResult outcome;
    std::unique_ptr<PluginModule> module =
        PluginModule::open(path, &outcome.error, PluginModule::Options{options.keepLoaded});
    if (!module)
        return outcome;
    outcome.loaded = true;
    const EntryPoints& acf = module->entryPoints();

    const int64_t hostObjectsBefore = HostObject::liveCount();
    Json& report = outcome.report;
    report = Json::object();
    report.set("bundle", module->binaryPath());
    bool clean = true;
    {
        Host host;
        installDescriptionComponents(host);
        installDescriptionHost(host);

        const Result started = acf.startup(host.unknownInterface());
        uint64_t sdkVersion = 0;
        const Result versioned = acf.getSDKVersion(&sdkVersion);
        report.set("sdk_version", versioned == kResultOk ? Json(hex(sdkVersion, 16)) : Json());

        UnknownPtr<IACFPluginDefinition> definition;
        const Result registered = acf.registerPlugin(
            host.unknownInterface(), reinterpret_cast<IACFPluginDefinition**>(definition.put()));
        report.set("register_result", registered);
        clean = clean && started == kResultOk && registered == kResultOk;

        void* effectCreator = nullptr;
        Json effects = Json::array();
        if (const HostCollection* collection =
                registered == kResultOk ? HostCollection::fromUnknown(definition.get()) : nullptr)
        {
            report.set("collection", collectionJson(*collection));
            for (const EffectRecord& effect : collection->effects())
            {
                effects.push(effectJson(effect));
                if (effectCreator == nullptr)
                    for (const ProcPtrRecord& proc : effect.descriptor->procPtrs())
                        if (proc.procId == 0)
                            effectCreator = proc.procPtr;
            }
        }
        else
        {
            report.set("collection", Json());
            clean = false;
        }
        report.set("effects", std::move(effects));
        definition.reset();

        if (options.instance && effectCreator != nullptr)
            describeInstance(host, effectCreator, options, report, clean);
        else if (options.instance)
            clean = false;

        const Result liveObjects = acf.canUnloadNow(host.unknownInterface());
        acf.shutdown(host.unknownInterface());
        report.set("can_unload_now", liveObjects);

        Json traces = tracesJson(host.recorder());
        clean = clean && liveObjects == 0 && traces.size() == 0;
        report.set("traces", std::move(traces));
    }
    module.reset();

    const int64_t hostObjectsLeft = HostObject::liveCount() - hostObjectsBefore;
    report.set("host_objects_left", hostObjectsLeft);
    outcome.clean = clean && hostObjectsLeft == 0;
    return outcome;
}

std::string describeText(const Json& report)
{
    std::ostringstream out;
    const auto list = [](const Json& array)
    {
        std::string text;
        for (const Json& item : array.items())
            text += (text.empty() ? "\"" : ", \"") + item.asString() + "\"";
        return text;
    };
    out << "bundle: " << report["bundle"].asString() << "\n";
    out << "SDK version: " << report["sdk_version"].asString() << "\n";
    out << "registration result: " << report["register_result"].asInteger() << "\n";
    const Json& collection = report["collection"];
    if (collection.isObject())
    {
        out << "collection\n";
        out << "  effect id: " << collection["effect_id"].asString() << "\n";
        out << "  manufacturer: " << collection["manufacturer"].asString() << "\n";
        out << "  package names: " << list(collection["package_names"]) << "\n";
        out << "  package version: "
            << hex(static_cast<uint64_t>(collection["package_version"].asInteger()), 8) << "\n";
    }
    for (std::size_t e = 0; e < report["effects"].size(); ++e)
    {
        const Json& effect = report["effects"][e];
        out << "effect " << e << ": " << effect["effect_id"].asString() << "\n";
        out << "  names: " << list(effect["names"]) << "\n";
        out << "  category: " << effect["category"].asInteger() << "\n";
        for (const Json& proc : effect["procs"].items())
            out << "  creator procedure " << proc["id"].asInteger() << ": " << proc["address"].asString()
                << "\n";
        for (std::size_t c = 0; c < effect["components"].size(); ++c)
        {
            const Json& component = effect["components"][c];
            out << "  component " << c << "\n";
            for (const Json& field : component["fields"].items())
            {
                out << "    field " << field["index"].asInteger() << ": " << field["kind"].asString();
                for (const auto& [key, value] : field.members())
                    if (key != "index" && key != "kind")
                        out << " " << key << "=" << value.dump(0);
                out << "\n";
            }
            for (const auto& [id, value] : component["properties"].members())
                out << "    property " << id << " = " << value.asInteger() << "\n";
            for (const Json& proc : component["process_procs"].items())
                out << "    process procedure " << proc["id"].asInteger() << ": " << proc["kind"].asString()
                    << " " << proc["process"].asString() << "\n";
        }
    }
    if (report.find("parameters") != nullptr)
    {
        out << "parameters\n";
        for (const Json& p : report["parameters"].items())
            out << "  \"" << p["id"].asString() << "\" \"" << p["name"].asString()
                << "\" steps=" << p["steps"].asInteger() << " type=" << p["type"].asInteger()
                << " default=" << p["default"].asNumber() << " value=" << p["value"].asNumber()
                << " automatable=" << (p["automatable"].asBool() ? "yes" : "no") << "\n";
        out << "chunks\n";
        for (const Json& chunk : report["chunks"].items())
            out << "  " << chunk["id"].asString() << ": " << chunk["size"].asInteger() << " bytes\n";
    }
    out << "traces:" << (report["traces"].size() == 0 ? " none" : "") << "\n";
    for (const Json& trace : report["traces"].items())
        out << "  " << trace.dump(0) << "\n";
    out << "live objects: " << report["can_unload_now"].asInteger() << "\n";
    out << "host objects left: " << report["host_objects_left"].asInteger() << "\n";
    return out.str();
}

} // namespace aaxhost::tool
