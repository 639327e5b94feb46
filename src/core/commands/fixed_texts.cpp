#include "core/commands/fixed_texts.h"

#include "core/commands/firmware_commands.h"
#include "core/commands/function_keys.h"
#include "core/commands/identification.h"
#include "core/commands/validation.h"
#include "core/forms/form_ids.h"
#include "core/params/parameter_table.h"

namespace vk930 {

namespace {

constexpr int kWidestPort = 8;
constexpr int kHighestUploadStatus = 10;
constexpr int kHighestCode = 9;  // one digit: each code of the type label shows as "0" and it
constexpr std::size_t kFunctionKeyTextMax = 15;

// The commands' own entries; those ending in a port number or label get the widest one.
const std::vector<std::string>& CommandEntries() {
    static const std::vector<std::string> kEntries = {"Bad file name!",
                                                      "COM port failure",
                                                      "Cannot Read Info from COM",
                                                      "Cannot Read device from COM",
                                                      "Cannot find VK930 device!",
                                                      "Cannot open COM port ",
                                                      "Cannot open COM",
                                                      "Cannot open file for reading!",
                                                      "Cannot write ID!",
                                                      "Communication failure!",
                                                      "Connected to ",
                                                      "Connection Failure",
                                                      "DONE Succesfully!",
                                                      "Device type: VK930 Hand Terminal",
                                                      "Done",
                                                      "Open COM",
                                                      "Operation canceled by the user!",
                                                      "Operation cancelled!",
                                                      "Reading Device type...",
                                                      "Reading Info OK",
                                                      "Reading eeprom Page:0...",
                                                      "Reading eeprom Page:1...",
                                                      "Reading info...",
                                                      "Searching VK930 device..",
                                                      "Uploading...",
                                                      "Writing HS parameters to file...",
                                                      "Writing function keys..!",
                                                      "Writing parameters to Device..",
                                                      "commID written successful. Resetting...",
                                                      "Cannot open file",
                                                      "Not a parameter file: larger than 1 MiB",
                                                      "Not a parameter file: not a regular file"};
    return kEntries;
}

std::string WithPort(const std::string& text) {
    const std::string port = std::to_string(kWidestPort);
    if (text == "Connected to ") return text + "COM" + port + "...";
    if (text.ends_with("COM") || text.ends_with("COM port ")) return text + port;
    return text;
}

}  // namespace

std::vector<std::string> FixedLogTexts() {
    std::vector<std::string> texts;
    for (const std::string& entry : CommandEntries()) texts.push_back(WithPort(entry));
    texts.push_back("COM" + std::to_string(kWidestPort) + "... not available!");
    for (int status = 0; status <= kHighestUploadStatus; ++status)
        for (const UploadLogEntry& entry : UploadStatusEntries(static_cast<Short>(status)))
            texts.push_back(entry.text);
    for (const ParameterRow& row : ParameterTable())
        if (!row.warning.empty()) texts.emplace_back(row.warning);
    texts.emplace_back(kSystemNotValid);
    texts.push_back(FunctionKeyCutWarning(kFunctionKeyCount, kFunctionKeyTextMax));
    texts.push_back("F-key: " + std::to_string(kFunctionKeyCount));
    return texts;
}

std::vector<std::string> FixedFieldTexts(int controlId) {
    std::vector<std::string> texts;
    auto codes = [&](std::string (*text)(int)) {
        for (int code = 0; code <= kHighestCode; ++code) texts.push_back(text(code));
    };
    switch (controlId) {
        case id::kScanner:
            codes(ScannerText);
            break;
        case id::kRfid:
            codes(RfidText);
            break;
        case id::kColor:
            codes(ColorText);
            break;
        case id::kDisplay:
            codes(DisplayText);
            break;
        case id::kType:
            texts.push_back(TypeLabel(kHighestCode, kHighestCode, kHighestCode));
            break;
        default:
            break;
    }
    return texts;
}

}  // namespace vk930
