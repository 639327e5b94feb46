#include "core/params/parameter_file.h"

#include <algorithm>

#include "core/params/page_map.h"

namespace vk930 {

namespace {

// The keyed form's lines, in file order; a function key stands for its text and send lines.
constexpr std::array<std::string_view, 29> kKeyedOrder = {
    "HEADING",     "EXTRAID",      "LANGUAGE",     "LEDONOFF",     "VOL_FREQ", "DOT_COMMA",
    "WAIT_TIME",   "PASSWORD",     "SLEEP",        "VOLUME",       "MENULANG", "RECMODE",
    "USEFORMLOCK", "USECUSTOMTXT", "FORMLOCKTXT1", "FORMLOCKTXT2", "BATTERY",  "WAKESCAN",
    "KEYSOUND",    "F1TXT",        "F2TXT",        "F3TXT",        "F4TXT",    "F5TXT",
    "F6TXT",       "F7TXT",        "F8TXT",        "F9TXT",        "F10TXT"};

constexpr std::array<std::string_view, 39> kVocabulary = {
    "HEADING:",      "EXTRAID:",      "PASSWORD:",   "SLEEP:",      "VOLUME:",      "RECTIMELIMIT:",
    "CHANNEL:",      "RESENDTIMES:",  "MENULANG:",   "RECMODE:",    "USEFORMLOCK:", "USECUSTOMTXT:",
    "FORMLOCKTXT1:", "FORMLOCKTXT2:", "USEENCRYPT:", "ENCRYPTKEY:", "BATTERY:",     "WAKESCAN:",
    "KEYSOUND:",     "F1TXT:",        "F1SEND:",     "F2TXT:",      "F2SEND:",      "F3TXT:",
    "F3SEND:",       "F4TXT:",        "F4SEND:",     "F5TXT:",      "F5SEND:",      "F6TXT:",
    "F6SEND:",       "F7TXT:",        "F7SEND:",     "F8TXT:",      "F8SEND:",      "F9TXT:",
    "F9SEND:",       "F10TXT:",       "F10SEND:"};

int FunctionKeyNumber(const PageField& field) {
    return (field.offset - FunctionKeyBase(1)) / kFunctionKeyRecordWidth + 1;
}

bool WriteFunctionKeyLines(PageSource& pages, const PageField& field, const LineSink& sink) {
    const int n = FunctionKeyNumber(field);
    const FunctionKeyValue key = ReadFunctionKey(pages, n);
    const std::string name = "F" + std::to_string(n);
    return sink(ParameterLine(name + "TXT", key.text)) &&
           sink(ParameterLine(name + "SEND", std::to_string(key.sendFlag)));
}

bool WriteFieldLines(PageSource& pages, const PageField& field, const LineSink& sink) {
    switch (field.encoding) {
        case Encoding::kByte:
            return sink(ParameterLine(
                field.key, std::to_string(ReadByteValue(pages, field.page, field.offset))));
        case Encoding::kTwoByte:
            return sink(ParameterLine(
                field.key, std::to_string(ReadTwoByteValue(pages, field.page, field.offset))));
        case Encoding::kText:
            return sink(ParameterLine(field.key, ReadTextField(pages, field.page, field.offset)));
        case Encoding::kFunctionKey:
            return WriteFunctionKeyLines(pages, field, sink);
    }
    return false;
}

std::string EndLine() {
    return std::string(kEndKey) + std::string(kLineEnd);
}

}  // namespace

const std::array<std::string_view, 39>& KeyVocabulary() {
    return kVocabulary;
}

std::string ParameterLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += ':';
    line += value;
    std::replace(line.begin() + static_cast<std::ptrdiff_t>(key.size()), line.end(), '\n', ' ');
    line += kLineEnd;
    return line;
}

std::string RawLine(int page, int offset, int value) {
    return ParameterLine(kSystemKey, std::to_string(page) + "," + std::to_string(offset) + "," +
                                         std::to_string(value));
}

bool WriteKeyedForm(PageSource& pages, const LineSink& sink) {
    for (std::string_view key : kKeyedOrder)
        if (!WriteFieldLines(pages, *FindField(key), sink)) return false;
    return sink(EndLine());
}

bool WriteRawForm(PageSource& pages, const LineSink& sink) {
    for (int page = 0; page < 2; ++page)
        for (int offset = 0; offset < 256; ++offset)
            if (!sink(RawLine(page, offset, ReadByteValue(pages, page, offset)))) return false;
    return sink(EndLine());
}

bool HasColon(std::string_view line) {
    return line.find(':') != std::string_view::npos;
}

std::string GetKey(std::string_view line) {
    return std::string(line.substr(0, line.find(':')));
}

std::string GetValue(std::string_view line) {
    const size_t colon = line.find(':');
    return std::string(colon == std::string_view::npos ? line : line.substr(colon + 1));
}

std::optional<std::string> LineReader::Next() {
    using Traits = std::char_traits<char>;
    std::streambuf* buffer = in_.rdbuf();
    Traits::int_type c = buffer ? buffer->sbumpc() : Traits::eof();
    if (Traits::eq_int_type(c, Traits::eof())) return std::nullopt;
    std::string line;
    for (; !Traits::eq_int_type(c, Traits::eof()); c = buffer->sbumpc()) {
        if (c == '\n') break;
        if (c == '\r') {
            if (buffer->sgetc() == '\n') buffer->sbumpc();
            break;
        }
        if (line.size() < kMaxLineLength) line += Traits::to_char_type(c);
    }
    return line;
}

}  // namespace vk930
