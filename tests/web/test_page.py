#!/usr/bin/python3
"""The page played in a browser (--engine chromium, firefox or webkit), served by web/serve.py over loopback:
one player's session, offline and a new build included. What only Chromium can show (touch emulation, the
accessibility tree, installability) is looked at in Chromium alone."""
import argparse, io, os, random, re, shutil, subprocess, sys, tempfile, time, traceback, urllib.request

from PIL import Image
from selenium.webdriver import Keys

from browsers import ENGINES, HERE, Server, open_browser, read_texts, rewrite_worker

CTRL, RED, PIXELS = Keys.CONTROL, ["red"] * 25, {(255, 0, 0): "red", (0, 255, 0): "green"}
TRANSCRIPT = None  # the Linux rules' transcript program (main sets it)
SOURCE = os.path.dirname(os.path.dirname(HERE))


def switched(colors, square):
    """The board after a click: the square and its neighbours up, down, left and right change colour."""
    near = lambda k: abs(k - square) in (0, 5) or abs(k - square) == 1 and (k - 1) // 5 == (square - 1) // 5
    return [{"red": "green", "green": "red"}[c] if near(k) else c for k, c in enumerate(colors, 1)]


def solve(colors):
    """The fewest clicks (so no earlier part of them wins already) turning the board all red, or None."""
    found = []
    for top in range(32):  # each choice of clicks on the top row, chased down the rows
        board, clicks = colors, []
        for square in range(1, 26):
            if (top >> square - 1 & 1) if square <= 5 else board[square - 6] == "green":
                board, clicks = switched(board, square), clicks + [square]
        found += [clicks] if board == RED else []
    return min(found, key=len, default=None)


def chromium_only(test):
    test.chromium_only = True
    return test


class Session:
    """One browser with a fresh profile, and what the player sees and does in it."""

    def __init__(self, engine, server, site, serve, profile):
        self.engine, self.server, self.url, self.site, self.serve = engine, server, server.url, site, serve
        self.browser = open_browser(engine, profile)

    def cdp(self, command, **parameters): return self.browser.cdp(command, **parameters)

    def js(self, script, *arguments): return self.browser.js(script, *arguments)

    def load(self, reload=False, url=None):
        self.browser.reload() if reload else self.browser.get((url or self.url) + "?test")
        # Ready, and the start's focus placed (it follows the first frame).
        self.wait(lambda: self.js("return document.documentElement.dataset.ready === '1' && "
                                  "document.activeElement !== document.body"), "the page never got ready")

    def wait(self, condition, message, seconds=5.0):
        end = time.monotonic() + seconds
        while not condition():
            assert time.monotonic() < end, message
            time.sleep(0.05)

    def state(self):
        return self.js("""const $ = id => document.getElementById(id);
            return {colors: Array.from({length: 25}, (_, i) => $('cmdSquare' + (i + 1)).dataset.color),
                    running: zarquelTest.clockRunning(), time: $('lblTime').textContent, box: $('msgBox').open,
                    focus: document.activeElement && document.activeElement.id,
                    title: $('msgTitle').textContent, text: $('msgText').textContent};""")

    def frames(self):
        """Two frames on: whatever the page was asked to draw is drawn."""
        self.js("return new Promise(drawn => requestAnimationFrame(() => requestAnimationFrame(drawn)))")

    def rect(self, id):
        return self.js("const r = document.getElementById(arguments[0]).getBoundingClientRect();"
                       "return [r.left, r.top, r.right, r.bottom];", id)

    def box_placed(self):
        """The open box at its designed width, over the board and centred on it, below the title and the time,
        whole in the viewport."""
        box, board, time_ = self.rect("msgBox"), self.rect("board"), self.rect("lblTime")
        width, height = self.js("return [innerWidth, innerHeight]")
        assert abs(box[2] - box[0] - 244) < 0.5, box
        assert box[1] >= time_[3] and abs(box[0] + box[2] - board[0] - board[2]) <= 2, (box, board, time_)
        assert box[0] >= 0 and box[2] <= width and box[3] <= height, (box, width, height)

    def board(self):
        """The squares' colours, each checked exactly red or green on screen where no box covers it."""
        centres, box, ratio = self.js("""const r = e => e.getBoundingClientRect(), box = document.getElementById('msgBox');
            return [Array.from({length: 25}, (_, i) => r(document.getElementById('cmdSquare' + (i + 1))))
                         .map(s => [s.x + s.width / 2, s.y + s.height / 2]),
                    box.open ? [r(box).left, r(box).top, r(box).right, r(box).bottom] : null, devicePixelRatio];""")
        self.frames()
        shot, colors = Image.open(io.BytesIO(self.browser.screenshot())).convert("RGB"), self.state()["colors"]
        for (x, y), color in zip(centres, colors):
            if not (box and box[0] <= x <= box[2] and box[1] <= y <= box[3]):
                pixel = shot.getpixel((int(x * ratio), int(y * ratio)))
                assert PIXELS.get(pixel) == color, "a %s square shows %s" % (color, pixel)
        return colors

    def click(self, square):
        self.browser.click(square if isinstance(square, str) else "cmdSquare%d" % square)

    def keys(self, *keys, hold=None):
        """Keys pressed on whatever has the focus, with Ctrl or Shift held."""
        self.browser.keys([(hold, keys)])

    def press(self, *points):
        """A press and release of the left button at each point, one after another."""
        self.browser.mouse([step for x, y in points for step in (("down", x, y), ("up", x, y))])

    def axe(self, moment):
        """axe-core's violations of the page as it is, by rule and impact."""
        if not self.js("return !!window.axe"):
            with open(os.path.join(SOURCE, "node_modules", "axe-core", "axe.min.js"), encoding="utf-8") as script:
                self.js(script.read())
        found = self.js("return axe.run(document).then(r => r.violations.map(v => v.id + ' (' + v.impact + '): ' +"
                        " v.nodes.map(n => n.target.join(' ')).join(', ')))")
        assert not found, "axe-core with %s: %s" % (moment, found)


def test_server_sends_the_policy_and_types(page, texts):
    policy = page.js("return document.querySelector('meta[http-equiv=Content-Security-Policy]').content")
    # What a static host sends with the page: its own files and WebAssembly, inline only scripts by their hash.
    directives = {d.split()[0]: d.split()[1:] for d in policy.split(";") if d.strip()}
    assert {"default-src", "object-src", "base-uri"} <= directives.keys(), policy
    assert directives["object-src"] == directives["base-uri"] == ["'none'"], policy
    assert all({w for w in v if w[:8] != "'sha256-"} <= {"'self'", "'none'", "'wasm-unsafe-eval'"} for v in directives.values()), policy
    for name, kind in (("", "text/html"), ("sw.js", "text/javascript"),
                       ("manifest.webmanifest", "application/manifest+json")):
        with urllib.request.urlopen(page.url + name) as answer:
            # The header adds what a meta tag cannot carry: no framing by another site.
            assert answer.headers["Content-Security-Policy"] == policy + "; frame-ancestors 'none'", name
            assert answer.headers.get_content_type() == kind, (name, answer.headers["Content-Type"])
            # The module inside the page is a string of UTF-8 characters: read any other way, it breaks.
            assert name.endswith("webmanifest") or answer.headers.get_content_charset() == "utf-8", name


def test_board_is_exactly_red_and_green_and_a_click_switches_its_plus(page, texts):
    assert page.js("return document.title") == texts["AppTitle"] and page.state()["time"] == "0"
    assert page.js("const r = document.getElementById('frmZarquel').getBoundingClientRect();"
                   "return [r.width, r.height, Math.round(r.left * 2 + r.width) === innerWidth]") == [264, 394, True]
    if os.environ.get("ZARQUEL_SCREENSHOT"):  # the README's picture: the menu bar and the client area
        box = page.js("const m = document.getElementById('menubar').getBoundingClientRect(), "
                      "f = document.getElementById('frmZarquel').getBoundingClientRect(); "
                      "return [m.left, m.top, f.right, f.bottom].map(v => Math.round(v * devicePixelRatio));")
        Image.open(io.BytesIO(page.browser.screenshot())).crop(box).save(os.environ["ZARQUEL_SCREENSHOT"])
    # Every label's text whole in its box, whatever face this engine draws it in, once the fonts are in.
    page.wait(lambda: page.js("return document.readyState === 'complete' && document.fonts.status === 'loaded'"),
              "the page never finished loading")
    page.frames()
    assert page.state()["focus"] == "cmdTakeFocus", "the page starts with the focus elsewhere"
    cut = page.js("return Array.from(document.querySelectorAll('.label')).filter(l => l.scrollWidth > l.clientWidth)"
                  ".map(l => l.id + ' ' + l.scrollWidth + ' > ' + l.clientWidth)")
    assert not cut, cut
    page.axe("the page at start")
    for square in (13, 1, 25, 5):
        before, scrolled = page.board(), page.js("return [scrollX, scrollY]")
        page.click(square)
        assert page.board() == switched(before, square), "square %d switched another shape" % square
        assert page.state()["focus"] == "cmdTakeFocus" and page.js("return [scrollX, scrollY]") == scrolled


def test_clock_starts_ticks_pauses_resumes_and_a_new_game_zeroes_it(page, texts):
    page.load()
    assert not page.state()["running"]
    # The real timer: clicks every 0.3 s must not restart its second, so "1" still comes in time.
    end = time.monotonic() + 2.5
    while page.state()["time"] == "0" and time.monotonic() < end:
        page.click(7)
        time.sleep(0.3)
    assert page.state()["time"] == "1", "no tick 2.5 s after the first click"
    for keys, hold in (((Keys.ESCAPE,), None), (("p",), CTRL), ((Keys.F10, Keys.ESCAPE), None)):
        page.keys(*keys, hold=hold)
        assert not page.state()["running"], "%r did not pause" % (keys,)
        page.click(19)
        assert page.state()["running"], "a click did not resume after %r" % (keys,)
    # A busy or throttled page: the count still catches up on every second that went by.
    shown = int(page.state()["time"])
    page.js("for (const end = performance.now() + 3000; performance.now() < end;);")
    page.wait(lambda: int(page.state()["time"]) >= shown + 3, "the clock lost seconds to a busy page", 1.5)
    # A new game, by either key or the menu, stops the clock at zero.
    assert "F2" in page.js("return document.querySelector('#mnuNewGame .shortcut').textContent")
    for deal in (lambda: page.keys("n", hold=CTRL), lambda: page.keys(Keys.F2),
                 lambda: (page.click("mnuFile"), page.click("mnuNewGame"))):
        page.click(3)
        page.js("zarquelTest.tick(); zarquelTest.tick();")
        assert int(page.state()["time"]) >= 2
        deal()
        state = page.state()
        assert state["time"] == "0" and not state["running"]
        page.board()


def test_a_deal_is_seeded_by_the_time_of_day_as_on_linux(page, texts):
    # The page's clock held at 12:34:56.5: a new game deals what the Linux rules deal for that moment.
    lines = subprocess.run([TRANSCRIPT], capture_output=True, text=True, check=True).stdout.splitlines()
    deals = [[{"255": "red", "65280": "green"}[line.split()[2]] for line in lines[i:i + 25]]
             for i in range(len(lines) - 24) if all(lines[i + k].startswith("write %d " % (k + 1)) for k in range(25))]
    page.js("const Real = Date, at = new Real(2026, 11, 9, 12, 34, 56, 500).getTime();"
            "window.Date = class extends Real { constructor(...a) { super(...(a.length ? a : [at])); } };"
            "window.Date.real = Real;")
    try:
        page.keys(Keys.F2)
        assert page.board() == deals[3], "not the deal for 12:34:56.5"
    finally:
        page.js("window.Date = window.Date.real;")


def test_boxes_show_exact_texts_while_the_clock_runs(page, texts):
    page.click(12)
    for opener, name, closer in (("i", "Instructions", Keys.ENTER), ("a", "About", Keys.ESCAPE),
                                 (None, "Instructions", Keys.SPACE)):
        page.keys(opener, hold=CTRL) if opener else (page.click("mnuHelp"), page.click("mnuInstructions"))
        state = page.state()
        assert state["box"] and state["title"] == texts[name + "Title"], state["title"]
        page.box_placed()
        assert state["text"].replace("\r\n", "\n") == texts[name].replace("\r\n", "\n"), state["text"]
        assert page.js("return getComputedStyle(document.getElementById('msgText')).whiteSpace") == "pre-wrap"
        page.wait(lambda: page.state()["time"] != state["time"], "the clock stopped behind " + name, 2.5)
        # A stray click outside the box reaches nothing, and the keys still close it.
        x, y = page.js("const box = document.getElementById('msgBox').getBoundingClientRect(), o = Array.from("
                       "document.querySelectorAll('#board button')).reverse().map(b => b.getBoundingClientRect())"
                       ".find(r => r.top > box.bottom || r.bottom < box.top);"
                       "return o ? [o.x + 20, o.y + 20] : [2, innerHeight - 2]")
        page.press((x, y))
        assert page.state()["colors"] == state["colors"] and page.state()["box"]
        if name == "About":  # the window narrowed and shortened under the open box: it moves to stay whole
            page.browser.viewport(300, 400)
            page.wait(lambda: page.js("return innerWidth") < 500, "the window did not narrow")
            box, (width, height) = page.rect("msgBox"), page.js("return [innerWidth, innerHeight]")
            page.browser.viewport(800, 800)
            assert box[0] >= 0 and box[1] >= 0 and box[2] <= width and box[3] <= height, (box, width, height)
        ring = lambda: page.js("return getComputedStyle(document.getElementById('msgOK')).outlineStyle")
        if opener is None:  # opened with the mouse: no focus ring on OK, whatever the engine's habit
            assert ring() == "none"
            page.axe("a box open")
        else:  # opened by a key, a Ctrl chord too: a ring in every engine
            assert ring() != "none", "no focus ring on OK of a box opened by Ctrl+" + opener
        # Modal: Tab and Shift+Tab keep the focus on OK, which then shows it, and the keys still close the box.
        page.keys(Keys.TAB)
        page.keys(Keys.TAB, hold=Keys.SHIFT)
        assert page.state()["focus"] == "msgOK" and page.state()["box"], "Tab left the open %s box" % name
        assert ring() != "none", "no focus ring on OK after Tab"
        # The very next key reaches the game again: Tab from the sink to the square played last.
        page.keys(closer, Keys.TAB)
        state = page.state()
        assert not state["box"] and state["running"], "%s: open %s, running %s" % (name, state["box"], state["running"])
        assert state["focus"] == "cmdSquare12", "Tab right after %s closed went to %s" % (name, state["focus"])
        page.click(12)
    # Only a box a pointer press on the board opened is deaf to the rest of that double click: one
    # opened by a key or from the menu takes a click on OK at once.
    for open_box in (lambda: page.keys("i", hold=CTRL), lambda: (page.click("mnuHelp"), page.click("mnuAbout"))):
        open_box()
        assert page.state()["box"]
        page.click("msgOK")
        assert not page.state()["box"], "a click on OK of a box not opened on the board was ignored"
    # A box opened right after another closed stays open once the first one's closing has run its course.
    page.keys("i", hold=CTRL)
    page.browser.keys([(None, (Keys.ENTER,)), (CTRL, ("a",))])
    page.frames()
    assert page.state()["box"] and page.state()["title"] == texts["AboutTitle"], "About closed itself"
    page.keys(Keys.ESCAPE)


def test_win_shows_the_red_board_behind_the_box_then_deals(page, texts):
    clicks = next(filter(None, (page.keys(Keys.F2) or solve(page.board()) for _ in range(40))), None)
    assert clicks, "40 deals and none solvable"
    for square in clicks[:-1]:
        page.click(square)
    page.js("zarquelTest.tick(); zarquelTest.tick(); zarquelTest.tick();")
    before = int(page.state()["time"])
    page.click(clicks[-1])
    state = page.state()
    assert state["box"] and state["title"] == texts["AppTitle"] and state["text"] == texts["WinMessage"]
    assert not state["running"] and before <= int(state["time"]) <= before + 1 and page.board() == RED
    page.box_placed()
    ok, squares = page.rect("msgOK"), [page.rect("cmdSquare%d" % k) for k in range(1, 26)]
    # Past the double-click time since the press that opened it, a click on OK counts (the rest of that
    # double click is ignored: the burst below).
    time.sleep(0.5)
    page.click("msgOK")
    page.wait(lambda: not page.state()["box"] and page.state()["time"] == "0", "no deal after OK")
    assert not page.state()["running"] and page.board() != RED
    # A double click whose first click wins, where OK appears: the congratulation stays to be read.
    overlap = lambda s: (max(0, min(ok[2], s[2]) - max(ok[0], s[0])) * max(0, min(ok[3], s[3]) - max(ok[1], s[1])), s)
    area, under = max(overlap(s) for s in squares)
    assert area > 0, "OK lies over no square"
    target = squares.index(under) + 1
    x, y = (max(ok[0], under[0]) + min(ok[2], under[2])) / 2, (max(ok[1], under[1]) + min(ok[3], under[3])) / 2
    for _ in range(100):
        page.keys(Keys.F2)
        if target in (solution := solve(page.board()) or []):
            break
    assert target in solution, "no deal solved through square %d" % target
    for square in solution:
        square != target and page.click(square)
    page.press((x, y), (x, y))
    state = page.state()
    assert state["box"] and state["text"] == texts["WinMessage"], "the double click on square %d closed the win" % target
    page.keys(Keys.ENTER)  # a key acts at once
    page.wait(lambda: not page.state()["box"] and page.state()["time"] == "0", "no deal after Enter")


def test_keyboard_plays_in_two_dimensions(page, texts):
    page.click(13)
    page.keys(Keys.TAB)
    # Up to the top edge, left to the corner, down to the bottom, right to the far corner.
    for key, square in zip([None] + [Keys.UP] * 3 + [Keys.LEFT] * 3 + [Keys.DOWN] * 5 + [Keys.RIGHT] * 5,
                           (13, 8, 3, 3, 2, 1, 1, 6, 11, 16, 21, 21, 22, 23, 24, 25, 25)):
        page.keys(*filter(None, [key]))
        assert page.state()["focus"] == "cmdSquare%d" % square, (key, square, page.state()["focus"])
    for key, square in ((Keys.SPACE, 25), (Keys.ENTER, 24)):
        before = page.board()
        page.keys(key)
        assert page.board() == switched(before, square) and page.state()["focus"] == "cmdTakeFocus", (key, square)
        page.keys(Keys.TAB, hold=Keys.SHIFT)
        assert page.state()["focus"] == "cmdSquare%d" % square
        page.keys(Keys.LEFT)
    # Back to the focus button from square 1, and an arrow from there to the square played last: the
    # game area never scrolls to show the hidden button.
    page.click(1)
    page.keys(Keys.TAB)
    page.keys(Keys.TAB, hold=Keys.SHIFT)
    assert page.state()["focus"] == "cmdTakeFocus" and page.js("return document.getElementById('frmZarquel').scrollLeft") == 0
    page.keys(Keys.DOWN)
    assert page.state()["focus"] == "cmdSquare1"
    page.keys(Keys.ESCAPE)


def test_a_click_while_a_menu_is_open_only_closes_it(page, texts):
    page.keys(Keys.F2)
    for menu, focus in (("mnuFile", "cmdTakeFocus"), ("mnuHelp", "cmdSquare7")):
        page.js("document.getElementById(arguments[0]).focus()", focus)
        page.click(menu)
        if menu == "mnuHelp":
            page.axe("a menu open")
        before = page.state()
        page.click(13)
        state = page.state()
        assert page.js("return document.getElementById(arguments[0] + 'Menu').hidden", menu), menu + " stayed open"
        assert state["colors"] == before["colors"] and not state["running"], "a click that closed %s played" % menu
        # The bar at rest and the keyboard back where it was: Space opens nothing, a key plays the board.
        assert state["focus"] == focus, "%s kept the focus: %s" % (menu, state["focus"])
        page.keys(Keys.SPACE)
        assert page.js("return document.getElementById(arguments[0] + 'Menu').hidden", menu), "Space opened " + menu


@chromium_only
def test_screen_readers_hear_squares_and_boxes_and_the_app_installs(page, texts):
    value = lambda node, field: node.get(field, {}).get("value")
    tree = lambda role: [n for n in page.cdp("Accessibility.getFullAXTree")["nodes"] if value(n, "role") == role]
    buttons = {value(n, "name"): value(n, "description") for n in tree("button")}
    for square, color in enumerate(page.state()["colors"], 1):
        name = "Square %d, row %d, column %d" % (square, (square - 1) // 5 + 1, (square - 1) % 5 + 1)
        assert buttons.get(name) == color, (name, buttons.get(name))
    page.keys("a", hold=CTRL)
    dialogs = [value(n, "name") for n in tree("dialog")]
    page.keys(Keys.ESCAPE)
    assert dialogs == [texts["AboutTitle"]], dialogs
    assert page.cdp("Page.getInstallabilityErrors")["installabilityErrors"] == []


@chromium_only
def test_touch_viewport_taps_at_once_and_never_scrolls_sideways(page, texts):
    try:
        page.cdp("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=1)
        for width in (360, 320):
            page.cdp("Emulation.setDeviceMetricsOverride", width=width, height=640, deviceScaleFactor=2, mobile=True)
            page.load()
            before = page.board()
            # When the finger lifts, and when square 9 changes colour, by the page's clock.
            x, y = page.js("""const s = document.getElementById('cmdSquare9'), r = s.getBoundingClientRect();
                document.addEventListener('touchend', () => window.lifted = performance.now(), {once: true});
                new MutationObserver((_, o) => { window.played = performance.now(); o.disconnect(); })
                    .observe(s, {attributes: true, attributeFilter: ['data-color']});
                return [r.x + r.width / 2, r.y + r.height / 2];""")
            for kind, points in (("touchStart", [{"x": x, "y": y}]), ("touchEnd", [])):
                page.cdp("Input.dispatchTouchEvent", type=kind, touchPoints=points)
            page.wait(lambda: page.state()["colors"] == switched(before, 9), "a tap did not play at %d" % width)
            assert page.board() == switched(before, 9)
            # At once: far inside the 300 ms a page that waits for a double tap would take.
            late, wide = page.js("return [played - lifted, document.documentElement.scrollWidth]")
            assert late < 100 and wide <= width, "at %d: a tap played %d ms late, %d px wide" % (width, late, wide)
        # A phone: the game fills its width upright, and still fits whole turned sideways.
        for width, height in ((390, 844), (844, 390)):
            page.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=3, mobile=True)
            page.frames()
            left, top, right, bottom = page.rect("page")
            assert -0.5 <= left and -0.5 <= top and right <= width + 0.5 and bottom <= height + 0.5, (width, left, top, right, bottom)
            assert width > height or right - left >= width - 4, "a %d px phone shows the game %d px wide" % (width, right - left)
        # A box stays whole and answers a tap on OK through a turn, and through a resize.
        for width, height in ((390, 844), (320, 480)):
            page.keys("a", hold=CTRL)
            page.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=3, mobile=True)
            time.sleep(0.6)  # and past the double-click time
            box, ok = page.rect("msgBox"), page.rect("msgOK")
            assert box[0] >= 0 and box[1] >= 0 and box[2] <= width and box[3] <= height, (width, height, box)
            x, y = (ok[0] + ok[2]) / 2, (ok[1] + ok[3]) / 2
            for kind, points in (("touchStart", [{"x": x, "y": y}]), ("touchEnd", [])):
                page.cdp("Input.dispatchTouchEvent", type=kind, touchPoints=points)
            page.wait(lambda: not page.state()["box"], "OK did not take a tap at %d x %d" % (width, height))
        # Nothing scrolls on a phone or a tablet, either way round; a box is drawn at the game's scale
        # with OK a fair tap, and stays whole in the visual viewport at any pinch zoom.
        for width, height, zoom in ((844, 390, 1), (390, 844, 1), (768, 1024, 1), (1024, 768, 1), (320, 568, 1.4),
                                    (390, 844, 2.5)):
            page.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=2, mobile=True)
            page.frames()
            tall, wide = page.js("return [document.documentElement.scrollHeight, document.documentElement.scrollWidth]")
            assert tall <= height and wide <= width, "%d x %d scrolls: %d x %d" % (width, height, wide, tall)
            page.keys("i", hold=CTRL)
            page.cdp("Emulation.setPageScaleFactor", pageScaleFactor=zoom)
            page.frames()
            view = page.js("const v = visualViewport; return [v.offsetLeft, v.offsetTop, v.offsetLeft + v.width, "
                           "v.offsetTop + v.height, getComputedStyle(document.getElementById('page')).transform]")
            box, ok, square = page.rect("msgBox"), page.rect("msgOK"), page.rect("cmdSquare1")
            for what, r in (("box", box), ("OK", ok)):
                assert view[0] - 0.5 <= r[0] and view[1] - 0.5 <= r[1] and r[2] <= view[2] + 0.5 and r[3] <= view[3] + 0.5, \
                    "%s out of view at %d x %d zoomed %g: %s in %s" % (what, width, height, zoom, r, view)
            assert (ok[3] - ok[1]) * zoom >= 43.5, "OK %g px tall at %d x %d zoomed %g" % (ok[3] - ok[1], width, height, zoom)
            if zoom == 1:  # at the game's scale: as wide beside a square as on the desktop
                assert abs((box[2] - box[0]) / (square[2] - square[0]) - 244 / 41) < 0.1, (width, height, box, square)
            page.keys(Keys.ESCAPE)
            page.cdp("Emulation.setPageScaleFactor", pageScaleFactor=1)
    finally:
        page.cdp("Emulation.clearDeviceMetricsOverride")
        page.cdp("Emulation.setTouchEmulationEnabled", enabled=False)


def test_a_new_build_arrives_with_the_next_load_and_plays_offline(page, texts):
    with tempfile.TemporaryDirectory() as scratch:
        site = shutil.copytree(page.site, os.path.join(scratch, "site"))
        server = Server(page.serve, site)
        try:
            page.load(url=server.url)
            page.wait(lambda: page.js("return !!navigator.serviceWorker.controller"), "no worker took the page", 10)
            # A new build: one file changed, and the worker written for the new set, as the build writes it.
            with open(os.path.join(site, "zarquel.css"), "a", encoding="utf-8") as css:
                css.write("\n#frmZarquel { --build: 2; }\n")
            cache = rewrite_worker(site)
            page.load(reload=True)
            build = lambda: page.js("return getComputedStyle(document.getElementById('frmZarquel'))"
                                    ".getPropertyValue('--build').trim()")
            assert build() == "2", "the reload after a deploy ran the old build"
            page.wait(lambda: page.js("return caches.keys().then(k => k.filter(n => n.startsWith('zarquel ')))")
                      == ["zarquel %s %s" % (server.url, cache)], "the new build never replaced the old in the cache", 10)
        finally:
            server.stop()
        # Offline, the cached new build plays.
        page.load(reload=True)
        before = page.board()
        page.click(9)
        assert build() == "2" and page.board() == switched(before, 9)


def test_reload_plays_offline_then_exit_ends_the_game(page, texts):
    page.load()
    assert page.js("return navigator.serviceWorker.ready.then(r => !!r.active)")
    page.server.stop()
    page.load(reload=True)
    before = page.board()
    page.click(17)
    assert page.board() == switched(before, 17)
    page.keys("x", hold=CTRL)
    assert not page.state()["running"]
    board, ended, line = page.js("const $ = id => document.getElementById(id); return "
                                 "[$('frmZarquel').checkVisibility(), $('ended').checkVisibility(), $('ended').textContent]")
    assert not board and ended and line.startswith("The game has ended."), (board, ended, line)
    page.click("playAgain")
    page.wait(lambda: page.js("return document.documentElement.dataset.ready") == "1", "Play again did not deal")
    assert page.state()["time"] == "0"


def test_random_play_keeps_a_consistent_board(page, texts):
    chance, squares = random.Random(2026), ["cmdSquare%d" % k for k in range(1, 26)]
    model, running = page.board(), False
    for step in range(300):
        focus = page.state()["focus"]
        action = chance.choice(["click"] * 4 + ["arrow", "tab", "press", "pause", "deal", "box"])
        if action == "click" or focus not in squares + ["cmdTakeFocus"]:
            square = chance.randint(1, 25)
            page.click(square)
            model, running = switched(model, square), True
        elif action == "arrow":
            page.keys(chance.choice([Keys.UP, Keys.DOWN, Keys.LEFT, Keys.RIGHT]))
        elif action == "tab":
            page.keys(Keys.TAB, hold=Keys.SHIFT if chance.random() < 0.5 else None)
        elif action == "press" and focus in squares:
            page.keys(chance.choice([Keys.SPACE, Keys.ENTER]))
            model, running = switched(model, squares.index(focus) + 1), True
        elif action == "pause":
            key, hold = chance.choice([(Keys.ESCAPE, None), ("p", CTRL)])
            page.keys(key, hold=hold)
            running = False
        elif action == "deal":
            page.keys(Keys.F2)
            model, running = page.state()["colors"], False
        elif action == "box":
            page.keys(chance.choice("ia"), hold=CTRL)
            assert page.state()["box"], "step %d: no box from the focus on %s" % (step, focus)
            page.keys(chance.choice([Keys.ENTER, Keys.SPACE, Keys.ESCAPE]))
        state = page.state()
        if model == RED:  # a win: its box, then a fresh deal
            assert state["box"] and state["text"] == texts["WinMessage"]
            page.keys(Keys.ENTER)
            page.wait(lambda: not page.state()["box"] and page.state()["time"] == "0", "no deal after the win")
            model, running, state = page.state()["colors"], False, page.state()
        assert not state["box"], "a box left open at step %d" % step
        assert (state["colors"], state["running"]) == (model, running), "step %d (%s): %s, expected %s" % (
            step, action, (state["colors"], state["running"]), (model, running))
        assert step % 50 != 49 or page.board() == model


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    # serve.py, texts.h, the Linux build's core_transcript; only: a pattern of test names to run
    for name in ("site", "serve", "texts", "version", "transcript", "only"):
        parser.add_argument("--" + name, required=name != "only", default="")
    parser.add_argument("--engine", choices=ENGINES, default="chromium")
    arguments = parser.parse_args()
    global TRANSCRIPT
    TRANSCRIPT = arguments.transcript
    texts, ran, failed = read_texts(arguments.texts, arguments.version), 0, 0
    server = Server(arguments.serve, arguments.site)
    profile, page = tempfile.mkdtemp(prefix="zarquel-%s-" % arguments.engine), None
    try:
        page = Session(arguments.engine, server, arguments.site, arguments.serve, profile)
        page.load()
        for name, test in list(globals().items()):  # in the order written: the session goes on from one to the next
            if not name.startswith("test_") or not re.search(arguments.only, name):
                continue
            if getattr(test, "chromium_only", False) and arguments.engine != "chromium":
                print("SKIP", name, "(Chromium only)")
                continue
            ran += 1
            try:
                test(page, texts)
                errors = page.browser.errors()
                assert not errors, "console errors: %s" % errors
                print("PASS", name, flush=True)
            except Exception:
                failed += 1
                print("FAIL", name)
                traceback.print_exc(file=sys.stdout)
    finally:
        if page:
            page.browser.quit()
        server.stop()
        shutil.rmtree(profile, ignore_errors=True)
    print("%s: %d passed, %d failed" % (arguments.engine, ran - failed, failed))
    return 1 if failed or not ran else 0


if __name__ == "__main__":
    sys.exit(main())
