#include "core/link/tracing_link.h"

#include <cstdio>
#include <fstream>
#include <memory>

namespace vk930 {

namespace {

std::string Args(std::initializer_list<long> values) {
    std::string out;
    for (long v : values) {
        if (!out.empty()) out += ',';
        out += std::to_string(v);
    }
    return out;
}

}  // namespace

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

TracingLink::TracingLink(std::unique_ptr<CLinkCtrl> inner, const std::string& traceFile)
    : inner_(std::move(inner)) {
    auto out = std::make_shared<std::ofstream>(traceFile, std::ios::app | std::ios::binary);
    sink_ = [out](const std::string& line) {
        *out << line << '\n';
        out->flush();
    };
}

void TracingLink::Line(const std::string& line) {
    sink_(line);
}

bool TracingLink::Connect(Short port, Short baud) {
    const bool r = inner_->Connect(port, baud);
    Line("Connect(" + Args({port, baud}) + ")=" + std::to_string(r));
    return r;
}

Short TracingLink::ReadInfo() {
    const Short r = inner_->ReadInfo();
    Line("ReadInfo()=" + std::to_string(r));
    return r;
}

Short TracingLink::GetDeviceType() {
    const Short r = inner_->GetDeviceType();
    Line("GetDeviceType()=" + std::to_string(r));
    return r;
}

std::string TracingLink::GetVersionText() {
    std::string r = inner_->GetVersionText();
    Line("GetVersionText()=" + QuoteTraceText(r));
    return r;
}

std::string TracingLink::GetCommIdText() {
    std::string r = inner_->GetCommIdText();
    Line("GetCommIdText()=" + QuoteTraceText(r));
    return r;
}

bool TracingLink::ReadPage0(Short first, Short last) {
    const bool r = inner_->ReadPage0(first, last);
    Line("ReadPage0(" + Args({first, last}) + ")=" + std::to_string(r));
    return r;
}

bool TracingLink::ReadPage1(Short first, Short last) {
    const bool r = inner_->ReadPage1(first, last);
    Line("ReadPage1(" + Args({first, last}) + ")=" + std::to_string(r));
    return r;
}

Short TracingLink::GetByte(Short page, Short offset) {
    const Short r = inner_->GetByte(page, offset);
    Line("GetByte(" + Args({page, offset}) + ")=" + std::to_string(r));
    return r;
}

std::string TracingLink::GetText(Short offset, Short page, Short length) {
    std::string r = inner_->GetText(offset, page, length);
    Line("GetText(" + Args({offset, page, length}) + ")=" + QuoteTraceText(r));
    return r;
}

Short TracingLink::WriteByte(Short offset, Short value, Short page) {
    const Short r = inner_->WriteByte(offset, value, page);
    Line("WriteByte(" + Args({offset, value, page}) + ")=" + std::to_string(r));
    return r;
}

bool TracingLink::WriteText(Short offset, Short page, const std::string& text) {
    const bool r = inner_->WriteText(offset, page, text);
    Line("WriteText(" + Args({offset, page}) + "," + QuoteTraceText(text) +
         ")=" + std::to_string(r));
    return r;
}

void TracingLink::ResetDevice() {
    inner_->ResetDevice();
    Line("ResetDevice()");
}

Short TracingLink::UploadFirmware(const std::string& path) {
    const Short r = inner_->UploadFirmware(path);
    Line("UploadFirmware(" + QuoteTraceText(path) + ")=" + std::to_string(r));
    return r;
}

void TracingLink::SetUploadProgress(UploadProgress progress) {
    inner_->SetUploadProgress(std::move(progress));
}

}  // namespace vk930
