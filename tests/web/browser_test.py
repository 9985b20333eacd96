#!/usr/bin/env python3
"""The web build played in Debian's headless Chromium, through chromedriver.

Serves the site folder on 127.0.0.1 and opens the page; waits for the title screen, compares
its menu pictures pixel for pixel with the desktop build's frame of the same screen, clicks
Start and plays a few seconds with moves, a hurry and turns; pauses, answers Escape with N and
then with Y, binds Left to J on the controls screen and quits from the title screen with Y.
The state lines of logs/GameLog.txt and the saved quibbo.ini must be the desktop's for the
same session (tests/web/desktop-session.replay, played by quibbo-replay). Then it reloads the
page: quibbo.ini comes back from the browser's storage, and the next game's get-ready logs the
bound key. Prints PASS, or FAIL and why; screenshots of the page land in --out.

  browser_test.py --site build/web/site --replay QUIBBO_REPLAY --game DESKTOP_GAME_FOLDER
                  [--out DIR]
"""

import argparse
import base64
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pictures  # noqa: E402
import webdriver as wd  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
# Generous for a loaded machine with two cores: a wait ends as soon as what it waits for holds.
LOAD_LIMIT = 120
STEP_LIMIT = 30

MENU_PICTURES = ["menu/menu_start.bmp", "menu/menu_options.bmp", "menu/menu_custom.bmp",
                 "menu/menu_quit.bmp"]
PICTURE_KEY = (228, 103, 101)


class Failure(Exception):
    pass


def state_lines(log):
    """The states the game set, in order, from its log's "State set: N" lines."""
    return [int(n) for n in re.findall(r"State set: (\d+)", log or "")]


def desktop_session(replay, game, work):
    """Plays the session on the desktop build: its title frame, log and settings file."""
    folder = os.path.join(work, "desktop")
    shutil.copytree(game, folder, symlinks=False)
    for name in ("logs", "quibbo.ini", "window.txt"):
        path = os.path.join(folder, name)
        if os.path.isdir(path):
            shutil.rmtree(path)
        elif os.path.exists(path):
            os.remove(path)
    out = os.path.join(work, "desktop-out")
    os.mkdir(out)
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", QUIBBO_RECORD="0")
    script = os.path.join(HERE, "desktop-session.replay")
    run = subprocess.run([replay, script, "--game", folder, "--out", out], env=env,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
    if run.returncode != 0:
        raise Failure("the desktop session failed: %s" % run.stdout.decode(errors="replace"))
    with open(os.path.join(folder, "logs", "GameLog.txt"), errors="replace") as f:
        log = f.read()
    with open(os.path.join(folder, "quibbo.ini"), "rb") as f:
        ini = f.read()
    return pictures.read_bmp(os.path.join(out, "title.bmp")), log, ini, folder


class Page:
    def __init__(self, browser, url):
        self.b = browser
        self.url = url

    def log(self):
        return self.b.js("return Quibbo.readText('logs/GameLog.txt')") or ""

    def states(self):
        return state_lines(self.log())

    def wait_states(self, expected, what, limit=STEP_LIMIT):
        """Waits until the log's state lines end with `expected` (a list)."""
        try:
            wd.wait_for(what, lambda: self.states()[-len(expected):] == expected, limit)
        except wd.DriverError:
            raise Failure("%s: the log's states are %s, expected them to end with %s" %
                          (what, self.states(), expected)) from None

    def wait_running(self):
        try:
            wd.wait_for("the page to start the game", lambda: self.b.js(
                "return !!window.Quibbo && Quibbo.status === 'running' && Quibbo.framesShown > 0"),
                LOAD_LIMIT, 0.25)
        except wd.DriverError:
            raise Failure("the game did not start: status %s" % self.b.js(
                "return window.Quibbo ? Quibbo.status : 'no Quibbo object'")) from None

    def browser_frames(self, n):
        """Lets n of the browser's animation frames go by: the game's loop has run then, however
        loaded the machine is."""
        self.b.js_async("const done = arguments[arguments.length - 1]; let k = 0;"
                        "const f = () => (++k >= arguments[0] ? done(k) : requestAnimationFrame(f));"
                        "requestAnimationFrame(f);", n)

    def canvas(self):
        """The canvas's pixels, the mode's own: a Picture."""
        width, height, data = self.b.js(
            "const c = document.getElementById('screen');"
            "const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
            "let s = ''; for (let i = 0; i < d.length; i += 0x8000)"
            "  s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));"
            "return [c.width, c.height, btoa(s)];")
        return pictures.Picture.from_rgba(width, height, base64.b64decode(data))

    def to_client(self, x, y):
        """The viewport's CSS pixel at the middle of mode pixel (x, y)."""
        left, top, w, h, cw, ch = self.b.js(
            "const c = document.getElementById('screen'); const r = c.getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height, c.width, c.height];")
        return left + (x + 0.5) * w / cw, top + (y + 0.5) * h / ch

    def click(self, x, y):
        self.b.actions([wd.click_at(*self.to_client(x, y))])

    def keys(self, *steps):
        self.b.actions([wd.keys(*steps)])

    def press(self, key, hold=120):
        self.keys(("down", key), ("wait", hold), ("up", key))


def compare_menu_pictures(frame, desktop, game_folder):
    """Every pixel the four main-menu pictures draw, at their places on a 640x480 title screen,
    must be the desktop's. The text (the bouncing title) and what moves behind the pictures
    (the title, the clouds) are not compared. Returns the number of pixels compared."""
    if (frame.width, frame.height) != (640, 480):
        raise Failure("the canvas is %dx%d, not 640x480" % (frame.width, frame.height))
    compared = 0
    for k, name in enumerate(MENU_PICTURES):
        sprite = pictures.read_bmp(os.path.join(game_folder, name))
        left, top = 640 // 2 - 112, 480 // 2 - 80 + 44 * k
        mask = pictures.opaque_mask(sprite, PICTURE_KEY)
        if len(mask) < sprite.width * sprite.height // 4:
            raise Failure("%s: too few of its pixels drawn to compare (%d)" % (name, len(mask)))
        # The mask must be what the desktop drew, or the comparison would look at the sky.
        widened = [(x, y) for x, y in mask if desktop.pixel(left + x, top + y) !=
                   tuple((c >> 3 << 3 | c >> 5) if i != 1 else (c >> 2 << 2 | c >> 6)
                         for i, c in enumerate(sprite.pixel(x, y)))]
        if widened:
            raise Failure("%s: the desktop frame is not the picture at %s" % (name, widened[:3]))
        wrong = [(left + x, top + y) for x, y in mask
                 if frame.pixel(left + x, top + y) != desktop.pixel(left + x, top + y)]
        if wrong:
            x, y = wrong[0]
            raise Failure("%s: %d of its %d pixels differ from the desktop's, the first at "
                          "(%d, %d): %s in the browser, %s on the desktop" %
                          (name, len(wrong), len(mask), x, y, frame.pixel(x, y),
                           desktop.pixel(x, y)))
        compared += len(mask)
    return compared


def play_session(page, out, desktop_title, desktop_folder):
    b = page.b
    page.wait_running()
    page.wait_states([1], "the title screen", LOAD_LIMIT)
    page.browser_frames(5)
    frame = page.canvas()
    pictures.write_png(os.path.join(out, "title-canvas.png"), frame)
    compared = compare_menu_pictures(frame, desktop_title, desktop_folder)
    print("the title screen's menu pictures: %d pixels as the desktop's" % compared)
    b.screenshot(os.path.join(out, "title.png"))

    page.click(320, 180)  # Start
    page.wait_states([1, 3], "Start: get ready")
    page.wait_states([1, 3, 4], "play after the get-ready", STEP_LIMIT)
    # A few seconds of play: moves, a hurry, turns both ways.
    page.keys(("down", "LEFT"), ("wait", 100), ("up", "LEFT"), ("wait", 200),
              ("down", "RIGHT"), ("wait", 100), ("up", "RIGHT"), ("wait", 400),
              ("down", "DOWN"), ("wait", 600), ("up", "DOWN"), ("wait", 200),
              ("down", "a"), ("wait", 100), ("up", "a"), ("wait", 300),
              ("down", "d"), ("wait", 100), ("up", "d"), ("wait", 300),
              ("down", "LEFT"), ("wait", 300), ("up", "LEFT"), ("wait", 300),
              ("down", "DOWN"), ("wait", 500), ("up", "DOWN"), ("wait", 300),
              ("down", "a"), ("wait", 100), ("up", "a"), ("wait", 300))
    page.browser_frames(3)
    b.screenshot(os.path.join(out, "play.png"))
    if page.states()[-1] != 4:
        raise Failure("play ended in the first seconds: states %s" % page.states())

    page.press("PAUSE")
    page.browser_frames(20)
    page.press("ESCAPE")
    page.wait_states([4, 7], "Escape in the pause: the quit question")
    page.browser_frames(5)
    b.screenshot(os.path.join(out, "quit-question.png"))
    page.press("n")
    page.browser_frames(20)
    # Answered N, the game is back in the pause: Escape asks again (from the question itself
    # it would not).
    page.press("ESCAPE")
    page.wait_states([4, 7, 7], "Escape after N: the quit question again")
    page.browser_frames(5)
    page.press("y")
    page.wait_states([7, 7, 1], "Y: the title screen")

    page.browser_frames(5)
    page.click(300, 214)  # Options
    page.wait_states([1, 2], "Options")
    page.browser_frames(5)
    page.click(300, 170)  # Controls
    page.wait_states([2, 8], "Controls")
    page.browser_frames(5)
    page.click(300, 40)  # the Left row
    page.browser_frames(10)
    page.press("j")
    page.browser_frames(10)
    b.screenshot(os.path.join(out, "controls.png"))
    page.click(590, 450)  # OK
    page.wait_states([8, 2], "OK: the options page")
    page.browser_frames(5)
    page.click(590, 450)  # OK
    page.wait_states([2, 1], "OK: the title screen")
    page.browser_frames(5)
    page.press("ESCAPE")
    page.wait_states([1, 7], "Escape on the title screen")
    page.browser_frames(5)
    page.press("y")
    try:
        wd.wait_for("the game to end", lambda: b.js("return Quibbo.status") == "ended",
                    STEP_LIMIT)
    except wd.DriverError:
        raise Failure("Y on the title screen did not end the game: status %s, states %s" %
                      (b.js("return Quibbo.status"), page.states())) from None
    if not b.js("const e = document.getElementById('ended'); return !!e && !e.hidden &&"
                " getComputedStyle(e).display !== 'none'"):
        raise Failure("the game ended without the page that offers another game (#ended)")
    b.screenshot(os.path.join(out, "ended.png"))


def page_errors(console):
    """The console's errors, but for a missing favicon, which no page of ours asks for."""
    return [m for level, m in console if level == "SEVERE" and "favicon.ico" not in m]


def write_console(out, console):
    with open(os.path.join(out, "console.txt"), "a") as f:
        for level, message in console:
            f.write("%s %s\n" % (level, message))


def read_ini(b):
    data = b.js("const b = Quibbo.readBytes('quibbo.ini'); return b ? Array.from(b) : null")
    return bytes(data) if data is not None else None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--site", required=True)
    parser.add_argument("--replay", required=True, help="the desktop build's quibbo-replay")
    parser.add_argument("--game", required=True, help="the desktop build's game folder")
    parser.add_argument("--out", default=None, help="screenshots and logs (kept)")
    args = parser.parse_args()
    for name in ("index.html", "quibbo.js", "quibbo.wasm", "quibbo.data"):
        if not os.path.isfile(os.path.join(args.site, name)):
            print("FAIL: the site folder %s has no %s" % (args.site, name))
            return 1
    work = tempfile.mkdtemp(prefix="quibbo-web-test.")
    out = args.out or work
    os.makedirs(out, exist_ok=True)
    started = time.monotonic()
    server = browser = None
    try:
        desktop_title, desktop_log, desktop_ini, desktop_folder = desktop_session(
            args.replay, os.path.abspath(args.game), work)
        server = wd.SiteServer(os.path.abspath(args.site))
        browser = wd.Browser(log_path=os.path.join(out, "chromedriver.log"))
        page = Page(browser, server.url)
        browser.open(server.url)
        try:
            play_session(page, out, desktop_title, desktop_folder)
        finally:
            log = page.log()
            with open(os.path.join(out, "GameLog.txt"), "w") as f:
                f.write(log)
            console = browser.console()
            write_console(out, console)
        errors = page_errors(console)
        if errors:
            raise Failure("the page reported errors: %s" % errors[:3])
        if state_lines(log) != state_lines(desktop_log):
            raise Failure("the log's states %s are not the desktop's %s" %
                          (state_lines(log), state_lines(desktop_log)))
        print("the log's states as the desktop's: %s" % state_lines(log))
        browser.js_async("const done = arguments[arguments.length - 1];"
                         "Quibbo.saved().then(() => done(true), e => done(String(e)));")
        ini = read_ini(browser)
        if ini != desktop_ini:
            raise Failure("quibbo.ini is %s, the desktop's %s" %
                          (ini.hex() if ini else None, desktop_ini.hex()))

        # A reload: the settings come back from the browser's storage before the game starts.
        browser.reload()
        page.wait_running()
        ini = read_ini(browser)
        if ini != desktop_ini:
            raise Failure("after a reload quibbo.ini is %s, not the one saved, %s" %
                          (ini.hex() if ini else None, desktop_ini.hex()))
        page.wait_states([1], "the title screen after the reload", LOAD_LIMIT)
        page.browser_frames(5)
        page.click(320, 180)
        page.wait_states([1, 3], "Start after the reload")
        if "left 74 right 39" not in page.log():
            raise Failure("after the reload the game does not play with Left on J: %s" %
                          [l for l in page.log().splitlines() if "left " in l])
        print("after a reload quibbo.ini is kept and the game plays with Left on J")
        console = browser.console()
        write_console(out, console)
        if page_errors(console):
            raise Failure("the page reported errors after the reload: %s" % page_errors(console)[:3])
    except (Failure, wd.DriverError, OSError, subprocess.SubprocessError) as e:
        print("FAIL: %s" % e)
        if browser:
            try:
                browser.screenshot(os.path.join(out, "failed.png"))
                print("the page at the failure: %s" % os.path.join(out, "failed.png"))
            except (wd.DriverError, OSError):
                pass
        return 1
    finally:
        if browser:
            browser.close()
        if server:
            server.close()
        shutil.rmtree(os.path.join(work, "desktop"), ignore_errors=True)
        if out != work:
            shutil.rmtree(work, ignore_errors=True)
    print("browser session %.0f s; screenshots in %s" % (time.monotonic() - started, out))
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
