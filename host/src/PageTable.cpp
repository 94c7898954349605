#include "aaxhost/PageTable.h"

#include <algorithm>
#include <utility>

namespace aaxhost
{

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

std::vector<std::string>* PageTable::pageAt(int32_t page)
{
    if (page < 0 || static_cast<std::size_t>(page) >= contents_.pages.size())
        return nullptr;
    return &contents_.pages[static_cast<std::size_t>(page)];
}

std::map<int32_t, std::string>* PageTable::variationsOf(const std::string& parameterId)
{
    for (auto& entry : contents_.nameVariations)
        if (entry.first == parameterId)
            return &entry.second;
    return nullptr;
}

// Each operation records the call; a forced result answers before anything
// is read or changed.

Result PageTable::Clear() noexcept
{
    return deliver(enter("Clear"), tableMutex_, [&] { contents_.pages.clear(); });
}

Result PageTable::Empty(uint8_t* empty) noexcept
{
    return deliver(enter("Empty", {pointerValue(empty)}, empty), tableMutex_,
                   [&] { *empty = contents_.pages.empty() ? 1 : 0; });
}

Result PageTable::GetNumPages(int32_t* pages) noexcept
{
    return deliver(enter("GetNumPages", {pointerValue(pages)}, pages), tableMutex_,
                   [&] { *pages = static_cast<int32_t>(contents_.pages.size()); });
}

Result PageTable::InsertPage(int32_t page) noexcept
{
    if (const Result r = enter("InsertPage", {int64_t{page}}); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    if (page < 0 || static_cast<std::size_t>(page) > contents_.pages.size())
        return hostresult::InvalidArgument;
    contents_.pages.insert(contents_.pages.begin() + page, std::vector<std::string>{});
    return kResultOk;
}

Result PageTable::RemovePage(int32_t page) noexcept
{
    if (const Result r = enter("RemovePage", {int64_t{page}}); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    if (pageAt(page) == nullptr)
        return hostresult::InvalidArgument;
    contents_.pages.erase(contents_.pages.begin() + page);
    return kResultOk;
}

Result PageTable::GetNumMappedParameterIDs(int32_t page, int32_t* number) noexcept
{
    if (const Result r = enter("GetNumMappedParameterIDs", {int64_t{page}, pointerValue(number)}, number);
        r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    const auto* slots = pageAt(page);
    if (slots == nullptr)
        return hostresult::InvalidArgument;
    *number = static_cast<int32_t>(slots->size());
    return kResultOk;
}

Result PageTable::ClearMappedParameter(int32_t page, int32_t index) noexcept
{
    if (const Result r = enter("ClearMappedParameter", {int64_t{page}, int64_t{index}}); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    auto* slots = pageAt(page);
    if (slots == nullptr || index < 0)
        return hostresult::InvalidArgument;
    if (static_cast<std::size_t>(index) < slots->size())
        (*slots)[static_cast<std::size_t>(index)].clear();
    while (!slots->empty() && slots->back().empty())
        slots->pop_back();
    return kResultOk;
}

Result PageTable::GetMappedParameterID(int32_t page, int32_t index, PlugInString* parameterId) noexcept
{
    if (const Result r = enter("GetMappedParameterID",
                               {int64_t{page}, int64_t{index}, pointerValue(parameterId)}, parameterId);
        r != kResultOk)
        return r;
    std::string id;
    {
        std::lock_guard<std::mutex> lock(tableMutex_);
        const auto* slots = pageAt(page);
        if (slots == nullptr || index < 0 || static_cast<std::size_t>(index) >= slots->size())
            return hostresult::InvalidArgument;
        id = (*slots)[static_cast<std::size_t>(index)];
    }
    setPlugInString(*parameterId, id.c_str()); // an unmapped slot reads as the empty text
    return kResultOk;
}

Result PageTable::MapParameterID(const char* parameterId, int32_t page, int32_t index) noexcept
{
    if (const Result r =
            enter("MapParameterID", {textValue(parameterId), int64_t{page}, int64_t{index}}, parameterId);
        r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    auto* slots = pageAt(page);
    if (slots == nullptr || index < 0)
        return hostresult::InvalidArgument;
    if (static_cast<std::size_t>(index) >= slots->size())
        slots->resize(static_cast<std::size_t>(index) + 1);
    (*slots)[static_cast<std::size_t>(index)] = parameterId;
    return kResultOk;
}

Result PageTable::GetNumParametersWithNameVariations(int32_t* number) noexcept
{
    return deliver(enter("GetNumParametersWithNameVariations", {pointerValue(number)}, number), tableMutex_,
                   [&] { *number = static_cast<int32_t>(contents_.nameVariations.size()); });
}

Result PageTable::GetNameVariationParameterIDAtIndex(int32_t index, PlugInString* parameterId) noexcept
{
    if (const Result r = enter("GetNameVariationParameterIDAtIndex",
                               {int64_t{index}, pointerValue(parameterId)}, parameterId);
        r != kResultOk)
        return r;
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
    if (const Result r = enter("GetNumNameVariationsForParameter",
                               {textValue(parameterId), pointerValue(number)}, parameterId, number);
        r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(tableMutex_);
    const auto* names = variationsOf(parameterId);
    *number = names != nullptr ? static_cast<int32_t>(names->size()) : 0;
    return kResultOk;
}

Result PageTable::GetParameterNameVariationAtIndex(const char* parameterId, int32_t index, PlugInString* name,
                                                   int32_t* length) noexcept
{
    if (const Result r =
            enter("GetParameterNameVariationAtIndex",
                  {textValue(parameterId), int64_t{index}, pointerValue(name), pointerValue(length)},
                  parameterId, name, length);
        r != kResultOk)
        return r;
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
    if (const Result r =
            enter("GetParameterNameVariationOfLength",
                  {textValue(parameterId), int64_t{length}, pointerValue(name)}, parameterId, name);
        r != kResultOk)
        return r;
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
    return deliver(enter("ClearParameterNameVariations"), tableMutex_,
                   [&] { contents_.nameVariations.clear(); });
}

Result PageTable::ClearNameVariationsForParameter(const char* parameterId) noexcept
{
    if (const Result r = enter("ClearNameVariationsForParameter", {textValue(parameterId)}, parameterId);
        r != kResultOk)
        return r;
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
    if (const Result r = enter("SetParameterNameVariation",
                               {textValue(parameterId), textValue(text), int64_t{length}}, parameterId, text);
        r != kResultOk)
        return r;
    if (length < 0)
        return hostresult::InvalidArgument;
    std::lock_guard<std::mutex> lock(tableMutex_);
    auto* names = variationsOf(parameterId);
    if (names == nullptr)
        names = &contents_.nameVariations.emplace_back(parameterId, std::map<int32_t, std::string>{}).second;
    (*names)[length] = text;
    return kResultOk;
}

void registerPageTableComponent(ComponentFactory& factory)
{
    factory.registerComponent(AAXCompID_PageTable, [](const CreateRequest& request)
                              { return HostRef<HostObject>(makeHost<PageTable>(request.recorder)); });
}

} // namespace aaxhost
