#include "Json.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace aaxhost::tool
{

namespace
{
const Json kNull;
const std::string kEmpty;

class Parser
{
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<Json> document(std::string* error)
    {
        std::optional<Json> value = parseValue(0);
        skipSpace();
        if (value && pos_ != text_.size())
            fail("text after the document");
        if (!error_.empty())
        {
            if (error != nullptr)
                *error = error_ + " at offset " + std::to_string(pos_);
            return std::nullopt;
        }
        return value;
    }

private:
    static constexpr int kMaxDepth = 256;

    void fail(const char* what)
    {
        if (error_.empty())
            error_ = what;
    }

    void skipSpace()
    {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }

    bool literal(std::string_view word)
    {
        if (text_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }

    std::optional<Json> parseValue(int depth)
    {
        if (depth > kMaxDepth)
        {
            fail("nesting too deep");
            return std::nullopt;
        }
        skipSpace();
        if (pos_ >= text_.size())
        {
            fail("unexpected end");
            return std::nullopt;
        }
        const char c = text_[pos_];
        if (c == '{')
            return parseObject(depth);
        if (c == '[')
            return parseArray(depth);
        if (c == '"')
        {
            std::optional<std::string> s = parseString();
            return s ? std::optional<Json>(Json(std::move(*s))) : std::nullopt;
        }
        if (literal("true"))
            return Json(true);
        if (literal("false"))
            return Json(false);
        if (literal("null"))
            return Json();
        if (c == '-' || (c >= '0' && c <= '9'))
            return parseNumber();
        fail("unexpected character");
        return std::nullopt;
    }

    std::optional<Json> parseNumber()
    {
        const std::size_t start = pos_;
        bool integral = true;
        if (text_[pos_] == '-')
            ++pos_;
        const auto digits = [&]
        {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9')
                ++pos_;
            return pos_ > from;
        };
        if (!digits())
        {
            fail("malformed number");
            return std::nullopt;
        }
        if (pos_ < text_.size() && text_[pos_] == '.')
        {
            integral = false;
            ++pos_;
            if (!digits())
            {
                fail("malformed number");
                return std::nullopt;
            }
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E'))
        {
            integral = false;
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-'))
                ++pos_;
            if (!digits())
            {
                fail("malformed number");
                return std::nullopt;
            }
        }
        const std::string number(text_.substr(start, pos_ - start));
        if (integral)
        {
            errno = 0;
            char* end = nullptr;
            const long long value = std::strtoll(number.c_str(), &end, 10);
            if (errno == 0)
                return Json(static_cast<int64_t>(value));
        }
        return Json(std::strtod(number.c_str(), nullptr));
    }

    static void appendUtf8(std::string& out, uint32_t cp)
    {
        if (cp < 0x80)
            out += static_cast<char>(cp);
        else if (cp < 0x800)
        {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
        else if (cp < 0x10000)
        {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    std::optional<uint32_t> hex4()
    {
        if (pos_ + 4 > text_.size())
            return std::nullopt;
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
        {
            const char c = text_[pos_++];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<uint32_t>(c - 'A' + 10);
            else
                return std::nullopt;
        }
        return value;
    }

    std::optional<std::string> parseString()
    {
        ++pos_; // opening quote
        std::string out;
        while (pos_ < text_.size())
        {
            const char c = text_[pos_++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
            {
                fail("control character in string");
                return std::nullopt;
            }
            if (c != '\\')
            {
                out += c;
                continue;
            }
            if (pos_ >= text_.size())
                break;
            const char e = text_[pos_++];
            switch (e)
            {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u':
            {
                std::optional<uint32_t> cp = hex4();
                if (cp && *cp >= 0xD800 && *cp < 0xDC00 && literal("\\u"))
                {
                    const std::optional<uint32_t> low = hex4();
                    if (!low || *low < 0xDC00 || *low > 0xDFFF)
                        cp.reset();
                    else
                        cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
                }
                if (!cp)
                {
                    fail("malformed escape");
                    return std::nullopt;
                }
                appendUtf8(out, *cp);
                break;
            }
            default:
                fail("malformed escape");
                return std::nullopt;
            }
        }
        fail("unterminated string");
        return std::nullopt;
    }

    std::optional<Json> parseArray(int depth)
    {
        ++pos_;
        Json array = Json::array();
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == ']')
        {
            ++pos_;
            return array;
        }
        while (true)
        {
            std::optional<Json> item = parseValue(depth + 1);
            if (!item)
                return std::nullopt;
            array.push(std::move(*item));
            skipSpace();
            if (pos_ < text_.size() && text_[pos_] == ',')
            {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == ']')
            {
                ++pos_;
                return array;
            }
            fail("expected ',' or ']'");
            return std::nullopt;
        }
    }

    std::optional<Json> parseObject(int depth)
    {
        ++pos_;
        Json object = Json::object();
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == '}')
        {
            ++pos_;
            return object;
        }
        while (true)
        {
            skipSpace();
            if (pos_ >= text_.size() || text_[pos_] != '"')
            {
                fail("expected a key");
                return std::nullopt;
            }
            std::optional<std::string> key = parseString();
            if (!key)
                return std::nullopt;
            skipSpace();
            if (pos_ >= text_.size() || text_[pos_] != ':')
            {
                fail("expected ':'");
                return std::nullopt;
            }
            ++pos_;
            std::optional<Json> value = parseValue(depth + 1);
            if (!value)
                return std::nullopt;
            object.set(*key, std::move(*value));
            skipSpace();
            if (pos_ < text_.size() && text_[pos_] == ',')
            {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == '}')
            {
                ++pos_;
                return object;
            }
            fail("expected ',' or '}'");
            return std::nullopt;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};
} // namespace

Json::Json(const char* value)
{
    if (value != nullptr)
    {
        type_ = Type::String;
        string_ = value;
    }
}

int64_t Json::asInteger() const noexcept
{
    if (type_ == Type::Integer)
        return integer_;
    if (type_ == Type::Number && std::isfinite(number_))
        return static_cast<int64_t>(number_);
    return 0;
}

double Json::asNumber() const noexcept
{
    if (type_ == Type::Integer)
        return static_cast<double>(integer_);
    return type_ == Type::Number ? number_ : 0.0;
}

const std::string& Json::asString() const noexcept
{
    return type_ == Type::String ? string_ : kEmpty;
}

Json& Json::push(Json value)
{
    type_ = Type::Array;
    items_.push_back(std::move(value));
    return items_.back();
}

std::size_t Json::size() const noexcept
{
    if (type_ == Type::Array)
        return items_.size();
    if (type_ == Type::Object)
        return members_.size();
    return 0;
}

const Json& Json::at(std::size_t index) const noexcept
{
    return index < items_.size() ? items_[index] : kNull;
}

Json& Json::set(const std::string& key, Json value)
{
    type_ = Type::Object;
    for (auto& member : members_)
        if (member.first == key)
        {
            member.second = std::move(value);
            return member.second;
        }
    members_.emplace_back(key, std::move(value));
    return members_.back().second;
}

const Json* Json::find(std::string_view key) const noexcept
{
    for (const auto& member : members_)
        if (member.first == key)
            return &member.second;
    return nullptr;
}

const Json& Json::operator[](std::string_view key) const noexcept
{
    const Json* found = find(key);
    return found != nullptr ? *found : kNull;
}

void writeJsonString(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text)
    {
        switch (c)
        {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
            {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
                out += buffer;
            }
            else
                out += c;
        }
    }
    out += '"';
}

void Json::write(std::string& out, int indent, int depth) const
{
    const auto newline = [&](int level)
    {
        if (indent > 0)
        {
            out += '\n';
            out.append(static_cast<std::size_t>(indent * level), ' ');
        }
    };
    switch (type_)
    {
    case Type::Null:
        out += "null";
        break;
    case Type::Bool:
        out += bool_ ? "true" : "false";
        break;
    case Type::Integer:
        out += std::to_string(integer_);
        break;
    case Type::Number:
    {
        if (!std::isfinite(number_))
        {
            out += "null";
            break;
        }
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", number_);
        std::string text(buffer);
        if (text.find_first_of(".eE") == std::string::npos)
            text += ".0";
        out += text;
        break;
    }
    case Type::String:
        writeJsonString(out, string_);
        break;
    case Type::Array:
        out += '[';
        for (std::size_t i = 0; i < items_.size(); ++i)
        {
            if (i > 0)
                out += ',';
            newline(depth + 1);
            items_[i].write(out, indent, depth + 1);
        }
        if (!items_.empty())
            newline(depth);
        out += ']';
        break;
    case Type::Object:
        out += '{';
        for (std::size_t i = 0; i < members_.size(); ++i)
        {
            if (i > 0)
                out += ',';
            newline(depth + 1);
            writeJsonString(out, members_[i].first);
            out += indent > 0 ? ": " : ":";
            members_[i].second.write(out, indent, depth + 1);
        }
        if (!members_.empty())
            newline(depth);
        out += '}';
        break;
    }
}

std::string Json::dump(int indent) const
{
    std::string out;
    write(out, indent, 0);
    return out;
}

std::optional<Json> Json::parse(std::string_view text, std::string* error)
{
    return Parser(text).document(error);
}

} // namespace aaxhost::tool
