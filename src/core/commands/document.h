#pragma once
// The one document: the parameter file the user works with.
#include <cstdint>
#include <string>

#include "core/base/result.h"
#include "core/commands/host.h"

namespace vk930 {

class CVK900ConfigDoc {
  public:
    std::string m_strFilePath;       // full path of the parameter file; empty when none
    std::int16_t m_nFileOpened = 0;  // 1 after a successful Open

    void DeleteContents();
    bool OnNewDocument();
    // Opens the file for reading (nothing is read; an empty file is fine). On success the
    // path becomes the document's and its title; on failure nothing changes.
    Status OnOpenDocument(const std::string& path, Host& host);
};

}  // namespace vk930
