#include "support/pg_cluster.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "support/other_user.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {

namespace {

constexpr char kSuperUser[] = "vk930";

// The newest PostgreSQL installed, in Debian's layout (/usr/lib/postgresql/15/bin).
std::string BinFolder() {
    std::string best;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec)) {
        const std::string bin = (entry.path() / "bin").string();
        if (access((bin + "/initdb").c_str(), X_OK) == 0 &&
            access((bin + "/pg_ctl").c_str(), X_OK) == 0 && bin > best)
            best = bin;
    }
    return best;
}

ProgramRun RunAs(const OtherUser& user, const std::vector<std::string>& args) {
    const std::vector<std::string> command = user.Command({"LC_ALL=C"}, args);
    return RunProgram(command[0], {command.begin() + 1, command.end()});
}

}  // namespace

std::unique_ptr<PgCluster> PgCluster::Start(const std::string& database, std::string& why,
                                            bool& missing, bool durable) {
    missing = false;
    std::unique_ptr<PgCluster> cluster(new PgCluster);
    cluster->durable_ = durable;
    cluster->bin_ = BinFolder();
    if (cluster->bin_.empty()) {
        missing = true;
        why =
            "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb): apt-get install "
            "postgresql";
        return nullptr;
    }
    std::optional<OtherUser> user = NonRootUser(why);
    if (!user) return nullptr;
    // A socket's path has room for about 100 characters: a short folder in /tmp.
    std::string pattern = "/tmp/vk930-pg-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        why = "cannot make a folder for the cluster in /tmp";
        return nullptr;
    }
    cluster->folder_ = pattern;
    cluster->database_ = database;
    if (chown(pattern.c_str(), user->uid, user->gid) != 0 && getuid() == 0) {
        why = "cannot give " + pattern + " to " + user->name;
        return nullptr;
    }
    const ProgramRun init =
        RunAs(*user, {cluster->bin_ + "/initdb", "-D", cluster->folder_ + "/data", "-U", kSuperUser,
                      "--auth=trust", "-E", "UTF8", "--no-sync"});
    if (init.exitCode != 0) {
        why = "initdb failed: " + init.err;
        return nullptr;
    }
    if (!cluster->StartAgain(why)) return nullptr;
    const ProgramRun created = RunProgram(cluster->bin_ + "/createdb",
                                          {"-h", cluster->folder_, "-U", kSuperUser, database});
    if (created.exitCode != 0) {
        why = "createdb failed: " + created.err;
        return nullptr;
    }
    return cluster;
}

PgCluster::~PgCluster() {
    std::string why;
    if (running_) Stop(why);
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
}

bool PgCluster::PgCtl(const std::string& action, std::string& why) {
    std::optional<OtherUser> user = NonRootUser(why);
    if (!user) return false;
    std::vector<std::string> args = {bin_ + "/pg_ctl",
                                     "-D",
                                     folder_ + "/data",
                                     "-l",
                                     folder_ + "/server.log",
                                     "-w",
                                     "-m",
                                     "fast"};
    if (action == "start")
        args.insert(args.end(), {"-o", "-k " + folder_ + " -c listen_addresses=''" +
                                           (durable_ ? "" : " -c fsync=off")});
    args.push_back(action);
    const ProgramRun run = RunAs(*user, args);
    if (run.exitCode == 0) return true;
    why = "pg_ctl " + action + " failed: " + run.out + run.err + ReadFile(folder_ + "/server.log");
    return false;
}

bool PgCluster::Stop(std::string& why) {
    if (!PgCtl("stop", why)) return false;
    running_ = false;
    return true;
}

bool PgCluster::StartAgain(std::string& why) {
    if (!PgCtl("start", why)) return false;
    running_ = true;
    return true;
}

std::string PgCluster::Address() const {
    // The folder holds letters, digits, '-' and '/' only, and '/' is written %2F.
    std::string host;
    for (char c : folder_) host += c == '/' ? std::string("%2F") : std::string(1, c);
    return std::string("postgresql://") + kSuperUser + "@" + host + "/" + database_;
}

std::string PgCluster::Sql(const std::string& sql) const {
    const ProgramRun run = RunProgram(
        bin_ + "/psql",
        {"-h", folder_, "-U", kSuperUser, "-d", database_, "-X", "-A", "-t", "-q", "-c", sql});
    return run.exitCode == 0 ? run.out : "ERROR: " + run.err;
}

bool PgCluster::RequirePassword(const std::string& password, std::string& why) {
    const std::string set =
        Sql("ALTER USER " + std::string(kSuperUser) + " PASSWORD '" + password + "'");
    if (set.rfind("ERROR", 0) == 0) {
        why = set;
        return false;
    }
    // The file keeps its owner (the server's user): it is rewritten, not replaced.
    std::ofstream hba(folder_ + "/data/pg_hba.conf", std::ios::trunc);
    hba << "local all all scram-sha-256\n";
    hba.close();
    if (!hba) {
        why = "cannot write pg_hba.conf";
        return false;
    }
    return PgCtl("reload", why);
}

void PgClusterTest::SetUp() {
    std::string why;
    bool missing = false;
    cluster_ = PgCluster::Start("shop", why, missing);
    if (!cluster_ && missing) GTEST_SKIP() << why;
    ASSERT_TRUE(cluster_) << why;
}

}  // namespace vk930::test
