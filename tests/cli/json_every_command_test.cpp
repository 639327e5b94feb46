// Every command of vk930ctl under --json, with the shared registry reachable, unreachable and
// malformed: standard output is JSON lines ending with one result, whatever happens, and no
// password of the address shows anywhere.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/json_lines.h"
#include "support/pg_cluster.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

const std::string kFirmware = VK930_FIRMWARE_DATA_DIR "/hsbt15.a20";
constexpr char kSecret[] = "s3cr3t-pw";

class JsonEveryCommand : public PgClusterTest {
  protected:
    void SetUp() override {
        PgClusterTest::SetUp();
        setenv("XDG_STATE_HOME", dir_.File("state").c_str(), 1);
        WriteFile(dir_.File("a.pcg"), "SLEEP:45\r\nVOLUME:2\r\nEND\r\n");
        WriteFile(dir_.File("b.pcg"), "SLEEP:45\r\nVOLUME:3\r\nEND\r\n");
    }

    // Every command with arguments that let it run to its end on a simulated terminal.
    std::vector<std::vector<std::string>> Commands() {
        const std::string a = dir_.File("a.pcg"), b = dir_.File("b.pcg");
        return {{"info"},
                {"commid", "7"},
                {"commid", "--next"},
                {"get", dir_.File("got.pcg")},
                {"get", "--keyed", dir_.File("keyed.pcg")},
                {"set", a},
                {"restore", a, "--force"},
                {"firmware", kFirmware},
                {"series", "--from", "20", "--count", "1", "--no-verify"},
                {"ports"},
                {"doctor"},
                {"diff", a},
                {"diff", "--all", a, b},
                {"backups"},
                {"history", "--since", "2026-12-07T15:30"},
                {"history", "--since", "2026-12-07T25:99"},
                {"registry", "status"},
                {"registry", "init"},
                {"no-such-command"}};
    }

    // The command with --registry ADDRESS before --json (its two-word form).
    JsonRun Run(const std::string& address, const std::vector<std::string>& command) {
        std::vector<std::string> args = {
            "--settings", dir_.File("s.ini"),         "--registry", address, "--json",
            "--link",     "sim:" + dir_.File("t.bin")};
        args.insert(args.end(), command.begin(), command.end());
        JsonRun run = Parse(RunProgram(VK930CTL_PATH, args));
        EXPECT_EQ(run.run.out.find(kSecret), std::string::npos) << run.run.out;
        EXPECT_EQ(run.run.err.find(kSecret), std::string::npos) << run.run.err;
        return run;
    }

    std::string Joined(const std::vector<std::string>& words) {
        std::string text;
        for (const std::string& word : words) text += word + " ";
        return text;
    }

    TempDir dir_;
};

TEST_F(JsonEveryCommand, AReachableRegistry) {
    ASSERT_EQ(Run(cluster_->Address(), {"registry", "init"}).Result().value("exit").toInt(), 0);
    for (const std::vector<std::string>& command : Commands()) {
        SCOPED_TRACE(Joined(command));
        const JsonRun run = Run(cluster_->Address(), command);
        // Only the bad ones fail: the unknown command and the hour 25.
        const bool bad =
            command[0] == "no-such-command" || Joined(command).find("T25") != std::string::npos;
        EXPECT_EQ(run.Result().value("outcome").toString() == "usage", bad) << run.run.out;
    }
    const JsonRun status = Run(cluster_->Address(), {"registry", "status"});
    const std::vector<QJsonObject> rows = status.Of("registry");
    ASSERT_EQ(rows.size(), 1u) << status.run.out;
    EXPECT_EQ(rows[0].value("schemaVersion").toInt(), 4);
    EXPECT_GT(rows[0].value("records").toInt(), 10);
    EXPECT_EQ(rows[0].value("waiting").toInt(-1), 0);
    EXPECT_EQ(rows[0].value("registry").toString().toStdString(), cluster_->Address());
    const JsonRun history = Run(cluster_->Address(), {"history", "--since", "2000-01-01"});
    EXPECT_GT(history.Of("record").size(), 10u);
}

TEST_F(JsonEveryCommand, AnUnreachableRegistryStillEndsEveryCommandWithItsResult) {
    const std::string address =
        "postgresql://shop:" + std::string(kSecret) + "@%2Fno%2Fsuch%2Fsocket/shop";
    for (const std::vector<std::string>& command : Commands()) {
        SCOPED_TRACE(Joined(command));
        const JsonRun run = Run(address, command);
        if (command[0] == "history" && command[2].find("T25") == std::string::npos ||
            command[0] == "registry") {
            EXPECT_EQ(run.Result().value("exit").toInt(), 1) << run.run.out;
            EXPECT_NE(run.Result().value("detail").toString().indexOf("postgresql://shop@"), -1)
                << run.run.out;
        }
    }
}

TEST_F(JsonEveryCommand, AMalformedAddressIsAUsageErrorOfEveryCommand) {
    const std::string secret = kSecret;
    for (const std::string& address :
         {"mysql://shop:" + secret + "@host/db", "postgresql:/shop:" + secret + "@host/db",
          " postgresql://shop:" + secret + "@host/db",
          "postgresql://shop@host/db?password=" + secret}) {
        for (const std::vector<std::string>& command : Commands()) {
            SCOPED_TRACE(address + " " + Joined(command));
            const JsonRun run = Run(address, command);
            EXPECT_EQ(run.Result().value("outcome").toString(), "usage") << run.run.out;
            EXPECT_EQ(run.events.size(), 1u) << run.run.out;
        }
    }
}

}  // namespace
}  // namespace vk930::test
