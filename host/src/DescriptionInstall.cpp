#include "aaxhost/Description.h"
#include "aaxhost/Host.h"

#include "tambrix/text/FourChar.h"
#include "tambrix/text/Hex.h"

#include <cstdint>
#include <sstream>

namespace aaxhost
{

namespace
{
using tambrix::text::fourCharText;
using tambrix::text::hexNumber;
using tambrix::text::isPrintableFourChar;

template <class T>
Creator creatorOf(std::shared_ptr<DescriptionSetup> setup)
{
    return [setup](const CreateRequest& request)
    {
        HostRef<T> object = makeHost<T>(request.recorder);
        for (const Uid& iid : setup->refusedVersions)
            object->refuse(iid);
        return HostRef<HostObject>(object);
    };
}

// Four printable characters (a manufacturer or product code) also as text.
std::string valueText(PropertyValue value)
{
    std::string out = std::to_string(static_cast<long long>(value));
    const auto bits = static_cast<uint64_t>(value);
    if (value > 0xFFFF && bits <= 0xFFFFFFFFu)
    {
        const auto code = static_cast<uint32_t>(bits);
        if (!isPrintableFourChar(code))
            return out + " (" + hexNumber(bits, 8) + ")";
        return out + " (" + hexNumber(bits, 8) + " '" + fourCharText(code) + "')";
    }
    // Values that fit 32 bits (stem formats and the like) in their 32-bit form.
    const bool fits = value >= INT32_MIN && value <= static_cast<PropertyValue>(UINT32_MAX);
    if (value < 0 || value > 0xFFFF)
        out += " (" + hexNumber(fits ? (bits & 0xFFFFFFFFu) : bits, fits ? 8 : 16) + ")";
    return out;
}

void describeMap(std::ostringstream& out, const char* indent, const HostPropertyMap* map)
{
    if (map == nullptr)
    {
        out << indent << "(no properties)\n";
        return;
    }
    for (const auto& [id, value] : map->values())
        out << indent << "property " << id << " = " << valueText(value) << "\n";
}

void describeEntry(std::ostringstream& out, const char* indent, const Entry& entry)
{
    out << indent << entry.operation << "(";
    for (std::size_t i = 0; i < entry.args.size(); ++i)
        out << (i == 0 ? "" : ", ") << valueToString(entry.args[i]);
    out << ")\n";
}
} // namespace

std::shared_ptr<DescriptionSetup> installDescriptionComponents(Host& host)
{
    auto setup = std::make_shared<DescriptionSetup>();
    ComponentFactory& factory = host.factory();
    factory.registerComponent(AAXCompID_AAXCollection, creatorOf<HostCollection>(setup));
    factory.registerComponent(AAXCompID_AAXEffectDescriptor, creatorOf<HostEffectDescriptor>(setup));
    factory.registerComponent(AAXCompID_AAXComponentDescriptor, creatorOf<HostComponentDescriptor>(setup));
    factory.registerComponent(AAXCompID_AAXPropertyMap, creatorOf<HostPropertyMap>(setup));
    return setup;
}

HostRef<HostDescriptionHost> installDescriptionHost(Host& host)
{
    auto descriptionHost = makeHost<HostDescriptionHost>(host.sharedRecorder());
    host.unknown().provide(IID_IAAXDescriptionHostV1, HostRef<HostObject>(descriptionHost));
    host.unknown().provide(IID_IACFDefinition,
                           HostRef<HostObject>(makeHost<HostDefinition>(host.sharedRecorder())));
    return descriptionHost;
}

std::string describe(const HostCollection& collection)
{
    std::ostringstream out;
    out << "manufacturer: " << collection.manufacturerName().value_or("(none)") << "\n";
    for (const std::string& name : collection.packageNames())
        out << "package name: " << name << "\n";
    const std::optional<uint32_t> version = collection.packageVersion();
    out << "package version: " << (version ? hexNumber(*version, 8) : std::string("(none)")) << "\n";
    if (const HostRef<HostPropertyMap> properties = collection.properties())
        describeMap(out, "  ", properties.get());
    for (const EffectRecord& effect : collection.effects())
    {
        out << "effect " << effect.effectId << "\n";
        const HostEffectDescriptor& descriptor = *effect.descriptor;
        for (const std::string& name : descriptor.names())
            out << "  name: " << name << "\n";
        for (uint32_t category : descriptor.categories())
            out << "  category: " << hexNumber(category, 8) << "\n";
        for (const ProcPtrRecord& proc : descriptor.procPtrs())
            out << "  creator " << proc.procId << ": " << proc.procPtr << "\n";
        if (const HostRef<HostPropertyMap> properties = descriptor.properties())
            describeMap(out, "  ", properties.get());
        for (const MeterRecord& meter : descriptor.meters())
        {
            out << "  meter " << hexNumber(meter.meterId, 8) << " " << meter.name << "\n";
            describeMap(out, "    ", meter.properties.get());
        }
        for (const Entry& entry : descriptor.others())
            describeEntry(out, "  ", entry);
        int index = 0;
        for (const HostRef<HostComponentDescriptor>& component : descriptor.components())
        {
            out << "  component " << index++ << "\n";
            for (const Entry& entry : component->fields())
                describeEntry(out, "    ", entry);
            for (const ProcessProcRecord& proc : component->processProcs())
            {
                if (proc.kind == ProcessProcRecord::Kind::Native)
                    out << "    native process procedure " << proc.id << ": "
                        << reinterpret_cast<const void*>(proc.processProc) << "\n";
                else
                    out << "    TI process procedure " << proc.id << ": " << proc.dllFileName << " "
                        << proc.processProcSymbol << "\n";
                describeMap(out, "      ", proc.properties.get());
            }
        }
    }
    return out.str();
}

} // namespace aaxhost
