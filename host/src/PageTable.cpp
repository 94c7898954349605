#include "aaxhost/PageTable.h"

#include <algorithm>
#include <utility>

namespace aaxhost
{

PageTable::PageTable(std::shared_ptr<CallRecorder> recorder, std::string name)
    : HostObjectOf(std::move(name), std::move(recorder))
{
}

PageTable::~PageTable() = default;

void* PageTable::findInterface(const Uid& iid) noexcept
{
    if (iid == IID_IAAXPageTableV1 || iid == IID_IAAXPageTableV2)
        return as<AAX_IACFPageTable_V2>();
    return nullptr;
}

PageTable* PageTable::fromUnknown(IACFUnknown* unknown) noexcept
{
    return dynamic_cast<PageTable*>(HostObject::fromUnknown(unknown));
}

PageTableContents PageTable::contents() const
{
    std::lock_guard<std::mutex> lock(tableMutex_);
    return contents_;
}

void PageTable::setContents(PageTableContents contents)
{
    std::lock_guard<std::mutex> lock(tableMutex_);
    contents_ = std::move(contents);
}

const std::map<int32_t, std::string>* PageTable::variationsOf(const std::string& parameterId) const
{
    for (const auto& entry : contents_.nameVariations)
        if (entry.first == parameterId)
            return &entry.second;
    return nullptr;
}

// Each operation records the call; a forced result answers before anything
// is read or changed.

Result PageTable::Clear() noexcept
{
    record("Clear");
    if (const Result r = answer("Clear", kResultOk); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    contents_.pages.clear();
    return kResultOk;
}

Result PageTable::Empty(uint8_t* empty) noexcept
{
    record("Empty", {static_cast<const void*>(empty)});
    if (const Result r = answer("Empty", kResultOk); r != kResultOk)
        return r;
    if (empty == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(tableMutex_);
    *empty = contents_.pages.empty() ? 1 : 0;
    return kResultOk;
}

Result PageTable::GetNumPages(int32_t* pages) noexcept
{
    record("GetNumPages", {static_cast<const void*>(pages)});
    if (const Result r = answer("GetNumPages", kResultOk); r != kResultOk)
        return r;
    if (pages == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(tableMutex_);
    *pages = static_cast<int32_t>(contents_.pages.size());
    return kResultOk;
}

Result PageTable::InsertPage(int32_t page) noexcept
{
    record("InsertPage", {int64_t{page}});
    if (const Result r = answer("InsertPage", kResultOk); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    if (page < 0 || static_cast<std::size_t>(page) > contents_.pages.size())
        return hostresult::InvalidArgument;
    contents_.pages.insert(contents_.pages.begin() + page, std::vector<std::string>{});
    return kResultOk;
}

Result PageTable::RemovePage(int32_t page) noexcept
{
    record("RemovePage", {int64_t{page}});
    if (const Result r = answer("RemovePage", kResultOk); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    if (page < 0 || static_cast<std::size_t>(page) >= contents_.pages.size())
        return hostresult::InvalidArgument;
    contents_.pages.erase(contents_.pages.begin() + page);
    return kResultOk;
}

Result PageTable::GetNumMappedParameterIDs(int32_t page, int32_t* number) noexcept
{
    record("GetNumMappedParameterIDs", {int64_t{page}, static_cast<const void*>(number)});
    if (const Result r = answer("GetNumMappedParameterIDs", kResultOk); r != kResultOk)
        return r;
    if (number == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(tableMutex_);
    if (page < 0 || static_cast<std::size_t>(page) >= contents_.pages.size())
        return hostresult::InvalidArgument;
    *number = static_cast<int32_t>(contents_.pages[static_cast<std::size_t>(page)].size());
    return kResultOk;
}

Result PageTable::ClearMappedParameter(int32_t page, int32_t index) noexcept
{
    record("ClearMappedParameter", {int64_t{page}, int64_t{index}});
    if (const Result r = answer("ClearMappedParameter", kResultOk); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    if (page < 0 || static_cast<std::size_t>(page) >= contents_.pages.size() || index < 0)
        return hostresult::InvalidArgument;
    auto& slots = contents_.pages[static_cast<std::size_t>(page)];
    if (static_cast<std::size_t>(index) < slots.size())
        slots[static_cast<std::size_t>(index)].clear();
    while (!slots.empty() && slots.back().empty())
        slots.pop_back();
    return kResultOk;
}

Result PageTable::GetMappedParameterID(int32_t page, int32_t index, PlugInString* parameterId) noexcept
{
    record("GetMappedParameterID", {int64_t{page}, int64_t{index}, static_cast<const void*>(parameterId)});
    if (const Result r = answer("GetMappedParameterID", kResultOk); r != kResultOk)
        return r;
    if (parameterId == nullptr)
        return hostresult::NullArgument;
    std::string id;
    {
        std::lock_guard<std::mutex> lock(tableMutex_);
        if (page < 0 || static_cast<std::size_t>(page) >= contents_.pages.size() || index < 0)
            return hostresult::InvalidArgument;
        const auto& slots = contents_.pages[static_cast<std::size_t>(page)];
        if (static_cast<std::size_t>(index) >= slots.size())
            return hostresult::InvalidArgument;
        id = slots[static_cast<std::size_t>(index)];
    }
    setPlugInString(*parameterId, id.c_str()); // an unmapped slot reads as the empty text
    return kResultOk;
}

Result PageTable::MapParameterID(const char* parameterId, int32_t page, int32_t index) noexcept
{
    record("MapParameterID", {textValue(parameterId), int64_t{page}, int64_t{index}});
    if (const Result r = answer("MapParameterID", kResultOk); r != kResultOk)
        return r;
    if (parameterId == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(tableMutex_);
    if (page < 0 || static_cast<std::size_t>(page) >= contents_.pages.size() || index < 0)
        return hostresult::InvalidArgument;
    auto& slots = contents_.pages[static_cast<std::size_t>(page)];
    if (static_cast<std::size_t>(index) >= slots.size())
        slots.resize(static_cast<std::size_t>(index) + 1);
    slots[static_cast<std::size_t>(index)] = parameterId;
    return kResultOk;
}

Result PageTable::GetNumParametersWithNameVariations(int32_t* number) noexcept
{
    record("GetNumParametersWithNameVariations", {static_cast<const void*>(number)});
    if (const Result r = answer("GetNumParametersWithNameVariations", kResultOk); r != kResultOk)
        return r;
    if (number == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(tableMutex_);
    *number = static_cast<int32_t>(contents_.nameVariations.size());
    return kResultOk;
}

Result PageTable::GetNameVariationParameterIDAtIndex(int32_t index, PlugInString* parameterId) noexcept
{
    record("GetNameVariationParameterIDAtIndex", {int64_t{index}, static_cast<const void*>(parameterId)});
    if (const Result r = answer("GetNameVariationParameterIDAtIndex", kResultOk); r != kResultOk)
        return r;
    if (parameterId == nullptr)
        return hostresult::NullArgument;
    std::string id;
    {
        std::lock_guard<std::mutex> lock(tableMutex_);
        if (index < 0 || static_cast<std::size_t>(index) >= contents_.nameVariations.size())
            return hostresult::InvalidArgument;
        id = contents_.nameVariations[static_cast<std::size_t>(index)].first;
    }
    setPlugInString(*parameterId, id.c_str());
    return kResultOk;
}

Result PageTable::GetNumNameVariationsForParameter(const char* parameterId, int32_t* number) noexcept
{
    record("GetNumNameVariationsForParameter", {textValue(parameterId), static_cast<const void*>(number)});
    if (const Result r = answer("GetNumNameVariationsForParameter", kResultOk); r != kResultOk)
        return r;
    if (parameterId == nullptr || number == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(tableMutex_);
    const auto* names = variationsOf(parameterId);
    *number = names != nullptr ? static_cast<int32_t>(names->size()) : 0;
    return kResultOk;
}

Result PageTable::GetParameterNameVariationAtIndex(const char* parameterId, int32_t index, PlugInString* name,
                                                   int32_t* length) noexcept
{
    record("GetParameterNameVariationAtIndex",
           {textValue(parameterId), int64_t{index}, static_cast<const void*>(name),
            static_cast<const void*>(length)});
    if (const Result r = answer("GetParameterNameVariationAtIndex", kResultOk); r != kResultOk)
        return r;
    if (parameterId == nullptr || name == nullptr || length == nullptr)
        return hostresult::NullArgument;
    std::string text;
    int32_t textLength = 0;
    {
        std::lock_guard<std::mutex> lock(tableMutex_);
        const auto* names = variationsOf(parameterId);
        if (names == nullptr)
            return hostresult::UnknownId;
        if (index < 0 || static_cast<std::size_t>(index) >= names->size())
            return hostresult::InvalidArgument;
        const auto it = std::next(names->begin(), index); // by ascending length
        textLength = it->first;
        text = it->second;
    }
    setPlugInString(*name, text.c_str());
    *length = textLength;
    return kResultOk;
}

Result PageTable::GetParameterNameVariationOfLength(const char* parameterId, int32_t length,
                                                    PlugInString* name) noexcept
{
    record("GetParameterNameVariationOfLength",
           {textValue(parameterId), int64_t{length}, static_cast<const void*>(name)});
    if (const Result r = answer("GetParameterNameVariationOfLength", kResultOk); r != kResultOk)
        return r;
    if (parameterId == nullptr || name == nullptr)
        return hostresult::NullArgument;
    std::string text;
    {
        std::lock_guard<std::mutex> lock(tableMutex_);
        const auto* names = variationsOf(parameterId);
        if (names == nullptr)
            return hostresult::UnknownId;
        const auto it = names->find(length);
        if (it == names->end())
            return hostresult::UnknownId;
        text = it->second;
    }
    setPlugInString(*name, text.c_str());
    return kResultOk;
}

Result PageTable::ClearParameterNameVariations() noexcept
{
    record("ClearParameterNameVariations");
    if (const Result r = answer("ClearParameterNameVariations", kResultOk); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    contents_.nameVariations.clear();
    return kResultOk;
}

Result PageTable::ClearNameVariationsForParameter(const char* parameterId) noexcept
{
    record("ClearNameVariationsForParameter", {textValue(parameterId)});
    if (const Result r = answer("ClearNameVariationsForParameter", kResultOk); r != kResultOk)
        return r;
    if (parameterId == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(tableMutex_);
    auto& all = contents_.nameVariations;
    all.erase(std::remove_if(all.begin(), all.end(), [&](const auto& e) { return e.first == parameterId; }),
              all.end());
    return kResultOk;
}

Result PageTable::SetParameterNameVariation(const char* parameterId, const PlugInString* name,
                                            int32_t length) noexcept
{
    const char* text = name != nullptr ? getPlugInString(*name) : nullptr;
    record("SetParameterNameVariation", {textValue(parameterId), textValue(text), int64_t{length}});
    if (const Result r = answer("SetParameterNameVariation", kResultOk); r != kResultOk)
        return r;
    if (parameterId == nullptr || text == nullptr)
        return hostresult::NullArgument;
    if (length < 0)
        return hostresult::InvalidArgument;
    std::lock_guard<std::mutex> lock(tableMutex_);
    auto& all = contents_.nameVariations;
    auto it = std::find_if(all.begin(), all.end(), [&](const auto& e) { return e.first == parameterId; });
    if (it == all.end())
        it = all.insert(all.end(), {parameterId, {}});
    it->second[length] = text;
    return kResultOk;
}

void registerPageTableComponent(ComponentFactory& factory)
{
    factory.registerComponent(AAXCompID_PageTable, [](const CreateRequest& request)
                              { return HostRef<HostObject>(makeHost<PageTable>(request.recorder)); });
}

} // namespace aaxhost
