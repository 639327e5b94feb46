// JSON values read from a line and objects written in the compact form.
#include "core/base/json_value.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace vk930 {

namespace {

// A recursive-descent reader of one JSON text; any fault makes the whole line unreadable.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Document() {
        std::optional<JsonValue> value = Read(0);
        Blanks();
        if (!value || at_ != text_.size()) return std::nullopt;
        return value;
    }

  private:
    static constexpr int kMaxDepth = 16;

    void Blanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }
    bool Take(char c) {
        Blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    std::optional<JsonValue> Read(int depth) {
        if (depth > kMaxDepth) return std::nullopt;
        Blanks();
        if (at_ >= text_.size()) return std::nullopt;
        JsonValue value;
        const char c = text_[at_];
        if (c == '{') return Object(depth);
        if (c == '[') return Array(depth);
        if (c == '"') {
            std::optional<std::string> text = String();
            if (!text) return std::nullopt;
            value.kind = JsonValue::Kind::kString;
            value.text = std::move(*text);
            return value;
        }
        if (Word("null")) return value;
        if (Word("true") || Word("false")) {
            value.kind = JsonValue::Kind::kBool;
            value.number = text_[at_ - 4] == 't' ? 1 : 0;
            return value;
        }
        return Number();
    }

    std::optional<JsonValue> Number() {
        const size_t start = at_;
        while (at_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[at_])) ||
                std::string_view("+-.eE").find(text_[at_]) != std::string_view::npos))
            ++at_;
        if (at_ == start) return std::nullopt;
        const std::string digits(text_.substr(start, at_ - start));
        char* end = nullptr;
        JsonValue value;
        value.kind = JsonValue::Kind::kNumber;
        value.number = std::strtod(digits.c_str(), &end);
        if (end != digits.c_str() + digits.size()) return std::nullopt;
        return value;
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xc0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else {
            out += static_cast<char>(0xe0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (code & 0x3f));
        }
    }

    std::optional<std::string> String() {
        ++at_;  // the opening quote
        std::string out;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) return std::nullopt;
            const char e = text_[at_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
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
                case 'u': {
                    if (at_ + 4 > text_.size()) return std::nullopt;
                    const std::string hex(text_.substr(at_, 4));
                    char* end = nullptr;
                    const unsigned long code = std::strtoul(hex.c_str(), &end, 16);
                    if (end != hex.c_str() + 4) return std::nullopt;
                    at_ += 4;
                    // A surrogate half stands for a character no journal text of ours holds.
                    AppendUtf8(out, code >= 0xd800 && code < 0xe000 ? 0xfffd : code);
                    break;
                }
                default:
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<JsonValue> Array(int depth) {
        ++at_;
        JsonValue value;
        value.kind = JsonValue::Kind::kArray;
        if (Take(']')) return value;
        do {
            std::optional<JsonValue> item = Read(depth + 1);
            if (!item) return std::nullopt;
            value.items.push_back(std::move(*item));
        } while (Take(','));
        if (!Take(']')) return std::nullopt;
        return value;
    }

    std::optional<JsonValue> Object(int depth) {
        ++at_;
        JsonValue value;
        value.kind = JsonValue::Kind::kObject;
        if (Take('}')) return value;
        do {
            Blanks();
            if (at_ >= text_.size() || text_[at_] != '"') return std::nullopt;
            std::optional<std::string> name = String();
            if (!name || !Take(':')) return std::nullopt;
            std::optional<JsonValue> member = Read(depth + 1);
            if (!member) return std::nullopt;
            value.members[*name] = std::move(*member);
        } while (Take(','));
        if (!Take('}')) return std::nullopt;
        return value;
    }

    std::string_view text_;
    size_t at_ = 0;
};

// The length of the UTF-8 sequence at `at`, 0 when it is none (a stray byte, an overlong form,
// a surrogate, a code beyond U+10FFFF, a cut sequence).
size_t Utf8Length(std::string_view bytes, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    unsigned code = 0;
    unsigned least = 0;
    if (lead < 0x80) return 1;
    if ((lead & 0xe0) == 0xc0) {
        length = 2, code = lead & 0x1f, least = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
        length = 3, code = lead & 0x0f, least = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3f);
    }
    if (code < least || code > 0x10ffff || (code >= 0xd800 && code < 0xe000)) return 0;
    return length;
}

bool ValidUtf8(std::string_view bytes) {
    for (size_t at = 0; at < bytes.size();) {
        const size_t length = Utf8Length(bytes, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

char HexDigit(unsigned value) {
    return static_cast<char>(value < 10 ? '0' + value : 'a' + value - 10);
}

}  // namespace

const JsonValue* JsonValue::Member(const std::string& name) const {
    const auto found = members.find(name);
    return found == members.end() ? nullptr : &found->second;
}

std::optional<JsonValue> ParseJson(std::string_view text) {
    return Reader(text).Document();
}

std::optional<long long> JsonInteger(const JsonValue* value) {
    if (!value || value->kind != JsonValue::Kind::kNumber) return std::nullopt;
    const double n = value->number;
    // Beyond 2^53 a double holds no exact integer; none of ours is that large.
    if (n < -9007199254740992.0 || n > 9007199254740992.0) return std::nullopt;
    if (n != static_cast<double>(static_cast<long long>(n))) return std::nullopt;
    return static_cast<long long>(n);
}

std::optional<int> JsonInt(const JsonValue* value) {
    const std::optional<long long> n = JsonInteger(value);
    if (!n || *n < -2147483648LL || *n > 2147483647LL) return std::nullopt;
    return static_cast<int>(*n);
}

std::string JsonString(const JsonValue* value) {
    return value && value->kind == JsonValue::Kind::kString ? value->text : std::string();
}

void AppendJsonString(std::string& out, std::string_view bytes) {
    const bool utf8 = ValidUtf8(bytes);
    out += '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            case '\b':
                out += "\\b";
                continue;
            case '\f':
                out += "\\f";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        if (byte < 0x20) {
            out += "\\u00";
            out += HexDigit(byte >> 4);
            out += HexDigit(byte & 0xf);
        } else if (byte < 0x80 || utf8) {
            out += c;
        } else {
            out += static_cast<char>(0xc0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3f));
        }
    }
    out += '"';
}

void JsonObjectText::Text(const std::string& name, std::string_view bytes) {
    std::string json;
    AppendJsonString(json, bytes);
    members_[name] = std::move(json);
}

void JsonObjectText::Integer(const std::string& name, long long value) {
    members_[name] = std::to_string(value);
}

void JsonObjectText::Bool(const std::string& name, bool value) {
    members_[name] = value ? "true" : "false";
}

std::string JsonObjectText::Done() const {
    std::string out = "{";
    for (const auto& [name, json] : members_) {
        if (out.size() > 1) out += ',';
        AppendJsonString(out, name);
        out += ':';
        out += json;
    }
    return out + "}";
}

std::string JsonArrayText(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
    return out + "]";
}

}  // namespace vk930
