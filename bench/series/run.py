#!/usr/bin/env python3
"""Times vk930ctl series against paced vk930-sim processes on pseudo-terminals.

Per terminal it prints the time a station took (identification to "done") against its physical
minimum: the bytes the terminal's commands moved at 10 bits a byte (vk930-sim counts them) plus
the waits the commands prescribe (the 300 ms waits and the 4 s after the CommID write, measured
as the same series on the unpaced in-process simulator, where bytes cost nothing). Then terminals per hour for 1 and for 4 stations, and
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


def run_series(ctl, settings, ports, count, pcg, env, link=None):
    cmd = [ctl, "--settings", settings, "--json"] + (["--link", link] if link else [])
    cmd += ["series", "--next", "--count", str(count), "--set", pcg,
            "--port", ",".join(str(p) for p in ports)]
    start = time.monotonic()
    out = subprocess.run(cmd, capture_output=True, text=True, env=env, timeout=3600)
    wall = time.monotonic() - start
    events = [json.loads(line) for line in out.stdout.splitlines() if line.strip()]
    rows = [e for e in events if e["event"] == "terminal"]
    result = events[-1] if events else {}
    return wall, rows, result


def run_stations(ctl, sim, tmp, name, stations, terminals, series_options, pcg, env):
    """A series on `stations` paced vk930-sim processes; the bytes they moved in all."""
    settings = os.path.join(tmp, name + ".ini")
    sims = []
    for port in range(1, stations + 1):
        link = os.path.join(tmp, "%s-p%d" % (name, port))
        state = os.path.join(tmp, "%s-t%d.bin" % (name, port))
        err = open(link + ".err", "w")
        spec = "sim:%s?series=%d%s" % (state, terminals, series_options)
        sims.append((subprocess.Popen([sim, "--link", link, "--pace", spec], stderr=err),
                     link, err))
        subprocess.run([ctl, "--settings", settings, "ports", "--assign", str(port), link],
                       check=True, capture_output=True, env=env)
    for _, link, _ in sims:
        while not os.path.exists(link):
            time.sleep(0.05)
    wall, rows, result = run_series(ctl, settings, list(range(1, stations + 1)), terminals, pcg,
                                    env)
    moved = 0
    for proc, link, err in sims:
        proc.terminate()
        proc.wait()
        err.close()
        m = re.search(r"served (\d+) bytes taken, (\d+) bytes sent", open(link + ".err").read())
        moved += int(m.group(1)) + int(m.group(2)) if m else 0
    return wall, rows, result, moved


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

    # The bytes one terminal's commands move: a series of one, whose terminal goes 4.6 s after
    # its last reset, so that the probes for its removal add at most one ReadInfo. In a longer
    # series the probes while a terminal is removed and the next plugged in come on top; they
    # fall outside a terminal's time.
    _, _, _, bytes_per_terminal = run_stations(ctl, sim, tmp, "one", 1, 1, "&remove=4600",
                                               pcg, env)
    # The waits the commands prescribe (the 300 ms waits, the 4 s after the CommID write): the
    # same terminals on the unpaced in-process simulator, where bytes cost nothing.
    _, rows, _ = run_series(ctl, os.path.join(tmp, "waits.ini"), [1], 3, pcg, env,
                            link="sim:" + os.path.join(tmp, "waits.bin") + "?series=3")
    waits_ms = statistics.median(r["durationMs"] for r in rows)
    minimum_ms = waits_ms + bytes_per_terminal * 10 * 1000 / BAUD
    figures = {}
    for stations in (1, 4):
        wall, rows, result, _ = run_stations(ctl, sim, tmp, "s%d" % stations, stations,
                                             args.terminals, "", pcg, env)
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
        print("  bytes per terminal %d, waits %.2f s, worst ratio %.2f (goal 1.2 plus the "
              "plug-in delay of %.1f s: %.2f), %.0f terminals per hour" %
              (bytes_per_terminal, waits_ms / 1000, max(ratios),
               PLUGIN_MS / 1000, 1.2 + PLUGIN_MS / minimum_ms, per_hour))
    print("4 stations / 1 station: %.2f (goal 3.8)" % (figures[4] / figures[1]))


if __name__ == "__main__":
    sys.exit(main())
