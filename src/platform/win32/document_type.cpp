// The .pcg type's keys in the user's classes.
#include "platform/win32/document_type.h"

#include <utility>

#include "core/forms/dialog_ids.h"
#include "core/forms/menu_template.h"
#include "platform/win32/com_port_errors.h"

namespace vk930 {

namespace {

// Sets the default value of `subkey` to `text`.
Status SetDefault(HKEY root, const std::string& subkey, const std::string& text) {
    HKEY key = nullptr;
    LONG result =
        RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        result =
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS)
        return Error{"cannot register the parameter file type at " + subkey + ": " +
                     SystemErrorText(static_cast<DWORD>(result))};
    return Status::Ok();
}

}  // namespace

Status RegisterDocumentType(const std::string& program, HKEY root, const std::string& classes) {
    const std::string type = classes + "\\" + kDocumentProgId;
    const std::string quoted = "\"" + program + "\"";
    for (const auto& [subkey, text] :
         {std::pair{classes + "\\" + kFilterExtension, std::string(kDocumentProgId)},
          std::pair{type, std::string(kDocumentTypeName)},
          std::pair{type + "\\DefaultIcon", program + ",-" + std::to_string(id::kIconDocument)},
          std::pair{type + "\\shell\\open\\command", quoted + " \"%1\""}}) {
        if (Status status = SetDefault(root, subkey, text); !status) return status;
    }
    return Status::Ok();
}

}  // namespace vk930
