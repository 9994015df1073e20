"""Start-up time and memory: the Linux program against Chromium in app mode, the browser a user
would otherwise keep open on one page, measured in one run on one virtual screen.

For each run of each program, on the same local page:
- the time from the process start to the page loaded (the page's own load event reports to the
  server);
- the total PSS of all the program's processes, one second after the page loaded.

Pelmora starts blank and loads nothing until its user types an address and clicks the start
button, so its time is in two parts: process start to window shown, then click to page loaded;
the figure compared is their sum (the typing in between, done by xdotool, is left out and shown
apart). Chromium is given the address on its command line.

  python3 bench/desktop/startup_memory.py --pelmora build/linux/refresher/pelmora [--runs 5]
"""

import os
import shutil
import statistics
import tempfile
import time

import bench_support as bench

PAGE_HTML = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>start-up page</title>
<style>body{font:16px sans-serif;background:#f4f1e8;margin:2em}</style></head><body>
<h1>Start-up page</h1><p>A small page with some text, as a status board would show.</p>
<ul>%s</ul>
<script>
window.addEventListener("load", function () {
  new Image().src = "/loaded?at=" + Date.now();
});
</script></body></html>""" % "".join("<li>line %d of the board</li>" % i for i in range(40))

CHROMIUM_FLAGS = ["--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--no-sandbox"]


def wait_for_load(pages, since, timeout=60):
    loaded = bench.wait_until(lambda: pages.arrivals("/loaded", since=since), timeout, interval=0.005)
    if not loaded:
        raise bench.BenchError("the page did not report its load within %d s" % timeout)
    return loaded[0]


def measure_pelmora(executable, desktop, pages, artifacts, run):
    pelmora = bench.Pelmora(executable, desktop, os.path.join(artifacts, "pelmora-%d.log" % run))
    try:
        started = pelmora.program.started
        shown = pelmora.wait_for_window()
        typing_began = time.monotonic()
        pelmora.set_address(pages.address("/page"), typing_delay_ms=1)
        clicked = time.monotonic()
        pelmora.click_start()
        loaded = wait_for_load(pages, since=typing_began)
        # xdotool's click command waits 0.2 s between moving and clicking (a hand's pace).
        click_to_load = loaded - clicked - 0.2
        time.sleep(1.0)
        memory = bench.memory_of(pelmora.program.pid)
        return {
            "window_shown_s": shown - started,
            "typing_s": clicked - typing_began,
            "click_to_load_s": click_to_load,
            "start_to_load_s": (shown - started) + click_to_load,
            "memory": memory,
        }
    finally:
        pelmora.close()


def measure_chromium(desktop, pages, artifacts, run):
    profile = tempfile.mkdtemp(prefix="pelmora-bench-chromium-")
    log_path = os.path.join(artifacts, "chromium-%d.log" % run)
    began = time.monotonic()
    program = bench.Program(["chromium", "--app=" + pages.address("/page"),
                             "--user-data-dir=" + profile] + CHROMIUM_FLAGS, desktop, log_path)
    try:
        loaded = wait_for_load(pages, since=began)
        time.sleep(1.0)
        memory = bench.memory_of(program.pid)
        return {"start_to_load_s": loaded - program.started, "memory": memory}
    finally:
        program.close()
        shutil.rmtree(profile, ignore_errors=True)


def describe_processes(memory):
    by_name = {}
    for name, pss in memory.values():
        count, total = by_name.get(name, (0, 0))
        by_name[name] = (count + 1, total + pss)
    return ", ".join("%s x%d %.1f MiB" % (name, count, total / 1024.0)
                     for name, (count, total) in sorted(by_name.items()))


def main():
    parser = bench.command_line(__doc__)
    parser.add_argument("--runs", type=int, default=5)
    options = bench.begin(parser)
    if not shutil.which("chromium"):
        raise SystemExit("startup_memory: chromium is missing (sudo tools/install-deps --bench)")

    x_server = bench.XServer(os.path.join(options.artifacts, "startup-xvfb.log"))
    pages = bench.PageServer({"/page": lambda _: bench.Response(PAGE_HTML),
                              "/loaded": lambda _: bench.Response(b"", status=204)})
    desktop = bench.Desktop(x_server.display)
    pelmora_runs, chromium_runs = [], []
    try:
        # One warm-up of each, not counted: the first start reads everything from disk.
        measure_pelmora(options.pelmora, desktop, pages, options.artifacts, 0)
        measure_chromium(desktop, pages, options.artifacts, 0)
        for run in range(1, options.runs + 1):
            # Alternating, so that a change in the machine's load falls on both alike.
            pelmora_runs.append(measure_pelmora(options.pelmora, desktop, pages, options.artifacts, run))
            chromium_runs.append(measure_chromium(desktop, pages, options.artifacts, run))
            print("run %d: pelmora %.3f s, %.1f MiB; chromium %.3f s, %.1f MiB" % (
                run, pelmora_runs[-1]["start_to_load_s"], bench.total_pss_mib(pelmora_runs[-1]["memory"]),
                chromium_runs[-1]["start_to_load_s"], bench.total_pss_mib(chromium_runs[-1]["memory"])))
    finally:
        pages.close()
        x_server.close()

    median = lambda runs, key: statistics.median(r[key] for r in runs)
    median_pss = lambda runs: statistics.median(bench.total_pss_mib(r["memory"]) for r in runs)
    p_time, c_time = median(pelmora_runs, "start_to_load_s"), median(chromium_runs, "start_to_load_s")
    p_pss, c_pss = median_pss(pelmora_runs), median_pss(chromium_runs)
    print()
    print("medians of %d runs each (after one warm-up run of each):" % options.runs)
    bench.print_table(
        ["program", "start to page loaded", "total PSS once loaded", "processes"],
        [["pelmora", "%.3f s" % p_time, "%.1f MiB" % p_pss, describe_processes(pelmora_runs[-1]["memory"])],
         ["chromium --app", "%.3f s" % c_time, "%.1f MiB" % c_pss, describe_processes(chromium_runs[-1]["memory"])]])
    print()
    print("pelmora parts: window shown %.3f s, click to page loaded %.3f s (scripted typing, not counted: %.3f s)" % (
        median(pelmora_runs, "window_shown_s"), median(pelmora_runs, "click_to_load_s"),
        median(pelmora_runs, "typing_s")))
    print("ratios pelmora / chromium: time %.2f, memory %.2f" % (p_time / c_time, p_pss / c_pss))


if __name__ == "__main__":
    main()
