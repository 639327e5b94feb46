#include "platform/settings_file_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

#include "core/settings/id_counter.h"
#include "platform/qsettings_backend.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

// One station: its own settings factory, lock and counter, as each process or thread has.
std::vector<int> ReserveMany(const std::string& ini, int count) {
    QSettingsBackendFactory settings(QString::fromStdString(ini));
    SettingsFileLock lock(ini);
    IdCounter counter(settings, lock);
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) {
        Result<int> id = counter.Reserve();
        if (!id) break;
        ids.push_back(*id);
    }
    return ids;
}

void ExpectConsecutiveOnce(std::vector<int> ids, int first, int count) {
    std::sort(ids.begin(), ids.end());
    ASSERT_EQ(ids.size(), static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) ASSERT_EQ(ids[i], first + i) << "an ID given twice or skipped";
}

TEST(SettingsFileLock, StationsInThreadsShareOneCounterWithoutAnIdTwice) {
    TempDir dir;
    const std::string ini = dir.File("vk.ini");
    WriteFile(ini, "[General]\ncommID=300\n");
    std::vector<std::vector<int>> perStation(4);
    std::vector<std::thread> stations;
    for (auto& ids : perStation) stations.emplace_back([&] { ids = ReserveMany(ini, 25); });
    for (auto& t : stations) t.join();
    std::vector<int> all;
    for (const auto& ids : perStation) all.insert(all.end(), ids.begin(), ids.end());
    ExpectConsecutiveOnce(all, 301, 100);
    EXPECT_NE(ReadFile(ini).find("commID=400"), std::string::npos);
}

TEST(SettingsFileLock, StationsInProcessesShareOneCounterWithoutAnIdTwice) {
    TempDir dir;
    const std::string ini = dir.File("vk.ini");
    WriteFile(ini, "[General]\ncommID=1000\n");
    std::vector<pid_t> children;
    for (int station = 0; station < 4; ++station) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::ofstream out(dir.File("ids" + std::to_string(station)));
            for (int id : ReserveMany(ini, 25)) out << id << '\n';
            out.flush();
            _exit(out ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<int> all;
    for (int station = 0; station < 4; ++station) {
        std::ifstream in(dir.File("ids" + std::to_string(station)));
        for (int id; in >> id;) all.push_back(id);
    }
    ExpectConsecutiveOnce(all, 1001, 100);
}

TEST(SettingsFileLock, ALockThatCannotBeCreatedIsAnErrorNamingTheFile) {
    SettingsFileLock lock("/proc/vk930-no-such/vk.ini");
    Status s = lock.Acquire();
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.error().find("vk.ini.counter-lock"), std::string::npos) << s.error();
}

}  // namespace
}  // namespace vk930::test
