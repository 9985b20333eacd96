"""Headless Chromium driven through chromedriver's WebDriver HTTP API, and a static server for
the web build's folder, both on 127.0.0.1 with Python's standard library only.

Shared by the browser test (tests/web/browser_test.py) and bench/web-cost.
"""

import base64
import functools
import http.server
import json
import os
import socket
import subprocess
import threading
import time
import urllib.error
import urllib.request

# WebDriver's codes for the keys the game is played with (WebDriver's own table of key codes).
KEYS = {
    "LEFT": "\ue012",
    "UP": "\ue013",
    "RIGHT": "\ue014",
    "DOWN": "\ue015",
    "ESCAPE": "\ue00c",
    "PAUSE": "\ue00b",
    "RETURN": "\ue006",
    "SPACE": " ",
}


class DriverError(Exception):
    pass


def free_port():
    """A port nobody listens on now; others use this machine, so never a fixed one."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    # The types a host must send; Python's table knows .wasm from 3.11 on, not everywhere.
    extensions_map = dict(
        http.server.SimpleHTTPRequestHandler.extensions_map,
        **{".wasm": "application/wasm", ".data": "application/octet-stream", ".js": "text/javascript"},
    )

    def log_message(self, *args):
        pass

    def end_headers(self):
        # A reload must fetch the build as it is now, not a cached one.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()


class SiteServer:
    """Serves a folder on 127.0.0.1 at a port the system picks, in a thread of this process."""

    def __init__(self, folder):
        handler = functools.partial(_QuietHandler, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.port = self.httpd.server_address[1]
        self.url = "http://127.0.0.1:%d/" % self.port
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def wait_for(what, check, limit, step=0.1):
    """Polls check() until it gives something true; raises after limit seconds."""
    end = time.monotonic() + limit
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise DriverError("waited %.0f s for %s" % (limit, what))
        time.sleep(step)


class Browser:
    """One chromedriver and one headless Chromium session."""

    def __init__(self, width=1280, height=1024, log_path=None, chromium="/usr/bin/chromium",
                 driver="chromedriver", start_limit=120, headless=True,
                 throttled=False):
        self.session = None
        self.driver = None
        self.base = None
        last = None
        for _ in range(3):  # the port may be taken between our look and chromedriver's bind
            port = free_port()
            log = open(log_path, "ab") if log_path else subprocess.DEVNULL
            self.driver = subprocess.Popen(
                [driver, "--port=%d" % port, "--allowed-ips=127.0.0.1"],
                stdout=log, stderr=subprocess.STDOUT)
            self.base = "http://127.0.0.1:%d" % port
            try:
                wait_for("chromedriver", self._ready, 30)
                break
            except DriverError as e:
                last = e
                self._stop_driver()
        else:
            raise DriverError("chromedriver did not start: %s" % last)
        options = {
            "binary": chromium,
            "args": [
                "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=%d,%d" % (width, height), "--no-first-run",
                "--no-default-browser-check", "--disable-extensions", "--mute-audio",
            ],
        }
        if headless:
            options["args"].insert(0, "--headless=new")
        if throttled:
            # chromedriver turns off the throttling of timers in hidden tabs that players have.
            options["excludeSwitches"] = ["disable-background-timer-throttling"]
        try:
            reply = self._call("POST", "/session", {
                "capabilities": {"alwaysMatch": {"browserName": "chrome",
                                                 "goog:chromeOptions": options,
                                                 "goog:loggingPrefs": {"browser": "ALL"},
                                                 "timeouts": {"script": 60000,
                                                              "pageLoad": 120000}}}},
                timeout=start_limit)
        except Exception:
            self._stop_driver()
            raise
        self.session = "/session/" + reply["sessionId"]

    def _ready(self):
        try:
            return self._call("GET", "/status", timeout=2).get("ready")
        except (OSError, DriverError):
            return False

    def _call(self, method, path, body=None, timeout=120):
        data = json.dumps(body).encode() if body is not None else None
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(request, timeout=timeout) as reply:
                answer = json.load(reply)
        except urllib.error.HTTPError as e:
            try:
                value = json.load(e).get("value", {})
                message = "%s: %s" % (value.get("error"), value.get("message", "")[:500])
            except ValueError:
                message = str(e)
            raise DriverError("%s %s: %s" % (method, path, message)) from None
        return answer.get("value")

    def call(self, method, path, body=None, timeout=120):
        return self._call(method, self.session + path, body, timeout)

    def open(self, url):
        self.call("POST", "/url", {"url": url})

    def reload(self):
        self.call("POST", "/refresh", {})

    def js(self, script, *args):
        """Runs script as a function body in the page and gives its return value."""
        return self.call("POST", "/execute/sync", {"script": script, "args": list(args)})

    def js_async(self, script, *args):
        """As js, with the last argument a callback the script calls with its answer."""
        return self.call("POST", "/execute/async", {"script": script, "args": list(args)})

    def cdp(self, command, params=None):
        """A DevTools protocol command on the page's target."""
        return self.call("POST", "/goog/cdp/execute", {"cmd": command, "params": params or {}})

    def actions(self, sources):
        self.call("POST", "/actions", {"actions": sources})

    def release(self):
        self.call("DELETE", "/actions")

    def console(self):
        """What the page wrote to the console since the last call: [(level, message)]."""
        entries = self.call("POST", "/se/log", {"type": "browser"})
        return [(e.get("level"), e.get("message", "")) for e in entries or []]

    def screenshot(self, path):
        png = base64.b64decode(self.call("GET", "/screenshot"))
        with open(path, "wb") as f:
            f.write(png)

    def close(self):
        if self.session:
            try:
                self._call("DELETE", self.session, timeout=30)
            except (OSError, DriverError):
                pass
            self.session = None
        self._stop_driver()

    def _stop_driver(self):
        if self.driver and self.driver.poll() is None:
            self.driver.terminate()
            try:
                self.driver.wait(10)
            except subprocess.TimeoutExpired:
                self.driver.kill()
                self.driver.wait()

    def browser_pids(self):
        """The Chromium processes of this session: chromedriver's descendants."""
        children = {}
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/stat" % entry) as f:
                    fields = f.read().rsplit(")", 1)[1].split()
            except OSError:
                continue
            children.setdefault(int(fields[1]), []).append(int(entry))
        found, todo = [], [self.driver.pid]
        while todo:
            pid = todo.pop()
            for child in children.get(pid, []):
                found.append(child)
                todo.append(child)
        return found


# Actions: one keyboard source and one pointer source, each a list of steps.
def keys(*steps):
    """steps: ("down", KEY) ("up", KEY) ("press", KEY) ("wait", MS); KEY a name of KEYS or a
    character."""
    out = []
    for step in steps:
        kind = step[0]
        if kind == "wait":
            out.append({"type": "pause", "duration": int(step[1])})
            continue
        key = KEYS.get(step[1], step[1])
        if kind in ("down", "press"):
            out.append({"type": "keyDown", "value": key})
        if kind == "press":
            out.append({"type": "pause", "duration": 30})
        if kind in ("up", "press"):
            out.append({"type": "keyUp", "value": key})
    return {"type": "key", "id": "keyboard", "actions": out}


def click_at(x, y):
    """A left click at (x, y) of the viewport, in CSS pixels."""
    return {"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
            "actions": [
                {"type": "pointerMove", "duration": 0, "origin": "viewport",
                 "x": int(round(x)), "y": int(round(y))},
                {"type": "pointerDown", "button": 0},
                {"type": "pause", "duration": 30},
                {"type": "pointerUp", "button": 0},
            ]}


def move_to(x, y):
    return {"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
            "actions": [{"type": "pointerMove", "duration": 0, "origin": "viewport",
                         "x": int(round(x)), "y": int(round(y))}]}
