#include "core/params/page_map.h"

#include <algorithm>
#include <array>

namespace vk930 {

namespace {

constexpr int kFunctionKeyFirstOffset = 20;

constexpr PageField Byte(std::string_view key, int offset, std::optional<ValueRange> range) {
    return {key, 0, offset, 1, Encoding::kByte, range};
}

constexpr PageField FunctionKey(std::string_view key, int n) {
    return {key,
            1,
            kFunctionKeyFirstOffset + kFunctionKeyRecordWidth * (n - 1),
            kFunctionKeyRecordWidth,
            Encoding::kFunctionKey,
            std::nullopt};
}

constexpr std::array kPageMap = {
    Byte("EXTRAID", 3, ValueRange{0, 255}),
    Byte("SLEEP", 5, ValueRange{5, 99}),
    Byte("LANGUAGE", 8, ValueRange{0, 3}),
    Byte("LEDONOFF", 10, ValueRange{0, 1}),
    Byte("VOL_FREQ", 13, ValueRange{0, 255}),
    Byte("KEYSOUND", 15, ValueRange{0, 1}),
    Byte("VOLUME", 16, ValueRange{0, 6}),
    PageField{"PASSWORD", 0, 17, 2, Encoding::kTwoByte, ValueRange{0, 9999}},
    Byte("DOT_COMMA", 20, ValueRange{0, 1}),
    Byte("RECMODE", 21, ValueRange{0, 1}),
    Byte("WAIT_TIME", 22, ValueRange{0, 20}),
    Byte("BATTERY", 23, ValueRange{0, 1}),
    Byte("MENULANG", 73, std::nullopt),  // read into the file, never written back
    Byte("USEFORMLOCK", 78, ValueRange{0, 1}),
    Byte("WAKESCAN", 90, ValueRange{0, 1}),
    Byte("USECUSTOMTXT", 99, ValueRange{0, 1}),
    PageField{"FORMLOCKTXT1", 0, 100, kTextFieldWidth, Encoding::kText, std::nullopt},
    PageField{"FORMLOCKTXT2", 0, 120, kTextFieldWidth, Encoding::kText, std::nullopt},
    PageField{"HEADING", 1, 0, kTextFieldWidth, Encoding::kText, std::nullopt},
    FunctionKey("F1TXT", 1),
    FunctionKey("F2TXT", 2),
    FunctionKey("F3TXT", 3),
    FunctionKey("F4TXT", 4),
    FunctionKey("F5TXT", 5),
    FunctionKey("F6TXT", 6),
    FunctionKey("F7TXT", 7),
    FunctionKey("F8TXT", 8),
    FunctionKey("F9TXT", 9),
    FunctionKey("F10TXT", 10),
};

Short S(int value) {
    return static_cast<Short>(value);
}

}  // namespace

std::span<const PageField> PageMap() {
    return kPageMap;
}

const PageField* FindField(std::string_view key) {
    const auto found = std::find_if(kPageMap.begin(), kPageMap.end(),
                                    [key](const PageField& f) { return f.key == key; });
    return found == kPageMap.end() ? nullptr : &*found;
}

int FunctionKeyBase(int n) {
    return kFunctionKeyFirstOffset + kFunctionKeyRecordWidth * (n - 1);
}

int ReadByteValue(PageSource& pages, int page, int offset) {
    return pages.GetByte(S(page), S(offset)) & 0xFF;
}

int ReadTwoByteValue(PageSource& pages, int page, int offset) {
    const int high = ReadByteValue(pages, page, offset);
    const int low = ReadByteValue(pages, page, offset + 1);
    return high * 256 + low;
}

std::string ReadTextField(PageSource& pages, int page, int offset) {
    return pages.GetText(S(offset), S(page), S(kTextFieldWidth));
}

FunctionKeyValue ReadFunctionKey(PageSource& pages, int n) {
    const int base = FunctionKeyBase(n);
    const int length = std::min(ReadByteValue(pages, 1, base), kFunctionKeyMaxData);
    const int last = ReadByteValue(pages, 1, base + length);  // the length byte itself for 0
    if (last == kCarriageReturn) return {pages.GetText(S(base + 1), 1, S(length - 1)), 1};
    return {pages.GetText(S(base + 1), 1, S(length)), 0};
}

bool WriteSucceeded(Short writeByteResult) {
    return writeByteResult != 0 && writeByteResult != kWriteByteFailed;
}

bool WriteByteValue(CLinkCtrl& link, int page, int offset, int value) {
    return WriteSucceeded(link.WriteByte(S(offset), S(value), S(page)));
}

bool WriteTwoByteValue(CLinkCtrl& link, int page, int offset, int value) {
    return WriteByteValue(link, page, offset, value / 256) &&
           WriteByteValue(link, page, offset + 1, value % 256);
}

bool WriteTextField(CLinkCtrl& link, int page, int offset, const std::string& text) {
    return link.WriteText(S(offset), S(page), text);
}

bool WriteFunctionKeyRecord(CLinkCtrl& link, int n, const std::string& data) {
    const int base = FunctionKeyBase(n);
    return WriteByteValue(link, 1, base, static_cast<int>(data.size())) &&
           link.WriteText(S(base + 1), 1, data);
}

}  // namespace vk930
