#!/usr/bin/env python3
"""The browser's text metrics against the desktop's.

Runs the text-metrics tool of the desktop build, and the same tool of the web build in headless
Chromium (served on 127.0.0.1), and compares their lines: the same font file and em, and line
heights, widths, mask edges and ink rows within a pixel. Prints PASS, or each difference and
FAIL (exit status 1); 77 when Chromium or a build is missing.

  tests/web/text_metrics.py --native build/default/tools/text-metrics/quibbo-text-metrics \
      --web build/web/tools/text-metrics
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webdriver as wd  # noqa: E402

SKIP = 77
PAGE = """<!doctype html><meta charset="utf-8"><title>text metrics</title>
<script>
var lines = [];
var Module = {
  print: function (line) { lines.push(line); },
  printErr: function (line) { lines.push('stderr ' + line); }
};
window.onerror = function (message) { lines.push('error ' + message); lines.push('END'); };
</script>
<script src="quibbo-text-metrics.js"></script>
"""

# name: value fields of a line, and how far the browser may be off
TOLERANCE = {"em": 0, "line": 1, "bold": 0, "width": 1, "left": 1, "mask": 1, "ink": 1,
             "hard": 1, "hardink": 1}


def browser_lines(tool, chromium, timeout):
    """The web tool's lines, run in headless Chromium from a page of its own beside it."""
    folder = tempfile.mkdtemp(prefix="quibbo-text-metrics-")
    try:
        for name in os.listdir(tool):
            os.symlink(os.path.abspath(os.path.join(tool, name)), os.path.join(folder, name))
        with open(os.path.join(folder, "index.html"), "w", encoding="utf-8") as page:
            page.write(PAGE)
        server = wd.SiteServer(folder)
        browser = None
        try:
            browser = wd.Browser(chromium=chromium)
            browser.open(server.url)
            return wd.wait_for("the metrics", lambda: browser.js(
                "return lines.indexOf('END') >= 0 ? lines : null"), timeout)
        except wd.DriverError:
            return None
        finally:
            if browser:
                browser.close()
            server.close()
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def fields(line):
    """The key of a line (before the colon) and its named numbers after it."""
    text = line.startswith("text")
    key, _, rest = line.partition("]: " if text else ": ")
    key += "]" if text else ""
    values = {}
    words = rest.split()
    for name, value in zip(words[::2], words[1::2]):
        values[name] = [int(n) for n in re.findall(r"-?\d+", value.replace("x", " "))] \
            if name != "file" else value
    return key, values


def compare(native, web):
    problems = []
    web_by_key = dict(fields(line) for line in web if line.startswith(("font", "text")))
    compared = 0
    for line in native:
        if not line.startswith(("font", "text")):
            continue
        key, want = fields(line)
        got = web_by_key.get(key)
        if got is None:
            problems.append("%s: missing in the browser" % key)
            continue
        compared += 1
        for name, value in want.items():
            if name == "file":
                if got.get(name) != value:
                    problems.append("%s: file %s, desktop %s" % (key, got.get(name), value))
                continue
            other = got.get(name)
            limit = TOLERANCE.get(name, 0)
            if other is None or len(other) != len(value) or any(
                    abs(a - b) > limit for a, b in zip(value, other)):
                problems.append("%s: %s %s, desktop %s" % (key, name, other, value))
    return compared, problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--native", required=True, help="the desktop build's text-metrics tool")
    parser.add_argument("--web", required=True, help="the web build's text-metrics folder")
    parser.add_argument("--chromium", default=shutil.which("chromium") or "chromium")
    parser.add_argument("--timeout", type=float, default=60)
    args = parser.parse_args()
    site_js = os.path.join(args.web, "quibbo-text-metrics.js")
    if not shutil.which(args.chromium) or not os.path.exists(site_js):
        print("SKIP: no chromium, or no web build at %s" % site_js)
        return SKIP
    native = subprocess.run([args.native], capture_output=True, text=True, check=False,
                            env=dict(os.environ, SDL_VIDEODRIVER="dummy")).stdout.splitlines()
    web = browser_lines(args.web, args.chromium, args.timeout)
    if web is None:
        print("FAIL: the browser gave no metrics within %d s" % args.timeout)
        return 1
    if "END" not in native or "END" not in web:
        print("\n".join(line for line in web if line.startswith(("error", "stderr"))))
        print("FAIL: a tool stopped before its end")
        return 1
    compared, problems = compare(native, web)
    for problem in problems:
        print(problem)
    print("%d lines compared, %d differences" % (compared, len(problems)))
    print("FAIL" if problems or compared == 0 else "PASS")
    return 1 if problems or compared == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
