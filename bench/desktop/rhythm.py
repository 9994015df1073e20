"""The reload rhythm of the Linux program, beside the plain g_timeout_add reloader its timers
replaced (pelmora_timeout_add_reloader), in one run on one virtual screen with a window
manager.

Each program reloads a local page every 100 ms. After a warm-up, its window is left without
the focus (another window has it) for one phase, then minimised for another. The reloads are
counted where they arrive, at the page server; for each phase the benchmark prints how many
arrived (of the period's worth), the lateness of the gaps between them against the period
(mean and worst), the gaps longer than 1.5 periods, and the cumulative drift: how far the last
reload is behind the first one plus (n - 1) periods.

  python3 bench/desktop/rhythm.py --pelmora build/linux/refresher/pelmora \
      --baseline build/linux/platform/gtk/pelmora_timeout_add_reloader [--seconds 60]
"""

import os
import subprocess
import time

import bench_support as bench

PERIOD_S = 0.1
WARM_UP_S = 3.0
PAGE_HTML = ("<!DOCTYPE html><html><head><meta charset='utf-8'><title>rhythm page</title></head>"
             "<body style='background:#dde8f0'><p>Reloaded every 100 ms.</p></body></html>")


def window_state(desktop, window):
    """The window manager's state of a top-level window: Normal or Iconic."""
    shown = desktop._run("xprop", "-id", str(window), "WM_STATE", check=False).stdout
    for line in shown.splitlines():
        if "window state:" in line:
            return line.split(":", 1)[1].strip()
    return "?"


def other_window_takes_focus(desktop, artifacts):
    """A second window that takes the focus, so that the program's window is unfocused."""
    other = subprocess.Popen(["xmessage", "-geometry", "+0+0", "Another program has the focus"],
                             env=desktop.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             start_new_session=True)
    window = desktop.wait_for_window("^xmessage$", timeout=10)
    desktop._run("xdotool", "windowactivate", "--sync", str(window))
    return other, window


def run_phases(name, window, desktop, pages, seconds, artifacts):
    """The two phases of one program whose reloads have started; returns the table rows."""
    rows = []
    other, other_window = other_window_takes_focus(desktop, artifacts)
    try:
        time.sleep(WARM_UP_S)
        active = desktop._run("xdotool", "getactivewindow", check=False).stdout.strip()
        if active == str(window):
            raise bench.BenchError("%s still has the focus" % name)
        began = time.monotonic()
        time.sleep(seconds)
        rows.append((name, "unfocused", bench.rhythm_figures(
            pages.arrivals("/page", since=began, until=began + seconds), PERIOD_S)))

        desktop._run("xdotool", "windowminimize", "--sync", str(window))
        state = window_state(desktop, window)
        if state != "Iconic":
            raise bench.BenchError("%s's window was not minimised (state %s)" % (name, state))
        time.sleep(1.0)
        began = time.monotonic()
        time.sleep(seconds)
        rows.append((name, "minimised", bench.rhythm_figures(
            pages.arrivals("/page", since=began, until=began + seconds), PERIOD_S)))
    finally:
        bench.end_process(other)
    return rows


def measure_pelmora(executable, desktop, pages, seconds, artifacts):
    pelmora = bench.Pelmora(executable, desktop, os.path.join(artifacts, "rhythm-pelmora.log"))
    try:
        pelmora.wait_for_window()
        pelmora.set_address(pages.address("/page"))
        pelmora.set_interval("0.1")
        pelmora.start_reloading()
        return run_phases("pelmora", pelmora.window, desktop, pages, seconds, artifacts)
    finally:
        pelmora.close()


def measure_baseline(executable, desktop, pages, seconds, artifacts):
    program = bench.Program([executable, pages.address("/page"), str(int(PERIOD_S * 1000))],
                            desktop, os.path.join(artifacts, "rhythm-baseline.log"))
    try:
        window = desktop.wait_for_window("^Timeout reloader$", timeout=30)
        return run_phases("g_timeout_add", window, desktop, pages, seconds, artifacts)
    finally:
        program.close()


def main():
    parser = bench.command_line(__doc__)
    parser.add_argument("--baseline", required=True, help="pelmora_timeout_add_reloader")
    parser.add_argument("--seconds", type=float, default=60.0, help="length of each phase")
    options = bench.begin(parser)

    x_server = bench.XServer(os.path.join(options.artifacts, "rhythm-xvfb.log"))
    desktop = bench.Desktop(x_server.display)
    pages = bench.PageServer({"/page": lambda _: bench.Response(PAGE_HTML)})
    window_manager = None
    rows = []
    try:
        window_manager = bench.start_window_manager(desktop, os.path.join(options.artifacts, "rhythm-openbox.log"))
        rows += measure_pelmora(options.pelmora, desktop, pages, options.seconds, options.artifacts)
        rows += measure_baseline(options.baseline, desktop, pages, options.seconds, options.artifacts)
    finally:
        if window_manager:
            bench.end_process(window_manager)
        pages.close()
        x_server.close()

    expected = int(round(options.seconds / PERIOD_S))
    print("\nperiod %d ms, each phase %g s (%d periods):" % (PERIOD_S * 1000, options.seconds, expected))
    bench.print_table(
        ["program", "window", "reloads", "mean lateness", "max lateness", "gaps > 1.5 periods", "drift"],
        [[name, phase, "%d / %d" % (f["reloads"], expected), "%.2f ms" % f["mean_lateness_ms"],
          "%.1f ms" % f["max_lateness_ms"], f["gaps_over_1.5_periods"], "%.1f ms" % f["drift_ms"]]
         for name, phase, f in rows])


if __name__ == "__main__":
    main()
