"""Two relays behind Debian's nginx, routed by room code, on loopback.

  routing.py --relay PATH --poke PATH --config docs/relays-nginx.conf

Relay A owns the codes starting ACDEFGHJKM, relay B those starting
NPQRTUVWXY. nginx runs the documented config with its names filled in.
Rooms made through the proxy (no code in the URL) land on either relay;
joining one through the proxy with ?room=CODE must reach the relay that
made it, while the same join sent straight to the other relay finds no
such room, and a code of B's letters that nobody made is NoSuchRoom at B.
Exits 77 (skipped) when nginx is not installed.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from relay_run import Relay, free_port, wait_for  # noqa: E402

LETTERS_A, LETTERS_B = "ACDEFGHJKM", "NPQRTUVWXY"
NGINX = "/usr/sbin/nginx"


def nginx_config(template, folder, listen, relay_a, relay_b):
    with open(template) as f:
        rooms = f.read()
    rooms = (rooms.replace("@LISTEN@", listen).replace("@RELAY_A@", relay_a)
             .replace("@RELAY_B@", relay_b))
    temp = {name: os.path.join(folder, name) for name in ("body", "proxy", "fastcgi", "uwsgi",
                                                          "scgi")}
    for path in temp.values():
        os.makedirs(path, exist_ok=True)
    path = os.path.join(folder, "nginx.conf")
    with open(path, "w") as f:
        f.write(f"""worker_processes 1;
events {{ worker_connections 64; }}
http {{
    access_log {folder}/access.log;
    client_body_temp_path {temp['body']};
    proxy_temp_path {temp['proxy']};
    fastcgi_temp_path {temp['fastcgi']};
    uwsgi_temp_path {temp['uwsgi']};
    scgi_temp_path {temp['scgi']};
{rooms}
}}
""")
    return path


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--relay", required=True)
    parser.add_argument("--poke", required=True)
    parser.add_argument("--config", required=True)
    args = parser.parse_args()
    if not os.access(NGINX, os.X_OK):
        print("nginx is not installed: skipped")
        return 77
    folder = tempfile.mkdtemp(prefix="relay_routing_")
    failures = []

    def expect(condition, what):
        print(("ok    " if condition else "FAIL  ") + what, flush=True)
        if not condition:
            failures.append(what)

    def poke(*words):
        done = subprocess.run([args.poke] + [str(w) for w in words], capture_output=True,
                              text=True, timeout=30)
        print(f"      relay_poke {' '.join(str(w) for w in words)}: {done.stdout.strip()}")
        return done.stdout.strip()

    relay_a = Relay(args.relay, folder, letters=LETTERS_A, name="a")
    relay_b = Relay(args.relay, folder, letters=LETTERS_B, name="b")
    proxy_port = free_port()
    config = nginx_config(args.config, folder, f"127.0.0.1:{proxy_port}",
                          f"127.0.0.1:{relay_a.port}", f"127.0.0.1:{relay_b.port}")
    nginx = subprocess.Popen([NGINX, "-p", folder, "-c", config, "-g",
                              f"daemon off; pid {folder}/nginx.pid; error_log {folder}/error.log;"],
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    hosts = []
    try:
        up = wait_for(lambda: nginx.poll() is not None or os.path.exists(f"{folder}/nginx.pid"), 10)
        expect(up and nginx.poll() is None, "nginx runs the documented config")
        if nginx.poll() is not None:
            print(nginx.stdout.read())
            return 1
        time.sleep(0.3)
        # Rooms made through the proxy: the round robin puts them on both.
        codes = []
        for _ in range(4):
            host = subprocess.Popen([args.poke, "ws-host", str(proxy_port), "/", "20"],
                                    stdout=subprocess.PIPE, text=True)
            hosts.append(host)
            line = host.stdout.readline().strip()
            print(f"      relay_poke ws-host {proxy_port} / 20: {line}")
            if line.startswith("room "):
                codes.append(line.split()[1])
        expect(len(codes) == 4, "four rooms made through the proxy")
        owners = {code: relay_a if code[0] in LETTERS_A else relay_b for code in codes}
        expect(all(code[0] in LETTERS_A + LETTERS_B for code in codes) and
               {owners[c] is relay_a for c in codes} == {True, False},
               "the rooms landed on both relays, each code with its relay's letter")
        for code in codes:
            expect(any(f"room {code} opened" in line for line in owners[code].log),
                   f"room {code} was opened by the relay its letter names")
            expect(poke("ws-join", proxy_port, code) == f"joined {code}",
                   f"joining {code} through the proxy reaches its relay")
            other = relay_b if owners[code] is relay_a else relay_a
            expect(poke("ws-join", other.port, code) == "refused NoSuchRoom",
                   f"{code} is unknown to the other relay")
        unknown = "NCDEF" if "NCDEF" not in codes else "NCDEG"
        expect(poke("ws-join", proxy_port, unknown) == "refused NoSuchRoom",
               f"joining {unknown}, a code nobody made, through the proxy: NoSuchRoom")
        with open(f"{folder}/access.log") as f:
            access = f.read()
        expect(f"GET /?room={unknown}" in access, "the proxy saw the code in the URL")
    finally:
        for host in hosts:
            host.kill()
            host.wait()
        nginx.terminate()
        nginx.wait(10)
        expect(relay_a.stop() == 0 and relay_b.stop() == 0, "both relays exit 0 on SIGTERM")
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
