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
    """Every tag with its attributes, every id and every address index.html asks for."""

    def __init__(self, text):
        super().__init__()
        self.tags, self.ids, self.addresses, self.script_text = [], set(), [], ""
        self.in_script = False
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.tags.append((tag, attrs))
        self.ids.add(attrs.get("id"))
        for name in ("src", "href"):
            if attrs.get(name):
                self.addresses.append(attrs[name])
        for entry in (attrs.get("srcset") or "").split(","):
            if entry.strip():
                self.addresses.append(entry.split()[0])
        self.in_script = tag == "script"

    def handle_endtag(self, tag):
        self.in_script = False

    def handle_data(self, data):
        if self.in_script:
            self.script_text += data.strip()


def cache_name(site):
    return re.search(r"var CACHE = PREFIX \+ '([0-9a-f]+)'", read("sw.js", site)).group(1)


def cached_files(site):
    listed = re.search(r"var FILES = \[(.*)\];", read("sw.js", site)).group(1)
    return json.loads("[" + listed + "]")


class SafeByDefault(unittest.TestCase):
    def setUp(self):
        self.page = Page(read("index.html"))

    def test_no_inline_script_style_or_handler_and_the_policy_in_the_page(self):
        self.assertEqual(self.page.script_text, "", "inline script")
        for tag, attrs in self.page.tags:
            self.assertNotEqual(tag, "style")
            self.assertNotIn("style", attrs, tag)
            self.assertFalse([a for a in attrs if a.startswith("on")], tag)
            if tag == "script":
                self.assertIn("src", attrs)
        policies = [a["content"] for t, a in self.page.tags
                    if t == "meta" and a.get("http-equiv") == "Content-Security-Policy"]
        self.assertEqual(policies, [POLICY])

    def test_every_address_is_relative_and_in_the_site(self):
        manifest = json.loads(read("manifest.webmanifest"))
        addresses = (self.page.addresses + [i["src"] for i in manifest["icons"]]
                     + [manifest["start_url"], manifest["scope"], manifest["id"]])
        for address in addresses + ["sw.js"]:
            self.assertNotRegex(address, r"^(/|[a-z]+:)", address)
            self.assertTrue(address in ("", "./") or os.path.isfile(os.path.join(SITE, address)),
                            address)
        for script in ("page.js", "zarquel.js", "sw.js"):
            self.assertNotRegex(read(script), r"\beval\(|new Function\(|https?://", script)

    def test_every_control_the_game_fills_is_on_the_page(self):
        with open(os.path.join(SOURCE, "web", "frmzarquel.cpp"), encoding="utf-8") as f:
            named = set(re.findall(r'"((?:lbl|mnu|cmd|img)[A-Za-z]+)"', f.read()))
        named.discard("cmdSquare")
        named |= {"cmdSquare%d" % i for i in range(1, 26)}
        named |= {"msgBox", "msgTitle", "msgText", "msgOK", "ended", "playAgain",
                  "menubar", "mnuFileMenu", "mnuHelpMenu", "frmZarquel", "board"}
        self.assertEqual(named - self.page.ids, set())


class Installable(unittest.TestCase):
    def test_manifest_names_the_game_and_its_icons(self):
        manifest = json.loads(read("manifest.webmanifest"))
        self.assertEqual((manifest["name"], manifest["short_name"]), ("Zarquel", "Zarquel"))
        self.assertEqual(manifest["display"], "standalone")
        self.assertEqual(manifest["background_color"], "#000000")
        sizes = set()
        for icon in manifest["icons"]:
            with Image.open(os.path.join(SITE, icon["src"])) as image:
                self.assertEqual("%dx%d" % image.size, icon["sizes"])
                self.assertEqual(image.format.lower(), icon["type"].split("/")[1])
            sizes.add(icon["sizes"])
        self.assertLessEqual({"192x192", "512x512"}, sizes)


class Offline(unittest.TestCase):
    def test_worker_caches_every_file_of_the_site(self):
        files = set(os.listdir(SITE)) - {"sw.js"}
        self.assertEqual(set(cached_files(SITE)), files | {"./"})

    def test_cache_name_follows_the_contents_and_nothing_else(self):
        files = ";".join(f for f in cached_files(SITE) if f != "./")
        with tempfile.TemporaryDirectory() as tmp:
            copy = os.path.join(tmp, "site")
            shutil.copytree(SITE, copy)

            def rewrite():
                subprocess.run(["cmake", "-DSITE=" + copy,
                                "-DTEMPLATE=" + os.path.join(SOURCE, "web", "sw.js.in"),
                                "-DFILES=" + files, "-P",
                                os.path.join(SOURCE, "web", "serviceworker.cmake")], check=True)
                return cache_name(copy)

            self.assertEqual(rewrite(), cache_name(SITE), "same files, another name")
            for name in ("zarquel.wasm", "banner.gif"):
                with open(os.path.join(copy, name), "ab") as f:
                    f.write(b"\0")
                before = cache_name(copy)
                self.assertNotEqual(rewrite(), before, name + " changed, the cache did not")


if __name__ == "__main__":
    if not SITE or not os.path.isfile(os.path.join(SITE, "index.html")):
        sys.exit("usage: test_site.py SITE_DIR (build the web preset first)")
    unittest.main()
