// How the window breathes during long commands over the serial link to a paced vk930-sim:
// the longest gap between two passes of its event loop and the repaints a second, for a
// 16 KiB firmware upload at 4800 baud, a CommID write (its 4 s wait) and a Set of a 40-line
// keyed file. Each runs twice: as the window used to run it (the whole command on the GUI
// thread) and as it runs now (on the command thread). Goal: no gap above 50 ms, at least 10
// repaints a second.
//   bench_command_gaps [IMAGE_KIB]
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

#include "core/firmware/intel_hex.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "window/config_app.h"
#include "window/main_form.h"
#include "window/main_frame.h"
#include "window/modal_answerer.h"
#include "window/text.h"

using namespace vk930;
using namespace vk930::test;

namespace {

constexpr int kTickMs = 5;      // a pass of the event loop is seen by a timer this often
constexpr int kRepaintMs = 20;  // the window is asked to repaint this often (50 a second)
constexpr double kGapGoalMs = 50;
constexpr double kRepaintGoal = 10;

// Watches the event loop and the form's paints while a command runs.
class Breathing : public QObject {
  public:
    explicit Breathing(QWidget& form) : form_(form) {
        form_.installEventFilter(this);
        tick_.setInterval(kTickMs);
        QObject::connect(&tick_, &QTimer::timeout, [this] { Pass(); });
        repaint_.setInterval(kRepaintMs);
        QObject::connect(&repaint_, &QTimer::timeout, [this] { form_.update(); });
    }
    void Start() {
        paints_ = 0;
        longestMs_ = 0;
        longestAfterDialogsMs_ = 0;
        dialogsDone_ = !dialogsDone;
        clock_.start();
        last_ = 0;
        tick_.start();
        repaint_.start();
    }
    // Stops and counts the gap up to now, which is the whole command when it blocked the loop.
    void Stop() {
        Pass();
        tick_.stop();
        repaint_.stop();
        seconds_ = static_cast<double>(clock_.elapsed()) / 1000.0;
    }
    double LongestGapMs() const { return longestMs_; }
    double RepaintsPerSecond() const { return seconds_ > 0 ? paints_ / seconds_ : 0; }
    double Seconds() const { return seconds_; }
    // The longest gap once the command's dialogs have closed (see dialogsDone).
    double LongestGapAfterDialogsMs() const { return longestAfterDialogsMs_; }
    // True once the command's dialogs are gone; unset: it has none.
    std::function<bool()> dialogsDone;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints_;
        return false;
    }

  private:
    void Pass() {
        const qint64 now = clock_.nsecsElapsed();
        const double gap = static_cast<double>(now - last_) / 1e6;
        longestMs_ = std::max(longestMs_, gap);
        if (!dialogsDone_ && dialogsDone) dialogsDone_ = dialogsDone();
        if (dialogsDone_) longestAfterDialogsMs_ = std::max(longestAfterDialogsMs_, gap);
        last_ = now;
    }

    QWidget& form_;
    QTimer tick_;
    QTimer repaint_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    double longestMs_ = 0;
    bool dialogsDone_ = false;
    double longestAfterDialogsMs_ = 0;
    int paints_ = 0;
    double seconds_ = 0;
};

struct Figures {
    double gapMs;
    double gapAfterDialogsMs;
    double repaints;
    double seconds;
    bool ok;
};

std::string MakeImage(const TempDir& dir, std::size_t kib) {
    FirmwareImage image;
    image.segments.push_back({0, std::vector<std::uint8_t>(kib * 1024)});
    for (std::size_t i = 0; i < image.segments[0].bytes.size(); ++i)
        image.segments[0].bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::string path = dir.File("hsbt16.a20");
    std::ofstream(path) << WriteIntelHex(image);
    return path;
}

// A keyed parameter file of 40 lines and END, every value in range.
std::string MakeKeyedFile(const TempDir& dir) {
    std::string text =
        "HEADING:BENCH TERMINAL\r\nEXTRAID:0\r\nLANGUAGE:1\r\nLEDONOFF:1\r\n"
        "VOL_FREQ:1\r\nDOT_COMMA:0\r\nWAIT_TIME:15\r\nPASSWORD:0\r\nSLEEP:30\r\n"
        "VOLUME:4\r\nMENULANG:1\r\nRECMODE:0\r\nUSEFORMLOCK:0\r\nUSECUSTOMTXT:0\r\n"
        "FORMLOCKTXT1:LOCK ONE\r\nFORMLOCKTXT2:LOCK TWO\r\nBATTERY:0\r\n"
        "WAKESCAN:0\r\nKEYSOUND:1\r\n";
    for (int key = 1; key <= 10; ++key)
        text += "F" + std::to_string(key) + "TXT:KEY" + std::to_string(key) + "\r\nF" +
                std::to_string(key) + "SEND:1\r\n";
    text += "END\r\n";
    const std::string path = dir.File("keyed.pcg");
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

bool EndedWith(CConfigApp& app, const QString& text) {
    const LogModel& model = app.Form().Log().Model();
    return model.rowCount() > 0 &&
           model.data(model.index(model.rowCount() - 1), Qt::DisplayRole).toString() == text;
}

// Runs `start`, then serves the window until `done` holds.
Figures Watch(CConfigApp& app, const std::function<void()>& start,
              const std::function<bool()>& done, const QString& success,
              const std::function<bool()>& dialogsDone = {}) {
    Breathing breathing(app.Form());
    breathing.dialogsDone = dialogsDone;
    app.Form().Log().ClearLog();
    breathing.Start();
    start();
    WaitUntil(done, 120000);
    breathing.Stop();
    return {breathing.LongestGapMs(), breathing.LongestGapAfterDialogsMs(),
            breathing.RepaintsPerSecond(), breathing.Seconds(), EndedWith(app, success)};
}

void Print(const char* name, const Figures& before, const Figures& now) {
    const bool meets = now.gapMs <= kGapGoalMs && now.repaints >= kRepaintGoal;
    char afterDialogs[64] = "";
    if (now.gapAfterDialogsMs != now.gapMs)
        std::snprintf(afterDialogs, sizeof afterDialogs, "  (after its dialogs: %.1f ms)",
                      now.gapAfterDialogsMs);
    std::printf("%-10s %7.1f s %10.0f %9.1f %10.1f %9.1f  %s%s%s\n", name, now.seconds,
                before.gapMs, before.repaints, now.gapMs, now.repaints, meets ? "meets" : "misses",
                afterDialogs, before.ok && now.ok ? "" : "  (a run FAILED)");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    const std::size_t kib = argc > 1 ? std::stoul(argv[1]) : 16;
    TempDir dir;
    const std::string device = dir.File("vk");
    SimProcess sim(VK930SIM_PATH, device, "sim:" + dir.File("t.bin"), /*pace=*/true);
    if (!sim.Ready()) {
        std::fprintf(stderr, "vk930-sim did not start: %s\n", sim.Errors().c_str());
        return 1;
    }
    const std::string firmware = MakeImage(dir, kib);
    const std::string keyed = MakeKeyedFile(dir);
    const QString settings = ToQ(dir.File("bench.ini"));
    QSettings(settings, QSettings::IniFormat).setValue("AllowEditSno", 1);
    WindowOptions options;
    options.link = device;
    options.settingsPath = settings;
    CConfigApp app(options);  // real waits
    if (!app.InitInstance()) return 1;
    ProcessEventsFor(300);
    CVK900ConfigView& view = app.View();
    const CommandContext& ctx = view.Context();
    // The old way runs on COM2 (its serial port lives on the GUI thread), the new one on COM1
    // (its port lives on the command thread); both reach the same simulator.
    auto old = [&](const std::function<void()>& run) {
        ctx.state.comPort = 2;
        run();
        ctx.state.comPort = 1;
    };
    auto idle = [&] { return !app.CommandRunning(); };
    auto press = [&](int id) { qobject_cast<QPushButton*>(app.Form().Control(id))->click(); };

    std::printf("%-10s %9s %10s %9s %10s %9s\n", "command", "now",
                "before:", "before:", "now:", "now:");
    std::printf("%-10s %9s %10s %9s %10s %9s\n", "", "takes", "gap ms", "paints/s", "gap ms",
                "paints/s");

    // Firmware: the upload alone, as the form timer starts it.
    const Figures uploadBefore = Watch(
        app,
        [&] {
            old([&] {
                ctx.link.Connect(ctx.Port(), kBaudBootLoader);
                ctx.state.firmwareFile = firmware;
                ctx.state.uploadPending = 1;
                view.RunFirmwareUpload();
            });
        },
        [] { return true; }, "REMOVE BATTERIES AND PUT THEM BACK AGAIN");
    ModalAnswerer answerer(
        {ClickControl(id::kOpenFwFileButton), PickFile(ToQ(firmware)), ClickControl(id::kOk)});
    // The firmware dialog and its file dialog are the window's own work before the upload.
    const Figures uploadNow = Watch(
        app, [&] { app.OnCommand(id::kCmdFirmwareUpdate); }, idle,
        "REMOVE BATTERIES AND PUT THEM BACK AGAIN",
        [&] { return app.Form().Log().Model().rowCount() > 0; });
    Print("firmware", uploadBefore, uploadNow);

    auto commId = [&] {
        qobject_cast<QLineEdit*>(app.Form().Control(id::kCommId))->setText("300");
    };
    const Figures commIdBefore = Watch(
        app,
        [&] {
            old([&] {
                commId();
                view.OnCommIdEdited("300");
                view.OnSetCommId();
            });
        },
        [] { return true; }, "Done");
    const Figures commIdNow = Watch(
        app,
        [&] {
            commId();
            view.OnCommIdEdited("300");
            press(id::kSetCommIdButton);
        },
        idle, "Done");
    Print("CommID", commIdBefore, commIdNow);

    const Figures setBefore = Watch(
        app,
        [&] {
            old([&] {
                ctx.state.document.m_strFilePath = keyed;
                view.OnSet();
            });
        },
        [] { return true; }, "DONE Succesfully!");
    const Figures setNow = Watch(
        app,
        [&] {
            ctx.state.document.m_strFilePath = keyed;
            press(id::kSetButton);
        },
        idle, "DONE Succesfully!");
    Print("Set 40", setBefore, setNow);
    std::printf("goal: no gap above %.0f ms, at least %.0f repaints a second\n", kGapGoalMs,
                kRepaintGoal);
    return 0;
}
