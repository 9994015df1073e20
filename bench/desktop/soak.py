"""Soak: the Linux program reloading at its smallest period (10 ms: shorter periods are kept at
10 ms) for ten minutes against a local server whose page is hostile: one load in eight each
opens a named pop-up, opens a pop-up that closes itself, raises alerts in an endless loop,
redirects (by HTTP, by script, to a port where the connection is refused), drops the
connection without an answer, or is a plain page; and every minute the whole server stops
listening for three seconds, so that every connection is refused.

Every 30 s the benchmark notes the reloads that arrived (the rhythm), the PSS of every process,
the program's private memory, the open windows, and whether the page server still answers a
request of its own (so that missing reloads are not blamed on the program when the server is
stuck). Every 150 s it clicks the stop button ("停止") and checks that the caption
goes back to the title and that no reload arrives afterwards, then starts the reloads again.
At the end, Esc must end the program with exit code 0.

  python3 bench/desktop/soak.py --pelmora build/linux/refresher/pelmora [--minutes 10]
"""

import itertools
import os
import threading
import time
import urllib.request

import bench_support as bench

SAMPLE_EVERY_S = 30.0
STOP_CHECK_EVERY_S = 150.0
OUTAGE_EVERY_S = 60.0
OUTAGE_S = 3.0
STOP_QUIET_S = 3.0


def page(title, script="", head=""):
    return ("<!DOCTYPE html><html><head><meta charset='utf-8'><title>%s</title>%s</head>"
            "<body><h1>%s</h1><script>%s</script></body></html>" % (title, head, title, script))


class HostilePages:
    """The soak's page at /soak, in turn each of the kinds below; the counts say what was served."""

    KINDS = ["named pop-up", "closing pop-up", "alert loop", "HTTP redirect", "script redirect",
             "redirect to a refused port", "dropped connection", "plain page"]

    def __init__(self, refused_port, kinds=None):
        self._refused = "http://127.0.0.1:%d/" % refused_port
        self._kinds = itertools.cycle(kinds or self.KINDS)
        self._lock = threading.Lock()
        self.served = {}

    def soak(self, _path):
        with self._lock:
            kind = next(self._kinds)
            self.served[kind] = self.served.get(kind, 0) + 1
        if kind == "named pop-up":
            return bench.Response(page("soak: named pop-up",
                                       "window.open('/soak/pop-up', 'soak-pop-up', 'width=320,height=200');"))
        if kind == "closing pop-up":
            return bench.Response(page("soak: closing pop-up",
                                       "window.open('/soak/pop-up?closing', '_blank', 'width=320,height=200');"))
        if kind == "alert loop":
            return bench.Response(page("soak: alerts", "for (var i = 0; ; ++i) alert('soak alert ' + i);"))
        if kind == "HTTP redirect":
            return bench.Response(status=302, headers=[("Location", "/soak/hop")])
        if kind == "script redirect":
            return bench.Response(page("soak: script redirect", "location.replace('/soak/landing');"))
        if kind == "redirect to a refused port":
            return bench.Response(status=302, headers=[("Location", self._refused)])
        if kind == "dropped connection":
            return bench.Response(abort=True)
        return bench.Response(page("soak: plain page"))

    @staticmethod
    def pop_up(path):
        closing = "setTimeout(function () { window.close(); }, 300);" if "closing" in path else ""
        return bench.Response(page("soak pop-up", closing))

    def routes(self):
        return {
            "/soak": self.soak,
            "/soak/pop-up": self.pop_up,
            "/soak/hop": lambda _: bench.Response(status=302, headers=[("Location", "/soak/landing")]),
            "/soak/landing": lambda _: bench.Response(page("soak: landed")),
        }


class Outages(threading.Thread):
    """Every minute the server refuses all connections for a few seconds; the times are kept
    so that the rhythm is judged outside them."""

    def __init__(self, pages):
        super().__init__(daemon=True)
        self._pages = pages
        self._finished = threading.Event()
        self.windows = []

    def run(self):
        while not self._finished.wait(OUTAGE_EVERY_S):
            began = time.monotonic()
            self._pages.refuse_connections(OUTAGE_S)
            self.windows.append((began, time.monotonic()))

    def stop(self):
        self._finished.set()
        self.join()

    def overlaps(self, since, until):
        return sum(max(0.0, min(until, end) - max(since, begin)) for begin, end in self.windows)


def server_answer_ms(pages):
    """How long the page server takes to answer a request of its own (None: no answer in 5 s),
    so that reloads missing at the server are told apart from a server that stopped answering."""
    began = time.monotonic()
    try:
        with urllib.request.urlopen(pages.address("/soak/landing"), timeout=5) as answer:
            answer.read()
    except OSError:
        return None
    return (time.monotonic() - began) * 1000


def check_stop(pelmora, pages, outages):
    """Clicks 停止: the seconds until the caption is the title again, and the reloads that
    arrived in the quiet time after it (there must be none)."""
    clicked = time.monotonic()
    pelmora.click_stop()
    plain = bench.wait_until(lambda: pelmora.caption() == "Pelmora", timeout=10, interval=0.02)
    caption_after = time.monotonic() - clicked - 0.2  # the click waits 0.2 s after the move
    # A load under way at the click may still arrive; none may come after that.
    time.sleep(1.0)
    quiet_from = time.monotonic()
    time.sleep(STOP_QUIET_S)
    # While the server refuses connections nothing can arrive: that time does not count.
    while STOP_QUIET_S - outages.overlaps(quiet_from, time.monotonic()) < STOP_QUIET_S - 0.01 and \
            time.monotonic() - quiet_from < 3 * STOP_QUIET_S:
        time.sleep(OUTAGE_S)
    late = len(pages.arrivals("/soak", since=quiet_from))
    return bool(plain), caption_after, late


def main():
    parser = bench.command_line(__doc__)
    parser.add_argument("--minutes", type=float, default=10.0)
    parser.add_argument("--kinds", help="only these kinds of page, comma-separated (to find what a "
                        "figure comes from); all by default: %s" % ", ".join(HostilePages.KINDS))
    options = bench.begin(parser)
    kinds = options.kinds.split(",") if options.kinds else None
    if kinds and not set(kinds) <= set(HostilePages.KINDS):
        parser.error("unknown kinds: %s" % ", ".join(sorted(set(kinds) - set(HostilePages.KINDS))))

    hostile = HostilePages(bench.closed_port(), kinds)
    x_server = bench.XServer(os.path.join(options.artifacts, "soak-xvfb.log"))
    desktop = bench.Desktop(x_server.display)
    pages = bench.PageServer(hostile.routes())
    pelmora = bench.Pelmora(options.pelmora, desktop, os.path.join(options.artifacts, "soak-pelmora.log"))
    outages = Outages(pages)
    samples, stops, exit_code = [], [], None
    try:
        pelmora.wait_for_window()
        pelmora.set_address(pages.address("/soak"))
        pelmora.set_interval("0.01")
        pelmora.start_reloading()
        began = time.monotonic()
        outages.start()
        end = began + options.minutes * 60
        last_sample = began
        next_stop_check = began + STOP_CHECK_EVERY_S
        while time.monotonic() < end:
            time.sleep(min(SAMPLE_EVERY_S, max(end - time.monotonic(), 0)))
            now = time.monotonic()
            if not pelmora.program.running():
                raise bench.BenchError("pelmora ended during the soak (exit code %s); see %s" % (
                    pelmora.program.process.returncode, pelmora.program.log_path))
            reloads = len(pages.arrivals("/soak", since=last_sample, until=now))
            listening = (now - last_sample) - outages.overlaps(last_sample, now)
            memory = bench.memory_of(pelmora.program.pid)
            windows = len(desktop.find_windows("."))
            answer = server_answer_ms(pages)
            program_private = (bench.private_kib(pelmora.program.pid) or 0) / 1024.0
            samples.append((now - began, reloads / listening, memory, windows, program_private))
            print("%5.0f s: %6.1f reloads/s while listening, PSS %6.1f MiB (%s), program private %.1f MiB, "
                  "%d windows, server %s" % (
                now - began, reloads / listening, bench.total_pss_mib(memory),
                ", ".join("%s %.1f" % (name, pss / 1024.0) for name, pss in memory.values()), program_private, windows,
                "answers in %.0f ms" % answer if answer is not None else "SILENT"), flush=True)
            last_sample = now
            if now >= next_stop_check or now >= end:
                stops.append(check_stop(pelmora, pages, outages))
                print("       stop: caption back %s after %.2f s, %d reloads after it" % (
                    "yes" if stops[-1][0] else "NO", stops[-1][1], stops[-1][2]), flush=True)
                next_stop_check = time.monotonic() + STOP_CHECK_EVERY_S
                if time.monotonic() < end:
                    pelmora.start_reloading()
                last_sample = time.monotonic()
        outages.stop()
        desktop.focus(pelmora.window)
        desktop.key("Escape")
        exit_code = pelmora.program.process.wait(timeout=10) if pelmora.program.running() else pelmora.program.process.returncode
    finally:
        if outages.is_alive():
            outages.stop()
        pelmora.close()
        pages.close()
        x_server.close()

    print("\nserved: %s" % ", ".join("%s %d" % kv for kv in sorted(hostile.served.items())))
    print("outages: %d of %g s" % (len(outages.windows), OUTAGE_S))
    rates = [s[1] for s in samples]
    totals = [bench.total_pss_mib(s[2]) for s in samples]
    privates = [s[4] for s in samples]
    bench.print_table(
        ["figure", "first sample", "last sample", "min", "max"],
        [["reloads per second (listening)", "%.1f" % rates[0], "%.1f" % rates[-1], "%.1f" % min(rates), "%.1f" % max(rates)],
         ["total PSS", "%.1f MiB" % totals[0], "%.1f MiB" % totals[-1], "%.1f MiB" % min(totals), "%.1f MiB" % max(totals)],
         ["pelmora's private memory", "%.1f MiB" % privates[0], "%.1f MiB" % privates[-1], "%.1f MiB" % min(privates), "%.1f MiB" % max(privates)],
         ["processes", len(samples[0][2]), len(samples[-1][2]), min(len(s[2]) for s in samples), max(len(s[2]) for s in samples)],
         ["X windows", samples[0][3], samples[-1][3], min(s[3] for s in samples), max(s[3] for s in samples)]])
    print("stop checks: %d, caption back in all: %s, slowest %.2f s, reloads after a stop: %d" % (
        len(stops), all(s[0] for s in stops), max(s[1] for s in stops), sum(s[2] for s in stops)))
    print("exit code after Esc: %s" % exit_code)


if __name__ == "__main__":
    main()
