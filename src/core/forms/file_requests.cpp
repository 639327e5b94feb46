// The file dialogs of dialogs 131 and 138.
#include "core/forms/file_requests.h"

namespace vk930 {

FileDialogRequest FirmwareFileRequest() {
    FileDialogRequest request;
    request.defaultExtension = "a20";
    request.initialName = "hsbt*.a20";
    request.filterName = "VK930 FW files (hsbt*.a20)";
    request.filterPattern = "hsbt*.a20";
    return request;
}

FileDialogRequest ParameterFileSaveRequest() {
    FileDialogRequest request;
    request.save = true;
    request.defaultExtension = "pcg";
    request.initialName = "*.pcg";
    return request;
}

}  // namespace vk930
