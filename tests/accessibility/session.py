"""A desktop of the test's own for the program, as a screen reader meets it: an X display (Xvfb),
a D-Bus session bus, the accessibility bus on it (at-spi-bus-launcher, which starts the registry)
and the Qt program with its accessibility on, in a scratch folder with a new virtual system.

Nothing of the machine's own session is used: every process gets the few variables it needs and
no others, so that a machine with no locale and an empty environment runs it as any other.
"""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


class SessionError(Exception):
    pass


def poll(what, check, timeout, interval=0.05):
    """Returns check()'s first true value; a loaded machine gets generous deadlines."""
    end = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise SessionError("gave up waiting for " + what)
        time.sleep(interval)


class Session:
    def __init__(self, program):
        self.program = program
        self.work = tempfile.mkdtemp(prefix="vz-atspi-")
        self.system = os.path.join(self.work, "system")
        self.processes = []
        self.app = None
        self.env = {
            "PATH": "/usr/bin:/bin",
            "HOME": os.path.join(self.work, "home"),
            "XDG_RUNTIME_DIR": os.path.join(self.work, "runtime"),
            "XDG_DATA_HOME": os.path.join(self.work, "data"),
            "XDG_CONFIG_HOME": os.path.join(self.work, "config"),
        }
        for folder in ("home", "runtime", "data", "config"):
            os.makedirs(os.path.join(self.work, folder), mode=0o700)

    def start(self, timeout=60):
        self.env["DISPLAY"] = self._start_display(timeout)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._start_bus(timeout)
        self._start_accessibility_bus(timeout)
        # The client in this process talks to the same buses.
        for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS"):
            os.environ[name] = self.env[name]
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        program_env = dict(self.env)
        program_env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_ACCESSIBILITY": "1",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        })
        self.app = self._spawn([self.program, self.system], program_env, "program")

    def program_exit(self):
        return self.app.poll() if self.app else None

    def table(self, name="format.bin"):
        return os.path.join(self.system, "Windows", "System32", name)

    def program_output(self):
        try:
            with open(os.path.join(self.work, "program.log"), encoding="utf-8",
                      errors="replace") as log:
                return log.read()
        except OSError:
            return ""

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for process in reversed(self.processes):
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    def _spawn(self, argv, env, log, **kwargs):
        out = open(os.path.join(self.work, log + ".log"), "wb")
        kwargs.setdefault("stdout", out)
        process = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stderr=out,
                                   start_new_session=True, **kwargs)
        out.close()
        self.processes.append(process)
        return process

    def _start_display(self, timeout):
        if shutil.which("Xvfb") is None:
            raise SessionError("Xvfb is missing (xvfb, scripts/packages/display.txt)")
        read, write = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp"], self.env, "xvfb", pass_fds=(write,))
        os.close(write)
        number = self._read_line(read, timeout, "Xvfb to tell its display")
        return ":" + number

    def _start_bus(self, timeout):
        if shutil.which("dbus-daemon") is None:
            raise SessionError("dbus-daemon is missing (scripts/packages/accessibility.txt)")
        read, write = os.pipe()
        self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address=%d" % write],
                    self.env, "dbus", pass_fds=(write,))
        os.close(write)
        return self._read_line(read, timeout, "the D-Bus session bus to tell its address")

    def _start_accessibility_bus(self, timeout):
        if not os.access(LAUNCHER, os.X_OK):
            raise SessionError(LAUNCHER + " is missing (at-spi2-core)")
        self._spawn([LAUNCHER, "--launch-immediately"], self.env, "at-spi")

        def answers():
            result = subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                 "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)
            return result.returncode == 0 and b"unix:" in result.stdout
        poll("the accessibility bus", answers, timeout, interval=0.1)

    @staticmethod
    def _read_line(fd, timeout, what):
        data = b""
        end = time.monotonic() + timeout
        try:
            while b"\n" not in data:
                left = end - time.monotonic()
                if left <= 0 or not select.select([fd], [], [], left)[0]:
                    raise SessionError("gave up waiting for " + what)
                chunk = os.read(fd, 256)
                if not chunk:
                    raise SessionError(what + ": it ended first")
                data += chunk
        finally:
            os.close(fd)
        return data.split(b"\n", 1)[0].decode().strip()
