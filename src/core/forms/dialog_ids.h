#pragma once
// Control ids of the dialogs (templates 100, 131, 138 and 143, and the Devices dialog) and the
// resource numbers of the icons.
namespace vk930::id {

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// Get Parameters dialog (131).
inline constexpr int kGetParamsPortList = 1005;
inline constexpr int kGetParamsSaveButton = 1007;
inline constexpr int kGetParamsPathText = 1008;

// Firmware upload dialog (138).
inline constexpr int kOpenFwFileButton = 1019;
inline constexpr int kFwFilePath = 1020;

// Devices dialog ("COM port", "Devices..."): the choice of COMn is kDeviceChoice1 + n - 1.
inline constexpr int kDeviceChoice1 = 1101;
// Number a series dialog (143).
inline constexpr int kSeriesNextId = 1101;     // check box: the next ID after the stored one
inline constexpr int kSeriesFirstId = 1102;    // edit: a typed first ID
inline constexpr int kSeriesCount = 1103;      // edit: terminals at each station
inline constexpr int kSeriesUntilStop = 1104;  // check box: until stopped
inline constexpr int kSeriesFile = 1105;       // edit: the parameter file, empty for none
inline constexpr int kSeriesBrowse = 1106;     // button
inline constexpr int kSeriesVerify = 1107;     // check box: verify after the Set
inline constexpr int kSeriesPort1 = 1111;      // check boxes COM1 to COM8: 1111 to 1118
inline constexpr int kSeriesRegistry = 1120;   // label: where the IDs and records are
inline constexpr int kSeriesTable = 1121;      // list view: the terminals
inline constexpr int kSeriesTotals = 1122;     // label: the totals line
inline constexpr int kSeriesStart = 1123;      // button
inline constexpr int kSeriesStop = 1124;       // button
inline constexpr int kSeriesClose = 1125;      // button

// Icon resources.
inline constexpr int kIconApplication = 128;
inline constexpr int kIconDocument = 129;
inline constexpr int kIconLogFailure = 160;
inline constexpr int kIconLogSuccess = 161;
inline constexpr int kIconLogProgress = 181;

}  // namespace vk930::id
