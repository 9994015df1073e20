"""Memory under fast reload: the Linux program reloading a local page every 10 ms until the
server has counted 10,000 reloads. The PSS of every process (the program, WebKit's web and
network processes) is read once the first 200 reloads have arrived (the baseline: caches and
the web process are warm) and again at the end; the growth of each is printed in %, with the
samples in between, so that a steady climb shows apart from a step.

  python3 bench/desktop/fast_reload_memory.py --pelmora build/linux/refresher/pelmora \
      [--reloads 10000]
"""

import os
import time

import bench_support as bench

PAGE_HTML = ("<!DOCTYPE html><html><head><meta charset='utf-8'><title>fast page</title></head>"
             "<body style='background:#f0e6dc'><h1>Fast</h1><p>%s</p></body></html>"
             % ("Some text for the layout to set. " * 30))
BASELINE_RELOADS = 200


def main():
    parser = bench.command_line(__doc__)
    parser.add_argument("--reloads", type=int, default=10000)
    parser.add_argument("--timeout", type=float, default=1200.0, help="give up after this many seconds")
    options = bench.begin(parser)

    x_server = bench.XServer(os.path.join(options.artifacts, "fast-xvfb.log"))
    desktop = bench.Desktop(x_server.display)
    pages = bench.PageServer({"/page": lambda _: bench.Response(PAGE_HTML)})
    pelmora = bench.Pelmora(options.pelmora, desktop, os.path.join(options.artifacts, "fast-pelmora.log"))
    samples = []  # (reloads, seconds since the start of the reloads, {pid: (name, PSS KiB)})
    try:
        pelmora.wait_for_window()
        pelmora.set_address(pages.address("/page"))
        pelmora.set_interval("0.01")
        started = time.monotonic()
        pelmora.start_reloading()
        target = BASELINE_RELOADS + options.reloads
        step = max(options.reloads // 10, 1)
        next_sample = BASELINE_RELOADS
        while next_sample <= target:
            reached = bench.wait_until(lambda: pages.count("/page") >= next_sample,
                                       timeout=max(started + options.timeout - time.monotonic(), 0), interval=0.1)
            if not reached:
                raise bench.BenchError("only %d reloads within %g s" % (pages.count("/page"), options.timeout))
            if not pelmora.program.running():
                raise bench.BenchError("pelmora ended after %d reloads" % pages.count("/page"))
            samples.append((pages.count("/page"), time.monotonic() - started, bench.memory_of(pelmora.program.pid)))
            print("%6d reloads at %6.1f s: %.1f MiB" % (samples[-1][0], samples[-1][1], bench.total_pss_mib(samples[-1][2])),
                  flush=True)
            next_sample += step
        pelmora.click_stop()
    finally:
        pelmora.close()
        pages.close()
        x_server.close()

    first, last = samples[0], samples[-1]
    reloads, seconds = last[0] - first[0], last[1] - first[1]
    print("\n%d reloads in %.1f s (%.1f per second; the period asks for 100)" % (reloads, seconds, reloads / seconds))
    rows = []
    for pid, (name, before) in sorted(first[2].items()):
        after = last[2].get(pid)
        if after is None:
            rows.append(["%s (%d)" % (name, pid), "%.1f MiB" % (before / 1024.0), "ended", ""])
            continue
        rows.append(["%s (%d)" % (name, pid), "%.1f MiB" % (before / 1024.0), "%.1f MiB" % (after[1] / 1024.0),
                     "%+.1f %%" % (100.0 * (after[1] - before) / before)])
    for pid, (name, after) in sorted(last[2].items()):
        if pid not in first[2]:
            rows.append(["%s (%d), new" % (name, pid), "", "%.1f MiB" % (after / 1024.0), ""])
    total_before, total_after = bench.total_pss_mib(first[2]), bench.total_pss_mib(last[2])
    rows.append(["all", "%.1f MiB" % total_before, "%.1f MiB" % total_after,
                 "%+.1f %%" % (100.0 * (total_after - total_before) / total_before)])
    bench.print_table(["process", "PSS after %d reloads" % first[0], "after %d" % last[0], "growth"], rows)


if __name__ == "__main__":
    main()
