#!/usr/bin/env python3
"""Stands in for the service's song-info host on 127.0.0.1:80 inside a
private network namespace. Every GET is logged as one line, "SECONDS HOST
PATH" (wall clock), to OUTDIR/requests.log, and answered with one song
record whose play count grows by one per request.

Usage: song_info_stand_in.py OUTDIR   (writes OUTDIR/ready once listening)
"""
import http.server
import os
import sys
import time

OUT = sys.argv[1]
LOG = open(os.path.join(OUT, "requests.log"), "a", buffering=1)
COUNT = [4320]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        LOG.write("%.3f %s %s\n" % (time.time(), self.headers.get("Host", "-"), self.path))
        COUNT[0] += 1
        body = ('jsopgetsonginfo({"code":0,"data":{"song_name":"Stand-in Song",'
                '"play_num":%d,"ksong_mid":"x"}})' % COUNT[0]).encode()
        self.send_response(200)
        self.send_header("Content-Type", "application/javascript; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 80), Handler)
open(os.path.join(OUT, "ready"), "w").close()
server.serve_forever()
