#include "platform/qsettings_backend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

namespace vk930 {

namespace {

int ErrorNumberFor(int err) {
    return (err == EACCES || err == EPERM || err == EROFS) ? kErrorAccessDenied : err;
}

// Makes sure the file exists and can be written; 0 or an error number.
int EnsureWritable(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return EISDIR;
    if (!QDir().mkpath(info.absolutePath())) return kErrorAccessDenied;
    errno = 0;
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "a");
    if (!file) return ErrorNumberFor(errno ? errno : EIO);
    std::fclose(file);
    return 0;
}

// An INI file is text whose lines are empty, comments, [sections] or key=value. (QSettings
// would read anything, and rewrite it on the next write.) A binary file has control bytes.
bool IsIniLine(const QByteArray& line) {
    const QByteArray text = line.trimmed();
    if (text.isEmpty() || text.startsWith(';') || text.startsWith('#')) return true;
    if (text.startsWith('[')) return text.endsWith(']');
    return text.contains('=');
}

bool IsIniText(const QByteArray& bytes) {
    const bool control = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n';
    });
    if (control) return false;
    const QList<QByteArray> lines = bytes.split('\n');
    return std::all_of(lines.begin(), lines.end(), IsIniLine);
}

// 0 when the file reads as INI text (or cannot be read: Open then says why), else EINVAL.
int CheckIniText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    return IsIniText(file.read(kMaxSettingsFileSize)) ? 0 : EINVAL;
}

class QSettingsBackend : public SettingsBackend {
  public:
    explicit QSettingsBackend(QString path) : path_(std::move(path)) {}

    int Open() override {
        if (const int error = CheckSettingsFile(path_); error != 0) return Failed(error);
        if (const int error = EnsureWritable(path_); error != 0) return Failed(error);
        settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
        if (settings_->status() == QSettings::AccessError) return Failed(kErrorAccessDenied);
        return 0;
    }

    std::optional<std::int32_t> Query(const std::string& name) override {
        const QVariant value = settings_->value(QString::fromStdString(name));
        if (!value.isValid()) return std::nullopt;
        bool ok = false;
        const qlonglong number = value.toString().trimmed().toLongLong(&ok);
        if (!ok || number < std::numeric_limits<std::int32_t>::min() ||
            number > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return static_cast<std::int32_t>(number);
    }

    bool Set(const std::string& name, std::int32_t value) override {
        settings_->setValue(QString::fromStdString(name), value);
        settings_->sync();
        if (settings_->status() == QSettings::NoError) return true;
        Failed(kErrorAccessDenied);
        return false;
    }

    std::optional<std::string> QueryText(const std::string& name) override {
        const QVariant value = settings_->value(QString::fromStdString(name));
        if (!value.isValid()) return std::nullopt;
        return value.toString().toStdString();
    }

    bool SetText(const std::string& name, const std::string& text) override {
        settings_->setValue(QString::fromStdString(name), QString::fromStdString(text));
        settings_->sync();
        return settings_->status() == QSettings::NoError;
    }

    void Close() override {
        if (settings_) settings_->sync();
        settings_.reset();
    }

    std::string Problem() const override { return problem_; }

  private:
    int Failed(int error) {
        problem_ = "settings file '" + path_.toStdString() + "' " + SettingsFileProblem(error);
        return error;
    }

    QString path_;
    std::string problem_;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace

int CheckSettingsFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return 0;  // created when first written
    if (info.isDir()) return EISDIR;
    // A device or a pipe: reading it might never end (QFileInfo takes a device for a file).
    std::error_code ec;
    if (!std::filesystem::is_regular_file(QFile::encodeName(path).toStdString(), ec)) return EINVAL;
    if (info.size() > kMaxSettingsFileSize) return EFBIG;
    return CheckIniText(path);
}

std::string SettingsFileProblem(int error) {
    switch (error) {
        case EISDIR:
            return "is a folder";
        case EFBIG:
            return "is larger than 1 MiB: not a settings file; left as it is";
        case EINVAL:
            return "is not an INI settings file; left as it is";
        case kErrorAccessDenied:
            return "cannot be written";
        default:
            return std::strerror(error);
    }
}

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/VK930Config/VK930Config.ini";
}

QSettingsBackendFactory::QSettingsBackendFactory(QString path)
    : path_(path.isEmpty() ? DefaultSettingsPath() : std::move(path)) {}

std::unique_ptr<SettingsBackend> QSettingsBackendFactory::Make() {
    return std::make_unique<QSettingsBackend>(path_);
}

}  // namespace vk930
