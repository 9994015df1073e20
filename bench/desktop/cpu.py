"""CPU use of the Linux program (all its processes: the program, WebKit's web and network
processes), read from /proc as CPU time over wall time:
- stopped, with a page loaded once, for 30 s (the goal is 0.0 %);
- reloading a local page every 1 s, for 30 s.

  python3 bench/desktop/cpu.py --pelmora build/linux/refresher/pelmora [--seconds 30]
"""

import os
import time

import bench_support as bench

PAGE_HTML = ("<!DOCTYPE html><html><head><meta charset='utf-8'><title>cpu page</title></head>"
             "<body style='background:#eef0e0'><h1>Status</h1><p>All systems normal.</p></body></html>")
SETTLE_S = 5.0


def cpu_use(leader, seconds):
    """{name: percent of one core} over the next seconds, and the total."""
    before = bench.cpu_of(leader)
    began = time.monotonic()
    time.sleep(seconds)
    after = bench.cpu_of(leader)
    wall = time.monotonic() - began
    use = {}
    for pid, (name, used) in after.items():
        start = before.get(pid, (name, 0.0))[1]  # a process started meanwhile counts from zero
        key = "%s (%d)" % (name, pid)
        use[key] = 100.0 * (used - start) / wall
    return use, sum(use.values())


def main():
    parser = bench.command_line(__doc__)
    parser.add_argument("--seconds", type=float, default=30.0)
    options = bench.begin(parser)

    print("CPU time is counted in clock ticks of %.0f ms: over %g s one tick is %.3f %%" % (
        1000.0 / bench.CLOCK_TICKS, options.seconds, 100.0 / bench.CLOCK_TICKS / options.seconds))
    x_server = bench.XServer(os.path.join(options.artifacts, "cpu-xvfb.log"))
    desktop = bench.Desktop(x_server.display)
    pages = bench.PageServer({"/page": lambda _: bench.Response(PAGE_HTML)})
    pelmora = bench.Pelmora(options.pelmora, desktop, os.path.join(options.artifacts, "cpu-pelmora.log"))
    try:
        pelmora.wait_for_window()
        pelmora.set_address(pages.address("/page"))
        pelmora.click_start()
        if not bench.wait_until(lambda: pages.count("/page") >= 1, timeout=30):
            raise bench.BenchError("the page was not loaded")
        time.sleep(SETTLE_S)
        stopped, stopped_total = cpu_use(pelmora.program.pid, options.seconds)
        loads_while_stopped = pages.count("/page") - 1

        pelmora.set_interval("1")
        pelmora.start_reloading()
        time.sleep(SETTLE_S)
        counted_from = pages.count("/page")
        reloading, reloading_total = cpu_use(pelmora.program.pid, options.seconds)
        reloads = pages.count("/page") - counted_from
    finally:
        pelmora.close()
        pages.close()
        x_server.close()

    print("\nstopped (a page loaded once, %d loads meanwhile), %g s:" % (loads_while_stopped, options.seconds))
    bench.print_table(["process", "CPU"], [[k, "%.3f %%" % v] for k, v in sorted(stopped.items())]
                      + [["all", "%.3f %%" % stopped_total]])
    print("\nreloading every 1 s (%d reloads counted at the server), %g s:" % (reloads, options.seconds))
    bench.print_table(["process", "CPU"], [[k, "%.3f %%" % v] for k, v in sorted(reloading.items())]
                      + [["all", "%.3f %%" % reloading_total]])


if __name__ == "__main__":
    main()
