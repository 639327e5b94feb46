#include "core/params/parameter_file.h"

#include <algorithm>

#include "core/params/page_encoding.h"

namespace vk930 {

namespace {

// The value of a row as the keyed form writes it. A function key's record is decoded at its
// text row; its send row, which follows, takes the flag from that decoding.
std::string KeyedValue(PageSource& pages, const ParameterRow& row, FunctionKeyValue& record) {
    switch (row.encoding) {
        case Encoding::kByte:
            return std::to_string(ReadByteValue(pages, row.page, row.offset));
        case Encoding::kTwoByte:
            return std::to_string(ReadTwoByteValue(pages, row.page, row.offset));
        case Encoding::kText:
            return ReadTextField(pages, row.page, row.offset);
        case Encoding::kFunctionKeyText:
            record = ReadFunctionKey(pages, row.functionKey);
            return record.text;
        case Encoding::kFunctionKeySend:
            return std::to_string(record.sendFlag);
        case Encoding::kNone:
            break;
    }
    return {};
}

std::string EndLine() {
    return std::string(kEndKey) + std::string(kLineEnd);
}

}  // namespace

std::string ParameterLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += ':';
    line += value;
    std::replace_if(
        line.begin() + static_cast<std::ptrdiff_t>(key.size()), line.end(),
        [](char c) { return c == '\n' || c == kCarriageReturn; }, ' ');
    line += kLineEnd;
    return line;
}

std::string RawLine(int page, int offset, int value) {
    return ParameterLine(kSystemKey, std::to_string(page) + "," + std::to_string(offset) + "," +
                                         std::to_string(value));
}

bool WriteKeyedForm(PageSource& pages, const LineSink& sink) {
    FunctionKeyValue record;
    for (const ParameterRow& row : KeyedFormRows())
        if (!sink(ParameterLine(row.key, KeyedValue(pages, row, record)))) return false;
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
