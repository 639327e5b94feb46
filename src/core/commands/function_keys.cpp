#include "core/commands/function_keys.h"

#include "core/base/c_convert.h"
#include "core/params/page_encoding.h"

namespace vk930 {

void ClearFunctionKeys(FunctionKeyTable& table) {
    table.fill(FunctionKeyEntry{});
}

bool StoreFunctionKeyLine(FunctionKeyTable& table, std::string_view key, std::string_view value) {
    const ParameterRow* row = FindParameter(key);
    return row && StoreFunctionKeyLine(table, *row, value);
}

bool StoreFunctionKeyLine(FunctionKeyTable& table, const ParameterRow& row,
                          std::string_view value) {
    if (row.functionKey < 1 || row.functionKey > kFunctionKeyCount) return false;
    FunctionKeyEntry& entry = table[static_cast<size_t>(row.functionKey - 1)];
    if (row.encoding == Encoding::kFunctionKeyText) {
        entry.text = std::string(value);
        return true;
    }
    if (row.encoding == Encoding::kFunctionKeySend) {
        entry.sendFlag = CAtoi(value);
        return true;
    }
    return false;
}

FunctionKeyRecord MakeFunctionKeyRecord(const FunctionKeyEntry& entry) {
    FunctionKeyRecord record;
    record.maxText = kFunctionKeyMaxData - (entry.sendFlag != 0 ? 1 : 0);
    record.cut = entry.text.size() > record.maxText;
    record.data = entry.text.substr(0, record.maxText);
    if (entry.sendFlag != 0) record.data += kCarriageReturn;
    return record;
}

std::string FunctionKeyCutWarning(int n, size_t maxText) {
    return "Warning! F" + std::to_string(n) + " text too long, cut to " + std::to_string(maxText) +
           " characters";
}

bool WriteFunctionKeys(const CommandContext& ctx) {
    for (int i = 0; i < kFunctionKeyCount; ++i) {
        ctx.Log("F-key: " + std::to_string(i), kIconProgress);
        const FunctionKeyEntry& entry = ctx.state.functionKeys[static_cast<size_t>(i)];
        if (entry.text.empty()) continue;
        const FunctionKeyRecord record = MakeFunctionKeyRecord(entry);
        if (record.cut) ctx.Warn(FunctionKeyCutWarning(i + 1, record.maxText));
        if (!WriteFunctionKeyRecord(ctx.link, i + 1, record.data)) return false;
    }
    return true;
}

}  // namespace vk930
