#pragma once

// A small JSON value for the host tool's reports: built by the tool, written as
// text, and read back by tests. Objects keep their keys in insertion order.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace aaxhost::tool
{

class Json
{
public:
    enum class Type
    {
        Null,
        Bool,
        Integer,
        Number,
        String,
        Array,
        Object
    };

    Json() = default;
    Json(std::nullptr_t) {}
    Json(bool value) : type_(Type::Bool), bool_(value) {}
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    Json(T value) : type_(Type::Integer), integer_(static_cast<int64_t>(value))
    {
    }
    Json(double value) : type_(Type::Number), number_(value) {}
    Json(std::string value) : type_(Type::String), string_(std::move(value)) {}
    // A null text becomes JSON null.
    Json(const char* value);

    static Json array() { return Json(Type::Array); }
    static Json object() { return Json(Type::Object); }

    Type type() const noexcept { return type_; }
    bool isNull() const noexcept { return type_ == Type::Null; }
    bool isBool() const noexcept { return type_ == Type::Bool; }
    bool isInteger() const noexcept { return type_ == Type::Integer; }
    bool isNumber() const noexcept { return type_ == Type::Integer || type_ == Type::Number; }
    bool isString() const noexcept { return type_ == Type::String; }
    bool isArray() const noexcept { return type_ == Type::Array; }
    bool isObject() const noexcept { return type_ == Type::Object; }

    // Values of the wrong type read as false, 0 or empty.
    bool asBool() const noexcept { return type_ == Type::Bool && bool_; }
    int64_t asInteger() const noexcept;
    double asNumber() const noexcept;
    const std::string& asString() const noexcept;

    // Arrays.
    Json& push(Json value);
    std::size_t size() const noexcept;
    const Json& at(std::size_t index) const noexcept; // null past the end
    template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    const Json& operator[](T index) const noexcept
    {
        return index < 0 ? at(static_cast<std::size_t>(-1)) : at(static_cast<std::size_t>(index));
    }
    const std::vector<Json>& items() const noexcept { return items_; }

    // Objects: set() replaces a key's value or appends the key.
    Json& set(const std::string& key, Json value);
    const Json* find(std::string_view key) const noexcept;
    const Json& operator[](std::string_view key) const noexcept; // null when absent
    const Json& operator[](const char* key) const noexcept { return (*this)[std::string_view(key)]; }
    const std::vector<std::pair<std::string, Json>>& members() const noexcept { return members_; }

    // Text form; indent 0 writes one line.
    std::string dump(int indent = 2) const;

    // Reads one JSON document (surrounding white space allowed). Null on error,
    // with the reason and offset in *error.
    static std::optional<Json> parse(std::string_view text, std::string* error = nullptr);

private:
    explicit Json(Type type) : type_(type) {}
    void write(std::string& out, int indent, int depth) const;

    Type type_ = Type::Null;
    bool bool_ = false;
    int64_t integer_ = 0;
    double number_ = 0.0;
    std::string string_;
    std::vector<Json> items_;
    std::vector<std::pair<std::string, Json>> members_;
};

// Writes `text` as a quoted JSON string.
void writeJsonString(std::string& out, std::string_view text);

} // namespace aaxhost::tool
