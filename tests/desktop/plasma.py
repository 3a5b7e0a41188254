"""KDE Plasma on Wayland, headless: KWin's virtual backend with Xwayland, kded5 (the notification
area's watcher), the activity manager and plasmashell (panel, task manager, tray). Windows are read
and minimised through KWin scripts, whose output KWin writes to its log."""
import json
import os
import shutil
import stat

from harness import PartFailed, wait_until
from shell_session import HEIGHT, WIDTH, ShellSession

SCREENSHOT_ENTRY = """[Desktop Entry]
Type=Application
Name=Desktop suite screenshots
Exec=/usr/bin/gdbus
NoDisplay=true
X-KDE-DBUS-Restricted-Interfaces=org.kde.kwin.Screenshot
"""

WINDOWS_SCRIPT = """
var area = workspace.clientArea(KWin.MaximizeArea, workspace.activeScreen, workspace.currentDesktop);
var screen = workspace.clientArea(KWin.ScreenArea, workspace.activeScreen, workspace.currentDesktop);
var rect = function (r) { return {x: r.x, y: r.y, w: r.width, h: r.height}; };
var clients = workspace.clientList(), windows = [];
for (var i = 0; i < clients.length; i++) {
    var c = clients[i], g = c.frameGeometry;
    windows.push({id: String(c.internalId), title: c.caption, pid: c.pid, x: g.x, y: g.y, w: g.width, h: g.height,
                  above: c.keepAbove, active: c.active, minimized: c.minimized,
                  skip_taskbar: c.skipTaskbar, notification: c.notification});
}
answer({area: rect(area), screen: rect(screen), windows: windows});
"""

MINIMISE_SCRIPT = """
var clients = workspace.clientList(), done = 0;
for (var i = 0; i < clients.length; i++) {
    if (clients[i].pid == PID && clients[i].caption == TITLE) { clients[i].minimized = true; done++; }
}
answer(done);
"""


class PlasmaSession(ShellSession):
    name = "plasma"
    desktop = "KDE"
    corner = "bottom-right"

    def start(self):
        self.log = os.path.join(self.folder, "kwin.log")
        self.scripts = 0
        applications = os.path.join(self.home, ".local/share/applications")
        os.makedirs(applications, exist_ok=True)
        with open(os.path.join(applications, "tipdesk-suite-screenshot.desktop"), "w") as entry:
            entry.write(SCREENSHOT_ENTRY)
        # The packaged binary carries cap_sys_resource, which a container refuses to execute.
        kwin = os.path.join(self.folder, "kwin_wayland")
        shutil.copy("/usr/bin/kwin_wayland", kwin)
        session_env = os.path.join(self.folder, "session.env")
        script = os.path.join(self.folder, "session.sh")
        with open(script, "w") as session:
            session.write(f"""#!/bin/bash
export QT_QPA_PLATFORM=wayland XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5 XDG_SESSION_TYPE=wayland
{self.owned_notification_server_lines()}
kded5 > '{self.folder}/kded.log' 2>&1 &
/usr/lib/x86_64-linux-gnu/libexec/kactivitymanagerd > '{self.folder}/activities.log' 2>&1 &
# plasmashell aborts without the activity manager.
for _ in $(seq 100); do
  gdbus call --session --dest org.freedesktop.DBus --object-path / --method org.freedesktop.DBus.NameHasOwner org.kde.ActivityManager | grep -q true && break
  sleep 0.1
done
plasmashell --no-respawn > '{self.folder}/plasmashell.log' 2>&1 &
env | grep -E '^(DISPLAY|XAUTHORITY|WAYLAND_DISPLAY|DBUS_SESSION_BUS_ADDRESS)=' > '{session_env}.part'
mv '{session_env}.part' '{session_env}'
wait
""")
        os.chmod(script, stat.S_IRWXU)
        env = dict(self.base_environment(), QT_LOGGING_RULES="kwin_scripting.debug=true")
        self.shell = self.processes.start(
            ["dbus-run-session", "--", kwin, "--virtual", "--width", str(WIDTH), "--height",
             str(HEIGHT), "--xwayland", "--socket", "wl-tipdesk-suite", "--no-lockscreen",
             "--exit-with-session", script], self.log, env=env, new_group=True)
        self.connect_bus(session_env)
        if not wait_until(lambda: self.has_name("org.kde.plasmashell")
                          and self.has_name("org.kde.StatusNotifierWatcher"), 60):
            raise PartFailed("plasmashell or the notification area did not come up within 60 s "
                             f"(logs: {self.folder})")
        # The panel is there once it cuts the work area.
        if not wait_until(lambda: self.windows()[0]["h"] < HEIGHT, 60, interval=0.5):
            raise PartFailed("the panel did not appear within 60 s")
        self.run_in_session(["kbuildsycoca5"])  # lets KWin find the screenshot entry

    def _script(self, body, **values):
        """Runs a KWin script and returns what it passed to answer()."""
        self.scripts += 1
        tag = f"tipdesk-suite-{self.scripts}"
        path = os.path.join(self.folder, "kwin-scripts", f"{tag}.js")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        constants = "".join(f"var {name} = {json.dumps(value)};\n" for name, value in values.items())
        with open(path, "w") as script:
            script.write(f"(function () {{\n{constants}"
                         f"var answer = function (value) {{ print('{tag} ' + JSON.stringify(value)); }};\n"
                         f"{body}}})();\n")
        start = os.path.getsize(self.log)
        scripting = self.bus.get_object("org.kde.KWin", "/Scripting")
        # loadScript is overloaded; the signature picks the one that takes a name.
        self.bus.call_blocking("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "loadScript",
                               "ss", (path, tag))
        scripting.start(dbus_interface="org.kde.kwin.Scripting")

        def answered():
            with open(self.log, encoding="utf-8", errors="replace") as log:
                log.seek(start)
                for line in log:
                    if f"{tag} " in line:
                        return line.split(f"{tag} ", 1)[1]
            return None
        answer = wait_until(answered, 10, interval=0.05)
        scripting.unloadScript(tag, dbus_interface="org.kde.kwin.Scripting")
        if answer is None:
            raise PartFailed(f"KWin did not run the script {path} within 10 s")
        return json.loads(answer)

    def windows(self):
        found = self._script(WINDOWS_SCRIPT)
        return found["area"], found["screen"], found["windows"]

    def minimise(self, pid, title):
        return self._script(MINIMISE_SCRIPT, PID=pid, TITLE=title)

    def screenshot(self, path):
        answer = self.run_in_session(
            ["gdbus", "call", "--session", "--dest", "org.kde.KWin", "--object-path", "/Screenshot",
             "--method", "org.kde.kwin.Screenshot.screenshotFullscreen", "false"])
        taken = answer.stdout.strip().strip("(),'")
        if answer.returncode != 0 or not os.path.isfile(taken):
            print(f"  (no screenshot: {answer.stderr.strip() or answer.stdout.strip()})")
            return False
        shutil.move(taken, path)
        return True
