"""What every part of the desktop suite shares: its output folder, the processes it started (and
their removal), bounded waits, and the checks that print what they saw."""
import os
import signal
import socket
import subprocess
import time

import dbus


class PartFailed(Exception):
    """A step the rest of a part depends on did not happen; the part stops there."""


def wait_until(probe, seconds, interval=0.2):
    """Calls probe until it returns something true or the time is up; returns its last answer."""
    deadline = time.monotonic() + seconds
    while True:
        answer = probe()
        if answer or time.monotonic() >= deadline:
            return answer
        time.sleep(interval)


class Checks:
    """Counts and prints the checks of one part."""

    def __init__(self, part):
        self.part = part
        self.failures = []
        self.passed = 0

    def check(self, ok, what, seen):
        print(f"  {'PASS' if ok else 'FAIL'} {what}: {seen}", flush=True)
        if ok:
            self.passed += 1
        else:
            self.failures.append(what)
        return ok

    def require(self, ok, what, seen):
        if not self.check(ok, what, seen):
            raise PartFailed(what)


class Processes:
    """The processes a run started. Each is ended by its own id; a sweep afterwards ends whatever
    the shells' buses started for the run (found by the run's runtime folder in its environment)."""

    def __init__(self, marker):
        self.marker = marker
        self.started = []

    def start(self, command, log, env=None, new_group=False):
        with open(log, "ab") as out:
            process = subprocess.Popen(command, stdout=out, stderr=subprocess.STDOUT, env=env,
                                       stdin=subprocess.DEVNULL, start_new_session=new_group)
        self.started.append((process, new_group))
        return process

    def stop(self, process, group=False):
        if process.poll() is None:
            self._signal(process, signal.SIGTERM, group)
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self._signal(process, signal.SIGKILL, group)
                process.wait(timeout=5)
        elif group:
            self._signal(process, signal.SIGKILL, group)  # what it left running in its group

    @staticmethod
    def _signal(process, number, group):
        try:
            if group:
                os.killpg(process.pid, number)
            else:
                process.send_signal(number)
        except ProcessLookupError:
            pass

    def stop_all(self):
        for process, group in reversed(self.started):
            self.stop(process, group)
        self.started.clear()
        self._sweep()

    def _sweep(self):
        needle = b"\0XDG_RUNTIME_DIR=" + os.fsencode(self.marker) + b"\0"
        for number in (signal.SIGTERM, signal.SIGKILL):
            left = [pid for pid in self._pids() if self._has_marker(pid, needle)]
            if not left:
                return
            for pid in left:
                try:
                    os.kill(pid, number)
                except ProcessLookupError:
                    pass
            wait_until(lambda: not any(self._has_marker(pid, needle) for pid in left), 3)

    @staticmethod
    def _pids():
        return [int(name) for name in os.listdir("/proc") if name.isdigit() and int(name) != os.getpid()]

    @staticmethod
    def _has_marker(pid, needle):
        try:
            with open(f"/proc/{pid}/environ", "rb") as environ:
                return needle in b"\0" + environ.read()
        except OSError:
            return False


def bus_pid(bus, name):
    """The process id behind a D-Bus name, or None when the name has no owner."""
    try:
        return int(bus.call_blocking("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", "GetConnectionUnixProcessID", "s",
                                     (name,)))
    except dbus.DBusException:
        return None


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]
