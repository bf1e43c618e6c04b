#!/usr/bin/env python3
"""A stand-in for the song-info host: answers every GET for the song-info
path with a fixed JSONP record in UTF-8 and logs each request line to
stdout. Usage: song_server.py PORT SECONDS; it stops by itself after
SECONDS."""
import http.server
import sys
import threading

RECORD = ('jsopgetsonginfo({"code":0,"data":{"song_name":"\u6d4b\u8bd5\u6b4c\u66f2",'
          '"play_num":4321,"singer":"x"}})').encode("utf-8")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        print(self.requestline, flush=True)
        found = self.path.startswith("/fcgi-bin/kg_ugc_getdetail?")
        body = RECORD if found else b"not found"
        self.send_response(200 if found else 404)
        self.send_header("Content-Type", "application/javascript; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Handler)
    threading.Timer(float(sys.argv[2]), server.shutdown).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
