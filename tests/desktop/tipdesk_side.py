"""TipDesk's side of a part: the reference server with the demo data, the client started as a menu
would start it, and a person's hands: xdotool for X11 windows, AT-SPI for native Wayland ones."""
import os
import re
import subprocess
import time

import dbus

from harness import PartFailed, bus_pid, free_port, wait_until

MAIN_TITLE = "TipDesk 股票预警系统"
LOGIN_TITLE = "登录窗体"
NO_TRAY_HINT = "未检测到系统托盘，最小化后请从任务栏恢复窗口。"


class ReferenceServer:
    def __init__(self, processes, binary, folder):
        self.binary = binary
        self.db = os.path.join(folder, "demo.db")
        self.log = os.path.join(folder, "server.log")
        for _ in range(3):  # another program may take the port between the pick and the bind
            port = free_port()
            self.base = f"http://127.0.0.1:{port}/"
            self._run("seed", "--demo", "--base", self.base)
            self.process = processes.start(
                [binary, "serve", "--db", self.db, "--listen", f"127.0.0.1:{port}"], self.log)
            if wait_until(lambda: self._listening(port) or self.process.poll() is not None, 10):
                if self.process.poll() is None:
                    return
        raise PartFailed(f"the reference server did not start (log: {self.log})")

    def _listening(self, port):
        with open(self.log, encoding="utf-8", errors="replace") as log:
            return f"listening http://127.0.0.1:{port}/" in log.read()

    def _run(self, *arguments):
        subprocess.run([self.binary, arguments[0], "--db", self.db, *arguments[1:]], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT, timeout=30)

    def publish_alert(self, code, action):
        self._run("publish-alert", "--level", "3", "--code", code, "--price", "1701.00",
                  "--action", action, "--reason", "放量突破前期高点")

    def publish_three(self):
        """An alert, a live item and a bulletin at once: the next poll shows one of each."""
        self.publish_alert("600519", "买入")
        self._run("publish-info", "--level", "3", "--type", "盘中提示", "--text", "沪深两市午后加速上攻")
        self._run("publish-bulletin", "--kind", "2", "--title", "私募绝密：年末重点布局")


class Client:
    """tipdesk with the session's variables and nothing of Qt's beyond what a part forces."""

    def __init__(self, processes, binary, folder, session, server, forced_platform=None):
        self.processes = processes
        self.binary = binary
        self.log = os.path.join(folder, "client.log")
        env = {
            "PATH": "/usr/local/bin:/usr/bin:/bin", "LANG": "C.UTF-8",
            "HOME": session.home, "XDG_RUNTIME_DIR": session.runtime,
            "XDG_SESSION_TYPE": "wayland", "XDG_CURRENT_DESKTOP": session.desktop,
            "XDG_CONFIG_HOME": os.path.join(folder, "config"),
            "XDG_DATA_HOME": os.path.join(folder, "data"),
            "TIPDESK_SERVER": server.base,
            # Chromium refuses to run as root without it.
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
            # Only for the suite's eyes: the platform log line and the accessibility tree.
            "QT_LOGGING_RULES": "tipdesk.configuration.info=true",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        }
        env.update({name: value for name, value in session.variables.items() if value})
        if forced_platform:
            env["QT_QPA_PLATFORM"] = forced_platform
        self.env = env
        self.process = processes.start([binary], self.log, env=env)
        self.pid = self.process.pid

    def platform(self):
        """The platform the client reported choosing, once it has."""
        def logged():
            with open(self.log, encoding="utf-8", errors="replace") as log:
                found = re.search(r"Qt platform (\S+) - (.*)", log.read())
            return found and (found.group(1), found.group(2))
        return wait_until(lambda: logged() or self.process.poll() is not None, 20) or (None, "")

    def alive(self):
        return self.process.poll() is None

    def second_start(self):
        """Starts the program once more; returns its exit code (None when it did not end)."""
        try:
            return subprocess.run([self.binary], env=self.env, timeout=20, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode
        except subprocess.TimeoutExpired:
            return None


class X11Hands:
    """Types and clicks into X11 (Xwayland) windows through xdotool."""

    def __init__(self, session):
        self.env = dict(os.environ, DISPLAY=session.variables["DISPLAY"])
        if session.variables.get("XAUTHORITY"):
            self.env["XAUTHORITY"] = session.variables["XAUTHORITY"]

    def _xdotool(self, *arguments):
        return subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True,
                              text=True, timeout=30)

    def log_in(self, client, name, password):
        found = wait_until(lambda: self._xdotool("search", "--onlyvisible", "--pid", str(client.pid),
                                                 "--name", LOGIN_TITLE).stdout.split(), 30)
        if not found:
            raise PartFailed("no login window appeared within 30 s")
        self._xdotool("windowactivate", "--sync", found[0])
        # The name field has the focus; Return moves on to the password, from there to the login
        # button, and presses it (as the demo's tour does).
        self._xdotool("type", "--delay", "40", name)
        self._xdotool("key", "Return")
        self._xdotool("type", "--delay", "40", password)
        self._xdotool("key", "Return")
        time.sleep(0.3)
        self._xdotool("key", "Return")

    def click(self, x, y):
        self._xdotool("mousemove", str(x), str(y), "click", "1")


class Accessibility:
    """The client's widgets as the session's AT-SPI registry shows them."""

    SHOWING = 25  # ATSPI_STATE_SHOWING

    def __init__(self, session_bus):
        address = session_bus.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
            dbus_interface="org.a11y.Bus")
        self.bus = dbus.bus.BusConnection(str(address))

    def _accessible(self, node):
        return dbus.Interface(self.bus.get_object(*node), "org.a11y.atspi.Accessible")

    def _describe(self, node):
        accessible = self._accessible(node)
        name = self.bus.get_object(*node).Get("org.a11y.atspi.Accessible", "Name",
                                              dbus_interface="org.freedesktop.DBus.Properties")
        states = accessible.GetState()
        return {"node": node, "role": str(accessible.GetRoleName()), "name": str(name),
                "showing": bool(states[0] & (1 << self.SHOWING))}

    def _application(self, pid):
        root = ("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
        for application in self._accessible(root).GetChildren():
            if bus_pid(self.bus, application[0]) == pid:
                return tuple(application)
        return None

    def widgets(self, pid, limit=3000):
        """Every accessible of the client's windows, breadth first, at most `limit`."""
        application = self._application(pid)
        if not application:
            return []
        found, queue = [], [tuple(child) for child in self._accessible(application).GetChildren()]
        while queue and len(found) < limit:
            node = queue.pop(0)
            try:
                found.append(self._describe(node))
                queue.extend(tuple(child) for child in self._accessible(node).GetChildren())
            except dbus.DBusException:
                continue  # the widget went away meanwhile
        return found

    def log_in(self, client, name, password):
        def login_window():
            try:
                return next((w for w in self.widgets(client.pid, limit=40)
                             if w["role"] == "dialog" and LOGIN_TITLE in w["name"]), None)
            except dbus.DBusException:
                return None
        window = wait_until(login_window, 30, interval=0.5)
        if not window:
            raise PartFailed("no login window appeared on the accessibility bus within 30 s")
        children = [self._describe(tuple(child))
                    for child in self._accessible(window["node"]).GetChildren()]
        fields = [child for child in children if child["role"] == "text"][:2]
        ok = next((child for child in children
                   if child["role"] == "push button" and child["name"] == "确定"), None)
        if len(fields) < 2 or not ok:
            raise PartFailed("the login window has no name and password fields or no 确定 button")
        for field, text in zip(fields, (name, password)):
            dbus.Interface(self.bus.get_object(*field["node"]),
                           "org.a11y.atspi.EditableText").SetTextContents(text)
        dbus.Interface(self.bus.get_object(*ok["node"]), "org.a11y.atspi.Action").DoAction(0)

    def showing_text(self, pid, text):
        return any(w["name"] == text and w["showing"] for w in self.widgets(pid))
