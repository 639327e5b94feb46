#pragma once
// A file written in full before it takes the place of its target: the text goes to a fresh
// file in the target's folder, which replaces the target only when Commit succeeds. Until
// then the target keeps its old contents (or stays absent); an uncommitted file is removed.
#include <cstdio>
#include <string>
#include <string_view>

#include "core/base/result.h"

namespace vk930 {

class ReplacingFile {
  public:
    ReplacingFile() = default;
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file next to the target. Fails when the target is a folder or an
    // existing file that cannot be written, or when the folder takes no new file.
    Status Open(const std::string& target);
    // After Open, before the first Write: the file is for its owner alone (0600), and stays so
    // in the target's place whatever the target's permissions were.
    Status MakePrivate();
    // Appends bytes; false once anything could not be written.
    bool Write(std::string_view bytes);
    // Flushes the text to the disk and moves it into the target's place.
    Status Commit();

  private:
    void Discard();
    void Unregister();

    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temporary_;
    bool failed_ = false;
    bool private_ = false;
    int writeErrno_ = 0;    // why the first failed write failed
    int pendingSlot_ = -1;  // in TemporaryFiles(), while the temporary file exists
};

}  // namespace vk930
