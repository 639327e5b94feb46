#pragma once
// The recent-file list of the framework's profile: the last files opened, newest first, kept
// as "File1" to "File4" in the section "Recent File List" of the profile
// ("Local AppWizard-Generated Applications", "VK930Config"). Nothing shows it; it is kept as
// a document program keeps it. The window keeps it with Qt's settings, the Windows back end
// in the current user's registry.
#include <string>
#include <vector>

namespace vk930 {

inline constexpr char kRecentFileSection[] = "Recent File List";

// How paths compare: Windows file names ignore case, Linux ones do not.
enum class PathCase { kSensitive, kIgnored };
inline constexpr PathCase kHostPathCase =
#ifdef _WIN32
    PathCase::kIgnored;
#else
    PathCase::kSensitive;
#endif

class RecentFileStore {
  public:
    virtual ~RecentFileStore() = default;
    // The files, newest first; empty entries are left out.
    virtual std::vector<std::string> RecentFiles() const = 0;
    // Records an opened file at the top; the same file further down goes, the oldest falls
    // off a full list.
    virtual void AddRecentFile(const std::string& path) = 0;
};

// "File1" for index 0.
std::string RecentFileEntryName(int index);

// The list after opening `path`: it first, then the others in their order without it (in the
// given comparison), at most `size` entries.
std::vector<std::string> RecentFilesAfterOpening(const std::vector<std::string>& files,
                                                 const std::string& path, int size,
                                                 PathCase pathCase = kHostPathCase);

}  // namespace vk930
