"""The browsers the page is tested and measured in, behind the few verbs a session uses; the server they load it
from, and the site's service worker as the build writes it.

Chromium and WebKitGTK are driven through Selenium (ChromeDriver, WebKitWebDriver with MiniBrowser under
Xvfb), Firefox through WebDriver BiDi by puppeteer-core (firefox.mjs). Only Chromium answers `cdp`.
"""
import ast, base64, json, os, re, subprocess, time

from selenium import webdriver
from selenium.webdriver import ActionChains, Keys
from selenium.webdriver.chrome.service import Service as ChromeService
from selenium.webdriver.common.actions.action_builder import ActionBuilder

HERE = os.path.dirname(os.path.abspath(__file__))
ENGINES = ("chromium", "firefox", "webkit")
# Headless, with nothing of its own going on in the background (this machine's network is closed).
CHROMIUM_FLAGS = ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                  "--disable-sync", "--disable-component-update", "--force-device-scale-factor=1")
# Every policy violation becomes a console error, which a session's error check catches.
WATCH_POLICY = ("document.addEventListener('securitypolicyviolation', "
                "e => console.error('policy violation: ' + e.violatedDirective + ' ' + e.blockedURI));")


def read_texts(header, version):
    """The string_view constants of game/texts.h, adjacent literals joined, as the compiler would."""
    source = open(header, encoding="utf-8").read().replace("ZARQUEL_VERSION", '"%s"' % version)
    literal = r'"(?:[^"\\\n]|\\.)*"'
    return {name: "".join(ast.literal_eval(part) for part in re.findall(literal, body))
            for name, body in re.findall(r"std::string_view (\w+) =((?:\s*%s)+)\s*;" % literal, source)}


def worker(site):
    """The cache name and the file list the site's sw.js was written with."""
    with open(os.path.join(site, "sw.js"), encoding="utf-8") as script:
        text = script.read()
    name = re.search(r"var CACHE = PREFIX \+ '([0-9a-f]+)'", text).group(1)
    return name, json.loads("[" + re.search(r"var FILES = \[(.*)\];", text).group(1) + "]")


def rewrite_worker(site):
    """sw.js written again, as the build writes it, for the site's files as they are now; its cache name."""
    source = os.path.dirname(os.path.dirname(HERE))
    files = ";".join(f for f in worker(site)[1] if f != "./")
    subprocess.run(["cmake", "-DSITE=" + site, "-DTEMPLATE=" + os.path.join(source, "web", "sw.js.in"), "-DFILES=" + files,
                    "-P", os.path.join(source, "web", "serviceworker.cmake")], check=True)
    return worker(site)[0]


class Server:
    """web/serve.py on a free loopback port, serving `site`."""

    def __init__(self, serve, site):
        self.process = subprocess.Popen(["/usr/bin/python3", serve, site, "--port", "0"], stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        found = re.fullmatch(r"Serving Zarquel at (http://127\.0\.0\.1:\d+/)\n", line)
        assert found, "web/serve.py printed %r" % line
        self.url = found.group(1)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            assert self.process.wait(10) == 0, "serve.py did not stop cleanly"
            self.process.stdout.close()


class Selenium:
    """Chromium or WebKitGTK through Selenium."""

    def __init__(self, engine, profile, size):
        self.engine = engine
        if engine == "chromium":
            options = webdriver.ChromeOptions()
            options.binary_location = "/usr/bin/chromium"
            for flag in CHROMIUM_FLAGS + ("--window-size=%d,%d" % size, "--user-data-dir=" + profile):
                options.add_argument(flag)
            options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
            self.driver = webdriver.Chrome(service=ChromeService("/usr/bin/chromedriver"), options=options)
            self.cdp("Page.addScriptToEvaluateOnNewDocument", source=WATCH_POLICY)
        else:
            options = webdriver.WebKitGTKOptions()
            options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
            options.add_argument("--automation")
            self.driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
            self.driver.set_window_size(*size)

    def cdp(self, command, **parameters):
        assert self.engine == "chromium", "only Chromium speaks the DevTools protocol"
        return self.driver.execute_cdp_cmd(command, parameters)

    def preload(self, script):
        """`script` run in every document from now on, before any of the page's own."""
        self.cdp("Page.addScriptToEvaluateOnNewDocument", source=script)

    def get(self, url): self.driver.get(url)

    def reload(self): self.driver.refresh()

    def js(self, script, *arguments): return self.driver.execute_script(script, *arguments)

    def click(self, id): self.driver.find_element("id", id).click()

    def keys(self, steps):
        """(hold, keys) steps in one go: the keys pressed one after another, `hold` (Ctrl, Shift) held meanwhile."""
        chain = ActionChains(self.driver)
        for hold, keys in steps:
            chain.key_down(hold).send_keys(*keys).key_up(hold) if hold else chain.send_keys(*keys)
        chain.perform()

    def mouse(self, steps):
        """Presses and releases as one burst. Chromium's are stamped 40 ms apart, so the page sees a double
        click however slowly a loaded machine delivers them; elsewhere they follow each other at once."""
        if self.engine == "chromium":
            now, clicks, last = time.time(), 0, None
            for i, (kind, x, y) in enumerate(steps):
                clicks = (clicks if (x, y) == last else 0) + (kind == "down")
                last = (x, y)
                self.cdp("Input.dispatchMouseEvent", type="mousePressed" if kind == "down" else "mouseReleased",
                         x=x, y=y, button="left", clickCount=max(clicks, 1), timestamp=now + 0.04 * i)
            return
        actions = ActionBuilder(self.driver, duration=0)
        for kind, x, y in steps:
            actions.pointer_action.move_to_location(int(x), int(y))
            actions.pointer_action.pointer_down() if kind == "down" else actions.pointer_action.pointer_up()
        actions.perform()

    def screenshot(self): return self.driver.get_screenshot_as_png()

    def errors(self):
        # WebKitWebDriver keeps no log: the page's own record (?test) serves every engine.
        logged = [e["message"] for e in self.driver.get_log("browser") if e["level"] == "SEVERE"] \
            if self.engine == "chromium" else []
        return logged + self.js("return window.zarquelTest ? zarquelTest.errors() : []")

    def viewport(self, width, height): self.driver.set_window_size(width, height)

    def quit(self): self.driver.quit()


# Selenium's key codes as puppeteer names them.
PUPPETEER_KEYS = {Keys.TAB: "Tab", Keys.ENTER: "Enter", Keys.ESCAPE: "Escape", Keys.SPACE: " ", Keys.LEFT: "ArrowLeft",
                  Keys.UP: "ArrowUp", Keys.RIGHT: "ArrowRight", Keys.DOWN: "ArrowDown", Keys.F2: "F2", Keys.F10: "F10",
                  Keys.SHIFT: "Shift", Keys.CONTROL: "Control", Keys.ALT: "Alt"}


class Firefox:
    """Firefox ESR through firefox.mjs, a line of JSON each way per command."""

    engine = "firefox"

    def __init__(self, profile, size):
        self.process = subprocess.Popen(["node", os.path.join(HERE, "firefox.mjs"), profile, str(size[0]), str(size[1])],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, cwd=HERE)

    def call(self, verb, *args):
        self.process.stdin.write(json.dumps({"verb": verb, "args": list(args)}) + "\n")
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        assert line, "firefox.mjs ended"
        answer = json.loads(line)
        assert "error" not in answer, "Firefox, %s: %s" % (verb, answer.get("error"))
        return answer["value"]

    def __getattr__(self, verb):
        """preload, get, reload, click, errors, viewport: as firefox.mjs names them."""
        return lambda *args: self.call(verb, *args)

    def js(self, script, *arguments): return self.call("js", script, arguments)

    def keys(self, steps):
        self.call("keys", [[PUPPETEER_KEYS.get(hold), [PUPPETEER_KEYS.get(k, k) for k in keys]] for hold, keys in steps])

    def screenshot(self): return base64.b64decode(self.call("screenshot"))

    def quit(self):
        if self.process.poll() is None:
            self.call("quit")
            self.process.wait(10)


def open_browser(engine, profile, size=(800, 800)):
    return Firefox(profile, size) if engine == "firefox" else Selenium(engine, profile, size)
