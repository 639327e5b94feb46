// Series and `commid --next` runs on several ports sharing one settings file, killed (SIGKILL)
// or stopped (SIGINT) at random moments and started again, round after round; then every
// simulated terminal's CommID and the journal of IDs are checked: no ID in two terminals, and
// every reserved ID in a terminal or explained. VK930_CHAOS_ROUNDS sets the rounds (default 50),
// VK930_CHAOS_SEED the seed; both are printed, so that a failing run can be repeated.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "support/terminal_files.h"

extern char** environ;

namespace vk930::test {
namespace {

constexpr int kPorts = 3;
constexpr int kFactoryId = 1;
constexpr int kFirst = 30001;

int EnvNumber(const char* name, int otherwise) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : otherwise;
}

// A vk930ctl run in the background, its output in a file.
class Background {
  public:
    Background(const std::vector<std::string>& args, const std::string& outPath) {
        std::vector<std::string> all = {VK930CTL_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Background() { Reap(); }
    void Signal(int signal) {
        if (pid_ > 0) ::kill(pid_, signal);
    }
    // Waits for its end; one that does not end within a minute is killed (a hang fails below).
    bool Reap() {
        if (pid_ <= 0) return true;
        for (int i = 0; i < 600; ++i) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return false;
    }

  private:
    pid_t pid_ = -1;
};

TEST(NumberingChaos, KilledAndRestartedRunsNeverGiveAnIdTwice) {
    const int rounds = EnvNumber("VK930_CHAOS_ROUNDS", 50);
    const unsigned seed =
        static_cast<unsigned>(EnvNumber("VK930_CHAOS_SEED", std::random_device{}()));
    std::cout << "numbering chaos: " << rounds << " rounds, seed " << seed
              << " (VK930_CHAOS_ROUNDS, VK930_CHAOS_SEED)" << std::endl;
    std::mt19937 random(seed);
    TempDir dir;
    setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
    const std::string settings = dir.File("s.ini");
    const std::string log = dir.File("run.log");
    WriteFile(settings, "[General]\ncommID=" + std::to_string(kFirst - 1) + "\n");
    // The terminals leave a while after their restart, and a fresh one comes at once.
    std::vector<std::unique_ptr<SimProcess>> sims;
    for (int port = 1; port <= kPorts; ++port) {
        const std::string base = dir.File("p" + std::to_string(port));
        sims.push_back(std::make_unique<SimProcess>(
            VK930SIM_PATH, base + ".link",
            "sim:" + base + ".bin?series=100000&remove=1000&plugin=50"));
        ASSERT_TRUE(sims.back()->Ready()) << sims.back()->Errors();
        ASSERT_EQ(RunProgram(VK930CTL_PATH, {"--settings", settings, "ports", "--assign",
                                             std::to_string(port), base + ".link"})
                      .exitCode,
                  0);
    }
    int hung = 0;
    for (int round = 1; round <= rounds; ++round) {
        std::vector<std::unique_ptr<Background>> runs;
        for (int port = 1; port <= kPorts; ++port) {
            std::vector<std::string> args = {"--settings", settings, "--port",
                                             std::to_string(port)};
            if (random() % 2)
                args.insert(args.end(), {"series", "--next", "--count", "2"});
            else
                args.insert(args.end(), {"commid", "--next"});
            runs.push_back(std::make_unique<Background>(args, log));
        }
        // Each run is cut at its own random moment, by SIGKILL or SIGINT; every fifth round
        // late enough that IDs are written and confirmed before the cut.
        const int from = round % 5 == 0 ? 4000 : 0;
        std::vector<std::pair<int, size_t>> cuts;
        for (size_t i = 0; i < runs.size(); ++i)
            cuts.push_back({from + static_cast<int>(random() % 3000), i});
        std::sort(cuts.begin(), cuts.end());
        int waited = 0;
        for (const auto& [at, i] : cuts) {
            std::this_thread::sleep_for(std::chrono::milliseconds(at - waited));
            waited = at;
            runs[i]->Signal(random() % 2 ? SIGKILL : SIGINT);
        }
        for (auto& run : runs) hung += run->Reap() ? 0 : 1;
    }
    EXPECT_EQ(hung, 0) << "runs that never ended";
    // One healthy run at the end resolves reservations left open by the killed ones.
    RunProgram(VK930CTL_PATH, {"--settings", settings, "--link", "sim:" + dir.File("last.bin"),
                               "commid", "--next"});
    for (auto& sim : sims) sim->Stop();

    // What every terminal carries: those at the ports and those removed.
    std::map<int, std::string> carriedBy;
    std::vector<std::string> twice;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        if (name.find(".bin") == std::string::npos) continue;
        const int id = CarriedId(entry.path().string(), kFactoryId);
        if (id == kFactoryId) continue;
        // Below the series only the half-written IDs lie (a new high byte over an old low one).
        if (id < kFirst) continue;
        if (!carriedBy.emplace(id, name).second)
            twice.push_back(std::to_string(id) + " in " + carriedBy[id] + " and " + name);
    }
    EXPECT_TRUE(twice.empty()) << "IDs in two terminals: " << twice.front();

    // The journal: every reserved ID is in a terminal, or its fate is recorded.
    std::map<int, QJsonObject> latest;
    std::set<int> held;
    std::istringstream lines(ReadFile(dir.File("state/VK930Config/service-log.jsonl")));
    for (std::string line; std::getline(lines, line);) {
        const QJsonObject e = QJsonDocument::fromJson(QByteArray::fromStdString(line))
                                  .object()
                                  .value("journal")
                                  .toObject();
        if (e.isEmpty() || e.value("state").toString() == "start") continue;
        const int id = e.value("commId").toInt();
        latest[id] = e;
        held.insert(id);
        for (const QJsonValue& v : e.value("possible").toArray()) held.insert(v.toInt());
    }
    ASSERT_FALSE(latest.empty()) << ReadFile(log);
    int inTerminals = 0;
    for (const auto& [id, e] : latest) {
        const std::string state = e.value("state").toString().toStdString();
        if (carriedBy.count(id)) {
            ++inTerminals;
            EXPECT_NE(state, "skipped") << "ID " << id << " is in " << carriedBy[id]
                                        << " though the journal says it is in none";
            continue;
        }
        EXPECT_NE(state, "reserved") << "ID " << id << " reserved, in no terminal, unexplained";
        if (state != "written")
            EXPECT_FALSE(e.value("reason").toString().isEmpty()) << "ID " << id;
        else
            ADD_FAILURE() << "ID " << id << " recorded written but in no terminal";
    }
    // Every ID of the series in a terminal was handed out by the journal.
    for (const auto& [id, name] : carriedBy)
        EXPECT_TRUE(held.count(id)) << "ID " << id << " in " << name << " not journalled";
    std::cout << "numbering chaos: " << latest.size() << " IDs reserved, " << inTerminals
              << " in terminals" << std::endl;
    EXPECT_GT(inTerminals, 0) << ReadFile(log);
}

}  // namespace
}  // namespace vk930::test
