#include "core/link/tracing_link.h"

namespace vk930 {

void TracingLink::Line(const std::string& line) {
    sink_(line);
}

bool TracingLink::Connect(Short port, Short baud) {
    const bool r = inner_->Connect(port, baud);
    Line(TraceLine("Connect", {port, baud}).Returns(r));
    return r;
}

Short TracingLink::ReadInfo() {
    const Short r = inner_->ReadInfo();
    Line(TraceLine("ReadInfo").Returns(r));
    return r;
}

Short TracingLink::GetDeviceType() {
    const Short r = inner_->GetDeviceType();
    Line(TraceLine("GetDeviceType").Returns(r));
    return r;
}

std::string TracingLink::GetVersionText() {
    std::string r = inner_->GetVersionText();
    Line(TraceLine("GetVersionText").ReturnsText(r));
    return r;
}

std::string TracingLink::GetCommIdText() {
    std::string r = inner_->GetCommIdText();
    Line(TraceLine("GetCommIdText").ReturnsText(r));
    return r;
}

bool TracingLink::ReadPage0(Short first, Short last) {
    const bool r = inner_->ReadPage0(first, last);
    Line(TraceLine("ReadPage0", {first, last}).Returns(r));
    return r;
}

bool TracingLink::ReadPage1(Short first, Short last) {
    const bool r = inner_->ReadPage1(first, last);
    Line(TraceLine("ReadPage1", {first, last}).Returns(r));
    return r;
}

Short TracingLink::GetByte(Short page, Short offset) {
    const Short r = inner_->GetByte(page, offset);
    Line(TraceLine("GetByte", {page, offset}).Returns(r));
    return r;
}

std::string TracingLink::GetText(Short offset, Short page, Short length) {
    std::string r = inner_->GetText(offset, page, length);
    Line(TraceLine("GetText", {offset, page, length}).ReturnsText(r));
    return r;
}

Short TracingLink::WriteByte(Short offset, Short value, Short page) {
    const Short r = inner_->WriteByte(offset, value, page);
    Line(TraceLine("WriteByte", {offset, value, page}).Returns(r));
    return r;
}

bool TracingLink::WriteText(Short offset, Short page, const std::string& text) {
    const bool r = inner_->WriteText(offset, page, text);
    Line(TraceLine("WriteText", {offset, page}).Text(text).Returns(r));
    return r;
}

void TracingLink::ResetDevice() {
    inner_->ResetDevice();
    Line(TraceLine("ResetDevice").Done());
}

Short TracingLink::UploadFirmware(const std::string& path) {
    const Short r = inner_->UploadFirmware(path);
    Line(TraceLine("UploadFirmware").Text(path).Returns(r));
    return r;
}

void TracingLink::SetUploadProgress(UploadProgress progress) {
    inner_->SetUploadProgress(std::move(progress));
}

}  // namespace vk930
