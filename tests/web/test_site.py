# Checks the built page as a static host would serve it: the policy, relative addresses, the manifest and the offline cache.
# Usage: test_site.py SITE_DIR
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from html.parser import HTMLParser

from PIL import Image

SITE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; "
          "object-src 'none'; base-uri 'none'")


def read(name, site=None):
    with open(os.path.join(site or SITE, name), encoding="utf-8") as f:
        return f.read()


class Page(HTMLParser):
    """index.html's tags with their attributes, and any text inside a script."""

    def __init__(self, text):
        super().__init__()
        self.tags, self.script_text, self.in_script = [], "", False
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        self.tags.append((tag, dict(attrs)))
        self.in_script = tag == "script"

    def handle_endtag(self, tag):
        self.in_script = False

    def handle_data(self, data):
        self.script_text += data.strip() if self.in_script else ""


def worker(site):
    """The cache name and the file list the site's sw.js was written with."""
    text = read("sw.js", site)
    name = re.search(r"var CACHE = PREFIX \+ '([0-9a-f]+)'", text).group(1)
    return name, json.loads("[" + re.search(r"var FILES = \[(.*)\];", text).group(1) + "]")


class SafeByDefault(unittest.TestCase):
    def test_no_inline_script_style_or_handler_and_the_policy_in_the_page(self):
        page = Page(read("index.html"))
        self.assertEqual(page.script_text, "", "inline script")
        for tag, attrs in page.tags:
            self.assertFalse(tag == "style" or "style" in attrs or any(a.startswith("on") for a in attrs), tag)
            self.assertTrue(tag != "script" or "src" in attrs)
        self.assertEqual([a["content"] for t, a in page.tags if a.get("http-equiv") == "Content-Security-Policy"],
                         [POLICY])

    def test_every_address_is_relative_and_in_the_site(self):
        page, manifest = Page(read("index.html")), json.loads(read("manifest.webmanifest"))
        addresses = [a[k] for _, a in page.tags for k in ("src", "href") if a.get(k)]
        addresses += [e.split()[0] for _, a in page.tags for e in a.get("srcset", "").split(",") if e.strip()]
        addresses += [i["src"] for i in manifest["icons"]] + [manifest[k] for k in ("start_url", "scope", "id")]
        for address in addresses + ["sw.js"]:
            self.assertNotRegex(address, r"^(/|[a-z]+:)", address)
            self.assertTrue(address in ("", "./") or os.path.isfile(os.path.join(SITE, address)), address)
        for script in ("zarquel.js", "sw.js"):
            self.assertNotRegex(read(script), r"\beval\(|new Function\(|https?://", script)

    def test_every_control_the_game_fills_is_on_the_page(self):
        ids = {a.get("id") for _, a in Page(read("index.html")).tags}
        named = set()
        for source in ("frmzarquel.cpp", "pagemarkup.cpp"):
            with open(os.path.join(SOURCE, "web", source), encoding="utf-8") as f:
                named |= set(re.findall(r'"((?:lbl|mnu|cmd|img)[A-Za-z]+)"', f.read())) - {"cmdSquare"}
        named |= {"cmdSquare%d" % i for i in range(1, 26)} | {"msgBox", "msgTitle", "msgText", "msgOK", "ended",
                                                             "playAgain", "menubar", "mnuFileMenu", "mnuHelpMenu"}
        self.assertEqual(named - ids, set())


class QuickToStart(unittest.TestCase):
    def test_texts_are_in_the_markup_with_nothing_left_to_fill(self):
        text = read("index.html")
        self.assertNotIn("${", text)
        labels = [a.get("aria-label") for t, a in Page(text).tags if a.get("id", "").startswith("cmdSquare")]
        self.assertEqual(labels[6], "Square 7, row 2, column 2")
        self.assertEqual(len(labels), 25)

    def test_one_script_that_runs_on_arrival_and_holds_the_first_frame(self):
        scripts = [a for t, a in Page(read("index.html")).tags if t == "script"]
        self.assertEqual(scripts, [{"src": "zarquel.js", "async": None, "blocking": "render"}])
        # In the head, where blocking="render" counts.
        text = read("index.html")
        self.assertLess(text.index('<script src="zarquel.js"'), text.index("<body>"))

    def test_the_game_is_inside_the_script_and_compiled_by_the_page(self):
        script = read("zarquel.js")
        # The WebAssembly module's magic number, base64: no second file to fetch.
        self.assertIn("data:application/octet-stream;base64,AGFzbQ", script)
        self.assertEqual({f for f in os.listdir(SITE) if f.endswith((".wasm", ".js"))}, {"zarquel.js", "sw.js"})
        # page.js went in first and takes over the module's instantiation.
        self.assertLess(script.index("function createPage()"), script.index("function createWasm()"))
        self.assertIn("Module.instantiateWasm=", script)


class InstallableAndOffline(unittest.TestCase):
    def test_manifest_names_the_game_and_its_icons(self):
        manifest = json.loads(read("manifest.webmanifest"))
        self.assertEqual((manifest["name"], manifest["short_name"], manifest["display"], manifest["background_color"]),
                         ("Zarquel", "Zarquel", "standalone", "#000000"))
        for icon in manifest["icons"]:
            with Image.open(os.path.join(SITE, icon["src"])) as image:
                self.assertEqual(("%dx%d" % image.size, "image/" + image.format.lower()), (icon["sizes"], icon["type"]))
        self.assertLessEqual({"192x192", "512x512"}, {i["sizes"] for i in manifest["icons"]})

    def test_worker_caches_every_file_of_the_site(self):
        self.assertEqual(set(worker(SITE)[1]), set(os.listdir(SITE)) - {"sw.js"} | {"./"})

    def test_cache_name_follows_the_contents_and_nothing_else(self):
        files = ";".join(f for f in worker(SITE)[1] if f != "./")
        with tempfile.TemporaryDirectory() as tmp:
            copy = shutil.copytree(SITE, os.path.join(tmp, "site"))

            def rewrite():
                subprocess.run(["cmake", "-DSITE=" + copy, "-DTEMPLATE=" + os.path.join(SOURCE, "web", "sw.js.in"),
                                "-DFILES=" + files, "-P", os.path.join(SOURCE, "web", "serviceworker.cmake")], check=True)
                return worker(copy)[0]

            self.assertEqual(rewrite(), worker(SITE)[0], "same files, another name")
            for name in ("zarquel.js", "banner.gif"):
                before = worker(copy)[0]
                with open(os.path.join(copy, name), "ab") as f:
                    f.write(b"\0")
                self.assertNotEqual(rewrite(), before, name + " changed, the cache did not")


if __name__ == "__main__":
    if not SITE or not os.path.isfile(os.path.join(SITE, "index.html")):
        sys.exit("usage: test_site.py SITE_DIR (build the web preset first)")
    unittest.main()
