// vk930ctl series: parses its options, runs one station per port, prints the summary.
#include "cli/series_command.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <iomanip>
#include <iostream>
#include <memory>
#include <mutex>
#include <sstream>
#include <streambuf>
#include <variant>

#include "core/app/program_parts.h"
#include "core/commands/config_view.h"
#include "core/series/series_job.h"
#include "core/settings/id_counter.h"
#include "core/terminal/link_spec.h"
#include "platform/json_text.h"
#include "platform/link_factory.h"
#include "platform/qt_station_threads.h"
#include "platform/series_id.h"

namespace vk930 {

namespace {

// Lines of several stations on one stream: each written whole, with its station's prefix.
class PrefixedLines : public std::streambuf {
  public:
    PrefixedLines(std::ostream& out, std::mutex& mutex, std::string prefix)
        : out_(out), mutex_(mutex), prefix_(std::move(prefix)) {}
    ~PrefixedLines() override {
        if (!line_.empty()) Emit();
    }
    void Line(const std::string& text) {
        line_ = text;
        Emit();
    }

  protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        if (c == '\n')
            Emit();
        else
            line_ += static_cast<char>(c);
        return c;
    }

  private:
    void Emit() {
        std::lock_guard<std::mutex> lock(mutex_);
        out_ << prefix_ << line_ << '\n' << std::flush;
        line_.clear();
    }
    std::ostream& out_;
    std::mutex& mutex_;
    std::string prefix_;
    std::string line_;
};

// One port's station: its own lines and host, and the program's parts on its port.
struct StationRun : StationParts {
    StationRun(int port_, CliSession& s, SeriesLedger& ledger, std::mutex& outMutex,
               const std::string& spec)
        : port(port_),
          outLines(std::cout, outMutex, "COM" + std::to_string(port_) + ": "),
          errLines(std::cerr, outMutex, "COM" + std::to_string(port_) + ": "),
          out(&outLines),
          err(&errLines),
          host(out, err, s.host.Style(), s.host.Events()),
          proofChannel(host, s.registry->Path()),
          program(Setup(s, ledger, spec)) {
        host.SetJsonPort(port_);
        host.WatchStop(&program.state.stop);
        program.InitialUpdate();
    }

    int Port() const override { return port; }
    CVK900ConfigView& View() override { return program.view; }
    void Report(const std::string& line) override {
        if (host.Json())
            host.Emit(JsonTextEvent("station", "text", line));
        else
            outLines.Line(line);
    }
    void Ended() override { program.link.Connect(static_cast<Short>(port), 0); }

    // The session's set-up on this station's port and lines, its records in the ledger.
    ProgramSetup Setup(CliSession& s, SeriesLedger& ledger, const std::string& spec) {
        const LinkErrorSink linkError = [this](const std::string& m) {
            errLines.Line("link: " + m);
        };
        return {.host = host,
                .settings = s.settings,
                .opener = [spec, linkError](
                              Short) { return OpenLink(spec, ProgramBootFileLookup(), linkError); },
                .onLinkError = linkError,
                .bootFiles = {},  // a series uploads no firmware
                .recorder = s.RecorderFor(ledger, proofChannel),
                .idRegistry = s.registry.get(),
                .sharedRegistry = s.state.sharedRegistry,
                .fixedPort = port};
    }

    int port;
    PrefixedLines outLines;
    PrefixedLines errLines;
    std::ostream out;
    std::ostream err;
    TerminalHost host;
    CliProofChannel proofChannel;
    ProgramParts program;
};

struct SeriesOptions {
    std::optional<int> from;
    bool next = false;
    bool force = false;  // --from below the IDs handed out (the journal's IDs still skipped)
    bool verify = true;
    std::optional<std::string> setFile;
    int count = 0;
    std::vector<int> ports;
};

std::variant<SeriesOptions, std::string> ParseSeriesOptions(const QStringList& args,
                                                            int currentPort) {
    SeriesOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        bool ok = true;
        if (a == "--next") {
            o.next = true;
        } else if (a == "--force") {
            o.force = true;
        } else if (a == "--no-verify") {
            o.verify = false;  // the ID read back is then the only check made
        } else if (a == "--from" || a == "--set" || a == "--count" || a == "--port") {
            const std::optional<QString> v = value();
            if (!v || v->isEmpty()) return "series: " + a.toStdString() + " needs a value";
            if (a == "--from") {
                const uint id = v->toUInt(&ok);
                if (!ok || id > static_cast<uint>(kMaxCommId))
                    return "series: --from needs an ID from 0 to 65535";
                o.from = static_cast<int>(id);
            } else if (a == "--set") {
                if (!QFileInfo::exists(*v))
                    return "series: the parameter file '" + v->toStdString() + "' does not exist";
                o.setFile = QFileInfo(*v).absoluteFilePath().toStdString();
            } else if (a == "--count") {
                o.count = v->toInt(&ok);
                if (!ok || o.count < 1) return "series: --count needs a number of terminals >= 1";
            } else {
                for (const QString& p : v->split(',')) {
                    const int port = p.toInt(&ok);
                    if (!ok || port < 1 || port > kPortCount)
                        return "series: --port needs COM port numbers from 1 to 8, e.g. 1,2,3";
                    for (int seen : o.ports)
                        if (seen == port) return "series: port " + p.toStdString() + " given twice";
                    o.ports.push_back(port);
                }
            }
        } else {
            return "series: unknown argument '" + a.toStdString() + "'";
        }
    }
    if (o.from.has_value() == o.next) return "series needs one of --from ID and --next";
    if (o.force && !o.from) return "series: --force goes with --from ID";
    if (o.ports.empty()) o.ports.push_back(currentPort);
    return o;
}

std::string FileNameOf(const std::string& path) {
    return path.empty() ? "-" : QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

// The summary table and its totals; with --json a "terminal" event per row and a "summary".
void PrintSummary(TerminalHost& host, const std::vector<SeriesRecord>& records) {
    const SeriesTotals t = TotalsOf(records);
    if (host.Json()) {
        for (const SeriesRecord& r : records) {
            QJsonObject row = JsonEvent("terminal", {{"port", r.port},
                                                     {"verified", r.verified},
                                                     {"durationMs", r.durationMs},
                                                     {"ok", r.ok()},
                                                     {"fate", ToString(r.fate)},
                                                     {"result", JsonText(r.result)}});
            if (r.commId >= 0) row.insert("commId", r.commId);
            if (!r.file.empty()) row.insert("file", JsonText(r.file));
            host.Emit(row);
        }
        host.Emit(JsonEvent("summary", {{"count", static_cast<int>(records.size())},
                                        {"done", t.done},
                                        {"failed", t.failed},
                                        {"skipped", t.skipped}}));
        return;
    }
    std::ostringstream s;
    s << "\nCommID  Port  File                 Verified  Duration  Result\n";
    for (const SeriesRecord& r : records)
        s << std::left << std::setw(8)
          << (r.commId < 0 ? std::string("-") : std::to_string(r.commId)) << std::setw(6)
          << ("COM" + std::to_string(r.port)) << std::setw(21) << FileNameOf(r.file)
          << std::setw(10) << (r.verified ? "yes" : "no") << std::setw(10)
          << SecondsText(r.durationMs) << r.result << '\n';
    s << TotalsLine(t) << '\n';
    host.Print(s.str());
}

// Why two stations would share one serial device, which only one of them can hold open: the
// other would fail on the device's lock as if its cable were loose. Empty when none do.
std::string SharedDevice(const std::vector<int>& ports, CliSession& s) {
    std::vector<std::pair<int, QString>> devices;
    for (int port : ports) {
        const Result<LinkSpec> spec =
            ParseLinkSpec(DeviceSpecFor(port, s.linkOverride, s.settings));
        if (!spec || spec.value().kind != LinkSpec::Kind::kDevice) continue;
        const QFileInfo info(QString::fromStdString(spec.value().devicePath));
        const QString device =
            info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
        for (const auto& [other, seen] : devices)
            if (seen == device)
                return "COM" + std::to_string(other) + " and COM" + std::to_string(port) +
                       " both reach the device '" + device.toStdString() +
                       "', which one station at a time can hold open: give each station a "
                       "device of its own (vk930ctl ports --assign N SPEC), or run one of them";
        devices.emplace_back(port, device);
    }
    return {};
}

// The fate of an ID that no record holds: on standard error, and in the first file beside the
// service log, or else in the temporary folder, that takes it.
void KeepUnrecordedFate(const std::string& fate, const std::string& logPath) {
    const QString line = QString::fromStdString(
        QDateTime::currentDateTime().toString(Qt::ISODate).toStdString() + " " + fate + "\n");
    const QStringList places = {
        QString::fromStdString(logPath) + ".unrecorded",
        QDir::tempPath() + "/vk930-unrecorded-ids-" + QString::number(::getuid()) + ".txt"};
    for (const QString& place : places) {
        QFile file(place);
        if (!file.open(QIODevice::Append | QIODevice::Text)) continue;
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (file.write(line.toUtf8()) == line.toUtf8().size() && file.flush()) {
            std::cerr << "vk930ctl: " << fate << " (kept in " << place.toStdString() << ")\n";
            return;
        }
    }
    std::cerr << "vk930ctl: " << fate << " (no file could keep it: copy this line)\n";
}

}  // namespace

CommandResult RunSeries(CliSession& s, const QStringList& args) {
    const auto parsed = ParseSeriesOptions(args, s.state.comPort);
    if (const std::string* why = std::get_if<std::string>(&parsed))
        return CommandResult::Usage(*why);
    const SeriesOptions& o = std::get<SeriesOptions>(parsed);
    if (std::find(o.ports.begin(), o.ports.end(), 0) != o.ports.end())
        if (std::string why = s.NoPortReason(); !why.empty())
            return CommandResult::Ran(Outcome::Failure(OutcomeClass::kRefused, why));
    if (std::string why = SharedDevice(o.ports, s); !why.empty())
        return CommandResult::Ran(Outcome::Failure(OutcomeClass::kRefused, why));

    // The registry the run chose (--registry, Registry=, else the bench's own counter).
    TerminalRegistry* const registry = s.registry.get();
    if (o.from) {
        if (Status started = registry->StartAt(*o.from, o.force); !started) {
            return CommandResult::Ran(Outcome::Failure(OutcomeClass::kRefused, started.error()));
        }
    }
    SeriesLedger ledger(*registry, NewSeriesId(), [registry](const std::string& fate) {
        KeepUnrecordedFate(fate, registry->Path());
    });
    if (s.host.Json())
        s.host.Emit(JsonEvent("series", {{"series", JsonText(ledger.SeriesId())},
                                         {"registry", JsonText(registry->Describe())},
                                         {"records", JsonText(registry->Path())}}));
    else
        s.host.Print("series " + ledger.SeriesId() + ": IDs from " + registry->Describe() +
                     ", records to " + registry->Path() + "\n");
    std::mutex outMutex;
    std::vector<std::unique_ptr<StationRun>> stations;
    for (int port : o.ports)
        stations.push_back(std::make_unique<StationRun>(
            port, s, ledger, outMutex, DeviceSpecFor(port, s.linkOverride, s.settings)));

    std::vector<StationParts*> parts;
    for (auto& station : stations) parts.push_back(station.get());
    SeriesStationOptions stationOptions;
    stationOptions.count = o.count;
    stationOptions.setFile = o.setFile;
    stationOptions.verify = o.verify;
    stationOptions.clockMs = SteadyClockMs;
    SeriesJob job(ledger, stationOptions);
    QtStationThreads threads;
    const std::vector<StationEnd> ends = job.Run(parts, threads, &s.state.stop);

    PrintSummary(s.host, ledger.Records());
    return CommandResult::Ran(SeriesOutcome(ends, ledger.Records()));
}

}  // namespace vk930
