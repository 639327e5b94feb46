#include "core/params/page_encoding.h"

#include <algorithm>

namespace vk930 {

namespace {

Short S(int value) {
    return static_cast<Short>(value);
}

}  // namespace

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
