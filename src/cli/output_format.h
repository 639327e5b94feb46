#pragma once
// What vk930ctl prints for a command: the form fields it can print, their names in the
// readable output, and the description of both output formats for --help.
#include <string>
#include <vector>

namespace vk930 {

// How vk930ctl prints: readable lines, --porcelain lines, or --json events.
enum class OutputStyle { kReadable, kPorcelain, kJson };

struct PrintedField {
    int id;            // the control id, as porcelain prints it (@ID)
    std::string name;  // as the readable output prints it (NAME: )
};

// Every form field a command sets, in control id order.
const std::vector<PrintedField>& PrintedFields();
// The readable name of a field; "Control N" for one that is not listed.
std::string FieldName(int id);
// The "Output:" section of --help: both formats and the escaping of texts.
std::string OutputFormatHelp();

}  // namespace vk930
