#include "core/link/trace_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

namespace vk930 {

std::string QuoteTraceText(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    char hex[5];
                    std::snprintf(hex, sizeof hex, "\\x%02X", c);
                    out += hex;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

TraceLine::TraceLine(std::string name, std::initializer_list<long> args)
    : line_(std::move(name) + "(") {
    for (long value : args) Arg(value);
}

TraceLine& TraceLine::Arg(long value) {
    if (!first_) line_ += ',';
    first_ = false;
    line_ += std::to_string(value);
    return *this;
}

TraceLine& TraceLine::Text(const std::string& text) {
    if (!first_) line_ += ',';
    first_ = false;
    line_ += QuoteTraceText(text);
    return *this;
}

std::string TraceLine::Returns(long result) const {
    return Call() + "=" + std::to_string(result);
}

std::string TraceLine::ReturnsText(const std::string& result) const {
    return Call() + "=" + QuoteTraceText(result);
}

std::string TraceLine::Done() const {
    return Call();
}

Result<TraceSink> OpenTraceFile(const std::string& path) {
    errno = 0;
    auto out = std::make_shared<std::ofstream>(path, std::ios::app | std::ios::binary);
    if (!*out) {
        const int error = errno;
        return Error{"cannot write the trace file '" + path +
                     "': " + (error ? std::strerror(error) : "it does not open")};
    }
    return TraceSink([out](const std::string& line) {
        *out << line << '\n';
        out->flush();
    });
}

}  // namespace vk930
