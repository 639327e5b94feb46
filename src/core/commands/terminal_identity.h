#pragma once
// The terminal's identity as identification read it: numbers and the terminal's own texts,
// from which the form, the service record, the series and the next-ID offer are filled.
#include <optional>
#include <string>

namespace vk930 {

// Where the CommID lives: page 0, high byte at offset 1, low byte at 2.
inline constexpr int kCommIdPage = 0;
inline constexpr int kCommIdHighOffset = 1;
// Where the page keeps the terminal's kind of scanner, RFID, colour and display.
inline constexpr int kIdentityPage = 0;
inline constexpr int kScannerOffset = 35;
inline constexpr int kRfidOffset = 36;
inline constexpr int kColorOffset = 37;
inline constexpr int kDisplayOffset = 38;

struct TerminalIdentity {
    int deviceType = 0;
    std::string versionText;  // GetVersionText's answer as given, without the point
    std::string commIdText;   // GetCommIdText's answer as given (the CommID edit shows it)
    // The CommID as the edit's text converts (C decimal conversion: "" is 0): the number the
    // next-ID offer counts from and the series numbers by.
    int commId = 0;
    // Whether commIdText is a plain decimal number; a record keeps only such a CommID.
    bool commIdIsNumber = false;
    int scanner = 0;
    int rfid = 0;
    int color = 0;
    int display = 0;
};

// The CommID a terminal's answer `text` names when it is a plain decimal number.
std::optional<int> PlainCommId(const std::string& text);

// The CommID fields of an identity for the terminal's answer `text`.
void SetCommIdFromText(TerminalIdentity& identity, const std::string& text);

// The CommID a record may keep: nullopt when the terminal's text was no plain number.
inline std::optional<int> RecordableCommId(const TerminalIdentity& identity) {
    if (!identity.commIdIsNumber) return std::nullopt;
    return identity.commId;
}

}  // namespace vk930
