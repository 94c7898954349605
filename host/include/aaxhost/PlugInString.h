#pragma once

#include <cstdint>
#include <string>

namespace aaxhost
{

// The text interface that both sides pass strings through (the host's name,
// identifiers, page-table names). The host calls the plug-in's string objects
// through this table and hands its own (HostString) the other way, so the
// order of the virtual operations is shared: destructor (two entries),
// Length, MaxLength, Get, Set, assignment from a string, assignment from text.
class PlugInString
{
public:
    virtual ~PlugInString() = default;
    virtual uint32_t Length() const = 0;
    virtual uint32_t MaxLength() const = 0;
    virtual const char* Get() const = 0;
    virtual void Set(const char* text) = 0;
    virtual PlugInString& operator=(const PlugInString& other) = 0;
    virtual PlugInString& operator=(const char* text) = 0;

protected:
    PlugInString() = default;
    PlugInString(const PlugInString&) = default;
};

// Writing and reading the plug-in's string objects.
inline void setPlugInString(PlugInString& target, const char* text)
{
    target.Set(text);
}

inline const char* getPlugInString(const PlugInString& source)
{
    return source.Get();
}

// The host's own string object.
class HostString final : public PlugInString
{
public:
    HostString() = default;
    explicit HostString(std::string text) : text_(std::move(text)) {}
    HostString(const HostString& other) : PlugInString(), text_(other.text_) {}

    uint32_t Length() const override { return static_cast<uint32_t>(text_.size()); }
    uint32_t MaxLength() const override { return 0xFFFFFFFEu; }
    const char* Get() const override { return text_.c_str(); }
    void Set(const char* text) override { text_ = text != nullptr ? text : ""; }
    PlugInString& operator=(const PlugInString& other) override
    {
        if (&other != this)
            Set(other.Get());
        return *this;
    }
    HostString& operator=(const HostString& other)
    {
        text_ = other.text_;
        return *this;
    }
    PlugInString& operator=(const char* text) override
    {
        Set(text);
        return *this;
    }

    const std::string& text() const noexcept { return text_; }

private:
    std::string text_;
};

} // namespace aaxhost
