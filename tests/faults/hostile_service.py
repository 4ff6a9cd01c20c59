#!/usr/bin/env python3
"""A configuration service that misbehaves, for the fault suite.

    hostile_service.py --mode huge|slow|reset [--port N] [--log FILE]

Listens on a free loopback port (printed as "listening on 127.0.0.1:PORT")
and answers every request, however addressed (WinINet sends absolute URLs
through the proxy), in one way:
  huge   a 50 MB body of "x" bytes, sent as fast as the client reads
  slow   headers announcing 1 MB, then one byte a second, without end
  reset  headers announcing 1 MB, 64 KB of body, then a TCP reset
Every request line is appended to the file given by --log, one line each.
Standard library only.
"""

import argparse
import socket
import struct
import sys
import threading
import time

HUGE = 50 * 1024 * 1024


def headers(length):
    return ("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n"
            "Content-Length: %d\r\nConnection: close\r\n\r\n" % length).encode()


def read_request(conn):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(4096)
        if not chunk:
            return None
        data += chunk
    return data.split(b"\r\n", 1)[0]


def serve(conn, mode, log_path):
    try:
        line = read_request(conn)
        if line is None:
            return
        if log_path:
            with open(log_path, "a") as out:
                out.write(line.decode("latin-1") + "\n")
        if mode == "huge":
            conn.sendall(headers(HUGE))
            block = b"x" * (1024 * 1024)
            for _ in range(HUGE // len(block)):
                conn.sendall(block)
        elif mode == "slow":
            conn.sendall(headers(1024 * 1024))
            while True:
                conn.sendall(b" ")
                time.sleep(1)
        elif mode == "reset":
            conn.sendall(headers(1024 * 1024) + b"{" + b" " * (64 * 1024))
            time.sleep(0.2)
            # SO_LINGER with a zero time turns close() into a reset.
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    except OSError:
        pass  # the client went away: what this service is for
    finally:
        conn.close()


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--mode", required=True, choices=["huge", "slow", "reset"])
    parser.add_argument("--port", type=int, default=0, help="port to listen on (0: a free one)")
    parser.add_argument("--log", help="append each request line to this file")
    args = parser.parse_args(argv)

    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", args.port))
    server.listen(16)
    print("listening on 127.0.0.1:%d" % server.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=serve, args=(conn, args.mode, args.log), daemon=True).start()


if __name__ == "__main__":
    sys.exit(main())
