"""What the desktop benchmarks share: a virtual screen (from the end-to-end tests' support), a
local page server that notes when each request arrived, the processes a program started with
their memory (PSS) and CPU time read from /proc, and the Linux program driven as a user drives
it.

The benchmarks print figures; they assert nothing about speed. A benchmark stops with an error
only when it cannot measure (a window that never appears, a page that never loads).
"""

import argparse
import http.server
import os
import socket
import statistics
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e", "gtk"))

import e2e_support as e2e  # noqa: E402  (the path above first)

XServer = e2e.XServer
Desktop = e2e.Desktop
wait_until = e2e.wait_until
end_process = e2e.end_process

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class BenchError(RuntimeError):
    """The benchmark could not measure what it set out to measure."""


# ---- The page server ----------------------------------------------------------------------

class QuietServer(http.server.ThreadingHTTPServer):
    """A browser drops connections it no longer needs (a newer load replaced the page): that is
    the normal course here, not an error to print."""

    daemon_threads = True

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError)):
            super().handle_error(request, client_address)


class Response:
    """One answer of the page server: a status, headers and a body; or, with abort, the
    connection closed without any answer."""

    def __init__(self, body=b"", status=200, content_type="text/html; charset=utf-8",
                 headers=(), abort=False):
        self.body = body if isinstance(body, bytes) else body.encode()
        self.status = status
        self.content_type = content_type
        self.headers = list(headers)
        self.abort = abort


class PageServer:
    """Serves on 127.0.0.1; routes map a path (without the query) to a function of the
    request's path that returns a Response. Every request is noted with its arrival time, so
    reloads are counted where they arrive, whatever the program says it did.

    refuse_connections(seconds) closes the listening socket for that long: connections made
    meanwhile are refused by the system, as by a server that is down."""

    def __init__(self, routes):
        self._routes = routes
        self._lock = threading.Lock()
        self._arrivals = {}
        server_self = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_GET(self):
                path = self.path.split("?", 1)[0]
                server_self._note(path)
                route = server_self._routes.get(path)
                response = route(self.path) if route else Response(b"not found", status=404)
                if response.abort:
                    self.close_connection = True
                    try:
                        self.connection.shutdown(socket.SHUT_RDWR)
                    except OSError:
                        pass
                    return
                self.send_response(response.status)
                self.send_header("Content-Type", response.content_type)
                self.send_header("Content-Length", str(len(response.body)))
                # Every reload has to reach the server to be counted.
                self.send_header("Cache-Control", "no-store")
                for name, value in response.headers:
                    self.send_header(name, value)
                self.end_headers()
                try:
                    self.wfile.write(response.body)
                except OSError:
                    pass  # the browser gave up on this load: a newer one replaced it

            def log_message(self, *args):
                pass

        self._handler = Handler
        self._server = self._serve(0)
        self.port = self._server.server_address[1]

    def _serve(self, port):
        server = QuietServer(("127.0.0.1", port), self._handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        return server

    def address(self, path):
        return "http://127.0.0.1:%d%s" % (self.port, path)

    def _note(self, path):
        with self._lock:
            self._arrivals.setdefault(path, []).append(time.monotonic())

    def arrivals(self, path, since=0.0, until=float("inf")):
        with self._lock:
            return [t for t in self._arrivals.get(path, []) if since <= t < until]

    def count(self, path):
        with self._lock:
            return len(self._arrivals.get(path, []))

    def refuse_connections(self, seconds):
        self._server.shutdown()
        self._server.server_close()
        time.sleep(seconds)
        for _ in range(50):
            try:
                self._server = self._serve(self.port)
                return
            except OSError:
                time.sleep(0.1)
        raise BenchError("the page server could not listen on port %d again" % self.port)

    def close(self):
        self._server.shutdown()
        self._server.server_close()


def closed_port():
    """A local port on which nothing listens (connections to it are refused)."""
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    return port


# ---- Processes: memory and CPU from /proc ---------------------------------------------------

def _read(path):
    try:
        with open(path) as f:
            return f.read()
    except (FileNotFoundError, ProcessLookupError, PermissionError):
        return None


def _stat_fields(pid):
    """The fields of /proc/PID/stat after the command name, or None once the process is gone."""
    text = _read("/proc/%d/stat" % pid)
    if text is None:
        return None
    return text.rsplit(")", 1)[1].split()


def process_tree(leader):
    """The leader and every living process descended from it or in its session."""
    parents, sessions = {}, {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        fields = _stat_fields(int(entry))
        if fields is None:
            continue
        # After the name: state, ppid, pgrp, session, ...
        parents[int(entry)] = int(fields[1])
        sessions[int(entry)] = int(fields[3])
    members = {pid for pid, session in sessions.items() if session == leader}
    members.add(leader)
    grew = True
    while grew:
        grew = False
        for pid, parent in parents.items():
            if parent in members and pid not in members:
                members.add(pid)
                grew = True
    return sorted(pid for pid in members if pid in parents)


def process_name(pid):
    return (_read("/proc/%d/comm" % pid) or "?").strip()


def pss_kib(pid):
    """Proportional set size in KiB (shared pages divided among their users), or None."""
    text = _read("/proc/%d/smaps_rollup" % pid)
    if text is None:
        return None
    for line in text.splitlines():
        if line.startswith("Pss:"):
            return int(line.split()[1])
    return None


def private_kib(pid):
    """Memory only this process uses (private clean and dirty pages, in KiB), or None. Unlike
    PSS it does not move when other programs start or stop sharing the same libraries."""
    text = _read("/proc/%d/smaps_rollup" % pid)
    if text is None:
        return None
    fields = dict(line.split(":", 1) for line in text.splitlines() if ":" in line)
    try:
        return int(fields["Private_Clean"].split()[0]) + int(fields["Private_Dirty"].split()[0])
    except (KeyError, ValueError):
        return None


def cpu_seconds(pid):
    """User plus system CPU time the process has used so far, or None once it is gone."""
    fields = _stat_fields(pid)
    if fields is None:
        return None
    # utime and stime are the 14th and 15th fields of the whole line (12th, 13th after the name).
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def _per_process(leader, reading):
    """{pid: (name, reading(pid))} of the leader's processes that could still be read."""
    result = {}
    for pid in process_tree(leader):
        value = reading(pid)
        if value is not None:
            result[pid] = (process_name(pid), value)
    return result


def memory_of(leader):
    """{pid: (name, PSS KiB)} of the leader's processes."""
    return _per_process(leader, pss_kib)


def cpu_of(leader):
    """{pid: (name, CPU seconds)} of the leader's processes."""
    return _per_process(leader, cpu_seconds)


def total_pss_mib(memory):
    return sum(pss for _, pss in memory.values()) / 1024.0


# ---- The programs ----------------------------------------------------------------------------

class Program(e2e.ProgramUnderTest):
    """A program on the virtual screen in a session of its own (its helper processes end with
    it), its output in a log file; with the moment it was started."""

    def __init__(self, command, desktop, log_path):
        self.started = time.monotonic()
        super().__init__(command, desktop, log_path)

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        return self.process.poll() is None


def click_in_window(desktop, window, point, count=1):
    """A click (or a double click, as a hand does it) at a point of the window's client area;
    the point is relative to the window, so a window manager's frame does not matter."""
    command = ["xdotool", "mousemove", "--window", str(window), str(point[0]), str(point[1]),
               "sleep", "0.2", "click"]
    if count == 2:
        command += ["--repeat", "2", "--delay", "80"]
    desktop._run(*command, "1")


class Pelmora:
    """The Linux program, driven through its window as a user drives it."""

    def __init__(self, executable, desktop, log_path):
        self.desktop = desktop
        self.program = Program([executable], desktop, log_path)
        self.window = None

    def wait_for_window(self, timeout=30):
        found = wait_until(lambda: self.desktop.find_windows("^Pelmora"), timeout, interval=0.02)
        if not found:
            raise BenchError("no Pelmora window within %g s" % timeout)
        self.window = found[0]
        return time.monotonic()

    def replace_text(self, box, text, typing_delay_ms=20):
        click_in_window(self.desktop, self.window, box)
        self.desktop.key("ctrl+a")
        if text:
            self.desktop._run("xdotool", "type", "--delay", str(typing_delay_ms), text)
        else:
            self.desktop.key("BackSpace")

    def set_address(self, address, typing_delay_ms=20):
        self.replace_text(e2e.ADDRESS_BOX, address, typing_delay_ms)

    def set_interval(self, text):
        self.replace_text(e2e.INTERVAL_BOX, text)

    def click_start(self):
        """One click: the page loads once, no timer starts."""
        click_in_window(self.desktop, self.window, e2e.START_BUTTON)

    def start_reloading(self):
        """A double click on the start button: both timers start with the interval typed in."""
        click_in_window(self.desktop, self.window, e2e.START_BUTTON, count=2)

    def click_stop(self):
        click_in_window(self.desktop, self.window, e2e.STOP_BUTTON)

    def caption(self):
        return self.desktop.window_name(self.window)

    def close(self):
        self.program.close()


def start_window_manager(desktop, log_path):
    """openbox on the virtual screen: minimising and focus need a window manager."""
    log = open(log_path, "wb")
    process = subprocess.Popen(["openbox", "--sm-disable"], env=desktop.env, stdout=log,
                               stderr=subprocess.STDOUT, start_new_session=True)
    # Ready once it has claimed the screen: the root window names it.
    ready = wait_until(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in desktop._run(
        "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False).stdout, timeout=10)
    if not ready:
        end_process(process)
        raise BenchError("openbox did not start (see %s)" % log_path)
    return process


# ---- Command line ------------------------------------------------------------------------

def command_line(description):
    """The options every desktop benchmark takes; the benchmark adds its own."""
    parser = argparse.ArgumentParser(description=description,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--pelmora", required=True, help="the Linux program, e.g. build/linux/refresher/pelmora")
    parser.add_argument("--artifacts", default="build/bench-artifacts", help="folder for the logs")
    return parser


def begin(parser):
    """Reads the command line, makes the logs' folder and prints the machine line."""
    options = parser.parse_args()
    os.makedirs(options.artifacts, exist_ok=True)
    print("machine: %s" % machine_summary(), flush=True)
    return options


# ---- Figures ---------------------------------------------------------------------------------

def rhythm_figures(arrivals, period):
    """Reload rhythm from the arrival times of the reloads: how many, the gaps' lateness
    against the period (mean and worst), and the cumulative drift: how far the last reload is
    behind (first + (n - 1) periods)."""
    n = len(arrivals)
    if n < 2:
        return {"reloads": n}
    gaps = [b - a for a, b in zip(arrivals, arrivals[1:])]
    lateness = [gap - period for gap in gaps]
    return {
        "reloads": n,
        "mean_lateness_ms": statistics.fmean(lateness) * 1000,
        "max_lateness_ms": max(lateness) * 1000,
        "gaps_over_1.5_periods": sum(1 for gap in gaps if gap > 1.5 * period),
        "drift_ms": ((arrivals[-1] - arrivals[0]) - (n - 1) * period) * 1000,
    }


def print_table(headers, rows):
    widths = [max(len(str(h)), *(len(str(row[i])) for row in rows)) for i, h in enumerate(headers)]
    line = lambda cells: "| " + " | ".join(str(c).ljust(w) for c, w in zip(cells, widths)) + " |"
    print(line(headers))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in rows:
        print(line(row))
    sys.stdout.flush()


def machine_summary():
    cpu = "?"
    for line in (_read("/proc/cpuinfo") or "").splitlines():
        if line.startswith("model name"):
            cpu = line.split(":", 1)[1].strip()
            break
    load = (_read("/proc/loadavg") or "?").split()[:3]
    return "%d cores (%s), load average %s" % (os.cpu_count(), cpu, " ".join(load))
