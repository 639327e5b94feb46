#include "core/settings/recent_files.h"

#include <algorithm>

namespace vk930 {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SamePath(const std::string& a, const std::string& b, PathCase pathCase) {
    if (pathCase == PathCase::kSensitive) return a == b;
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

std::string RecentFileEntryName(int index) {
    return "File" + std::to_string(index + 1);
}

std::vector<std::string> RecentFilesAfterOpening(const std::vector<std::string>& files,
                                                 const std::string& path, int size,
                                                 PathCase pathCase) {
    std::vector<std::string> list;
    if (size <= 0) return list;
    list.push_back(path);
    for (const std::string& file : files) {
        if (static_cast<int>(list.size()) >= size) break;
        if (!file.empty() && !SamePath(file, path, pathCase)) list.push_back(file);
    }
    return list;
}

}  // namespace vk930
