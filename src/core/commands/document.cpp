#include "core/commands/document.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace vk930 {

void CVK900ConfigDoc::DeleteContents() {
    m_nFileOpened = 0;
    m_strFilePath.clear();
}

bool CVK900ConfigDoc::OnNewDocument() {
    DeleteContents();
    return true;
}

Status CVK900ConfigDoc::OnOpenDocument(const std::string& path, Host& host) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(status))
        return Error{"Cannot open file '" + path + "': it is a folder."};
    // Opening a pipe would wait for a writer; a device is no document either.
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return Error{"Cannot open file '" + path + "': it is not a regular file."};
    std::ifstream file(path, std::ios::binary);
    if (!file) return Error{"Cannot open file '" + path + "': " + std::strerror(errno) + "."};
    DeleteContents();
    m_nFileOpened = 1;
    m_strFilePath = path;
    host.SetDocumentTitle(path);
    return {};
}

}  // namespace vk930
