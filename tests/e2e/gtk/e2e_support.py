"""What the Linux program's end-to-end tests share: a virtual X server of their own, a local page
server that counts the requests it answers, the user's mouse and keyboard through xdotool,
screenshots, and the program itself as a process.

Every process a test starts is ended by its own id in the test's cleanup (the program with
the web processes it started, as one process group), so a failing test leaves nothing behind.
"""

import argparse
import http.server
import os
import select
import signal
import subprocess
import sys
import threading
import time
import unittest

SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 1024

# The main window's client area is the window itself under a bare X server (no window manager
# adds a frame). Control centres in client coordinates, from the window's description.
MAIN_WINDOW_SIZE = (602, 380)
ADDRESS_BOX = (153, 328)
INTERVAL_BOX = (365, 329)
START_BUTTON = (468, 329)
STOP_BUTTON = (555, 329)
INSIDE_PAGE_VIEW = (300, 150)  # the view covers (0, 0)-(600, 304)
BELOW_PAGE_VIEW = (300, 365)  # window background under the buttons, outside the view

# The page's own background: a colour no part of the window itself uses.
PAGE_COLOUR = (0x1F, 0xA3, 0x6B)
PAGE_PATH = "/page"
PAGE_HTML = (
    "<!DOCTYPE html><html><head><meta charset='utf-8'><title>refresh target</title>"
    "<style>html,body{margin:0;height:100%%;background:#%02x%02x%02x}</style></head>"
    "<body></body></html>" % PAGE_COLOUR
).encode()

OPTIONS = None  # the command line, read by run_tests


def wait_until(condition, timeout, interval=0.05):
    """Polls condition() until it returns something true; returns that or None on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


def end_process(process, group=False):
    """Ends a process this test started (and, for a group leader, its group), by its id."""
    if process.poll() is None:
        try:
            if group:
                os.killpg(process.pid, signal.SIGTERM)
            else:
                process.terminate()
            process.wait(timeout=5)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            pass
    if group:
        # The web processes may outlive their parent for a moment.
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    if process.poll() is None:
        process.kill()
        process.wait(timeout=5)


class XServer:
    """A virtual screen of 1280x1024 on a display number of its own.

    The number is chosen away from the low ones that other programs on a shared machine take
    by default; -displayfd tells when the server is ready (or that the number was taken).
    """

    FIRST_CANDIDATE = 400

    def __init__(self, log_path):
        self._log = open(log_path, "wb")
        first = self.FIRST_CANDIDATE + os.getpid() % 400
        for number in range(first, first + 20):
            if os.path.exists("/tmp/.X%d-lock" % number):
                continue
            self.process = self._start(number)
            if self.process is not None:
                self.display = ":%d" % number
                return
        self._log.close()
        raise RuntimeError("Xvfb could not start on any display from :%d (see %s)" % (first, log_path))

    def _start(self, number):
        read_end, write_end = os.pipe()
        process = subprocess.Popen(
            ["Xvfb", ":%d" % number, "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx24" % (SCREEN_WIDTH, SCREEN_HEIGHT), "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=self._log, stderr=subprocess.STDOUT)
        os.close(write_end)
        reported = b""
        deadline = time.monotonic() + 15
        try:
            while not reported.endswith(b"\n"):
                remaining = deadline - time.monotonic()
                if remaining <= 0 or not select.select([read_end], [], [], remaining)[0]:
                    break
                chunk = os.read(read_end, 16)
                if not chunk:
                    break  # ended: the number was taken after all
                reported += chunk
        finally:
            os.close(read_end)
        if reported.strip() == str(number).encode():
            return process
        end_process(process)
        return None

    def close(self):
        end_process(self.process)
        self._log.close()


class CountingPageServer:
    """Serves the test page on 127.0.0.1 and notes when each request for it arrived."""

    def __init__(self):
        self._lock = threading.Lock()
        self._page_requests = []
        server_self = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                if self.path != PAGE_PATH:
                    self.send_error(404)
                    return
                server_self._note_request()
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(PAGE_HTML)))
                # Every reload has to reach the server to be counted.
                self.send_header("Cache-Control", "no-store")
                self.end_headers()
                self.wfile.write(PAGE_HTML)

            def log_message(self, *args):
                pass

        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self._server.daemon_threads = True
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        self.page_address = "http://127.0.0.1:%d%s" % (self._server.server_address[1], PAGE_PATH)

    def _note_request(self):
        with self._lock:
            self._page_requests.append(time.monotonic())

    def request_times(self, since=0.0):
        with self._lock:
            return [t for t in self._page_requests if t >= since]

    def close(self):
        self._server.shutdown()
        self._server.server_close()


class Desktop:
    """The user at the virtual screen: xdotool for mouse and keys, ImageMagick for pictures."""

    def __init__(self, display):
        self.env = dict(os.environ, DISPLAY=display)

    def _run(self, *args, check=True):
        result = subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=20)
        if check and result.returncode != 0:
            raise RuntimeError("%s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result

    def find_windows(self, name_pattern):
        result = self._run("xdotool", "search", "--onlyvisible", "--name", name_pattern, check=False)
        return [int(line) for line in result.stdout.split()]

    def wait_for_window(self, name_pattern, timeout):
        found = wait_until(lambda: self.find_windows(name_pattern), timeout, interval=0.1)
        if not found:
            raise AssertionError("no visible window named /%s/ within %g s" % (name_pattern, timeout))
        return found[0]

    def geometry(self, window):
        """(x, y, width, height) of a top-level window on the screen."""
        shell = self._run("xdotool", "getwindowgeometry", "--shell", str(window)).stdout
        values = dict(line.split("=", 1) for line in shell.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def window_name(self, window):
        return self._run("xdotool", "getwindowname", str(window)).stdout.rstrip("\n")

    def click(self, x, y):
        self._run("xdotool", "mousemove", str(x), str(y), "sleep", "0.2", "click", "1")

    def double_click(self, x, y):
        # 80 ms between the clicks: well inside the double-click time, as a user's hand.
        self._run("xdotool", "mousemove", str(x), str(y), "sleep", "0.3",
                  "click", "--repeat", "2", "--delay", "80", "1")

    def key(self, *keys):
        self._run("xdotool", "key", *keys)

    def focus(self, window):
        self._run("xdotool", "windowfocus", "--sync", str(window))

    def replace_text(self, x, y, text):
        """Clicks into the edit box at (x, y) and replaces its whole text."""
        self.click(x, y)
        self.key("ctrl+a")
        if text:
            self._run("xdotool", "type", "--delay", "20", text)
        else:
            self.key("BackSpace")

    def screenshot(self, path):
        self._run("import", "-window", "root", path)
        return path

    @staticmethod
    def pixel(path, x, y):
        """(r, g, b) of one pixel of a picture file."""
        raw = subprocess.run(
            ["convert", path, "-crop", "1x1+%d+%d" % (x, y), "+repage", "-depth", "8", "rgb:-"],
            capture_output=True, check=True, timeout=20).stdout
        return tuple(raw[:3])


def colour_close(actual, expected, tolerance=6):
    return all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


class ProgramUnderTest:
    """A program on the virtual screen, its output kept in the artifacts folder."""

    def __init__(self, command, desktop, log_path):
        self._log = open(log_path, "wb")
        self.log_path = log_path
        # Its own process group: the web and network processes it starts end with it.
        self.process = subprocess.Popen(command, env=desktop.env, stdout=self._log,
                                        stderr=subprocess.STDOUT, start_new_session=True)

    def exit_code(self, timeout):
        """The exit code once the program has ended, or None if it still runs after timeout."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def output(self):
        self._log.flush()
        with open(self.log_path, "rb") as log:
            return log.read().decode(errors="replace")

    def close(self):
        end_process(self.process, group=True)
        self._log.close()


class ScreenTestCase(unittest.TestCase):
    """A fresh X server and page server for every test."""

    def setUp(self):
        os.makedirs(OPTIONS.artifacts, exist_ok=True)
        self.x_server = XServer(self.artifact("xvfb.log"))
        self.addCleanup(self.x_server.close)
        self.pages = CountingPageServer()
        self.addCleanup(self.pages.close)
        self.desktop = Desktop(self.x_server.display)

    def artifact(self, name):
        return os.path.join(OPTIONS.artifacts, "%s.%s" % (self.id().split(".")[-1], name))

    def start(self, command, log_name="program.log"):
        program = ProgramUnderTest(command, self.desktop, self.artifact(log_name))
        self.addCleanup(program.close)
        return program

    def start_pelmora(self):
        """Starts pelmora and returns it with its main window's screen position."""
        program = self.start([OPTIONS.pelmora])
        window = self.desktop.wait_for_window("^Pelmora$", timeout=20)
        left, top, width, height = self.desktop.geometry(window)
        self.assertEqual((width, height), MAIN_WINDOW_SIZE)
        # Centred on the screen.
        self.assertLessEqual(abs(left - (SCREEN_WIDTH - width) // 2), 1)
        self.assertLessEqual(abs(top - (SCREEN_HEIGHT - height) // 2), 1)
        return program, window, (left, top)

    @staticmethod
    def on_screen(origin, point):
        return origin[0] + point[0], origin[1] + point[1]

    def close_with_escape(self, program, window):
        self.desktop.focus(window)
        self.desktop.key("Escape")
        code = program.exit_code(timeout=10)
        self.assertIsNotNone(code, "pelmora still runs 10 s after Esc")
        self.assertEqual(code, 0, program.output())


def run_tests():
    """Reads the test's command line, then runs its test cases; exits with their outcome."""
    global OPTIONS
    parser = argparse.ArgumentParser()
    parser.add_argument("--pelmora", required=True, help="the program under test")
    parser.add_argument("--failing-start", help="the program assembled with failing start-up data")
    parser.add_argument("--artifacts", required=True, help="folder for screenshots and logs")
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.artifacts = os.path.abspath(OPTIONS.artifacts)
    unittest.main(module="__main__", argv=[sys.argv[0]] + rest, verbosity=2)

