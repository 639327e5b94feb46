#include "support/matrix_commands.h"

#include "core/link/link_ctrl.h"
#include "core/params/parameter_file.h"
#include "core/terminal/terminal_model.h"
#include "support/temp_dir.h"

namespace vk930::test {

namespace {

constexpr char kCommId[] = "300";

// A keyed file that changes a text, a byte, a two-byte value and a function key.
constexpr char kKeyedFile[] =
    "HEADING:FAULT MATRIX\r\nSLEEP:45\r\nPASSWORD:4321\r\nF3TXT:ABC\r\nF3SEND:1\r\nEND\r\n";

// The raw file of a factory terminal with a few bytes of either page changed: a Set writes
// those bytes only.
std::string RawFile() {
    std::array<PageBytes, 2> pages = FactoryPages();
    const int changes[][3] = {{0, 3, 7},   {0, 5, 45},   {0, 200, 1}, {0, 255, 9},
                              {1, 0, 'F'}, {1, 100, 42}, {1, 181, 0}, {1, 255, 17}};
    for (const auto& [page, offset, value] : changes)
        pages[page][offset] = static_cast<std::uint8_t>(value);
    std::string text;
    for (int page = 0; page < 2; ++page)
        for (int offset = 0; offset < kPageSize; ++offset)
            text += RawLine(page, offset, pages[page][offset]);
    return text + "END\r\n";
}

}  // namespace

const std::vector<MatrixCommand>& AllMatrixCommands() {
    static const std::vector<MatrixCommand> kAll = {
        MatrixCommand::kIdentification, MatrixCommand::kCommId,   MatrixCommand::kGetRaw,
        MatrixCommand::kGetKeyed,       MatrixCommand::kSetKeyed, MatrixCommand::kSetRaw,
        MatrixCommand::kFirmware};
    return kAll;
}

std::string CommandName(MatrixCommand command) {
    switch (command) {
        case MatrixCommand::kIdentification:
            return "identification";
        case MatrixCommand::kCommId:
            return "commid";
        case MatrixCommand::kGetRaw:
            return "get-raw";
        case MatrixCommand::kGetKeyed:
            return "get-keyed";
        case MatrixCommand::kSetKeyed:
            return "set-keyed";
        case MatrixCommand::kSetRaw:
            return "set-raw";
        case MatrixCommand::kFirmware:
            return "firmware";
    }
    return "?";
}

int CommandBaud(MatrixCommand command) {
    return command == MatrixCommand::kFirmware ? kBaudBootLoader : kBaudApplication;
}

std::string ParameterFilePath(const std::string& dir) {
    return dir + "/params.pcg";
}

void PrepareCommand(MatrixCommand command, const std::string& dir, const std::string& firmwareFile,
                    FakeHost& host, AppState& state) {
    const std::string file = ParameterFilePath(dir);
    switch (command) {
        case MatrixCommand::kGetRaw:
        case MatrixCommand::kGetKeyed:
            WriteFile(file, "OLD\r\n");  // a Get that fails must leave it as it is
            host.getParamsAnswers.push_back({true, 0, file});
            break;
        case MatrixCommand::kSetKeyed:
        case MatrixCommand::kSetRaw:
            WriteFile(file, command == MatrixCommand::kSetRaw ? RawFile() : kKeyedFile);
            state.document.m_strFilePath = file;
            break;
        case MatrixCommand::kFirmware:
            host.firmwareAnswers.push_back({true, firmwareFile});
            break;
        case MatrixCommand::kIdentification:
        case MatrixCommand::kCommId:
            break;
    }
}

Outcome RunCommand(MatrixCommand command, CVK900ConfigView& view) {
    switch (command) {
        case MatrixCommand::kIdentification:
            return view.OnReadDeviceInfo();
        case MatrixCommand::kCommId:
            view.OnCommIdEdited(kCommId);
            return view.OnSetCommId();
        case MatrixCommand::kGetRaw:
            return view.OnGet();
        case MatrixCommand::kGetKeyed:
            return view.OnGetParameters();
        case MatrixCommand::kSetKeyed:
        case MatrixCommand::kSetRaw:
            return view.OnSet();
        case MatrixCommand::kFirmware:
            if (Outcome requested = view.OnFirmwareUpdate(); !requested.ok()) return requested;
            return view.OnTimer().value_or(
                Outcome::Failure(OutcomeClass::kCommunication, "the upload never started"));
    }
    return Outcome::Failure(OutcomeClass::kRefused, "no such command");
}

bool IsSuccessEntry(const LogEntry& entry) {
    return entry.kind == kIconSuccess &&
           (entry.text == "Done" || entry.text == "DONE Succesfully!" ||
            entry.text == "UPLOADING DONE");
}

}  // namespace vk930::test
