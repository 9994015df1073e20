#!/usr/bin/env python3
"""End-to-end run of the Windows program under 64-bit Wine on a private Xvfb display.

Drives pelmora.exe the way a user does (xdotool: typing, a double click, a click, Esc) and
checks what can be observed from outside:
  * a local HTTP server on 127.0.0.1 counts the page's GETs: the two loads of the double
    click, then one reload per interval, none after the stop button;
  * the window's caption: the title followed by digits while the caption timer runs, the
    title alone after stop;
  * the exit code: 0 after Esc.
Then the error path: a build of the program whose start-up window lost its records shows the
error box with 载入启动窗口失败; Return dismisses it and the program ends with -1 (255).

Wine's HTML engine is not installed here, so nothing is rendered; the page is still fetched,
which is what the server counts. Screenshots are kept in the artifacts folder.

Exit codes: 0 passed, 1 failed, 125 skipped (no 64-bit Wine, Xvfb, xdotool or zh_CN locale).
Every process this script starts is ended by its own id.
"""

import argparse
import http.server
import os
import re
import shutil
import signal
import subprocess
import sys
import threading
import time

SKIP = 125

# Where the controls sit in the window's client area (refresher/main_window.form): the centre
# of each box or button, in client coordinates.
ADDRESS_BOX = (49 + 208 // 2, 312 + 32 // 2)
INTERVAL_BOX = (315 + 101 // 2, 313 + 32 // 2)
START_BUTTON = (432 + 72 // 2, 309 + 40 // 2)
STOP_BUTTON = (519 + 72 // 2, 309 + 40 // 2)

INTERVAL_SECONDS = 0.3
TITLE = "Pelmora"
# 载入启动窗口失败 as Wine's window trace prints a text given to a window (UTF-16 code units).
STARTUP_FAILED_TRACE = r"\8f7d\5165\542f\52a8\7a97\53e3\5931\8d25"
ERROR_BOX_CAPTION = "\u9519\u8bef"  # 错误


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class PageCounter(http.server.BaseHTTPRequestHandler):
    """Answers every GET with a tiny page that must not be cached, and notes when it came."""

    page = b"<html><head><title>e2e</title></head><body>e2e</body></html>"
    lock = threading.Lock()
    gets = []  # (monotonic time, path)

    def do_GET(self):  # noqa: N802 (the base class's name)
        with PageCounter.lock:
            PageCounter.gets.append((time.monotonic(), self.path))
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(self.page)))
        self.send_header("Cache-Control", "no-store, no-cache, must-revalidate")
        self.send_header("Expires", "0")
        self.end_headers()
        self.wfile.write(self.page)

    def log_message(self, *args):
        pass

    @classmethod
    def page_gets(cls, path):
        with cls.lock:
            return [t for t, p in cls.gets if p == path]


class Processes:
    """The processes this run started, each ended by its own id at the end."""

    def __init__(self):
        self.started = []

    def start(self, arguments, **options):
        process = subprocess.Popen(arguments, **options)
        self.started.append(process)
        return process

    def end_all(self):
        for process in reversed(self.started):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()


class Session:
    def __init__(self, options, processes):
        self.options = options
        self.processes = processes
        self.display = None
        self.env = None

    # --- the display -------------------------------------------------------------------------

    def start_display(self):
        # Xvfb picks a free display itself and writes its number to the pipe.
        read_end, write_end = os.pipe()
        self.processes.start(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip()
        check(number.isdigit(), "Xvfb did not start")
        self.display = ":" + number.decode()
        self.env = dict(os.environ, DISPLAY=self.display)

    def xdotool(self, *arguments):
        result = subprocess.run(["xdotool", *map(str, arguments)], env=self.env, capture_output=True,
                                text=True, timeout=20)
        return result.stdout.strip()

    def screenshot(self, name):
        path = os.path.join(self.options.artifacts, name)
        subprocess.run(["import", "-display", self.display, "-window", "root", path], env=self.env,
                       capture_output=True, timeout=30)
        print(f"screenshot: {path}")

    # --- Wine --------------------------------------------------------------------------------

    def wine_command(self, exe, *arguments, debug="-all"):
        # The project's Wine environment (prefix, loader, zh_CN.UTF-8 so the ANSI code page is
        # 936); exec keeps the process id, so the id we hold is the program's loader.
        common = os.path.join(self.options.wine_tools, "common.sh")
        script = (f'. "{common}" && pelmora_wine_env 64 && export WINEDEBUG="$1" && shift && '
                  'exec "$WINELOADER" "$@"')
        return ["bash", "-c", script, "pelmora-wine", debug, exe, *arguments]

    def wine_environment_value(self, name):
        common = os.path.join(self.options.wine_tools, "common.sh")
        script = f'. "{common}" && pelmora_wine_env 64 && printf %s "${name}"'
        return subprocess.run(["bash", "-c", script], capture_output=True, text=True,
                              timeout=10).stdout

    def prepare_prefix(self):
        # The project's prefix script makes the prefix on first use (with Managed=N and the
        # fonts). Its output goes to a file: the wineserver it may leave running would hold a
        # pipe open for minutes.
        prefix = self.wine_environment_value("WINEPREFIX")
        check(prefix, "tools/wine/common.sh gave no Wine prefix")
        if not os.path.isfile(os.path.join(prefix, ".pelmora-ready")):
            log_path = os.path.join(self.options.artifacts, "prefix.log")
            with open(log_path, "wb") as log:
                result = subprocess.run([os.path.join(self.options.wine_tools, "prefix"), "64"],
                                        env=self.env, stdout=log, stderr=subprocess.STDOUT, timeout=150)
            check(result.returncode == 0, f"tools/wine/prefix 64 failed (see {log_path})")
        # Without a window manager, windows Wine's X11 driver leaves to one get no frame, and
        # every window close stalls; the test relies on Wine drawing the frame itself.
        if not managed_off(os.path.join(prefix, "user.reg")):
            command = self.wine_command("reg.exe", "add", r"HKCU\Software\Wine\X11 Driver",
                                        "/v", "Managed", "/d", "N", "/f")
            result = subprocess.run(command, env=self.env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, timeout=60)
            check(result.returncode == 0, "could not set Wine's X11 driver to Managed=N")

    def find_window(self, name, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.xdotool("search", "--onlyvisible", "--name", name).split()
            if found:
                return found[0]
            time.sleep(0.2)
        raise Failure(f"no visible window named {name!r} within {timeout} s")

    def window_geometry(self, window):
        values = dict(line.split("=", 1) for line in self.xdotool("getwindowgeometry", "--shell", window).split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def caption(self, window):
        return self.xdotool("getwindowname", window)


def managed_off(user_registry):
    """Whether the prefix's user registry has Managed=N for Wine's X11 driver."""
    try:
        with open(user_registry, encoding="utf-8", errors="replace") as registry:
            text = registry.read()
    except OSError:
        return False
    section = re.search(r"^\[Software\\\\Wine\\\\X11 Driver\][^\n]*\n(.*?)(?:^\[|\Z)", text,
                        re.M | re.S)
    return section is not None and '"Managed"="N"' in section.group(1)


def wait_for_exit(process, timeout):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"the program did not end within {timeout} s")


def client_origin(session, window):
    """The screen position of the client area's top-left corner.

    Without a window manager Wine draws the frame itself inside the X window: a border on the
    left, right and bottom, the caption bar and the border on top. With Wine's default metrics
    the border is 3 pixels and the top part 22 (measured on Wine 8); --frame-border and
    --frame-top change them."""
    x, y, _, _ = session.window_geometry(window)
    return x + session.options.frame_border, y + session.options.frame_top


def click_at(session, origin, point, repeat=1):
    arguments = ["mousemove", origin[0] + point[0], origin[1] + point[1], "sleep", "0.3", "click"]
    if repeat > 1:
        arguments += ["--repeat", repeat, "--delay", 80]
    session.xdotool(*arguments, 1)


def replace_text(session, origin, box, text):
    click_at(session, origin, box)
    session.xdotool("key", "--delay", 40, "End", "shift+Home", "BackSpace")
    session.xdotool("type", "--delay", 30, text)


def run_refresher(session, server_port):
    path = "/page"
    address = f"http://127.0.0.1:{server_port}{path}"
    program = session.processes.start(session.wine_command(session.options.program),
                                      env=session.env, stdout=subprocess.DEVNULL)
    window = session.find_window(f"^{TITLE}$", timeout=30)
    time.sleep(0.5)
    origin = client_origin(session, window)

    replace_text(session, origin, ADDRESS_BOX, address)
    replace_text(session, origin, INTERVAL_BOX, str(INTERVAL_SECONDS))
    time.sleep(0.3)
    check(not PageCounter.page_gets(path), "the page was fetched before the start button was pressed")

    clicked = time.monotonic()
    click_at(session, origin, START_BUTTON, repeat=2)
    captions = []
    watch_until = time.monotonic() + 3.0
    while time.monotonic() < watch_until:
        captions.append(session.caption(window))
        time.sleep(0.1)
    session.screenshot("refreshing.png")
    running = PageCounter.page_gets(path)
    print(f"GETs while running: {len(running)}, offsets {[round(t - clicked, 2) for t in running]}")
    print(f"captions seen: {sorted(set(captions))}")

    # The double click: two loads, one per click, before the first timer tick.
    check(len(running) >= 2, f"expected the two loads of the double click, got {len(running)} GETs")
    check(running[1] - running[0] < INTERVAL_SECONDS * 0.8,
          f"the first two GETs are {running[1] - running[0]:.2f} s apart; the two clicks' loads "
          "should come together, before the first reload")
    # Then one reload per interval: counted from the second click's load on, with a wide margin
    # for a busy machine (a tick can come late, and a fetch can be held up and arrive together
    # with the next one, so single gaps say little; the count over seconds does).
    span = running[-1] - running[1]
    reloads = len(running) - 2
    expected = span / INTERVAL_SECONDS
    check(reloads >= 4, f"only {reloads} reloads in 3 s at a {INTERVAL_SECONDS} s interval")
    check(abs(reloads - expected) <= max(2, expected * 0.4),
          f"{reloads} reloads over {span:.2f} s; at a {INTERVAL_SECONDS} s interval about {expected:.0f}")

    numbered = [c for c in captions if re.fullmatch(TITLE + r"-?\d+", c)]
    check(numbered, f"the caption never became the title and a number: {sorted(set(captions))}")
    check(len(set(numbered)) >= 2, f"the caption's number never changed: {numbered[0]!r}")
    check(all(c == TITLE or c in numbered for c in captions),
          f"unexpected captions: {sorted(set(captions))}")

    click_at(session, origin, STOP_BUTTON)
    time.sleep(0.3 + INTERVAL_SECONDS)  # a load already under way may still arrive
    after_stop = len(PageCounter.page_gets(path))
    time.sleep(1.5)
    check(len(PageCounter.page_gets(path)) == after_stop,
          f"{len(PageCounter.page_gets(path)) - after_stop} reloads after the stop button")
    check(session.caption(window) == TITLE,
          f"after stop the caption is {session.caption(window)!r}, not {TITLE!r}")
    session.screenshot("stopped.png")

    session.xdotool("key", "Escape")
    code = wait_for_exit(program, timeout=15)
    check(code == 0, f"Esc ended the program with exit code {code}, not 0")


def run_failing_start(session):
    trace_path = os.path.join(session.options.artifacts, "startup-failure-trace.txt")
    with open(trace_path, "wb") as trace:
        # Wine's window trace shows the texts the message box puts into its controls.
        program = session.processes.start(session.wine_command(session.options.failing_program, debug="+win"),
                                          env=session.env, stdout=subprocess.DEVNULL, stderr=trace)
        session.find_window(f"^{ERROR_BOX_CAPTION}$", timeout=30)
        time.sleep(0.5)
        session.screenshot("startup-failure.png")
        check(program.poll() is None, "the program ended before the error box was dismissed")
        # The box has the keyboard focus (there is no window manager to activate it).
        session.xdotool("key", "Return")
        code = wait_for_exit(program, timeout=15)
    with open(trace_path, "rb") as trace:
        traced = trace.read().decode("latin-1")
    check(STARTUP_FAILED_TRACE in traced,
          f"the error box did not show 载入启动窗口失败 (see {trace_path})")
    check(code == 255, f"dismissing the error box ended the program with {code}, not 255 (-1)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="pelmora.exe (x86_64)")
    parser.add_argument("--failing-program", required=True, help="the build whose start-up window fails")
    parser.add_argument("--wine-tools", required=True, help="the project's tools/wine folder")
    parser.add_argument("--artifacts", required=True, help="folder for screenshots and traces")
    parser.add_argument("--frame-border", type=int, default=3)
    parser.add_argument("--frame-top", type=int, default=22)
    options = parser.parse_args()
    os.makedirs(options.artifacts, exist_ok=True)

    missing = [tool for tool in ("Xvfb", "xdotool", "import") if shutil.which(tool) is None]
    if missing or not os.access("/usr/lib/wine/wine64", os.X_OK):
        print(f"skipped: missing {missing or ['/usr/lib/wine/wine64']}")
        return SKIP
    locales = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower()
    if "zh_cn.utf8" not in locales:
        print("skipped: the zh_CN.UTF-8 locale is not generated")
        return SKIP

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), PageCounter)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    processes = Processes()
    session = Session(options, processes)
    try:
        session.start_display()
        session.prepare_prefix()
        run_refresher(session, server.server_address[1])
        run_failing_start(session)
    except Failure as failure:
        print(f"FAILED: {failure}")
        if session.display is not None:
            session.screenshot("failure.png")
        return 1
    finally:
        processes.end_all()
        server.shutdown()
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
