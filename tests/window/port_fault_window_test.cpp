// A COM port whose device cannot be opened: the window says why in a box, beside the log's
// "Cannot open COM" line.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSysInfo>
#include <filesystem>

#include "core/forms/form_ids.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

class PortFaultWindowTest : public WindowTest {};

// Another program holds the device's lock file, as Qt and the UUCP tools write it: "sleep"
// stands in for a terminal program.
class LockHolder {
  public:
    explicit LockHolder(const std::string& device) {
        pid_ = fork();
        if (pid_ == 0) {
            execl("/bin/sleep", "sleep", "60", static_cast<char*>(nullptr));
            _exit(127);
        }
        std::string name = device;
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = "/var/lock/LCK.." + name;
        WriteFile(path_, std::to_string(pid_) + "\nsleep\n" +
                             QSysInfo::machineHostName().toStdString() + "\n");
    }
    ~LockHolder() {
        std::filesystem::remove(path_);
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    pid_t Pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    std::string path_;
};

TEST_F(PortFaultWindowTest, ADeviceInUseIsExplainedBesideTheLogLine) {
    if (access("/var/lock", W_OK) != 0) GTEST_SKIP() << "/var/lock cannot be written";
    const std::string device = dir.File("vk0");
    SimProcess sim(VK930SIM_PATH, device, "sim");
    ASSERT_TRUE(sim.Ready()) << sim.Errors();
    LockHolder holder(device);

    WindowOptions options;
    options.link = device;
    Start(options);
    std::vector<MessageBoxSeen> boxes;
    ModalAnswerer answerer({AcceptMessageBox(boxes)});
    Click(id::kReadDeviceInfoButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "VK930Config");
    EXPECT_TRUE(boxes[0].text.startsWith(ToQ("COM1: " + device + ": in use by process " +
                                             std::to_string(holder.Pid()) + " (sleep)")))
        << "box: " << ToStd(boxes[0].text);
    const std::vector<LogEntry> log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().text, "Cannot open COM1");
}

}  // namespace
}  // namespace vk930::test
