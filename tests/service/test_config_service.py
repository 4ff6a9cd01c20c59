"""The reference configuration service: signing check, proxy-form requests,
scripted faults and the request record. Run: python3 -m unittest (from this
folder) or through ctest in the native build."""

import hashlib
import http.client
import json
import os
import socket
import sys
import threading
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
sys.dont_write_bytecode = True
import config_service  # noqa: E402

HOST = "config.tavolex.com"
KEY = "qTmW8x$Lr2@Kp+Vbn4YcZsHje"
DOCUMENT = b'{"body":{"OS":["WINDOWS 10"]}}\r\n{"x":1}\n'


def signed_query(stamp, language="en", host=HOST):
    token = hashlib.md5((KEY + str(stamp) + "http://" + host +
                         "/vuzozid/wscheckerconfig").encode()).hexdigest()
    return "language=%s&timestamp=%s&accesstoken=%s" % (language, stamp, token)


class ServiceTest(unittest.TestCase):
    def setUp(self):
        self.state = config_service.ServiceState(HOST, DOCUMENT, clock=1733735000)
        self.server = config_service.ConfigService(("127.0.0.1", 0), self.state)
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever,
                                       kwargs={"poll_interval": 0.05})
        self.thread.start()

    def tearDown(self):
        self.server.shutdown()
        self.server.server_close()
        self.thread.join()

    def get(self, target, agent="Quenmar"):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=5)
        try:
            connection.request("GET", target, headers={"User-Agent": agent})
            response = connection.getresponse()
            return response.status, response.read()
        finally:
            connection.close()

    def config(self, stamp=1733735000, **kwargs):
        return self.get("/vuzozid/wscheckerconfig?" + signed_query(stamp, **kwargs))


class Endpoints(ServiceTest):
    def test_clock_and_signed_request_in_origin_and_proxy_form(self):
        self.assertEqual(self.get("/common/getTimestamp"), (200, b"1733735000\r\n"))
        status, body = self.config()
        self.assertEqual(status, 200)
        url = json.loads(body)["body"]["url"]
        self.assertEqual(url, "http://config.tavolex.com/documents/checkerconfig.json")
        # WinINet through a proxy sends the absolute form, port included.
        status, body = self.get("http://config.tavolex.com:80/vuzozid/wscheckerconfig?" +
                                signed_query(1733735000, language="jp"))
        self.assertEqual(status, 200)
        self.assertEqual(self.get(url), (200, DOCUMENT))

        requests = self.state.requests
        self.assertEqual([r["path"] for r in requests],
                         ["/common/getTimestamp", "/vuzozid/wscheckerconfig",
                          "/vuzozid/wscheckerconfig", "/documents/checkerconfig.json"])
        self.assertEqual(requests[1]["verdict"], "ok")
        self.assertEqual(requests[2]["verdict"], "ok")
        self.assertTrue(all(r["user_agent"] == "Quenmar" for r in requests))

    def test_refuses_bad_signatures(self):
        cases = [
            ("language=de&timestamp=1733735000&accesstoken=x", "bad language"),
            ("language=en&timestamp=-5&accesstoken=x", "bad timestamp"),
            ("language=en&timestamp=1733735000&accesstoken=" + "0" * 32, "bad accesstoken"),
            (signed_query(1733735000, host="other.example"), "bad accesstoken"),
            (signed_query(1733735000 - 3600), "stale timestamp"),
            ("language=en&language=cn&timestamp=1733735000&accesstoken=x", "bad language"),
        ]
        for query, verdict in cases:
            status, body = self.get("/vuzozid/wscheckerconfig?" + query)
            self.assertEqual(status, 403, query)
            self.assertEqual(json.loads(body), {"code": 403, "message": verdict})
            self.assertEqual(self.state.requests[-1]["verdict"], verdict)

    def test_unknown_paths_answer_a_404_page(self):
        status, body = self.get("/nothing")
        self.assertEqual(status, 404)
        self.assertIn(b"Not Found", body)


class Faults(ServiceTest):
    def with_fault(self, name):
        self.assertEqual(self.get("/_control/fault?name=" + name)[0], 200)

    def test_config_faults(self):
        expected = {
            "config:empty": (200, b""),
            "config:null": (200, b"null"),
            "config:array": (200, b"[1,2]"),
            "config:numeric-url": (200, b'{"code": 0, "body": {"url": 12}}'),
            "config:no-body": (200, b'{"code": 0, "message": "success"}'),
        }
        for name, reply in expected.items():
            self.with_fault(name)
            self.assertEqual(self.config(), reply, name)
        self.with_fault("config:no-url")
        self.assertNotIn("url", json.loads(self.config()[1])["body"])
        self.with_fault("config:404")
        self.assertEqual(self.config()[0], 404)

    def test_document_faults(self):
        self.with_fault("document:long")
        status, body = self.get("/documents/checkerconfig.json")
        self.assertEqual(len(body), 2500)
        self.assertNotIn(b"\0", body)
        json.loads(body)
        self.with_fault("document:zero-byte")
        self.assertIn(b"\0", self.get("/documents/checkerconfig.json")[1])
        self.with_fault("document:empty")
        self.assertEqual(self.get("/documents/checkerconfig.json"), (200, b""))

    def test_cookie_fault_sets_one_and_the_record_shows_one_sent_back(self):
        self.with_fault("clock:cookie")
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=5)
        connection.request("GET", "/common/getTimestamp", headers={"Cookie": "sent=1"})
        response = connection.getresponse()
        self.assertEqual(response.read(), b"1733735000\r\n")
        self.assertEqual(response.getheader("Set-Cookie"), config_service.SESSION_COOKIE + "; Path=/")
        connection.close()
        self.assertEqual(self.state.requests[-1]["cookie"], "sent=1")

    def test_faults_past_the_clients_limits(self):
        self.with_fault("config:huge")
        status, body = self.config()
        self.assertGreater(len(body), 1024 * 1024)
        self.assertIn("url", json.loads(body)["body"])
        self.with_fault("config:file-url")
        self.assertEqual(json.loads(self.config()[1])["body"]["url"], "file:///C:/windows/win.ini")
        self.with_fault("document:huge")
        status, body = self.get("/documents/checkerconfig.json")
        self.assertEqual(len(body), 2 * 1024 * 1024)
        self.assertIsInstance(json.loads(body), dict)

    def test_documents_that_must_not_be_stored(self):
        self.with_fault("document:truncated")
        self.assertEqual(self.get("/documents/checkerconfig.json"),
                         (200, DOCUMENT[:len(DOCUMENT) // 2]))
        self.with_fault("document:html")
        status, body = self.get("/documents/checkerconfig.json")
        self.assertEqual(status, 200)
        self.assertTrue(body.startswith(b"<html>"))

    def test_slow_and_trickling_replies_still_come_whole(self):
        # The waits shortened, so that only what is sent is checked here.
        saved = config_service.SLOW_SECONDS, config_service.TRICKLE_SECONDS
        config_service.SLOW_SECONDS, config_service.TRICKLE_SECONDS = 0, 0
        try:
            for fault in ("document:slow", "document:trickle"):
                self.with_fault(fault)
                self.assertEqual(self.get("/documents/checkerconfig.json"), (200, DOCUMENT), fault)
            for fault in ("config:slow", "config:trickle"):
                self.with_fault(fault)
                status, body = self.config()
                self.assertEqual(status, 200, fault)
                self.assertIn("url", json.loads(body)["body"], fault)
        finally:
            config_service.SLOW_SECONDS, config_service.TRICKLE_SECONDS = saved

    def test_dropped_document_announces_more_than_it_sends(self):
        self.with_fault("document:drop")
        with socket.create_connection(("127.0.0.1", self.port), timeout=5) as s:
            s.sendall(b"GET /documents/checkerconfig.json HTTP/1.1\r\nHost: x\r\n\r\n")
            data = b""
            try:
                while True:
                    chunk = s.recv(4096)
                    if not chunk:
                        break
                    data += chunk
            except ConnectionResetError:
                pass
        head, _, body = data.partition(b"\r\n\r\n")
        self.assertIn(b"Content-Length: %d" % len(DOCUMENT), head)
        self.assertEqual(body, DOCUMENT[:len(DOCUMENT) // 2])

    def test_clock_faults_and_freshness(self):
        self.with_fault("clock:json")
        self.assertEqual(self.get("/common/getTimestamp")[1], b'{"timestamp": 1733735000}')
        self.with_fault("clock:huge")
        self.assertEqual(self.get("/common/getTimestamp")[1], b"99999999999\r\n")
        # The client then signs with the clamped 2147483647; a broken clock
        # cannot judge freshness, so the signature alone decides.
        self.assertEqual(self.config(stamp=2147483647)[0], 200)
        self.assertEqual(self.get("/_control/fault?name=nonsense")[0], 400)

    def test_control_requests_and_reset(self):
        self.get("/common/getTimestamp", agent="Other")
        status, body = self.get("/_control/requests")
        recorded = json.loads(body)
        self.assertEqual(len(recorded), 1)
        self.assertEqual(recorded[0]["user_agent"], "Other")
        self.with_fault("config:null")
        self.get("/_control/reset")
        self.assertEqual(self.state.requests, [])
        self.assertEqual(self.config()[0], 200)
        self.assertIn(b'"url"', self.config()[1])


if __name__ == "__main__":
    unittest.main()
