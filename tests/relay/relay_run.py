"""A relay on loopback for the relay's tests and bench: started on a free
port, its log kept, its memory and processor time read from /proc."""

import os
import socket
import subprocess
import threading
import time


def free_port():
    """A port free for both UDP and TCP on 127.0.0.1."""
    for _ in range(50):
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as udp:
            udp.bind(("127.0.0.1", 0))
            port = udp.getsockname()[1]
            with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as tcp:
                try:
                    tcp.bind(("127.0.0.1", port))
                    return port
                except OSError:
                    continue
    raise RuntimeError("no free port")


class Relay:
    def __init__(self, binary, folder, limits=None, letters=None, name="relay"):
        self.port = free_port()
        command = [binary, "--bind", "127.0.0.1", "--port", str(self.port)]
        if limits:
            config = os.path.join(folder, f"{name}.conf")
            with open(config, "w") as f:
                f.write("".join(f"{k} = {v}\n" for k, v in limits.items()))
            command += ["--config", config]
        if letters:
            command += ["--letters", letters]
        self.log = []
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                        text=True)
        self.listening = threading.Event()
        threading.Thread(target=self._read, daemon=True).start()
        if not self.listening.wait(10):
            self.stop()
            raise RuntimeError(f"the relay did not say it listens: {self.log}")

    def _read(self):
        for line in self.process.stdout:
            self.log.append(line.rstrip("\n"))
            if "listening on" in line:
                self.listening.set()

    def alive(self):
        return self.process.poll() is None

    def rss_kb(self):
        with open(f"/proc/{self.process.pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0

    def cpu_seconds(self):
        """User and system time so far (fields 14 and 15 of /proc/PID/stat)."""
        with open(f"/proc/{self.process.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def stop(self, timeout=10):
        """SIGTERM; the exit status, or None when it had to be killed."""
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
                return None
        return self.process.returncode


def wait_for(predicate, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if predicate():
            return True
        time.sleep(0.05)
    return predicate()
