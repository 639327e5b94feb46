#pragma once
// CSV as spreadsheets read it: fields quoted where needed, lines ended with CR LF, and cells
// that a spreadsheet would take as a formula made plain text.
#include <string>
#include <vector>

namespace vk930 {

// A cell's text: one starting with =, +, -, @, a tab or a CR gets a leading apostrophe, so a
// spreadsheet shows it rather than computing it; then quoted when it holds a comma, a quote
// or a line end (quotes doubled).
std::string CsvCell(const std::string& text);
// The cells of one line, each as CsvCell makes it, separated by commas, ended with CR LF.
std::string CsvLine(const std::vector<std::string>& cells);

}  // namespace vk930
