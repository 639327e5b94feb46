// Times one reservation of a series (Reserve and MarkWritten, as a station makes them) against
// the bench's own counter (the settings store's "commID" under its lock, flushed to disk) and
// against a shared registry on PostgreSQL (a throw-away cluster on a local socket, flushing to
// disk as a real server does, and without flushing, as the tests run it). Prints the median
// and the 95th percentile of each, and their ratio to the bench's own counter.
//   registry_bench [RESERVATIONS]    (default 200)
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/postgres_registry.h"
#include "platform/qsettings_backend.h"
#include "platform/registry_factory.h"
#include "support/pg_cluster.h"
#include "support/temp_dir.h"

using namespace vk930;
using namespace vk930::test;

namespace {

constexpr int kWarmUp = 5;  // the first reservations open the connection and the files

struct Figures {
    double medianMs = 0;
    double p95Ms = 0;
};

double Quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const std::size_t at = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1));
    return values[at];
}

// `count` reservations, each timed; nullopt (with the reason printed) when one fails.
std::optional<Figures> Time(TerminalRegistry& registry, int count) {
    const std::string series = "bench-series";
    std::vector<double> ms;
    for (int i = 0; i < kWarmUp + count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        Result<int> id = registry.Reserve(series);
        if (!id) {
            std::fprintf(stderr, "reservation failed: %s\n", id.error().c_str());
            return std::nullopt;
        }
        if (Status marked = registry.MarkWritten(*id, series); !marked) {
            std::fprintf(stderr, "marking ID %d failed: %s\n", *id, marked.error().c_str());
            return std::nullopt;
        }
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        if (i >= kWarmUp) ms.push_back(took.count());
    }
    return Figures{Quantile(ms, 0.5), Quantile(ms, 0.95)};
}

std::optional<Figures> TimePostgres(const TempDir& dir, const std::string& state, bool durable,
                                    int count) {
    std::string why;
    bool missing = false;
    std::unique_ptr<PgCluster> cluster = PgCluster::Start("shop", why, missing, durable);
    if (!cluster) {
        std::fprintf(stderr, "no PostgreSQL cluster: %s\n", why.c_str());
        return std::nullopt;
    }
    RegistryChoice choice;
    choice.address = cluster->Address();
    choice.stateFolder = dir.File(state);
    Result<std::unique_ptr<TerminalRegistry>> registry = OpenRegistry(choice);
    if (!registry) {
        std::fprintf(stderr, "%s\n", registry.error().c_str());
        return std::nullopt;
    }
    auto* shared = dynamic_cast<PostgresRegistry*>(registry->get());
    if (Result<SchemaMigration> made = shared->Init(); !made) {
        std::fprintf(stderr, "%s\n", made.error().c_str());
        return std::nullopt;
    }
    return Time(**registry, count);
}

void Row(const char* name, const std::optional<Figures>& figures, const Figures& local) {
    if (!figures) {
        std::printf("%-34s  (not measured)\n", name);
        return;
    }
    std::printf("%-34s  %9.3f  %9.3f  %7.1f  %7.1f\n", name, figures->medianMs, figures->p95Ms,
                figures->medianMs / local.medianMs, figures->p95Ms / local.p95Ms);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    if (count < 1) {
        std::fprintf(stderr, "usage: registry_bench [RESERVATIONS]\n");
        return 2;
    }
    TempDir dir;
    QSettingsBackendFactory settings(QString::fromStdString(dir.File("bench.ini")));
    RegistryChoice own;
    own.settings = &settings;
    own.settingsPath = dir.File("bench.ini");
    own.stateFolder = dir.File("own-state");
    Result<std::unique_ptr<TerminalRegistry>> local = OpenRegistry(own);
    if (!local) {
        std::fprintf(stderr, "%s\n", local.error().c_str());
        return 1;
    }
    const std::optional<Figures> localFigures = Time(**local, count);
    if (!localFigures) return 1;
    const std::optional<Figures> durable = TimePostgres(dir, "durable-state", true, count);
    const std::optional<Figures> unflushed = TimePostgres(dir, "unflushed-state", false, count);

    std::printf("%d reservations each (Reserve + MarkWritten), after %d not counted\n", count,
                kWarmUp);
    std::printf("%-34s  %9s  %9s  %7s  %7s\n", "back end", "median ms", "p95 ms", "x med", "x p95");
    Row("own counter (settings, flock)", localFigures, *localFigures);
    Row("PostgreSQL, local socket", durable, *localFigures);
    Row("PostgreSQL, local socket, no fsync", unflushed, *localFigures);
    return durable && unflushed ? 0 : 1;
}
