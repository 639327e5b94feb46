#pragma once
// The recent-file list of the framework's profile (core/settings/recent_files.h) kept with
// Qt's settings: the last 4 files opened, newest first, as "File1" to "File4" in the group
// "Recent File List" (on Windows Qt's native settings put that in the current user's
// registry). The menu shows no entries; the list is kept as the desktop expects of a
// document program.
#include <QSettings>
#include <QStringList>

#include "core/settings/recent_files.h"

namespace vk930 {

class RecentFileList : public RecentFileStore {
  public:
    // The profile of the given organisation and application name.
    RecentFileList(const QString& organization, const QString& application, int size);

    void Add(const QString& path);
    QStringList Files() const;

    std::vector<std::string> RecentFiles() const override;
    void AddRecentFile(const std::string& path) override;

  private:
    mutable QSettings profile_;
    int size_;
};

}  // namespace vk930
