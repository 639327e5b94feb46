#pragma once
// The line format of the link trace, shared by the program's trace of its link calls and the
// simulator's trace of the requests it carried out:
//   Name(arg,arg,...)=result
// Texts are in double quotes with \r, \n, \\, \" and \xNN escapes.
#include <functional>
#include <initializer_list>
#include <string>

#include "core/base/result.h"

namespace vk930 {

std::string QuoteTraceText(const std::string& text);

// One call: its name and arguments, then its result.
class TraceLine {
  public:
    explicit TraceLine(std::string name, std::initializer_list<long> args = {});
    TraceLine& Arg(long value);
    TraceLine& Text(const std::string& text);
    std::string Returns(long result) const;
    std::string ReturnsText(const std::string& result) const;
    // A call without a result (ResetDevice).
    std::string Done() const;

  private:
    std::string Call() const { return line_ + ")"; }

    std::string line_;
    bool first_ = true;
};

using TraceSink = std::function<void(const std::string& line)>;

// A sink that appends the lines to a file, flushed line by line; an error naming the file
// when it cannot be opened for writing.
Result<TraceSink> OpenTraceFile(const std::string& path);

}  // namespace vk930
