#!/usr/bin/python3
"""Measures the page against fixed targets: size, start against a floor page in Chromium, Firefox and WebKit,
and in Chromium clicks and memory. --quick runs each measure once, briefly, and judges nothing."""
import argparse
import os
import re
import shutil
import statistics
import string
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
from browsers import ENGINES, Server, open_browser, read_texts  # noqa: E402  the browser tests' own

# The time since navigation of the first animation frame that has a playable board (data-ready), from a
# script run before each document's own: put there by the driver, or where it cannot (WebKit), loaded
# first by both pages (watch.js).
WATCH = """(function watch() {
  if (document.documentElement && document.documentElement.dataset.ready === '1') window.playableAt = performance.now();
  else requestAnimationFrame(watch);
})();
"""

# The page's squares, a seeded choice of square that never wins (its box would stop the run), and a click
# that goes through the page's own listener on the board, as a real one does.
SQUARES = """
const squares = Array.from({length: 25}, (_, i) => document.getElementById('cmdSquare' + (i + 1)));
let seed = 2026;
const plus = k => { const r = Math.floor((k - 1) / 5), c = (k - 1) % 5;
  return [[0, 0], [-1, 0], [1, 0], [0, -1], [0, 1]].map(([a, b]) => [r + a, c + b])
    .filter(([a, b]) => a >= 0 && a < 5 && b >= 0 && b < 5).map(([a, b]) => 5 * a + b + 1); };
const wins = k => squares.every((s, i) => (s.dataset.color === 'green') === plus(k).includes(i + 1));
const pick = () => {
  let k;
  do { seed = (seed * 1103515245 + 12345) % 2147483648; k = seed % 25 + 1; } while (wins(k));
  return k;
};
const click = k => squares[k - 1].dispatchEvent(new MouseEvent('click', {bubbles: true}));
"""

# Each click at the start of an animation frame; it is shown once a message posted from that frame runs,
# after the frame's style, layout and paint. On the floor page the same five squares change colour by
# plain script: what the browser alone takes to show the change.
LATENCY = SQUARES + """
const count = arguments[0], floor = arguments[1], times = [];
const channel = new MessageChannel();
const red = 'rgb(255, 0, 0)', green = 'rgb(0, 255, 0)';
const change = k => plus(k).forEach(j => { const s = squares[j - 1].style;
                                           s.backgroundColor = s.backgroundColor === red ? green : red; });
let start;
return new Promise(done => {
  channel.port1.onmessage = () => {
    times.push(performance.now() - start);
    if (times.length < count) requestAnimationFrame(frame); else done(times);
  };
  function frame() { start = performance.now(); floor ? change(seed++ % 25 + 1) : click(pick()); channel.port2.postMessage(0); }
  requestAnimationFrame(frame);
});
"""

# The click alone, from the event through the game and back to the DOM: COUNT clicks timed together,
# as single ones are below the browser's timer resolution.
HANDLER = SQUARES + """
const start = performance.now();
for (let n = 0; n < arguments[0]; n++) click(pick());
return (performance.now() - start) / arguments[0];
"""

# CLICKS clicks with a New Game from the menu after every CLICKS / DEALS, in slices that let timers run.
CHURN = SQUARES + """
const clicks = arguments[0], every = Math.round(clicks / arguments[1]);
const newGame = document.getElementById('mnuNewGame');
let n = 0;
return new Promise(done => (function slice() {
  for (const end = Math.min(n + 500, clicks); n < end; n++) { click(pick()); if ((n + 1) % every === 0) newGame.click(); }
  if (n < clicks) setTimeout(slice); else done(document.getElementById('msgBox').open);
})());
"""


def gzipped(data):
    """Bytes, or the file at a path, as `gzip -9` sends them."""
    if isinstance(data, str):
        with open(data, "rb") as f:
            data = f.read()
    return len(subprocess.run(["gzip", "-9", "-c"], input=data, capture_output=True, check=True).stdout)


def verdict(ok):
    return "met" if ok else "MISSED"


def playable_after(browser, url):
    browser.get("about:blank")
    browser.get(url)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        at = browser.js("return window.playableAt")
        if at is not None:
            return at
        time.sleep(0.02)
    raise RuntimeError(url + " never became playable")


def memory(browser):
    """JS heap in use after a full collection, DOM nodes and listeners, WebAssembly memory and its used extent."""
    browser.cdp("HeapProfiler.collectGarbage")
    heap = browser.cdp("Runtime.getHeapUsage")["usedSize"]
    dom = browser.cdp("Memory.getDOMCounters")
    # The module's exported memory; the highest byte ever written is the heap's extent, as memory
    # the allocator never handed out stays zero.
    size, top = browser.js("""
        const a = new Uint8Array(Object.values(Module.asm).find(v => v instanceof WebAssembly.Memory).buffer);
        let top = a.length;
        while (top && !a[top - 1]) top--;
        return [a.length, top];""")
    return {"heap": heap, "nodes": dom["nodes"], "listeners": dom["jsEventListeners"], "wasm": size, "top": top}


def sizes(site):
    # The page's code: the scripts inside index.html (the module in the game's), any script or WebAssembly
    # file beside it, not the worker.
    with open(os.path.join(site, "index.html"), encoding="utf-8") as index:
        inline = re.findall(r"<script>(.*?)</script>", index.read(), re.S)
    names = sorted(n for n in os.listdir(site) if n.endswith((".js", ".wasm")) and n != "sw.js")
    code = sum(gzipped(os.path.join(site, name)) for name in names) + sum(gzipped(s.encode()) for s in inline)
    names += ["index.html's script"] * len(inline)
    every = sum(gzipped(os.path.join(site, name)) for name in sorted(os.listdir(site)))
    print("%s, gzip -9: %d bytes (%.1f KB); target <= 20 KB: %s"
          % (" + ".join(names), code, code / 1000, verdict(code <= 20000)))
    # The service worker caches every file of the site on the first visit, so that visit loads them all.
    print("whole first visit (every file of the site, each gzip -9): %d bytes (%.1f KB); target <= 60 KB: %s"
          % (every, every / 1000, verdict(every <= 60000)))
    return code <= 20000 and every <= 60000


def start(engine, browser, url, runs):
    if engine == "chromium":
        browser.cdp("Network.enable")
        browser.cdp("Network.setCacheDisabled", cacheDisabled=True)
    if engine != "webkit":
        browser.preload(WATCH)
    suffix = "-watched" if engine == "webkit" else ""
    times = {"page": [], "floor": []}
    for run in range(runs + 1):  # the first pair warms up and is not counted
        for name in (("page", "floor") if run % 2 else ("floor", "page")):
            at = playable_after(browser, url + name + suffix + ".html")
            if run:
                times[name].append(at)
    page, floor = statistics.median(times["page"]), statistics.median(times["floor"])
    print("%s: navigation to playable board, page / floor (medians of %d, no worker): "
          "%.1f ms / %.1f ms = %.2f x; target <= 1.25 x: %s"
          % (engine, runs, page, floor, page / floor, verdict(page <= 1.25 * floor)))
    return page <= 1.25 * floor


def latency(browser, url, count):
    browser.driver.set_script_timeout(180)
    medians = {}
    for name in ("floor", "page"):
        browser.get(url + name + ".html")
        times = sorted(browser.js(LATENCY, count, name == "floor"))
        medians[name] = statistics.median(times)
        print("%s: click to repainted frame, %d clicks: median %.2f ms, 99th percentile %.2f ms, max %.2f ms"
              % (name, count, medians[name], times[int(len(times) * 0.99)], times[-1]))
    print("click to repaint, page median %.2f ms (the floor's own repaint %.2f ms); target < 1 ms: %s"
          % (medians["page"], medians["floor"], verdict(medians["page"] < 1)))
    return medians["page"] < 1


def clicks(browser, url, count, churn_clicks, deals):
    met = latency(browser, url, count)
    mean = browser.js(HANDLER, 5000)
    print("page: click through the game to the DOM, mean of 5000: %.1f us" % (mean * 1000))
    browser.js(CHURN, 1000, 100)  # warm up: lazy allocations are not growth
    before = memory(browser)
    boxed = browser.js(CHURN, churn_clicks, deals)
    after = memory(browser)
    for key, what in (("heap", "JS heap in use"), ("wasm", "WebAssembly memory"), ("top", "WebAssembly memory in use"),
                      ("nodes", "DOM nodes"), ("listeners", "event listeners")):
        print("%s, before / after %d clicks and %d deals: %d / %d (%+d)"
              % (what, churn_clicks, deals, before[key], after[key], after[key] - before[key]))
    flat = all(abs(after[key] - before[key]) <= 65536 for key in ("heap", "wasm", "top"))
    print("memory flat within +-64 KiB: %s" % verdict(flat and not boxed))
    return met and flat and not boxed


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--site", default=os.path.join(ROOT, "build", "web", "site"))
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--engines", default=",".join(ENGINES), help="start measured in these (default: all three)")
    parser.add_argument("--latency-clicks", type=int, default=1000)
    parser.add_argument("--clicks", type=int, default=10000)
    parser.add_argument("--deals", type=int, default=1000)
    parser.add_argument("--quick", action="store_true", help="once each, briefly; a smoke run that judges nothing")
    arguments = parser.parse_args()
    if arguments.quick:
        arguments.runs, arguments.latency_clicks, arguments.clicks, arguments.deals = 1, 20, 200, 20
    texts = read_texts(os.path.join(ROOT, "game", "texts.h"), "")
    scratch = tempfile.mkdtemp(prefix="zarquel-bench-")
    site = os.path.join(scratch, "site")
    shutil.copytree(arguments.site, site)
    # Every run a first visit: no worker to answer from its cache.
    os.remove(os.path.join(site, "sw.js"))
    # The floor beside the page, so both come from the same server with the same stylesheet and banner.
    names = {name: value.replace("&", "") for name, value in texts.items()}
    names["squares"] = "".join('<button id="cmdSquare%d" type="button"></button>' % k for k in range(1, 26))
    with open(os.path.join(ROOT, "bench", "floor.html.in"), encoding="utf-8") as template:
        floor = string.Template(template.read()).substitute(names)
    with open(os.path.join(arguments.site, "index.html"), encoding="utf-8") as index:
        page = index.read()
    # Both under one naming (page.html is index.html), and each again watched from its first script.
    watched = lambda html: html.replace("<head>\n", '<head>\n<script src="watch.js"></script>\n', 1)
    for name, html in (("page", page), ("floor", floor)):
        for suffix, text in (("", html), ("-watched", watched(html))):
            with open(os.path.join(site, name + suffix + ".html"), "w", encoding="utf-8") as out:
                out.write(text)
    with open(os.path.join(site, "watch.js"), "w", encoding="utf-8") as out:
        out.write(WATCH)
    shutil.copy(os.path.join(ROOT, "bench", "floor.css"), site)

    ok = sizes(arguments.site)
    server = Server(os.path.join(ROOT, "web", "serve.py"), site)
    try:
        for engine in arguments.engines.split(","):
            browser = open_browser(engine, os.path.join(scratch, engine))
            try:
                ok = start(engine, browser, server.url, arguments.runs) and ok
                if engine == "chromium":
                    ok = clicks(browser, server.url, arguments.latency_clicks, arguments.clicks, arguments.deals) and ok
            finally:
                browser.quit()
    finally:
        server.stop()
        shutil.rmtree(scratch, ignore_errors=True)
    return 0 if ok or arguments.quick else 1


if __name__ == "__main__":
    sys.exit(main())
