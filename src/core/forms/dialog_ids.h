#pragma once
// Control ids of the dialogs (templates 100, 131 and 138, and the Devices dialog) and the
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

// Icon resources.
inline constexpr int kIconApplication = 128;
inline constexpr int kIconDocument = 129;
inline constexpr int kIconLogFailure = 160;
inline constexpr int kIconLogSuccess = 161;
inline constexpr int kIconLogProgress = 181;

}  // namespace vk930::id
