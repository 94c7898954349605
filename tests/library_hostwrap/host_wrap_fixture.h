#pragma once

// A controller unknown as a host hands it to an effect's Initialize: it
// answers the controller, page-table controller, transport and component
// factory identifiers with the host stand-in's objects.

#include "AAX_IString.h"
#include "acfunknown.h"
#include "library_unknown.h"

#include "aaxhost/Controller.h"
#include "aaxhost/ControllerUnknown.h"
#include "aaxhost/Host.h"
#include "aaxhost/HostUnknown.h"
#include "aaxhost/PageTable.h"
#include "aaxhost/Transport.h"
#include "aaxhost/ViewContainer.h"

#include <gtest/gtest.h>

#include <string>

namespace tambrix::test
{

// The plug-in side's string, as plug-in code hands it to the host.
class TestString final : public AAX_IString
{
public:
    TestString() = default;
    explicit TestString(std::string text) : text_(std::move(text)) {}

    uint32_t Length() const override { return static_cast<uint32_t>(text_.size()); }
    uint32_t MaxLength() const override { return 0xFFFFFFFEu; }
    const char* Get() const override { return text_.c_str(); }
    void Set(const char* text) override { text_ = text != nullptr ? text : ""; }
    AAX_IString& operator=(const AAX_IString& other) override
    {
        if (&other != this)
            text_ = other.Get();
        return *this;
    }
    AAX_IString& operator=(const char* text) override
    {
        Set(text);
        return *this;
    }

    const std::string& text() const { return text_; }

private:
    std::string text_;
};

struct ControllerHost
{
    aaxhost::Host host;
    aaxhost::HostRef<aaxhost::Controller> controller;
    aaxhost::HostRef<aaxhost::Transport> transport;
    aaxhost::HostRef<aaxhost::HostUnknown> unknown;

    ControllerHost()
        : controller(aaxhost::makeHost<aaxhost::Controller>(host.sharedRecorder())),
          transport(aaxhost::makeHost<aaxhost::Transport>(host.sharedRecorder()))
    {
        unknown = aaxhost::makeControllerUnknown(host, controller, transport);
    }

    IACFUnknown* libraryUnknown() { return asLibrary(unknown->primaryInterface()); }

    // Operations the plug-in called on host objects of one kind, in order.
    std::vector<std::string> operations(const std::string& object)
    {
        std::vector<std::string> names;
        for (const auto& call : host.recorder().calls())
            if (call.object == object && call.operation != "QueryInterface" && call.operation != "AddRef" &&
                call.operation != "Release")
                names.push_back(call.operation);
        return names;
    }

    std::string lastOperation(const std::string& object)
    {
        const auto names = operations(object);
        return names.empty() ? std::string() : names.back();
    }
};

} // namespace tambrix::test
