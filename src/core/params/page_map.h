#pragma once
// The map of the terminal's two parameter pages: where every keyed parameter lives, how it is
// encoded, and the rules by which it is decoded from the pages and encoded into them. Bytes
// outside the map are reached only through raw SYSTEM lines.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/link/link_ctrl.h"
#include "core/params/page_source.h"

namespace vk930 {

enum class Encoding {
    kByte,         // one byte, its decimal value
    kTwoByte,      // two bytes, high byte first
    kText,         // 20 characters, filled with spaces
    kFunctionKey,  // 16-byte record: length, then text (ending in CR when the send flag is set)
};

// The values the writing side accepts for a key.
struct ValueRange {
    int min;
    int max;
};

struct PageField {
    std::string_view key;  // the parameter file's key; a function key by its text key (F1TXT)
    int page;
    int offset;  // first byte
    int width;   // bytes
    Encoding encoding;
    std::optional<ValueRange> range;  // none: a text, a function key, or never written
};

inline constexpr int kTextFieldWidth = 20;
inline constexpr int kFunctionKeyCount = 10;
inline constexpr int kFunctionKeyRecordWidth = 16;
inline constexpr int kFunctionKeyMaxData = kFunctionKeyRecordWidth - 1;
inline constexpr char kCarriageReturn = '\r';

// Every keyed parameter, in page order.
std::span<const PageField> PageMap();
// The field of a key, compared exactly; nullptr for a key with no place in the pages.
const PageField* FindField(std::string_view key);
// First byte (the length byte) of function key n (1 to 10) on page 1.
int FunctionKeyBase(int n);

// Reading rules; the page must have been fetched. Bytes read as 0 to 255.
int ReadByteValue(PageSource& pages, int page, int offset);
// High byte at offset, then low byte at offset + 1.
int ReadTwoByteValue(PageSource& pages, int page, int offset);
// All 20 characters, trailing spaces included.
std::string ReadTextField(PageSource& pages, int page, int offset);

struct FunctionKeyValue {
    std::string text;  // without the terminating carriage return
    int sendFlag = 0;  // 1 when the record's data ends with a carriage return
};
// Decodes record n (1 to 10). A length byte above 15 reads as 15, so no read reaches past the
// record (a never-programmed record is full of 255s).
FunctionKeyValue ReadFunctionKey(PageSource& pages, int n);

// Writing rules. Each answers false as soon as a link call fails: WriteByte answering 0 or -1,
// or WriteText answering false. Values must already lie in 0 to 255 (0 to 65535 for two bytes).
bool WriteSucceeded(Short writeByteResult);
bool WriteByteValue(CLinkCtrl& link, int page, int offset, int value);
// High byte (value div 256) first; when it fails the low byte is not written.
bool WriteTwoByteValue(CLinkCtrl& link, int page, int offset, int value);
bool WriteTextField(CLinkCtrl& link, int page, int offset, const std::string& text);
// Writes record n: its length byte, then its data (at most 15 bytes, the CR of a set send
// flag included).
bool WriteFunctionKeyRecord(CLinkCtrl& link, int n, const std::string& data);

}  // namespace vk930
