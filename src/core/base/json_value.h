#pragma once
// JSON text without a JSON library, for the programs that have none (the Win32 window): values
// read from one line of text, and objects written as Qt's compact form writes them (members in
// the order of their names, the same escapes), so the lines of either program read alike.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk930 {

struct JsonValue {
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    // The member of an object; null when there is none (or this is no object).
    const JsonValue* Member(const std::string& name) const;
};

// The value a text holds; nullopt when it is no JSON text (cut, foreign, nested deeper than
// any line of ours, more than one value).
std::optional<JsonValue> ParseJson(std::string_view text);

// A number that is an integer of its type; nullopt for anything else.
std::optional<int> JsonInt(const JsonValue* value);
std::optional<long long> JsonInteger(const JsonValue* value);
// A string's text; empty for anything else.
std::string JsonString(const JsonValue* value);

// `bytes` as a JSON string: UTF-8 when they are valid UTF-8, else each byte as the character of
// that code (Latin-1), so that no byte is lost and every text is a valid JSON string.
void AppendJsonString(std::string& out, std::string_view bytes);

// An object's text, members sorted by name whatever order they were put in.
class JsonObjectText {
  public:
    void Text(const std::string& name, std::string_view bytes);
    void Integer(const std::string& name, long long value);
    void Bool(const std::string& name, bool value);
    // A value that is JSON text already (an object, an array).
    void Raw(const std::string& name, std::string json) { members_[name] = std::move(json); }
    bool Empty() const { return members_.empty(); }
    std::string Done() const;

  private:
    std::map<std::string, std::string> members_;
};

// The text of an array of JSON texts.
std::string JsonArrayText(const std::vector<std::string>& items);

}  // namespace vk930
