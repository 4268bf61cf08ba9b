# Checks what the browser session cannot see of the built site: addresses that work under any
# sub-path, an offline cache that holds every file and is renamed whenever any of them changes, and
# the local server's bounds.
# Usage: test_site.py SITE_DIR
import base64
import concurrent.futures
import contextlib
import hashlib
import io
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest
import urllib.error
import urllib.request
from html.parser import HTMLParser

from browsers import Server, rewrite_worker, worker

SITE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SERVE = os.path.join(SOURCE, "web", "serve.py")
FILLPAGE = os.environ.get("ZARQUEL_FILLPAGE")


def read(name, site=None):
    with open(os.path.join(site or SITE, name), encoding="utf-8") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


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


class StaticSite(unittest.TestCase):
    def test_every_address_is_relative_and_in_the_site(self):
        manifest = json.loads(read("manifest.webmanifest"))
        addresses = Addresses(read("index.html")).found + [i["src"] for i in manifest["icons"]]
        addresses += [manifest[k] for k in ("start_url", "scope", "id")] + ["sw.js"]
        for address in addresses:
            self.assertNotRegex(address, r"^(/|[a-z]+:)", address)
            self.assertTrue(address in ("", "./") or os.path.isfile(os.path.join(SITE, address)), address)
        for script in (re.search(r"<script>(.*?)</script>", read("index.html"), re.S)[1], read("sw.js")):
            self.assertNotRegex(script, r"\beval\(|new Function\(|https?://", script[:80])

    def test_worker_caches_every_file_under_a_name_that_follows_the_contents(self):
        names, files = worker(SITE)
        self.assertEqual(set(files), set(os.listdir(SITE)) - {"sw.js"} | {"./"})
        with tempfile.TemporaryDirectory() as tmp:
            copy = shutil.copytree(SITE, os.path.join(tmp, "site"))
            self.assertEqual(rewrite_worker(copy), names, "same files, another name")
            for name in ("index.html", "banner.gif"):
                before = worker(copy)[0]
                with open(os.path.join(copy, name), "ab") as f:
                    f.write(b"\0")
                self.assertNotEqual(rewrite_worker(copy), before, name + " changed, the cache did not")


class BuildAndMeasure(unittest.TestCase):
    """The step that writes the site's files, and the benchmark's judgement of their size."""

    @unittest.skipUnless(FILLPAGE, "ZARQUEL_FILLPAGE names the build step")
    def test_the_build_step_writes_exactly_and_fails_on_a_missing_input(self):
        with tempfile.TemporaryDirectory() as tmp:
            for name, data in (("page.in", b"<title>${AppTitle}</title>${none}<meta content=\"${Policy}\"><script>${script}</script>"),
                               ("s.js", b"run();\n"), ("m.wasm", bytes([0, 10, 13, 34, 92, 65, 60, 128, 255])),
                               ("ends.js", b"run('</SCRIPT>');\n"), ("comment.js", b"run('<!--');\n")):
                write(os.path.join(tmp, name), data)
            # Each byte of the module one character: escaped where a literal or the page needs it, UTF-8 above 127.
            module = '\\x00\\n\\r\\"\\\\A\\x3c\x80\xff")};\nrun();\n</script>'
            # A failure is named by what the step says on stderr.
            for arguments, written in ((["page.in"], "<title>Zarquel</title>${none}<meta"), (["page.in", "m.wasm", "s.js"], module),
                                       (["missing"], "cannot read"), (["page.in", "missing", "s.js"], "cannot read"),
                                       (["page.in", "m.wasm", "missing"], "cannot read"), (["page.in", "m.wasm", "s.js", "x"], "usage"),
                                       (["page.in", "m.wasm", "ends.js"], "not end"), (["page.in", "m.wasm", "comment.js"], "not end")):
                paths = [os.path.join(tmp, a) for a in arguments + ["out"]]
                run = subprocess.run(["node", FILLPAGE] + paths, capture_output=True)
                page = "" if run.returncode else read("out", tmp)
                self.assertIn(written, run.stderr.decode() + page, arguments)
                # The policy lets exactly the script written run, and nothing inline where none was.
                script = page.split("<script>")[-1].split("</script>")[0]
                digest = " 'sha256-%s'" % base64.b64encode(hashlib.sha256(script.encode()).digest()).decode() if script else ""
                self.assertTrue(not page or "script-src 'self'%s 'wasm-unsafe-eval';" % digest in page, arguments)

    def test_the_size_benchmark_misses_either_target(self):
        sys.path.insert(0, os.path.join(SOURCE, "bench"))
        import web  # noqa: E402  the benchmark itself
        gzip9 = lambda data: len(subprocess.run(["gzip", "-9", "-c"], input=data, capture_output=True, check=True).stdout)
        # Script files and scripts in the page together, as `gzip -9` sends each: noise in lines, then code.
        for code, inline, other, met in ((19000, 0, 1000, True), (21000, 0, 1000, False), (10000, 11000, 1000, False),
                                         (19000, 0, 45000, False)):
            with tempfile.TemporaryDirectory() as tmp:
                script, wasm = base64.encodebytes(os.urandom(inline)).decode() + "run();" * 300, os.urandom(code)
                write(os.path.join(tmp, "index.html"), ("<script>%s</script><script></script>" % script).encode())
                write(os.path.join(tmp, "m.wasm"), wasm)
                write(os.path.join(tmp, "icon-512.png"), os.urandom(other))
                with contextlib.redirect_stdout(io.StringIO()) as report:
                    self.assertEqual(web.sizes(tmp), met, (code, inline, other))
                packed = gzip9(wasm) + gzip9(script.encode()) + gzip9(b"")
                self.assertIn("%d bytes (%.1f KB); target <= 20 KB" % (packed, packed / 1000), report.getvalue())


class LocalServer(unittest.TestCase):
    """web/serve.py: for this machine alone, and only the site's own files."""

    def status(self, url, host=None):
        request = urllib.request.Request(url, headers={"Host": host} if host else {})
        try:
            with urllib.request.urlopen(request) as answer:
                return answer.status, answer.headers["Content-Security-Policy"]
        except urllib.error.HTTPError as error:
            return error.code, None

    def test_listens_on_loopback_only(self):
        for host in ("0.0.0.0", "::", "192.168.1.2", "example.com"):
            run = subprocess.run(["/usr/bin/python3", SERVE, SITE, "--host", host, "--port", "0"],
                                 capture_output=True, text=True, timeout=10)
            self.assertEqual(run.returncode, 2, host)
            self.assertIn("not a loopback address", run.stderr, host)

    def test_answers_its_own_address_with_the_site_files_alone(self):
        with tempfile.TemporaryDirectory() as tmp:
            copy = shutil.copytree(SITE, os.path.join(tmp, "site"))
            with open(os.path.join(tmp, "secret"), "w") as f:
                f.write("not the site's")
            os.symlink(os.path.join(tmp, "secret"), os.path.join(copy, "outside.txt"))
            with open(os.path.join(copy, ".hidden"), "w") as f:
                f.write("a dotfile")
            server = Server(SERVE, copy)
            try:
                status, policy = self.status(server.url)
                self.assertEqual(status, 200)
                self.assertTrue(policy.endswith("; frame-ancestors 'none'"), policy)
                # A page on the web that rebinds its name to this machine sends its own name.
                for host in ("example.com", "localhost:" + server.url.split(":")[-1].strip("/"), "127.0.0.1"):
                    self.assertEqual(self.status(server.url, host)[0], 421, host)
                for name in ("outside.txt", ".hidden", "../secret", "%2e%2e/secret", "nothing.html"):
                    self.assertEqual(self.status(server.url + name)[0], 404, name)
            finally:
                server.stop()

    def test_bad_requests_get_a_status_and_held_connections_are_closed(self):
        server = Server(SERVE, SITE)
        try:
            # A path no file can have is answered, not dropped with a traceback; the server goes on.
            for name in ("index.html%00.png", "%00", "a%00/b"):
                self.assertEqual(self.status(server.url + name)[0], 400, name)
            with urllib.request.urlopen(server.url) as answer:
                self.assertEqual(answer.status, 200)
                # No software or version named.
                self.assertIsNone(answer.headers["Server"])
                self.assertNotIn("Python", str(answer.headers))
            # A connection that sends half a request, or nothing, is closed by the server.
            host, port = server.url.split("/")[2].split(":")
            for half in (b"GET / HTTP/1.1\r\nHost: " + host.encode(), b""):
                with socket.create_connection((host, int(port))) as held:
                    held.settimeout(60)
                    held.sendall(half)
                    self.assertEqual(held.recv(100), b"", half)
            # Many at once are all answered.
            with concurrent.futures.ThreadPoolExecutor(200) as pool:
                self.assertEqual(set(pool.map(lambda _: self.status(server.url + "zarquel.css")[0], range(200))), {200})
        finally:
            server.stop()


if __name__ == "__main__":
    if not SITE or not os.path.isfile(os.path.join(SITE, "index.html")):
        sys.exit("usage: test_site.py SITE_DIR (build the web preset first)")
    unittest.main()
