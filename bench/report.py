#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs every benchmark and prints one table of figures against their targets.

    python3 bench/report.py <build-dir>        (what `make bench` runs)
    python3 bench/report.py <build-dir> --startup   (start-up and memory only)

Each figure is the median of several runs on this machine in this one run. Start-up and memory
are measured under a private Xvfb; cue starts against a private sound server with a null sink
(bench/with-null-sink.sh). Nothing here is a test: figures are printed, never asserted.
"""

import contextlib
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

import harness  # noqa: E402  (the end-to-end suite's X server and helpers)

RUNS = 5
STARTUP_WARMUPS = 2
STARTUP_RUNS = 9
# What the whole game may need beyond the bare window, in MiB: its pictures, tables and sounds.
GAME_ALLOWANCE_MIB = 8


def run(args, env=None, timeout=600):
    done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)
    if done.returncode != 0:
        raise RuntimeError(f"{' '.join(args)} failed:\n{done.stdout}\n{done.stderr}")
    return done.stdout


def number(pattern, text):
    m = re.search(pattern, text)
    if not m:
        raise RuntimeError(f"no match for {pattern!r} in:\n{text}")
    return float(m.group(1))


def first_paint(program, server):
    """One start of a program that prints its first paint time and its peak memory by then."""
    directory = tempfile.mkdtemp(prefix="quintagrid-bench-")
    try:
        env = dict(server.env, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=directory)
        env["QUINTAGRID_BENCH_T0"] = str(time.clock_gettime_ns(time.CLOCK_MONOTONIC))
        out = subprocess.run([program], cwd=directory, env=env, capture_output=True,
                             text=True, timeout=60).stdout
    finally:
        shutil.rmtree(directory, True)
    return number(r"first_paint_ms ([\d.]+)", out), number(r"rss_at_first_paint_mb ([\d.]+)", out)


def startup(build, server):
    """Start to first paint, and the memory by then, of the game (with its own start-up) and
    of a bare Qt Widgets window of the same size, started in turn so that both meet the same
    machine. Returns (game ms, game MiB), (bare ms, bare MiB)."""
    programs = [os.path.join(build, "bench", name) for name in ("bench_startup", "bench_bare")]
    figures = {program: ([], []) for program in programs}
    for turn in range(STARTUP_WARMUPS + STARTUP_RUNS):
        for program in programs if turn % 2 == 0 else reversed(programs):
            paint, rss = first_paint(program, server)
            # The first starts warm the disk cache; the figures are for a warm start.
            if turn >= STARTUP_WARMUPS:
                figures[program][0].append(paint)
                figures[program][1].append(rss)
    return tuple((statistics.median(figures[p][0]), statistics.median(figures[p][1]))
                 for p in programs)


@contextlib.contextmanager
def started_game(build, server, sounds=True):
    """The real program in a fresh directory, with its sounds as `make run` sets it up unless
    `sounds` is false, once its board is drawn. Yields (test case, main window, game); the game
    is stopped afterwards."""
    directory = tempfile.mkdtemp(prefix="quintagrid-bench-")
    try:
        harness.GAME = os.path.join(build, "ui", "quintagrid")
        for name in ("tick1.wav", "tick2.wav", "highscre.wav") if sounds else ():
            shutil.copy(os.path.join(build, "sounds", name), directory)
        server.move(0, 0)
        game = harness.Game(server, directory, seed=1)
        case = harness.GameTestCase()
        case.x, case.game = server, game
        try:
            main = case.wait_for_window(harness.MAIN_SIZE, "the main window")
            case.wait_for_pixel(main, harness.cell_centre(0), harness.NORMAL, "the board drawn")
            yield case, main, game
        finally:
            game.stop()
    finally:
        shutil.rmtree(directory, True)


def place_cards(case, main, cells):
    for cell in cells:
        case.click(main, harness.cell_centre(cell))
        case.wait_for_card(main, cell)


def whole_game_rss(build, server):
    """Peak memory of the real program over a whole game played by clicks, up to Exit."""
    peaks = []
    for _ in range(3):
        with started_game(build, server) as (case, main, game):
            case.click(main, harness.button_centre(harness.BEGIN))
            case.wait_for_card(main, 0)
            place_cards(case, main, range(1, 25))
            # The count-up ends with a name to enter (a fresh list of zeros takes any total).
            case.wait_for_window(harness.ENTER_NAME_SIZE, "the name window", timeout=60)
            server.wire.request_close(main.id)
            _, status, usage = os.wait4(game.process.pid, 0)
            game.process.returncode = os.waitstatus_to_exitcode(status)
            peaks.append(usage.ru_maxrss / 1024.0)
    return statistics.median(peaks)


def thread_switches(pid):
    """Context switches of all the process's threads so far: how often they were woken."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                total += sum(int(line.split()[1]) for line in f
                             if line.startswith(("voluntary_ctxt", "nonvoluntary_ctxt")))
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total


def cpu_seconds(pid):
    """User and system CPU time of all the process's threads so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def idle(build, server, open_list, seconds=5.0):
    """Wake-ups per second and CPU (% of a core) of the program doing nothing, with the main
    window alone or with the high-score list open, over `seconds`."""
    with started_game(build, server, sounds=False) as (case, main, game):
        if open_list:
            case.click(main, harness.button_centre(harness.HIGH_SCORES))
            case.wait_for_window(harness.HIGH_SCORES_SIZE, "the high-score list")
        time.sleep(1.0)  # let the start-up's last events and the icon settle
        pid = game.process.pid
        switches, cpu, t0 = thread_switches(pid), cpu_seconds(pid), time.monotonic()
        time.sleep(seconds)
        elapsed = time.monotonic() - t0
        return ((thread_switches(pid) - switches) / elapsed,
                100.0 * (cpu_seconds(pid) - cpu) / elapsed)


def on_cpu_ns(pid):
    """Nanoseconds on a CPU of all the process's threads so far, as the scheduler counts them
    (the first field of each thread's schedstat); finer than the clock ticks of cpu_seconds()."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass  # a thread that ended meanwhile
    return total


def cpu_after(pid, action, start=0.25, end=0.75):
    """CPU of the whole process, in % of a core, from `start` to `end` seconds after `action`
    (a click) has been sent: the steady part of what the click starts."""
    action()
    t0 = time.monotonic()
    time.sleep(max(0.0, t0 + start - time.monotonic()))
    ns, t1 = on_cpu_ns(pid), time.monotonic()
    time.sleep(max(0.0, t0 + end - time.monotonic()))
    return 100.0 * (on_cpu_ns(pid) - ns) / ((time.monotonic() - t1) * 1e9)


class NullSink:
    """A private sound server with a null sink (bench/with-null-sink.sh) for as long as the
    object is open; `pulse_server` is its address."""

    def __init__(self):
        self.process = subprocess.Popen(
            [os.path.join(HERE, "with-null-sink.sh"), "sh", "-c", 'echo "$PULSE_SERVER"; cat'],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.pulse_server = self.process.stdout.readline().strip()
        if not self.pulse_server:
            self.process.wait(10)
            raise RuntimeError("the null-sink sound server did not start")

    def close(self):
        self.process.stdin.close()  # ends `cat`, and the script then stops the server
        self.process.wait(10)


def animation_cpu(build, server, pulse_server):
    """CPU of the real program over all its threads, in % of a core, during the steady part of
    the opening shuffle (0.25 s to 0.75 s after Begin is clicked) and of the count-up (the same
    after the last card is placed), with its sounds, against the sound server at `pulse_server`
    (a socket that does not exist: no sound server). Medians of several games."""
    shuffles, counts = [], []
    env = server.env
    server.env = dict(env, PULSE_SERVER=pulse_server)
    try:
        for _ in range(RUNS):
            with started_game(build, server) as (case, main, game):
                pid = game.process.pid
                shuffles.append(cpu_after(
                    pid, lambda: case.click(main, harness.button_centre(harness.BEGIN))))
                case.wait_for_card(main, 0)
                place_cards(case, main, range(1, 24))
                counts.append(cpu_after(pid, lambda: case.click(main, harness.cell_centre(24))))
    finally:
        server.env = env
    return statistics.median(shuffles), statistics.median(counts)


def shuffle(build):
    walls, cpus = [], []
    for _ in range(3):
        out = run([os.path.join(build, "bench", "bench_shuffle")])
        walls.append(number(r"wall time\s+median\s+([\d.]+) ms", out))
        cpus.append(number(r"CPU time\s+median\s+[\d.]+ ms\s+=\s+([\d.]+) %", out))
    return statistics.median(walls), statistics.median(cpus)


def countup(build):
    walls, cpus, ideal = [], [], 0.0
    for _ in range(3):
        out = run([os.path.join(build, "bench", "bench_countup")])
        line = next(l for l in out.splitlines() if l.startswith("every line a straight flush"))
        fields = line.split()
        # board name, T, waits, cues, ideal, wall, over, over per wait, CPU ms, CPU %
        ideal = float(fields[-6])
        walls.append(float(fields[-5]))
        cpus.append(float(fields[-1]))
    return ideal, statistics.median(walls), statistics.median(cpus)


def cues(build):
    script = os.path.join(HERE, "with-null-sink.sh")
    program = os.path.join(build, "bench", "bench_cues")
    if not shutil.which("pulseaudio"):
        return None
    caller_median, caller_max, direct_median, direct_max = [], [], [], []
    for _ in range(3):
        out = run([script, program])
        if "no device" in out:
            return None
        direct_median.append(number(r"median ([\d.]+) ms, 95%", out))
        direct_max.append(number(r"95% [\d.]+ ms, max ([\d.]+) ms", out))
        caller_median.append(number(r"caller's thread: median ([\d.]+) ms", out))
        caller_max.append(number(r"caller's thread: median [\d.]+ ms, max ([\d.]+) ms", out))
    return (statistics.median(caller_median), max(caller_max),
            statistics.median(direct_median), max(direct_max))


def scoring(build):
    out = run([os.path.join(build, "bench", "bench_scoring")])
    return number(r"median ([\d.]+) boards/s", out)


def idle_and_animations(build, server, row):
    """The idle figures and the whole game's CPU during the animations."""
    for open_list in (False, True):
        what = "high-score list open" if open_list else "main window alone"
        wakes, cpu = idle(build, server, open_list)
        row(f"idle, {what}: thread wake-ups", wakes, "/s", "≤ 5 /s", wakes <= 5)
        row(f"idle, {what}: CPU", cpu, "% of a core")
    sinks = [("no sound server", "unix:" + os.path.join(tempfile.gettempdir(), "no-server"))]
    sink = NullSink() if shutil.which("pulseaudio") else None
    try:
        if sink:
            sinks.insert(0, ("null-sink sound server", sink.pulse_server))
        for what, address in sinks:
            shuffle_cpu, count_cpu = animation_cpu(build, server, address)
            row(f"opening shuffle, whole game, {what}: CPU", shuffle_cpu, "% of a core",
                "≤ 3 %", shuffle_cpu <= 3)
            row(f"count-up, whole game, {what}: CPU", count_cpu, "% of a core", "≤ 3 %",
                count_cpu <= 3)
    finally:
        if sink:
            sink.close()


def print_table(rows):
    widths = [max(len(r[i]) for r in rows + [("figure", "value", "target", "")])
              for i in range(4)]
    line = "  ".join("{:<%d}" % w for w in widths)
    print(line.format("figure", "value", "target", ""))
    print(line.format(*("-" * w for w in widths)))
    for r in rows:
        print(line.format(*r))


def main():
    if len(sys.argv) not in (2, 3) or sys.argv[2:] not in ([], ["--startup"]):
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    startup_only = sys.argv[2:] == ["--startup"]
    rows = []

    def row(figure, value, unit, target="", met=None, digits=None):
        mark = "" if met is None else ("met" if met else "MISSED")
        if digits is None:
            digits = 0 if value >= 100 else 1 if value >= 1 else 3
        rows.append((figure, f"{value:,.{digits}f} {unit}", target, mark))

    server = harness.XServer()
    try:
        (paint, rss), (bare_paint, bare_rss) = startup(build, server)
        row("start to first painted board", paint, "ms")
        row("  the same for a bare Qt window", bare_paint, "ms")
        row("  ratio", paint / bare_paint, "x", "≤ 1.15 x", paint / bare_paint <= 1.15, 2)
        row("peak RSS at first paint", rss, "MiB")
        row("  the same for a bare Qt window", bare_rss, "MiB")
        row("  ratio", rss / bare_rss, "x", "≤ 1.10 x", rss / bare_rss <= 1.10, 2)
        game_rss = whole_game_rss(build, server)
        allowed = bare_rss + GAME_ALLOWANCE_MIB
        row("peak RSS over a whole game, with sounds", game_rss, "MiB",
            f"≤ bare + {GAME_ALLOWANCE_MIB} = {allowed:.1f} MiB", game_rss <= allowed)
        if not startup_only:
            idle_and_animations(build, server, row)
    finally:
        server.stop()
    if startup_only:
        print_table(rows)
        return

    wall, cpu = shuffle(build)
    row("opening shuffle, wall (ideal 780 ms)", wall, "ms", "≤ 1.03 × ideal", wall <= 780 * 1.03)
    row("opening shuffle, CPU", cpu, "% of a core", "≤ 3 %", cpu <= 3)
    ideal, wall, cpu = countup(build)
    row(f"300-point count-up, wall (ideal {ideal:.0f} ms)", wall, "ms", "≤ 1.03 × ideal",
        wall <= ideal * 1.03)
    row("300-point count-up, CPU", cpu, "% of a core", "≤ 3 %", cpu <= 3)

    cue = cues(build)
    if cue is None:
        rows.append(("cue start", "no device", "≤ 1 ms", ""))
    else:
        caller_median, caller_max, direct_median, direct_max = cue
        row("cue start on the UI thread, median", caller_median, "ms", "≤ 1 ms",
            caller_median <= 1)
        row("cue start on the UI thread, max", caller_max, "ms")
        row("cue start inside the sound thread, median", direct_median, "ms")
        row("cue start inside the sound thread, max", direct_max, "ms")

    row("boards scored per second", scoring(build), "boards/s")

    print_table(rows)


if __name__ == "__main__":
    main()
