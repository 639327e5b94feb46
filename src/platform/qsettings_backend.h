#pragma once
// The settings store on Linux: an INI file read and written with QSettings. The default file
// is VK930Config/VK930Config.ini in the user's configuration folder; --settings selects another.
#include <QString>
#include <memory>
#include <string>

#include "core/settings/settings_backend.h"

namespace vk930 {

class QSettingsBackendFactory : public SettingsBackendFactory {
  public:
    // An empty path means the user's default settings file.
    explicit QSettingsBackendFactory(QString path = {});
    std::unique_ptr<SettingsBackend> Make() override;
    const QString& Path() const { return path_; }

  private:
    QString path_;
};

// The default settings file of this user.
QString DefaultSettingsPath();

// A settings file holds a few short lines; a larger file is none, and is never read or written.
inline constexpr qint64 kMaxSettingsFileSize = 1 << 20;

// Whether the file can be the settings store: 0, or the error number that Open gives.
// EISDIR a folder, EFBIG larger than kMaxSettingsFileSize, EINVAL not an INI file (a binary
// file, a parameter file given by mistake): writing would rewrite it and lose what it holds,
// so it is left untouched.
int CheckSettingsFile(const QString& path);
// The problem an error number of CheckSettingsFile names, in a technician's words.
std::string SettingsFileProblem(int error);

}  // namespace vk930
