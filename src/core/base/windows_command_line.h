#pragma once
// Windows command lines: a program started by CreateProcess gets one string, which its C
// runtime splits into arguments (backslashes count only before a double quote). These build
// that string so that each argument arrives as it was given.
#include <string>

namespace vk930 {

inline constexpr char kNotepadProgram[] = "Notepad.exe";

// One argument, always in double quotes: inner quotes become \", backslashes before a quote
// or before the closing quote are doubled. "C:\My files\a.pcg" -> "\"C:\\My files\\a.pcg\""
// with its single backslashes kept.
std::string QuoteWindowsArgument(const std::string& argument);

// The program's name as the first word: quoted when it holds a blank or a tab (a program
// path holds no double quote; the C runtime reads this word without backslash escapes).
std::string WindowsProgramWord(const std::string& program);

// What starts `program` on the parameter file: the program word, a blank and the quoted
// path; with no path the program alone ("Notepad.exe", which opens an empty text).
std::string EditorCommandLine(const std::string& program, const std::string& path);

}  // namespace vk930
