#!/usr/bin/python3
"""Serves the built page on loopback with the headers a static host should send, for playing and tests."""
import argparse
import functools
import html
import http.server
import ipaddress
import os
import re
import signal
import socket
import sys

# The site's own files: whatever else is asked for is answered as bytes the browser will not run.
TYPES = {
    ".webmanifest": "application/manifest+json",
    ".js": "text/javascript; charset=utf-8",
    ".html": "text/html; charset=utf-8",  # the module inside the page is a string of UTF-8 characters
    ".css": "text/css",
    ".png": "image/png",
    ".gif": "image/gif",
    "": "application/octet-stream",
}


def page_policy(site):
    """The policy the page carries in its own markup, sent again as a header: written in one place."""
    with open(os.path.join(site, "index.html"), encoding="utf-8") as page:
        found = re.search(r'<meta http-equiv="Content-Security-Policy" content="([^"]+)">', page.read())
    if not found:
        raise SystemExit("serve.py: index.html carries no Content-Security-Policy")
    return html.unescape(found.group(1))


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = TYPES
    policy = ""
    origin = ""  # the Host a request must name: the address served on
    # A connection idle, or a request half sent, this many seconds is closed: none can hold a thread for long.
    timeout = 5

    def send_head(self):
        # Another name for this machine is how a rebinding page on the web would reach it.
        if self.headers.get("Host") != self.origin:
            self.send_error(421, "Misdirected request")
            return None
        # A path no file can have (a NUL, say) is the request's fault, not the server's.
        path = self.translate_path(self.path)
        if "\0" in path:
            self.send_error(400, "Bad request")
            return None
        # Only the site's own regular files: no dotfile, nothing a link leads to outside it.
        path = os.path.join(path, "index.html") if os.path.isdir(path) else path
        inside = os.path.relpath(os.path.realpath(path), os.path.realpath(self.directory))
        if inside.startswith(os.pardir) or any(part.startswith(".") for part in inside.split(os.sep)) \
                or not os.path.isfile(path):
            self.send_error(404, "Not found")
            return None
        # Dates are to the second, and a build written within the second of a visit is another build:
        # every answer is the file itself, never "not modified".
        del self.headers["If-Modified-Since"]
        return super().send_head()

    def send_response(self, code, message=None):
        # As the standard one, but naming no server: its software and version are nobody's business.
        self.log_request(code)
        self.send_response_only(code, message)
        self.send_header("Date", self.date_time_string())

    def end_headers(self):
        # A meta tag cannot forbid framing; the header can.
        self.send_header("Content-Security-Policy", self.policy + "; frame-ancestors 'none'")
        self.send_header("X-Content-Type-Options", "nosniff")
        # Revalidate every time, so a new build (and its service worker) is seen at once.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_request(self, code="-", size="-"):
        pass  # quiet: the one line on stdout is the address; errors still go to stderr

    def log_error(self, format, *args):
        # A connection closed for idling is the server doing its job, not an error.
        if not format.startswith("Request timed out"):
            super().log_error(format, *args)


class SiteServer(http.server.ThreadingHTTPServer):
    daemon_threads = True  # an open keep-alive connection must not hold up the stop
    # A page load and a few players at once, without a connection waiting to be retried.
    request_queue_size = 256

    def handle_error(self, request, client_address):
        # A browser that stops a download it no longer needs is no error.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def parse(argv):
    parser = argparse.ArgumentParser(description="Serve the Zarquel page on loopback, with its security policy.")
    parser.add_argument("site", help="the built site, e.g. build/web/site")
    parser.add_argument("--port", type=int, default=8000, help="0 picks a free one (default 8000)")
    parser.add_argument("--host", default="127.0.0.1", help="a loopback address (default 127.0.0.1)")
    arguments = parser.parse_args(argv)
    try:
        loopback = ipaddress.ip_address(arguments.host).is_loopback
    except ValueError:
        loopback = False
    if not loopback:
        parser.error(f"{arguments.host} is not a loopback address: this server is for this machine only")
    if not 0 <= arguments.port <= 65535:
        parser.error(f"port {arguments.port} is out of range")
    if not os.path.isfile(os.path.join(arguments.site, "index.html")):
        parser.error(f"no index.html in {arguments.site}: build the web preset first")
    return arguments


def stop(signum, frame):
    raise KeyboardInterrupt


def main(argv):
    arguments = parse(argv)
    site = os.path.abspath(arguments.site)
    handler = type("Handler", (SiteHandler,), {"policy": page_policy(site)})
    server_class = SiteServer
    if ":" in arguments.host:
        server_class = type("ThreadingHTTPServer6", (server_class,), {"address_family": socket.AF_INET6})
    try:
        server = server_class((arguments.host, arguments.port), functools.partial(handler, directory=site))
    except OSError as error:
        print(f"serve.py: cannot listen on {arguments.host}:{arguments.port}: {error.strerror}", file=sys.stderr)
        return 1
    for signum in (signal.SIGINT, signal.SIGTERM):  # also when started in the background, where SIGINT is ignored
        signal.signal(signum, stop)
    host = f"[{arguments.host}]" if ":" in arguments.host else arguments.host
    handler.origin = f"{host}:{server.server_address[1]}"
    print(f"Serving Zarquel at http://{handler.origin}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
