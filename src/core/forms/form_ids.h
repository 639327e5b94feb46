#pragma once
// Control ids of the main form (template 101) and the command ids of the menu.
namespace vk930::id {

inline constexpr int kGetKeyedButton = 1002;  // "&Get...", hidden
inline constexpr int kSetRunButton = 1003;    // "&Set...", hidden
inline constexpr int kLog = 1009;
inline constexpr int kClearListButton = 1011;
inline constexpr int kEditWithNotepadButton = 1012;
inline constexpr int kCloseButton = 1014;
inline constexpr int kReadDeviceInfoButton = 1015;
inline constexpr int kType = 1016;
inline constexpr int kVersion = 1017;
inline constexpr int kScanner = 1020;
inline constexpr int kRfid = 1021;
inline constexpr int kColor = 1022;
inline constexpr int kDisplay = 1023;
inline constexpr int kLinkControl = 1024;
inline constexpr int kFilePath = 1025;
inline constexpr int kCommId = 1026;
inline constexpr int kSetCommIdButton = 1027;
inline constexpr int kGetButton = 1028;
inline constexpr int kSetButton = 1029;
inline constexpr int kNextCommIdButton = 1030;
inline constexpr int kNextCommIdLabel = 1031;

inline constexpr int kFormTimer = 1;

// Menu and accelerator commands.
inline constexpr int kCmdNew = 57600;
inline constexpr int kCmdOpen = 57601;
inline constexpr int kCmdSave = 57603;
inline constexpr int kCmdAbout = 57664;
inline constexpr int kCmdExit = 57665;
inline constexpr int kCmdFirmwareUpdate = 32771;
inline constexpr int kCmdComPort1 = 32773;  // to kCmdComPort1 + 7 for COM8
inline constexpr int kCmdDevices = 32781;   // "Devices...": what each COM port reaches
// The Tools menu: the series job in the window.
inline constexpr int kCmdNumberSeries = 32790;
inline constexpr int kCmdCompare = 32791;
inline constexpr int kCmdBackups = 32792;
inline constexpr int kCmdServiceHistory = 32793;

// Accelerator commands that reach no handler of the program's own.
inline constexpr int kCmdUndo = 57643;
inline constexpr int kCmdCut = 57635;
inline constexpr int kCmdCopy = 57634;
inline constexpr int kCmdPaste = 57637;
inline constexpr int kCmdNextPane = 57680;
inline constexpr int kCmdPrevPane = 57681;

}  // namespace vk930::id
