#!/usr/bin/env python3
"""Runs a command while the reference configuration service listens on loopback.

    tools/with_config_service.py [service options] -- command [args...]

The service gets a free port; the command's environment then carries
  http_proxy=http://127.0.0.1:PORT    WinINet under Wine sends the product's
                                       requests, with its real compiled-in
                                       host, to the service
  TVX_CONFIG_SERVICE_PORT=PORT
  TVX_CONFIG_SERVICE_LOG=FILE          the service's request record (JSON lines)
The exit code is the command's. Service options are those of config_service.py
(--document, --fault, --clock, ...). Standard library only.
"""

import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def main(argv):
    if "--" not in argv:
        sys.stderr.write(__doc__)
        return 2
    split = argv.index("--")
    service_args, command = argv[:split], argv[split + 1:]
    if not command:
        sys.stderr.write("no command given\n")
        return 2

    with tempfile.TemporaryDirectory(prefix="tvx-service-") as work:
        log = os.path.join(work, "requests.jsonl")
        service = subprocess.Popen(
            [sys.executable, "-B", os.path.join(HERE, "config_service.py"), "--port", "0",
             "--log", log] + service_args,
            stdout=subprocess.PIPE, text=True)
        try:
            first = service.stdout.readline().strip()
            if not first.startswith("listening on "):
                sys.stderr.write("the configuration service did not start\n")
                return 1
            port = first.rsplit(":", 1)[1]
            env = dict(os.environ)
            env.update({
                "http_proxy": "http://127.0.0.1:%s" % port,
                "TVX_CONFIG_SERVICE_PORT": port,
                "TVX_CONFIG_SERVICE_LOG": log,
            })
            return subprocess.call(command, env=env)
        finally:
            service.terminate()
            try:
                service.wait(timeout=10)
            except subprocess.TimeoutExpired:
                service.kill()
                service.wait()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
