#!/usr/bin/env python3
"""Times vk930ctl series against paced vk930-sim processes on pseudo-terminals.

Per terminal it prints the time a station took (identification to "done") against its physical
minimum: the bytes the terminal's commands moved at 10 bits a byte (vk930-sim counts them) plus
the waits the commands prescribe (measured as the same series on the unpaced in-process
simulator, where bytes cost nothing). Then terminals per hour for 1 and for 4 stations, and
their ratio.

    python3 bench/series/run.py [--build build] [--terminals 10]
"""
import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

BAUD = 19200
PLUGIN_MS = 1000  # the simulator's default plug-in delay


def run_series(ctl, settings, ports, count, pcg, link=None, env=None):
    cmd = [ctl, "--settings", settings, "--json"]
    if link:
        cmd += ["--link", link]
    cmd += ["series", "--next", "--count", str(count), "--set", pcg,
            "--port", ",".join(str(p) for p in ports)]
    start = time.monotonic()
    out = subprocess.run(cmd, capture_output=True, text=True, env=env, timeout=3600)
    wall = time.monotonic() - start
    events = [json.loads(line) for line in out.stdout.splitlines() if line.strip()]
    rows = [e for e in events if e["event"] == "terminal"]
    result = events[-1] if events else {}
    return wall, rows, result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--terminals", type=int, default=10)
    args = parser.parse_args()
    ctl = os.path.join(args.build, "src/cli/vk930ctl")
    sim = os.path.join(args.build, "src/sim/vk930-sim")
    tmp = tempfile.mkdtemp(prefix="vk930-series-bench-")
    env = dict(os.environ, XDG_STATE_HOME=os.path.join(tmp, "state"),
               XDG_CONFIG_HOME=os.path.join(tmp, "config"))
    pcg = os.path.join(tmp, "shop.pcg")
    # A keyed file as a Get writes it, from a factory-fresh simulated terminal.
    subprocess.run([ctl, "--settings", os.path.join(tmp, "get.ini"), "--link",
                    "sim:" + os.path.join(tmp, "get.bin"), "get", "--keyed", pcg],
                   check=True, capture_output=True, env=env)

    # The waits: the same terminals unpaced and in process.
    _, rows, _ = run_series(ctl, os.path.join(tmp, "waits.ini"), [1], 3, pcg,
                            link="sim:" + os.path.join(tmp, "waits.bin") + "?series=3", env=env)
    waits_ms = statistics.median(r["durationMs"] for r in rows)

    figures = {}
    for stations in (1, 4):
        settings = os.path.join(tmp, "s%d.ini" % stations)
        sims = []
        for port in range(1, stations + 1):
            link = os.path.join(tmp, "p%d-%d" % (stations, port))
            state = os.path.join(tmp, "t%d-%d.bin" % (stations, port))
            err = open(link + ".err", "w")
            sims.append((subprocess.Popen([sim, "--link", link, "--pace",
                                           "sim:%s?series=%d" % (state, args.terminals)],
                                          stderr=err), link, err))
            subprocess.run([ctl, "--settings", settings, "ports", "--assign", str(port), link],
                           check=True, capture_output=True, env=env)
        for _, link, _ in sims:
            while not os.path.exists(link):
                time.sleep(0.05)
        wall, rows, result = run_series(ctl, settings, list(range(1, stations + 1)),
                                        args.terminals, pcg, env=env)
        moved = 0
        for proc, link, err in sims:
            proc.terminate()
            proc.wait()
            err.close()
            m = re.search(r"served (\d+) bytes taken, (\d+) bytes sent", open(link + ".err").read())
            moved += int(m.group(1)) + int(m.group(2)) if m else 0
        per_terminal_bytes = moved / max(1, len(rows))
        minimum_ms = waits_ms + per_terminal_bytes * 10 * 1000 / BAUD
        print("%d station(s): %d terminals in %.1f s, result %s" %
              (stations, len(rows), wall, result.get("outcome")))
        print("  CommID  port  time s  minimum s  ratio")
        ratios = []
        for r in rows:
            ratio = r["durationMs"] / minimum_ms
            ratios.append(ratio)
            print("  %6s  COM%d  %6.2f  %9.2f  %5.2f" % (r.get("commId", "-"), r["port"],
                                                          r["durationMs"] / 1000,
                                                          minimum_ms / 1000, ratio))
        per_hour = len(rows) * 3600 / wall
        figures[stations] = per_hour
        print("  bytes per terminal %.0f, waits %.2f s, worst ratio %.2f (goal 1.2 plus the "
              "plug-in delay of %.1f s: %.2f), %.0f terminals per hour" %
              (per_terminal_bytes, waits_ms / 1000, max(ratios),
               PLUGIN_MS / 1000, 1.2 + PLUGIN_MS / minimum_ms, per_hour))
    print("4 stations / 1 station: %.2f (goal 3.8)" % (figures[4] / figures[1]))


if __name__ == "__main__":
    sys.exit(main())
