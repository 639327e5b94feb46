#include "core/params/validation.h"

#include <algorithm>
#include <array>

#include "core/base/c_convert.h"
#include "core/params/function_keys.h"
#include "core/params/parameter_file.h"

namespace vk930 {

namespace {

constexpr std::array<NumericRule, 15> kNumericRules = {{
    {"EXTRAID", "Warning! ExtraID value too big", 0},
    {"PASSWORD", "Warning! Password value too big", 0},
    {"LEDONOFF", "Warning! LED on/off value should be 0 or 1", 1},
    {"VOL_FREQ", "Warning! Volume frequency value should be 0 - 255", 1},
    {"DOT_COMMA", "Warning! Dot,Comma value should be 0 or 1", 0},
    {"WAIT_TIME", "Warning! WaitTime value should be 0 - 20", 15},
    {"SLEEP", "Warning! Sleep value range should be 5-99 sec.", 99},
    {"VOLUME", "Warning! volume value range should be 0-6.", 4},
    {"LANGUAGE", "Warning! Menu language value should be 0 - 3", 1},
    {"RECMODE", "Warning! Receive mode value should be 0 or 1", 0},
    {"USEFORMLOCK", "Warning! Use Formlock value should be 0 or 1", 0},
    {"USECUSTOMTXT", "Warning! Use Formlock custom txt value should be 0 or 1", 0},
    {"BATTERY", "Warning! Battery value should be 0 or 1", 0},
    {"WAKESCAN", "Warning! Wake & Scan value should be 0 or 1", 0},
    {"KEYSOUND", "Warning! Key Sound value should be 0 or 1", 0},
}};

constexpr int kMaxByte = 255;

bool InByteRange(int value) {
    return value >= 0 && value <= kMaxByte;
}

bool WriteNumber(const CommandContext& ctx, const PageField& field, const NumericRule& rule,
                 std::string_view text) {
    const CheckedNumber number = CheckNumber(text, *field.range, rule.substitute);
    if (number.replaced) ctx.Log(std::string(rule.warning), kIconFailure);
    if (field.encoding == Encoding::kTwoByte)
        return WriteTwoByteValue(ctx.link, field.page, field.offset, number.value);
    return WriteByteValue(ctx.link, field.page, field.offset, number.value);
}

// A byte that already holds the value (in the pages as last fetched) is not written again.
bool WriteSystemByte(const CommandContext& ctx, std::string_view value) {
    const std::optional<SystemByte> raw = ParseSystemValue(value);
    if (!raw) {
        ctx.Log(std::string(kSystemNotValid), kIconFailure);
        return true;
    }
    if (ctx.state.rawDump) return true;
    LinkPageSource pages(ctx.link);
    if (ReadByteValue(pages, raw->page, raw->offset) == raw->byte) return true;
    return WriteByteValue(ctx.link, raw->page, raw->offset, raw->byte);
}

}  // namespace

const NumericRule* FindNumericRule(std::string_view key) {
    const auto found = std::find_if(kNumericRules.begin(), kNumericRules.end(),
                                    [key](const NumericRule& r) { return r.key == key; });
    return found == kNumericRules.end() ? nullptr : &*found;
}

CheckedNumber CheckNumber(std::string_view text, ValueRange range, int substitute) {
    const int value = CAtoi(text);
    if (value < range.min || value > range.max) return {substitute, true};
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
    if (StoreFunctionKeyLine(ctx.state.functionKeys, key, value)) return true;
    const PageField* field = FindField(key);
    if (!field) return true;
    if (field->encoding == Encoding::kText)
        return WriteTextField(ctx.link, field->page, field->offset, FitTextField(value));
    const NumericRule* rule = FindNumericRule(key);
    if (!rule || !field->range) return true;  // MENULANG is only ever read
    return WriteNumber(ctx, *field, *rule, value);
}

}  // namespace vk930
