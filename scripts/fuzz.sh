#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a given time.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# The seeds in fuzz/corpus/<target> are copied into build-fuzz/corpus/<target>, where the run
# keeps what it finds; a crash leaves its input in build-fuzz/findings/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(intel_hex set_run wire_frames service_log outbox link_spec registry_address backup_name since_date)

bash scripts/setup.sh
source scripts/build_options.sh
cmake_options build-fuzz
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK930_FUZZ=ON \
    -DVK930_BUILD_GUI=OFF -DVK930_BUILD_TESTS=OFF "${cmake_options[@]}" >/dev/null
cmake --build build-fuzz -j2 --target $(printf 'fuzz_%s ' "${targets[@]}")

mkdir -p build-fuzz/findings
status=0
for t in "${targets[@]}"; do
    corpus="build-fuzz/corpus/$t"
    mkdir -p "$corpus"
    cp -n fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
    log="build-fuzz/fuzz_$t.log"
    if ! "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$t"- "$corpus" >"$log" 2>&1; then
        echo "fuzz_$t: FINDING (see $log and build-fuzz/findings/)"
        tail -30 "$log"
        status=1
        continue
    fi
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    echo "fuzz_$t: ${seconds}s, $runs executions, no finding"
done
exit $status
