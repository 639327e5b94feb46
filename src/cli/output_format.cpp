// The fields vk930ctl prints and the description of its output formats.
#include "cli/output_format.h"

#include "core/commands/outcome.h"
#include "core/forms/form_ids.h"

namespace vk930 {

const std::vector<PrintedField>& PrintedFields() {
    static const std::vector<PrintedField> kFields = {
        {id::kType, "Type"},     {id::kVersion, "Version"}, {id::kScanner, "Scanner"},
        {id::kRfid, "RFID"},     {id::kColor, "Color"},     {id::kDisplay, "Display"},
        {id::kFilePath, "File"}, {id::kCommId, "CommID"},   {id::kNextCommIdButton, "Next CommID"},
    };
    return kFields;
}

std::string FieldName(int id) {
    for (const PrintedField& field : PrintedFields())
        if (field.id == id) return field.name;
    return "Control " + std::to_string(id);
}

namespace {

// The outcome classes in their order, kSuccess to kRefused.
std::string OutcomeClassNames() {
    std::string names;
    for (int c = static_cast<int>(OutcomeClass::kSuccess);
         c <= static_cast<int>(OutcomeClass::kRefused); ++c)
        names += std::string(names.empty() ? "" : ", ") + ToString(static_cast<OutcomeClass>(c));
    return names;
}

}  // namespace

std::string OutputFormatHelp() {
    std::string fields;
    for (const PrintedField& field : PrintedFields())
        fields += "  @" + std::to_string(field.id) + "  " + field.name + "\n";
    return "Output (standard output, one line each, ending with LF):\n"
           "  each log entry as it is logged: its mark ([FAIL], [WARN], [STOP], [ OK ] or\n"
           "  [ .. ]), a space and its text; then each form field the command set, in the\n"
           "  order first set: its name, \": \" and its text.\n"
           "  With --porcelain, each log entry as K<TAB>TEXT, K the icon kind (0 failure,\n"
           "  warning or cancellation; 1 success; 2 progress), then each field as\n"
           "  @ID<TAB>TEXT, then the outcome as the last line: =CLASS, or =CLASS<TAB>TEXT\n"
           "  with its detail. CLASS is one of:\n" +
           OutcomeClassNames() + "  The fields:\n" + fields +
           "  Texts (entries, fields, details, messages on standard error) are escaped: a byte\n"
           "  0x00 to 0x1F (tab, CR and LF included) or 0x7F, a byte that is not part of\n"
           "  well-formed UTF-8, and each byte of a C1 control U+0080 to U+009F as \\xNN (two\n"
           "  upper-case hex digits); a backslash as \\\\. Other UTF-8 text is printed as it\n"
           "  is. So an entry is always one line and no text acts on the terminal.\n"
           "  With --json, one JSON object per line, its \"event\" member saying what it is:\n"
           "  log, field, progress, backup, servicelog, note, refused, message, a row of a\n"
           "  listing (device, comport, assigned, check, change, record, backup), summary,\n"
           "  and last result (outcome, detail, exit: the exit status). Texts are JSON\n"
           "  strings: not escaped as above; bytes that are not UTF-8 come as Latin-1\n"
           "  characters, one per byte. Usage errors go to standard error, then the result.\n";
}

}  // namespace vk930
