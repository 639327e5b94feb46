#pragma once
// The program's process-wide values, owned by the application and passed to every command.
// Each member is named after the value the commands know it by.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/commands/document.h"
#include "core/commands/stop_request.h"

namespace vk930 {

struct FunctionKeyEntry {
    std::string text;  // empty: the key's record is left as it is
    int sendFlag = 0;  // nonzero: a carriage return follows the text
};

// A Set never gives a terminal another terminal's CommID (a file taken of one terminal, set
// into a batch): the file's CommID bytes that differ from the terminal's are held back.
struct CommIdHold {
    bool allowChange = false;      // a restore told to carry the backup's ID over (--with-id)
    std::optional<int> high, low;  // the file's bytes held back during the running Set
};

struct AppState {
    int comPort = 1;           // g_comPort: the COM port number (not an index)
    int rawDump = 0;           // g_bRawDump: the Get run writes the raw form
    int uploadPending = 0;     // g_bUploadPending: a firmware upload waits for the form timer
    std::string firmwareFile;  // g_strFirmwareFile: the file of the last upload request
    std::string startDir;      // g_szStartDir: working directory at the last initial update
    std::array<FunctionKeyEntry, 10> functionKeys;  // F1 to F10, filled by a Set run
    CVK900ConfigDoc document;
    StopRequest stop;  // set to end the running command after its current step
    // A series keeps "commID" itself (it reserves each ID before writing it): the CommID
    // write must not store the ID it wrote, which could set a shared counter back.
    bool commIdKeptByCaller = false;
    // Its low byte first: a write cut between the bytes then leaves the old high byte with the
    // new low one, chosen when the other way round would be an ID another terminal carries.
    bool commIdLowByteFirst = false;
    // The shared registry this bench takes its IDs from (empty: its own "commID"). The next-ID
    // button counts on this bench alone, so with a shared registry it is refused.
    std::string sharedRegistry;
    CommIdHold commIdHold;
    // The number the next-ID button offers (its caption is its decimal text); unset while
    // the button offers none.
    std::optional<std::int64_t> nextCommIdOffer;
};

}  // namespace vk930
