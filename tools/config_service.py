#!/usr/bin/env python3
"""Reference configuration service: plays the maker's service on loopback.

Endpoints (the same paths the product asks its compiled-in host for):
  GET /common/getTimestamp       the service clock, a bare decimal number
  GET /vuzozid/wscheckerconfig   checks language, timestamp and accesstoken and
                                 answers {"code":0,"body":{"url":...}}
  GET /documents/checkerconfig.json
                                 the configuration document named by that url

Requests may come in origin form (GET /path) or in proxy form
(GET http://HOST[:80]/path): point WinINet's proxy (http_proxy, or the
registry proxy) at this service and the product's real host is used unchanged.

Scripted faults (--fault NAME, repeatable, or GET /_control/fault?name=NAME)
provoke every failure the client has to survive; see FAULTS. Every request
except /_control/* is recorded: GET /_control/requests returns them as JSON,
--log FILE appends them as JSON lines. GET /_control/reset clears both the
faults and the record.

Standard library only.
"""

import argparse
import hashlib
import json
import os
import socket
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

ACCESS_TOKEN_KEY = "qTmW8x$Lr2@Kp+Vbn4YcZsHje"
DEFAULT_HOST = "config.tavolex.com"
LANGUAGES = ("cn", "en", "jp")
DOCUMENT_PATH = "/documents/checkerconfig.json"
NOT_FOUND_PAGE = b"<html><head><title>404 Not Found</title></head>" \
                 b"<body><h1>Not Found</h1></body></html>\r\n"

# Fault name -> what it does. One fault per endpoint is active at a time;
# setting a second fault for the same endpoint replaces the first.
FAULTS = {
    "config:empty": "signed request answers an empty body",
    "config:null": "signed request answers null",
    "config:array": "signed request answers [1,2]",
    "config:no-body": "a reply without \"body\"",
    "config:no-url": "body without \"url\"",
    "config:numeric-url": "\"url\" is the number 12",
    "config:404": "signed request answers a 404 page",
    "config:not-json": "signed request answers an HTML error page with status 200",
    "config:slow": "signed request answers only after %d seconds" % 60,
    "config:trickle": "signed request's reply comes one byte a second",
    "config:huge": "signed request's reply is a valid one padded past 1 MiB",
    "config:file-url": "\"url\" names a file on the client's disk (file:///C:/windows/win.ini)",
    "document:empty": "document is empty",
    "document:not-json": "document is plain text",
    "document:404": "document answers a 404 page",
    "document:long": "document is a 2,500-byte body (no zero bytes)",
    "document:zero-byte": "document holds a zero byte in its first read",
    "document:drop": "connection dropped in the middle of the document",
    "document:truncated": "document cut in half, announced and sent whole",
    "document:html": "document is a captive portal's HTML page with status 200",
    "document:huge": "document is a JSON object of 2 MiB",
    "document:slow": "document answers only after %d seconds" % 60,
    "document:trickle": "document comes one byte a second",
    "clock:json": "clock answers {\"timestamp\":N}",
    "clock:huge": "clock answers a number above the 32-bit range",
    "clock:negative": "clock answers -5",
    "clock:empty": "clock answers an empty body",
    "clock:long": "clock answers 127 blanks before its number",
    "clock:slow": "clock answers only after %d seconds" % 60,
    "clock:cookie": "clock answers as usual and sets a session cookie for the host",
}

# How long the ":slow" faults keep a request waiting: longer than any test
# waits, short enough that a forgotten client does not hold the service long.
SLOW_SECONDS = 60
# The ":trickle" faults send one byte per this many seconds.
TRICKLE_SECONDS = 1
# Sizes past the client's caps (1 MiB reply, 1 MiB document).
HUGE_REPLY_BYTES = 1024 * 1024 + 4096
HUGE_DOCUMENT_BYTES = 2 * 1024 * 1024
# What the "clock:cookie" fault sets; a request that carries it back shows in
# the record's "cookie".
SESSION_COOKIE = "tvx_session=4f1c9a"
PORTAL_PAGE = b"<html><head><title>Sign in</title></head>" \
              b"<body><form>Sign in to the hotel network</form></body></html>\r\n"


def expected_token(host, timestamp_text):
    text = ACCESS_TOKEN_KEY + timestamp_text + "http://" + host + "/vuzozid/wscheckerconfig"
    return hashlib.md5(text.encode("ascii")).hexdigest()


def huge_document():
    """A JSON object of HUGE_DOCUMENT_BYTES: valid, only too big."""
    head = b'{"body":{},"pad":"'
    return head + b"x" * (HUGE_DOCUMENT_BYTES - len(head) - 2) + b'"}'


def long_document():
    """Exactly 2,500 bytes of valid JSON: padding entries, then blanks."""
    entries = ["PAD%04d" % i for i in range(400)]
    data = b""
    while entries:
        data = json.dumps({"body": {"CPU_Game": entries}}, separators=(",", ":")).encode()
        if len(data) <= 2500:
            break
        entries.pop()
    return data + b" " * (2500 - len(data))


class ServiceState:
    def __init__(self, host, document, clock=None, max_skew=600, log_path=None):
        self.host = host
        self.document = document
        self.clock = clock
        self.max_skew = max_skew
        self.log_path = log_path
        self.lock = threading.Lock()
        self.faults = {}
        self.requests = []

    def now(self):
        return self.clock if self.clock is not None else int(time.time())

    def set_fault(self, name):
        if name not in FAULTS:
            raise ValueError("unknown fault %r (known: %s)" % (name, ", ".join(sorted(FAULTS))))
        with self.lock:
            self.faults[name.split(":")[0]] = name

    def fault(self, endpoint):
        with self.lock:
            return self.faults.get(endpoint)

    def record(self, entry):
        with self.lock:
            self.requests.append(entry)
            if self.log_path:
                with open(self.log_path, "a", encoding="utf-8") as log:
                    log.write(json.dumps(entry) + "\n")

    def reset(self):
        with self.lock:
            self.faults.clear()
            self.requests.clear()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "TavolexConfig/1.0"

    def log_message(self, format, *args):  # noqa: A002 (BaseHTTPRequestHandler's name)
        if self.server.verbose:
            sys.stderr.write("%s\n" % (format % args))

    @property
    def state(self):
        return self.server.state

    def do_GET(self):
        parts = urlsplit(self.path)
        path = parts.path or "/"
        query = parse_qs(parts.query, keep_blank_values=True)
        if path.startswith("/_control/"):
            return self.control(path, query)
        entry = {
            "method": self.command,
            "target": self.path,
            "path": path,
            "query": parts.query,
            "user_agent": self.headers.get("User-Agent", ""),
            "host": self.headers.get("Host", ""),
            "cookie": self.headers.get("Cookie", ""),
            "time": time.time(),
        }
        if path == "/vuzozid/wscheckerconfig":
            entry["verdict"] = self.check_signature(query)
        # Recorded before answering, so a client that has its reply can rely
        # on finding its request in the record.
        self.state.record(entry)
        if path == "/common/getTimestamp":
            self.clock_reply()
        elif path == "/vuzozid/wscheckerconfig":
            self.config_reply(entry["verdict"])
        elif path == DOCUMENT_PATH:
            self.document_reply()
        else:
            self.send(404, NOT_FOUND_PAGE, "text/html")

    # --- the three endpoints -------------------------------------------------

    def clock_reply(self):
        fault = self.state.fault("clock")
        if fault == "clock:slow":
            time.sleep(SLOW_SECONDS)
            fault = None
        now = self.state.now()
        bodies = {
            None: b"%d\r\n" % now,
            "clock:json": json.dumps({"timestamp": now}).encode(),
            "clock:huge": b"99999999999\r\n",
            "clock:negative": b"-5\r\n",
            "clock:empty": b"",
            "clock:long": b" " * 127 + b"%d\r\n" % now,
            "clock:cookie": b"%d\r\n" % now,
        }
        cookie = [("Set-Cookie", SESSION_COOKIE + "; Path=/")] if fault == "clock:cookie" else []
        self.send(200, bodies[fault], headers=cookie)

    def config_reply(self, verdict):
        if verdict != "ok":
            body = json.dumps({"code": 403, "message": verdict}).encode()
            self.send(403, body, "application/json")
            return
        url = "http://%s%s" % (self.state.host, DOCUMENT_PATH)
        fault = self.state.fault("config")
        if fault == "config:404":
            self.send(404, NOT_FOUND_PAGE, "text/html")
            return
        good = json.dumps({"code": 0, "message": "success", "body": {"url": url}})
        if fault == "config:slow":
            time.sleep(SLOW_SECONDS)
        if fault == "config:trickle":
            return self.send(200, good.encode(), "application/json", trickle=True)
        bodies = {
            None: good,
            "config:slow": good,
            "config:huge": good + " " * HUGE_REPLY_BYTES,
            "config:file-url": json.dumps({"code": 0, "body": {"url": "file:///C:/windows/win.ini"}}),
            "config:empty": "",
            "config:null": "null",
            "config:array": "[1,2]",
            "config:no-body": json.dumps({"code": 0, "message": "success"}),
            "config:no-url": json.dumps({"code": 0, "body": {"version": 3}}),
            "config:numeric-url": json.dumps({"code": 0, "body": {"url": 12}}),
            "config:not-json": "<html><body>Service temporarily unavailable</body></html>",
        }
        self.send(200, bodies[fault].encode(), "application/json")

    def check_signature(self, query):
        def one(name):
            values = query.get(name)
            return values[0] if values and len(values) == 1 else None

        language, stamp, token = one("language"), one("timestamp"), one("accesstoken")
        if language not in LANGUAGES:
            return "bad language"
        if stamp is None or not stamp.isdigit() or not stamp.isascii():
            return "bad timestamp"
        # A broken clock (a clock fault) cannot judge freshness.
        if self.state.max_skew and self.state.fault("clock") is None:
            if abs(int(stamp) - self.state.now()) > self.state.max_skew:
                return "stale timestamp"
        if token != expected_token(self.state.host, stamp):
            return "bad accesstoken"
        return "ok"

    def document_reply(self):
        fault = self.state.fault("document")
        if fault == "document:404":
            return self.send(404, NOT_FOUND_PAGE, "text/html")
        if fault == "document:drop":
            return self.send(200, self.state.document[:len(self.state.document) // 2],
                             announce=len(self.state.document), drop=True)
        if fault == "document:slow":
            time.sleep(SLOW_SECONDS)
        if fault == "document:trickle":
            return self.send(200, self.state.document, "application/json", trickle=True)
        if fault == "document:html":
            return self.send(200, PORTAL_PAGE, "text/html")
        bodies = {
            None: self.state.document,
            "document:slow": self.state.document,
            "document:truncated": self.state.document[:len(self.state.document) // 2],
            "document:huge": huge_document(),
            "document:empty": b"",
            "document:not-json": b"this is not a configuration\r\n",
            "document:long": long_document(),
            "document:zero-byte": b'{"body":{"OS":["WINDOWS 10"]}}\x00 lost to the zero\r\n',
        }
        self.send(200, bodies[fault], "application/json")

    # --- control -------------------------------------------------------------

    def control(self, path, query):
        if path == "/_control/requests":
            with self.state.lock:
                body = json.dumps(self.state.requests)
            return self.send(200, body.encode(), "application/json")
        if path == "/_control/reset":
            self.state.reset()
            return self.send(200, b"reset\n")
        if path == "/_control/fault":
            try:
                for name in query.get("name", []):
                    self.state.set_fault(name)
            except ValueError as error:
                return self.send(400, str(error).encode())
            return self.send(200, b"ok\n")
        self.send(404, NOT_FOUND_PAGE, "text/html")

    def send(self, status, body, content_type="text/plain", announce=None, drop=False,
             trickle=False, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body) if announce is None else announce))
        self.send_header("Cache-Control", "no-store")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        if trickle:
            # One byte at a time: each arrives well within any receive
            # timeout, the whole never within a request's deadline. A client
            # that gives up ends the loop.
            try:
                for i in range(len(body)):
                    self.wfile.write(body[i:i + 1])
                    self.wfile.flush()
                    time.sleep(TRICKLE_SECONDS)
            except OSError:
                pass
            return
        self.wfile.write(body)
        self.wfile.flush()
        if drop:
            # The connection ends before the announced length. An orderly
            # end after the bytes sent, not a reset: a reset may make the
            # client's stack discard bytes it has received but not yet read,
            # which would make what arrives a matter of timing.
            self.connection.shutdown(socket.SHUT_WR)


class ConfigService(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, address, state, verbose=False):
        super().__init__(address, Handler)
        self.state = state
        self.verbose = verbose


def default_document_path():
    return os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "config",
                        "checkerconfig.json")


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bind", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--host", default=DEFAULT_HOST,
                        help="the host compiled into the product (signs the endpoint URL)")
    parser.add_argument("--document", default=default_document_path())
    parser.add_argument("--clock", type=int, help="a fixed clock instead of the real one")
    parser.add_argument("--max-skew", type=int, default=600,
                        help="seconds a time stamp may differ from the clock (0: any)")
    parser.add_argument("--fault", action="append", default=[], choices=sorted(FAULTS))
    parser.add_argument("--log", help="append every request to this file as JSON lines")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args(argv)

    with open(args.document, "rb") as f:
        document = f.read()
    state = ServiceState(args.host, document, args.clock, args.max_skew, args.log)
    for name in args.fault:
        state.set_fault(name)
    server = ConfigService((args.bind, args.port), state, args.verbose)
    # The first line tells a driver script where to point the proxy.
    print("listening on %s:%d" % server.server_address[:2], flush=True)
    try:
        server.serve_forever(poll_interval=0.1)
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
