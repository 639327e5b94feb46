#pragma once
// How values are encoded in the terminal's pages: the rules by which bytes, two-byte numbers,
// text fields and function-key records are read from the pages and written into them, with
// the link's argument orders. Where each key lives is the parameter table's.
#include <string>

#include "core/link/link_ctrl.h"
#include "core/params/page_source.h"
#include "core/params/parameter_table.h"

namespace vk930 {

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
