#pragma once
// The parameter file (*.pcg): text lines KEY:value ending with the line END, in the keyed form
// (one line per named parameter) or the raw form (one SYSTEM line per page byte). Writers and
// readers here work on text only; opening and replacing files is the commands' business.
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "core/params/page_source.h"
#include "core/params/parameter_table.h"

namespace vk930 {

inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kEndKey = "END";
inline constexpr std::string_view kSystemKey = "SYSTEM";
inline constexpr int kKeyedFormLines = kKeyedFormKeys + 1;
inline constexpr int kRawFormLines = 513;
// A line longer than this is cut there, the rest of it skipped: a parameter line is a few dozen
// characters, and a text without line ends must not fill the memory.
inline constexpr std::size_t kMaxLineLength = 64u << 10;
// A parameter file is about 10 KiB in its raw form; a file over this is none.
inline constexpr std::uintmax_t kMaxParameterFileSize = 1u << 20;

// Receives one line of the file, its CR LF included; answers false when it cannot be written.
using LineSink = std::function<bool(const std::string& line)>;

// "KEY:value" and CR LF. A line feed or a carriage return inside the value is written as a
// space: the reader ends a line at either, so a text read from the pages could otherwise split
// into lines of its own, which Set would apply.
std::string ParameterLine(std::string_view key, std::string_view value);
// "SYSTEM:page,offset,value" and CR LF.
std::string RawLine(int page, int offset, int value);

// The keyed form: 40 lines, END last, in the parameter table's keyed-form order. Each line goes
// to the sink before the next value is read. False as soon as the sink fails.
bool WriteKeyedForm(PageSource& pages, const LineSink& sink);
// The raw form: 513 lines, every byte of page 0 and then page 1, END last.
bool WriteRawForm(PageSource& pages, const LineSink& sink);

// Key and value of a line without its line end: the text before and after the first colon.
// A line without a colon is its own key and its own value.
std::string GetKey(std::string_view line);
std::string GetValue(std::string_view line);
bool HasColon(std::string_view line);

// Reads a text line by line. A line ends with LF, CR LF or CR (files of every system); a last
// line without a line end is a line like any other. Lines are cut at kMaxLineLength.
class LineReader {
  public:
    explicit LineReader(std::istream& in) : in_(in) {}
    // The next line without its line end; nullopt at the end of the text.
    std::optional<std::string> Next();

  private:
    std::istream& in_;
};

}  // namespace vk930
