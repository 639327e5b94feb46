// Journal lines written and read as JSON text.
#include "core/registry/journal_line.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

namespace vk930 {

namespace {

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

std::string UtcTime(std::chrono::system_clock::time_point time) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d+00:00", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(ms % 1000));
    return text;
}

// A JSON value, as much of one as a journal line holds.
struct Value {
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
    double number = 0;
    std::string text;
    std::vector<Value> items;
    std::map<std::string, Value> members;

    const Value* Member(const std::string& name) const {
        const auto found = members.find(name);
        return found == members.end() ? nullptr : &found->second;
    }
};

// A recursive-descent reader of one JSON text; any fault makes the whole line unreadable.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<Value> Document() {
        std::optional<Value> value = Read(0);
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

    std::optional<Value> Read(int depth) {
        if (depth > kMaxDepth) return std::nullopt;
        Blanks();
        if (at_ >= text_.size()) return std::nullopt;
        Value value;
        const char c = text_[at_];
        if (c == '{') return Object(depth);
        if (c == '[') return Array(depth);
        if (c == '"') {
            std::optional<std::string> text = String();
            if (!text) return std::nullopt;
            value.kind = Value::Kind::kString;
            value.text = std::move(*text);
            return value;
        }
        if (Word("null")) return value;
        if (Word("true") || Word("false")) {
            value.kind = Value::Kind::kBool;
            value.number = text_[at_ - 4] == 't' ? 1 : 0;
            return value;
        }
        return Number();
    }

    std::optional<Value> Number() {
        const size_t start = at_;
        while (at_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[at_])) ||
                std::string_view("+-.eE").find(text_[at_]) != std::string_view::npos))
            ++at_;
        if (at_ == start) return std::nullopt;
        const std::string digits(text_.substr(start, at_ - start));
        char* end = nullptr;
        Value value;
        value.kind = Value::Kind::kNumber;
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

    std::optional<Value> Array(int depth) {
        ++at_;
        Value value;
        value.kind = Value::Kind::kArray;
        if (Take(']')) return value;
        do {
            std::optional<Value> item = Read(depth + 1);
            if (!item) return std::nullopt;
            value.items.push_back(std::move(*item));
        } while (Take(','));
        if (!Take(']')) return std::nullopt;
        return value;
    }

    std::optional<Value> Object(int depth) {
        ++at_;
        Value value;
        value.kind = Value::Kind::kObject;
        if (Take('}')) return value;
        do {
            Blanks();
            if (at_ >= text_.size() || text_[at_] != '"') return std::nullopt;
            std::optional<std::string> name = String();
            if (!name || !Take(':')) return std::nullopt;
            std::optional<Value> member = Read(depth + 1);
            if (!member) return std::nullopt;
            value.members[*name] = std::move(*member);
        } while (Take(','));
        if (!Take('}')) return std::nullopt;
        return value;
    }

    std::string_view text_;
    size_t at_ = 0;
};

std::optional<int> IntOf(const Value* value) {
    if (!value || value->kind != Value::Kind::kNumber) return std::nullopt;
    const double n = value->number;
    if (n != static_cast<double>(static_cast<long long>(n)) || n < -2147483648.0 ||
        n > 2147483647.0)
        return std::nullopt;
    return static_cast<int>(n);
}

std::string TextOf(const Value* value) {
    return value && value->kind == Value::Kind::kString ? value->text : std::string();
}

}  // namespace

std::string JournalLineText(const JournalEntry& entry, std::chrono::system_clock::time_point time) {
    std::string body = "{\"commId\":" + std::to_string(entry.commId) + ",\"state\":";
    AppendQuoted(body, ToString(entry.state));
    const auto text = [&body](const char* name, const std::string& value) {
        if (value.empty()) return;
        body += ",\"" + std::string(name) + "\":";
        AppendQuoted(body, value);
    };
    text("reason", entry.reason);
    if (!entry.possible.empty()) {
        body += ",\"possible\":[";
        for (size_t i = 0; i < entry.possible.size(); ++i)
            body += (i ? "," : "") + std::to_string(entry.possible[i]);
        body += "]";
    }
    text("series", entry.seriesId);
    text("holder", entry.holder);
    if (entry.oldId) body += ",\"oldId\":" + std::to_string(*entry.oldId);
    std::string line = "{\"time\":";
    AppendQuoted(line, UtcTime(time));
    return line + ",\"journal\":" + body + "}}";
}

std::optional<JournalEntry> ParseJournalLine(std::string_view line) {
    const std::optional<Value> document = Reader(line).Document();
    if (!document || document->kind != Value::Kind::kObject) return std::nullopt;
    const Value* body = document->Member("journal");
    if (!body || body->kind != Value::Kind::kObject) return std::nullopt;
    const std::optional<int> commId = IntOf(body->Member("commId"));
    const std::optional<IdState> state = IdStateFromText(TextOf(body->Member("state")));
    if (!commId || *commId < 0 || !state) return std::nullopt;
    JournalEntry entry;
    entry.commId = *commId;
    entry.state = *state;
    entry.reason = TextOf(body->Member("reason"));
    if (const Value* possible = body->Member("possible");
        possible && possible->kind == Value::Kind::kArray) {
        for (const Value& item : possible->items)
            if (const std::optional<int> value = IntOf(&item)) entry.possible.push_back(*value);
    }
    entry.seriesId = TextOf(body->Member("series"));
    entry.holder = TextOf(body->Member("holder"));
    entry.oldId = IntOf(body->Member("oldId"));
    return entry;
}

}  // namespace vk930
