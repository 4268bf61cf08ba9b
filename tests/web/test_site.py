# Checks what the browser session cannot see of the built site: addresses that work under any
# sub-path, and an offline cache that holds every file and is renamed whenever any of them changes.
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

SITE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def read(name, site=None):
    with open(os.path.join(site or SITE, name), encoding="utf-8") as f:
        return f.read()


class Addresses(HTMLParser):
    """Every address index.html names, srcset entries included."""

    def __init__(self, text):
        super().__init__()
        self.found = []
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.found += [attrs[k] for k in ("src", "href") if attrs.get(k)]
        self.found += [e.split()[0] for e in (attrs.get("srcset") or "").split(",") if e.strip()]


def worker(site):
    """The cache name and the file list the site's sw.js was written with."""
    text = read("sw.js", site)
    name = re.search(r"var CACHE = PREFIX \+ '([0-9a-f]+)'", text).group(1)
    return name, json.loads("[" + re.search(r"var FILES = \[(.*)\];", text).group(1) + "]")


class StaticSite(unittest.TestCase):
    def test_every_address_is_relative_and_in_the_site(self):
        manifest = json.loads(read("manifest.webmanifest"))
        addresses = Addresses(read("index.html")).found + [i["src"] for i in manifest["icons"]]
        addresses += [manifest[k] for k in ("start_url", "scope", "id")] + ["sw.js"]
        for address in addresses:
            self.assertNotRegex(address, r"^(/|[a-z]+:)", address)
            self.assertTrue(address in ("", "./") or os.path.isfile(os.path.join(SITE, address)), address)
        for script in ("zarquel.js", "sw.js"):
            self.assertNotRegex(read(script), r"\beval\(|new Function\(|https?://", script)

    def test_worker_caches_every_file_under_a_name_that_follows_the_contents(self):
        names, files = worker(SITE)
        self.assertEqual(set(files), set(os.listdir(SITE)) - {"sw.js"} | {"./"})
        files = ";".join(f for f in files if f != "./")
        with tempfile.TemporaryDirectory() as tmp:
            copy = shutil.copytree(SITE, os.path.join(tmp, "site"))

            def rewrite():
                subprocess.run(["cmake", "-DSITE=" + copy, "-DTEMPLATE=" + os.path.join(SOURCE, "web", "sw.js.in"),
                                "-DFILES=" + files, "-P", os.path.join(SOURCE, "web", "serviceworker.cmake")], check=True)
                return worker(copy)[0]

            self.assertEqual(rewrite(), names, "same files, another name")
            for name in ("zarquel.js", "banner.gif"):
                before = worker(copy)[0]
                with open(os.path.join(copy, name), "ab") as f:
                    f.write(b"\0")
                self.assertNotEqual(rewrite(), before, name + " changed, the cache did not")


if __name__ == "__main__":
    if not SITE or not os.path.isfile(os.path.join(SITE, "index.html")):
        sys.exit("usage: test_site.py SITE_DIR (build the web preset first)")
    unittest.main()
