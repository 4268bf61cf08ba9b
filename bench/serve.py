#!/usr/bin/python3
"""The local server's figures: how long many requests at once take, and what held connections cost it.
Usage: serve.py --site SITE [--quick]"""
import argparse
import concurrent.futures
import os
import socket
import statistics
import subprocess
import sys
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from browsers import Server  # noqa: E402

SERVE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "web", "serve.py")


def fetch(url):
    with urllib.request.urlopen(url, timeout=30) as answer:
        return answer.read()


def threads(pid):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("Threads:"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--quick", action="store_true", help="one short round, to see it still runs")
    arguments = parser.parse_args()
    count, runs = (20, 1) if arguments.quick else (200, 7)
    server = Server(SERVE, arguments.site)
    try:
        url = server.url + "zarquel.css"
        times = []
        with concurrent.futures.ThreadPoolExecutor(count) as pool:
            for _ in range(runs):
                start = time.monotonic()
                answers = list(pool.map(lambda _: fetch(url), range(count)))
                times.append(time.monotonic() - start)
        # Figures for every request answered, and whole, only.
        whole = os.path.getsize(os.path.join(arguments.site, "zarquel.css"))
        if len(answers) != count or any(len(answer) != whole for answer in answers):
            sys.exit("serve.py: a request went unanswered or an answer came back short of the file")
        print(f"{count} requests at once: median {statistics.median(times) * 1000:.0f} ms, "
              f"slowest {max(times) * 1000:.0f} ms over {runs} runs")
        host, port = server.url.split("/")[2].split(":")
        held = [socket.create_connection((host, int(port))) for _ in range(count // 2)]
        for connection in held:
            connection.sendall(b"GET / HTTP/1.1\r\n")
        time.sleep(0.5)
        before = threads(server.process.pid)
        wait = 0 if arguments.quick else 6
        time.sleep(wait)
        after = threads(server.process.pid)
        print(f"{len(held)} half-sent requests: {before} threads at once, {after} after {wait} s")
        for connection in held:
            connection.close()
    finally:
        server.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
