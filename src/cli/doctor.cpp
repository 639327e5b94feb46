#include "cli/doctor.h"

#include <QFileInfo>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "cli/cli_commands.h"
#include "cli/json_events.h"
#include "core/firmware/intel_hex_file.h"
#include "core/firmware/upload_procedure.h"
#include "core/proof/state_folder.h"
#include "platform/json_text.h"
#include "platform/link_factory.h"
#include "platform/port_assignment.h"
#include "platform/port_diagnosis.h"
#include "platform/qsettings_backend.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vk930 {

namespace fs = std::filesystem;

namespace {

using Mark = DoctorCheck::Mark;

DoctorCheck Ok(std::string text) {
    return {Mark::kOk, std::move(text), {}};
}
DoctorCheck Fail(std::string text, std::string fix = {}) {
    return {Mark::kFail, std::move(text), std::move(fix)};
}
DoctorCheck Warn(std::string text, std::string fix = {}) {
    return {Mark::kWarn, std::move(text), std::move(fix)};
}

bool Writable(const fs::path& path) {
#ifndef _WIN32
    return access(path.c_str(), W_OK) == 0;
#else
    return QFileInfo(QString::fromStdString(path.string())).isWritable();
#endif
}

// The folder itself when it exists, else the nearest existing folder above it.
fs::path NearestExisting(fs::path path) {
    std::error_code ec;
    while (!path.empty() && !fs::exists(path, ec)) {
        if (path == path.parent_path()) break;
        path = path.parent_path();
    }
    return path;
}

std::vector<DoctorCheck> DeviceChecks(const std::string& com, const PortReach& reach) {
    const std::string& device = reach.spec;
    if (!reach.present) {
        const std::string fix = !reach.problem.empty()
                                    ? "vk930ctl ports --assign " + std::to_string(reach.port) +
                                          " " + reach.problem.substr(reach.problem.rfind(' ') + 1)
                                    : "plug the adapter in, or assign a device present: "
                                      "vk930ctl ports --assign " +
                                          std::to_string(reach.port) + " DEVICE";
        return {Fail(com + ": serial device '" + device + "' does not exist", fix)};
    }
    std::vector<DoctorCheck> checks{Ok(com + ": serial device '" + device + "' exists")};
    if (std::optional<std::string> problem = PermissionProblem(device))
        checks.push_back(Fail(com + ": " + *problem));
    else
        checks.push_back(Ok(com + ": '" + device + "' can be opened for reading and writing"));
    if (std::optional<PortHolder> holder = FindPortHolder(device))
        checks.push_back(Fail(com + ": '" + device + "' is in use by " + DescribeHolder(*holder),
                              "end that program, or choose another port"));
    else
        checks.push_back(Ok(com + ": '" + device + "' is not held by another process"));
    return checks;
}

bool ProcessRunning(const std::string& name) {
    std::error_code ec;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        std::ifstream comm(it->path() / "comm");
        std::string line;
        if (std::getline(comm, line) && line == name) return true;
    }
    return false;
}

std::vector<DoctorCheck> GrabberChecks() {
    std::vector<DoctorCheck> checks;
    std::error_code ec;
    if (ProcessRunning("ModemManager"))
        checks.push_back(
            Warn("ModemManager runs: it probes new serial devices for modems and "
                 "can hold a USB serial adapter for a while",
                 "sudo systemctl disable --now ModemManager"));
    if (ProcessRunning("brltty") || fs::exists("/usr/bin/brltty", ec))
        checks.push_back(
            Warn("brltty is installed: its udev rules claim some USB serial "
                 "adapters (CH340, CP210x) for braille displays",
                 "sudo apt-get remove brltty"));
    if (checks.empty())
        checks.push_back(Ok("neither ModemManager nor brltty can grab a USB serial adapter"));
    return checks;
}

DoctorCheck SettingsCheck(CliSession& session) {
    const auto* file = dynamic_cast<const QSettingsBackendFactory*>(&session.settings);
    if (!file) return Ok("settings: not kept in a file");
    const std::string path = file->Path().toStdString();
    if (const int error = CheckSettingsFile(file->Path()); error != 0)
        return Fail("settings file '" + path + "' " + SettingsFileProblem(error),
                    "give another file with --settings, or move this one away");
    std::error_code ec;
    if (fs::exists(path, ec))
        return Writable(path) ? Ok("settings file '" + path + "' can be read and written")
                              : Fail("settings file '" + path + "' cannot be written",
                                     "make it yours: sudo chown $USER '" + path + "'");
    const fs::path above = NearestExisting(fs::path(path).parent_path());
    return Writable(above)
               ? Ok("settings file '" + path + "' will be created")
               : Fail("settings file '" + path + "' cannot be created in '" + above.string() + "'");
}

DoctorCheck StateFolderCheck() {
    const std::string folder = StateFolder();
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return Writable(folder) ? Ok("state folder '" + folder + "' (backups, service log)")
                                : Fail("state folder '" + folder + "' cannot be written",
                                       "make it yours: sudo chown -R $USER '" + folder + "'");
    if (fs::exists(folder, ec))
        return Fail("state folder '" + folder + "' is not a folder", "move it away");
    const fs::path above = NearestExisting(fs::path(folder).parent_path());
    return Writable(above)
               ? Ok("state folder '" + folder + "' will be created when needed")
               : Fail("state folder '" + folder + "' cannot be created in '" + above.string() + "'",
                      "sudo chown $USER '" + above.string() + "'");
}

DoctorCheck BootFileCheck() {
    const std::optional<fs::path> boot = FindBootFile(ProgramBootFileLookup());
    if (!boot)
        return Fail("no boot file boot.a20 in the working directory, beside the program or in '" +
                        std::string(kSystemDataDir) + "': firmware uploads fail",
                    "reinstall the package, or put boot.a20 in the working directory");
    if (Result<FirmwareImage> image = ReadIntelHexFile(boot->string()); !image)
        return Fail("boot file '" + boot->string() + "': " + image.error(),
                    "reinstall the package");
    return Ok("boot file '" + boot->string() + "'");
}

const char* MarkName(Mark mark) {
    return mark == Mark::kOk ? "ok" : mark == Mark::kWarn ? "warn" : "fail";
}

QJsonObject CheckEvent(const DoctorCheck& check) {
    QJsonObject event =
        JsonEvent("check", {{"mark", MarkName(check.mark)}, {"text", JsonText(check.text)}});
    if (!check.fix.empty()) event.insert("fix", JsonText(check.fix));
    return event;
}

std::vector<int> PortsToCheck(CliSession& session, std::optional<int> only) {
    if (only) return {*only};
    std::vector<int> ports;
    if (IsComPort(session.state.comPort)) ports.push_back(session.state.comPort);
    if (session.linkOverride) return ports;
    std::unique_ptr<SettingsBackend> backend = session.settings.Make();
    if (backend->Open() != 0) return ports;
    for (int port = 1; port <= kPortCount; ++port) {
        if (port == session.state.comPort) continue;
        const std::optional<std::string> configured = backend->QueryText(DeviceSettingName(port));
        if (configured && !configured->empty()) ports.push_back(port);
    }
    backend->Close();
    return ports;
}

}  // namespace

std::string FormatCheck(const DoctorCheck& check) {
    const char* mark = check.mark == Mark::kOk     ? "[ok]   "
                       : check.mark == Mark::kWarn ? "[warn] "
                                                   : "[FAIL] ";
    return mark + check.text + (check.fix.empty() ? "" : "; fix: " + check.fix);
}

std::vector<DoctorCheck> PortChecks(CliSession& session, int port) {
    const PortReach reach = DescribePortReach(port, session.linkOverride, session.settings);
    const std::string com = "COM" + std::to_string(port);
    const std::string assign = "vk930ctl ports --assign " + std::to_string(port) + " DEVICE";
    switch (reach.kind) {
        case PortReach::Kind::kBad:
            return {Fail(com + ": bad link spec '" + reach.spec + "': " + reach.problem, assign)};
        case PortReach::Kind::kNone:
            if (port == session.state.comPort)
                return {Fail(com + ", the current port, reaches nothing", assign)};
            return {Ok(com + " reaches nothing (none)")};
        case PortReach::Kind::kSim:
            return {Ok(com + " reaches the simulated terminal (" + reach.spec + ")")};
        case PortReach::Kind::kDevice:
            break;
    }
    return DeviceChecks(com, reach);
}

CommandResult RunDoctor(CliSession& session, const QStringList& args) {
    std::optional<int> only;
    if (args.size() == 2 && args[0] == "--port") {
        bool ok = false;
        only = args[1].toInt(&ok);
        if (!ok || *only < 1 || *only > kPortCount) only.reset();
    }
    if (!args.isEmpty() && !only)
        return CommandResult::Usage("doctor takes nothing or --port N (a COM port number 1 to 8)");
    std::vector<DoctorCheck> checks;
    const std::vector<int> ports = PortsToCheck(session, only);
    if (ports.empty())
        checks.push_back(Fail("no COM port chosen (the settings could not be read)",
                              "vk930ctl doctor --port N"));
    bool anyDevice = false;
    for (const int port : ports) {
        for (DoctorCheck& check : PortChecks(session, port)) checks.push_back(std::move(check));
        anyDevice |= DescribePortReach(port, session.linkOverride, session.settings).kind ==
                     PortReach::Kind::kDevice;
    }
    if (anyDevice)
        for (DoctorCheck& check : GrabberChecks()) checks.push_back(std::move(check));
    const std::size_t portCheckCount = checks.size();
    checks.push_back(SettingsCheck(session));
    checks.push_back(StateFolderCheck());
    checks.push_back(BootFileCheck());

    // The first failure is the outcome: a port's, or a file's.
    Outcome outcome = Outcome::Success();
    std::string lines;
    int counts[3] = {0, 0, 0};  // by mark
    for (std::size_t i = 0; i < checks.size(); ++i) {
        ++counts[static_cast<int>(checks[i].mark)];
        if (session.host.Json())
            session.host.Emit(CheckEvent(checks[i]));
        else
            lines += FormatCheck(checks[i]) + '\n';
        if (checks[i].mark == Mark::kFail && outcome.ok())
            outcome = Outcome::Failure(
                i < portCheckCount ? OutcomeClass::kPortNotOpened : OutcomeClass::kFile,
                checks[i].text);
    }
    if (session.host.Json())
        session.host.Emit(JsonEvent("summary", {{"count", static_cast<int>(checks.size())},
                                                {"ok", counts[0]},
                                                {"warn", counts[1]},
                                                {"fail", counts[2]}}));
    else
        session.host.Print(lines);
    return CommandResult::Ran(outcome);
}

}  // namespace vk930
