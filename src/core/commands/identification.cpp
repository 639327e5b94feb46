#include "core/commands/identification.h"

#include "core/commands/command_steps.h"
#include "core/forms/form_ids.h"

namespace vk930 {

namespace {

std::string FromTable(int code, std::initializer_list<std::pair<int, const char*>> table) {
    for (const auto& [known, text] : table)
        if (code == known) return text;
    return "Unknown";
}

}  // namespace

std::string ScannerText(int code) {
    return FromTable(code, {{0, "No scanner"},
                            {1, "SE923"},
                            {2, "Long range"},
                            {3, "CCD"},
                            {4, "2D-imager"},
                            {5, "Finger print"}});
}

std::string RfidText(int code) {
    return FromTable(code, {{0, "No RFID"}, {1, "125 kHz"}, {2, "13.56MHz (ISO 15693)"}});
}

std::string ColorText(int code) {
    return FromTable(code, {{2, "Blue"}, {3, "Gray"}});
}

std::string DisplayText(int code) {
    return FromTable(code, {{1, "Gray 120x64"}});
}

std::string VersionWithPoint(const std::string& version) {
    if (version.empty()) return ".";
    return version.substr(0, 1) + "." + version.substr(1);
}

std::string TypeLabel(int scanner, int rfid, int color) {
    return "KD04" + ("0" + std::to_string(scanner)) + ("0" + std::to_string(rfid)) +
           ("0" + std::to_string(color));
}

void ShowIdentity(FormModel& form, const TerminalIdentity& identity) {
    form.SetText(id::kVersion, VersionWithPoint(identity.versionText));
    form.SetText(id::kCommId, identity.commIdText);
    form.SetText(id::kScanner, ScannerText(identity.scanner));
    form.SetText(id::kRfid, RfidText(identity.rfid));
    form.SetText(id::kColor, ColorText(identity.color));
    form.SetText(id::kDisplay, DisplayText(identity.display));
    form.SetText(id::kType, TypeLabel(identity.scanner, identity.rfid, identity.color));
}

Identification IdentifyTerminal(const CommandContext& ctx, TerminalLeft left) {
    if (Outcome opened = OpenAndSearch(ctx, left); !opened.ok()) return {opened};
    if (Outcome stopped = StopPoint(ctx, left); !stopped.ok()) return {stopped};
    ctx.Log("Reading eeprom Page:0...", kIconProgress);
    if (!ctx.link.ReadPage0(0, 255)) {
        ctx.Log("Connection Failure", kIconFailure);
        ClosePort(ctx);
        ctx.host.Beep();
        return {Outcome::Failure(OutcomeClass::kCommunication, "page 0 was not read")};
    }
    for (int field :
         {id::kType, id::kVersion, id::kScanner, id::kRfid, id::kColor, id::kDisplay, id::kCommId})
        ctx.form.SetText(field, " ");
    ctx.host.Sleep(kTerminalWaitMs);
    if (Outcome stopped = StopPoint(ctx, left); !stopped.ok()) return {stopped};
    TerminalIdentity identity;
    identity.deviceType = ctx.link.GetDeviceType();
    ctx.DeviceTypeRead(static_cast<Short>(identity.deviceType));
    if (identity.deviceType != kDeviceTypeHandTerminal) {
        ctx.Log("Cannot find VK930 device!", kIconFailure);
        ctx.host.Beep();
        ClosePort(ctx);
        return {Outcome::Failure(
            OutcomeClass::kOtherDevice,
            "the device reports type " + std::to_string(identity.deviceType) + ", not 6")};
    }
    ctx.Log("Reading info...", kIconProgress);
    identity.versionText = ctx.link.GetVersionText();
    SetCommIdFromText(identity, ctx.link.GetCommIdText());
    identity.scanner = ctx.link.GetByte(kIdentityPage, kScannerOffset);
    identity.rfid = ctx.link.GetByte(kIdentityPage, kRfidOffset);
    identity.color = ctx.link.GetByte(kIdentityPage, kColorOffset);
    identity.display = ctx.link.GetByte(kIdentityPage, kDisplayOffset);
    ShowIdentity(ctx.form, identity);
    ctx.Identified(identity);
    ctx.Log("Done", kIconSuccess);
    ClosePort(ctx);
    return {Outcome::Success(), identity};
}

Identification ReadDeviceInfo(const CommandContext& ctx) {
    return IdentifyTerminal(ctx, TerminalLeft::kUntouched);
}

}  // namespace vk930
