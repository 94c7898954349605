#pragma once

#include "aaxhost/ComponentFactory.h"
#include "aaxhost/ControllerInterfaces.h"
#include "aaxhost/HostObject.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace aaxhost
{

// What a page table holds: pages of parameter slots (an empty text is an
// unmapped slot) and, per parameter, names by length.
struct PageTableContents
{
    std::vector<std::vector<std::string>> pages;
    // In the order the parameters were first given a name variation.
    std::vector<std::pair<std::string, std::map<int32_t, std::string>>> nameVariations;

    bool operator==(const PageTableContents& other) const
    {
        return pages == other.pages && nameVariations == other.nameVariations;
    }
    bool operator!=(const PageTableContents& other) const { return !(*this == other); }
};

// The host's page table (component AAXCompID_PageTable), versions 1 and 2.
// Pages are numbered from 0; a page's slot count is one past its highest
// mapped index. Bad page or slot numbers answer hostresult::InvalidArgument,
// null texts hostresult::NullArgument, a missing name hostresult::UnknownId;
// outputs are written only on success.
class PageTable final : public HostObjectOf<AAX_IACFPageTable_V2>
{
public:
    explicit PageTable(std::shared_ptr<CallRecorder> recorder, std::string name = "PageTable")
        : HostObjectOf(std::move(name), std::move(recorder))
    {
    }

    PageTableContents contents() const;
    void setContents(PageTableContents contents);

    // The host's page table behind an interface pointer, or null.
    static PageTable* fromUnknown(IACFUnknown* unknown) noexcept;

    Result Clear() noexcept override;
    Result Empty(uint8_t* empty) noexcept override;
    Result GetNumPages(int32_t* pages) noexcept override;
    Result InsertPage(int32_t page) noexcept override;
    Result RemovePage(int32_t page) noexcept override;
    Result GetNumMappedParameterIDs(int32_t page, int32_t* number) noexcept override;
    Result ClearMappedParameter(int32_t page, int32_t index) noexcept override;
    Result GetMappedParameterID(int32_t page, int32_t index, PlugInString* parameterId) noexcept override;
    Result MapParameterID(const char* parameterId, int32_t page, int32_t index) noexcept override;
    Result GetNumParametersWithNameVariations(int32_t* number) noexcept override;
    Result GetNameVariationParameterIDAtIndex(int32_t index, PlugInString* parameterId) noexcept override;
    Result GetNumNameVariationsForParameter(const char* parameterId, int32_t* number) noexcept override;
    Result GetParameterNameVariationAtIndex(const char* parameterId, int32_t index, PlugInString* name,
                                            int32_t* length) noexcept override;
    Result GetParameterNameVariationOfLength(const char* parameterId, int32_t length,
                                             PlugInString* name) noexcept override;
    Result ClearParameterNameVariations() noexcept override;
    Result ClearNameVariationsForParameter(const char* parameterId) noexcept override;
    Result SetParameterNameVariation(const char* parameterId, const PlugInString* name,
                                     int32_t length) noexcept override;

protected:
    ~PageTable() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IAAXPageTableV1 || iid == IID_IAAXPageTableV2 ? as<AAX_IACFPageTable_V2>()
                                                                        : nullptr;
    }

private:
    // Under the lock: page `page` or null, the name variations of a parameter or null.
    std::vector<std::string>* pageAt(int32_t page);
    std::map<int32_t, std::string>* variationsOf(const std::string& parameterId);

    mutable std::mutex tableMutex_;
    PageTableContents contents_;
};

// Registers the page-table component with the factory (both versions).
void registerPageTableComponent(ComponentFactory& factory);

} // namespace aaxhost
