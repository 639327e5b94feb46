#include "core/commands/validation.h"

#include "core/base/c_convert.h"
#include "core/commands/function_keys.h"
#include "core/params/page_encoding.h"
#include "core/params/parameter_file.h"

namespace vk930 {

namespace {

constexpr int kMaxByte = 255;

bool InByteRange(int value) {
    return value >= 0 && value <= kMaxByte;
}

bool WriteNumber(const CommandContext& ctx, const ParameterRow& row, std::string_view text) {
    const CheckedNumber number = CheckNumber(text, row);
    if (number.replaced) ctx.Warn(std::string(row.warning));
    if (row.encoding == Encoding::kTwoByte)
        return WriteTwoByteValue(ctx.link, row.page, row.offset, number.value);
    return WriteByteValue(ctx.link, row.page, row.offset, number.value);
}

// A byte that already holds the value (in the pages as last fetched) is not written again.
bool WriteSystemByte(const CommandContext& ctx, std::string_view value) {
    const std::optional<SystemByte> raw = ParseSystemValue(value);
    if (!raw) {
        ctx.Warn(std::string(kSystemNotValid));
        return true;
    }
    if (ctx.state.rawDump) return true;
    LinkPageSource pages(ctx.link);
    if (ReadByteValue(pages, raw->page, raw->offset) == raw->byte) return true;
    if (HoldsCommIdByte(ctx.state.commIdHold, *raw)) return true;
    return WriteByteValue(ctx.link, raw->page, raw->offset, raw->byte);
}

}  // namespace

bool HoldsCommIdByte(CommIdHold& hold, const SystemByte& raw) {
    if (hold.allowChange || raw.page != kCommIdPage) return false;
    if (raw.offset == kCommIdHighOffset) {
        hold.high = raw.byte;
        return true;
    }
    if (raw.offset == kCommIdHighOffset + 1) {
        hold.low = raw.byte;
        return true;
    }
    return false;
}

std::optional<std::string> HeldCommIdWarning(const CommandContext& ctx) {
    const CommIdHold& hold = ctx.state.commIdHold;
    if (!hold.high && !hold.low) return std::nullopt;
    LinkPageSource pages(ctx.link);
    const int high = hold.high.value_or(ReadByteValue(pages, kCommIdPage, kCommIdHighOffset));
    const int low = hold.low.value_or(ReadByteValue(pages, kCommIdPage, kCommIdHighOffset + 1));
    return "CommID in the file (" + std::to_string(high * 256 + low) +
           ") not written: the CommID changes only with the CommID command";
}

CheckedNumber CheckNumber(std::string_view text, const ParameterRow& row) {
    const int value = CAtoi(text);
    if (value < row.range->min || value > row.range->max) return {row.substitute, true};
    return {value, false};
}

std::optional<SystemByte> ParseSystemValue(std::string_view value) {
    const size_t firstComma = value.find(',');
    const size_t i = firstComma == std::string_view::npos ? 0 : firstComma + 1;
    const size_t j = value.find(',', i);
    const std::string_view offsetText = j == std::string_view::npos ? "" : value.substr(i, j - i);
    const std::string_view byteText = j == std::string_view::npos ? value : value.substr(j + 1);
    const int page = value.starts_with('-') ? -1 : CAtoi(value.substr(0, 1));
    const SystemByte raw{page, CAtoi(offsetText), CAtoi(byteText)};
    if (raw.page < 0 || raw.page > 1 || !InByteRange(raw.offset) || !InByteRange(raw.byte))
        return std::nullopt;
    return raw;
}

std::string FitTextField(std::string_view value) {
    std::string text(value.substr(0, kTextFieldWidth));
    text.resize(kTextFieldWidth, ' ');
    return text;
}

bool WriteParameter(const CommandContext& ctx, const std::string& key, const std::string& value) {
    if (key == kSystemKey) return WriteSystemByte(ctx, value);
    const ParameterRow* row = FindParameter(key);
    if (!row || !row->applied) return true;  // unknown, read only (MENULANG) or without a place
    switch (row->encoding) {
        case Encoding::kByte:
        case Encoding::kTwoByte:
            return WriteNumber(ctx, *row, value);
        case Encoding::kText:
            return WriteTextField(ctx.link, row->page, row->offset, FitTextField(value));
        case Encoding::kFunctionKeyText:
        case Encoding::kFunctionKeySend:
            StoreFunctionKeyLine(ctx.state.functionKeys, *row, value);
            return true;
        case Encoding::kNone:
            return true;
    }
    return true;
}

}  // namespace vk930
