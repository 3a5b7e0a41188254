"""What a headless shell session of the suite has whatever the shell: its folders, a stand-in system
bus, the session bus, the notification server the suite owns on it, and the notification area
(the StatusNotifierWatcher) as the bus shows it."""
import json
import os
import re
import subprocess

import dbus

from harness import PartFailed, bus_pid, wait_until

WIDTH, HEIGHT = 1280, 1024


class ShellSession:
    name = ""     # "plasma" or "gnome"
    desktop = ""  # XDG_CURRENT_DESKTOP of such a session
    corner = ""   # where the popups belong: "bottom-right" or "top-right"

    def __init__(self, processes, folder, notification_server):
        self.processes = processes
        self.folder = folder
        self.home = os.path.join(folder, "home")
        self.runtime = os.path.join(folder, "xdg")
        os.makedirs(self.home, exist_ok=True)
        os.makedirs(self.runtime, mode=0o700, exist_ok=True)
        self.notification_server = notification_server
        self.notification_record = os.path.join(folder, "notifications.jsonl")
        self.variables = {}  # DISPLAY, XAUTHORITY, WAYLAND_DISPLAY, DBUS_SESSION_BUS_ADDRESS
        self.bus = None
        system_bus = os.path.join(folder, "system-bus")
        # The shells look for logind and friends on a system bus; an empty one answers "unknown".
        self.processes.start(["dbus-daemon", "--session", "--nofork", f"--address=unix:path={system_bus}"],
                             os.path.join(folder, "system-bus.log"))
        self.system_bus_address = f"unix:path={system_bus}"
        if not wait_until(lambda: os.path.exists(system_bus), 10):
            raise PartFailed("the stand-in system bus did not start")

    def base_environment(self):
        """What the shell starts with: nothing of the caller's desktop, if it has one."""
        return {"PATH": "/usr/local/bin:/usr/bin:/bin", "LANG": "C.UTF-8", "HOME": self.home,
                "XDG_RUNTIME_DIR": self.runtime, "DBUS_SYSTEM_BUS_ADDRESS": self.system_bus_address}

    def owned_notification_server_lines(self):
        """Shell lines that start the suite's notification server and wait until it owns the name."""
        log = os.path.join(self.folder, "notification-server.log")
        return (f"'{self.notification_server}' '{self.notification_record}' > '{log}' 2>&1 &\n"
                f"for _ in $(seq 100); do grep -q '^ready' '{log}' && break; sleep 0.1; done\n")

    def connect_bus(self, session_env_file, seconds=60):
        def read():
            if not os.path.exists(session_env_file):
                return None
            with open(session_env_file, encoding="utf-8") as variables:
                found = dict(re.findall(r"^(\w+)=(.*)$", variables.read(), re.M))
            return found if found.get("DBUS_SESSION_BUS_ADDRESS") else None
        found = wait_until(read, seconds)
        if not found:
            raise PartFailed(f"the {self.name} session did not start its bus within {seconds} s")
        self.variables.update(found)
        self.bus = dbus.bus.BusConnection(found["DBUS_SESSION_BUS_ADDRESS"])

    def has_name(self, name):
        return bus_pid(self.bus, name) is not None

    def tray_pids(self):
        """The processes with an icon in the notification area; None when there is no such area."""
        if bus_pid(self.bus, "org.kde.StatusNotifierWatcher") is None:
            return None
        items = self.bus.get_object("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher").Get(
            "org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems",
            dbus_interface="org.freedesktop.DBus.Properties")
        # Items read ":1.20/StatusNotifierItem" or ":1.20@/StatusNotifierItem": the owner comes first.
        owners = {re.split(r"[@/]", str(item), maxsplit=1)[0] for item in items}
        return {pid for pid in (bus_pid(self.bus, owner) for owner in owners if owner) if pid}

    def notifications(self):
        """The calls the notification server has recorded so far."""
        if not os.path.exists(self.notification_record):
            return []
        with open(self.notification_record, encoding="utf-8") as record:
            return [json.loads(line) for line in record if line.strip()]

    def invoke_action(self, notification_id, action_key):
        self.bus.get_object("org.freedesktop.Notifications", "/control").InvokeAction(
            dbus.UInt32(notification_id), action_key, dbus_interface="io.tipdesk.TestNotifications")

    def set_inhibited(self, inhibited):
        """The desktop's own do-not-disturb, as Plasma's notification settings switch it."""
        self.bus.get_object("org.freedesktop.Notifications", "/control").SetInhibited(
            dbus.Boolean(inhibited), dbus_interface="io.tipdesk.TestNotifications")

    def run_in_session(self, command):
        """Runs a command of the session's own (gdbus, gsettings) and waits a bounded time."""
        return subprocess.run(command, capture_output=True, text=True, timeout=30,
                              env=dict(self.base_environment(), **self.variables))

    # Each shell provides: start(), windows() -> (area, screen, [window]), minimise(pid, title),
    # screenshot(path) -> bool. A window is a dict: id, title, pid, x, y, w, h, above, active,
    # minimized, skip_taskbar, notification.
