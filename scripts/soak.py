#!/usr/bin/env python3
"""The whole frame soaked: Dockhaven sends a generated folder to the emulated handheld for
hundreds of pictures while faults arrive on a schedule, and invariants are checked as it runs.

  soak [--pictures N] [--interval S] [--home DIR] [--size WxH] [--seed K] [--report FILE]

  --pictures N    pictures to deliver (300); the folder holds N/3 distinct ones
  --interval S    Dockhaven's interval, 5 to 86400 seconds (5)
  --home DIR      where the handheld, the desktop, the pictures and the logs live (build/soak)
  --size WxH      the handheld's screen (240x320)
  --seed K        fixes the folder and the fault schedule (1)
  --report FILE   the report as text (the terminal gets the same summary)
  --no-build      the programs must already be built

GLIMMORA_DOCKHAVEN names another Dockhaven.exe to soak (as scripts/desktop takes it).

Faults, each at least once: the handheld undocked for two intervals, its agent killed in the
middle of a write, its storage card full, Dockhaven killed and started again with /start, the
viewer killed, the handheld's user closing the slideshow followed by /start, and the folder
changing (a picture added, one deleted, one cut short). Exit status 1 when an invariant
breaks, 2 for a usage error, 3 when the frame could not be set up.
"""
import argparse
import hashlib
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import soak_model as model  # noqa: E402

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HANDHELD = os.path.join(HERE, "scripts", "handheld")
DESKTOP = os.path.join(HERE, "scripts", "desktop")
WINE = os.path.join(HERE, "scripts", "wine")
KEEP = 5  # pictures the handheld keeps
GROWTH_BOUND = 0.01  # measuring noise allowed on each resource figure
TIMING_SLACK = 1.0  # seconds of reading latency allowed on the average interval


def say(text):
    print("soak: " + text, flush=True)


def run(args, env=None, timeout=120, check=True, quiet=True, encoding="utf-8"):
    out = subprocess.run(args, env=env, timeout=timeout, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL if quiet else None)
    if check and out.returncode != 0:
        raise RuntimeError("failed: " + " ".join(args))
    return out.stdout.decode(encoding, "replace")


def winpath(path):
    return "Z:" + path.replace("/", "\\")


class Frame:
    """Both sides of the frame and the handles the faults need."""

    def __init__(self, home, size, interval, preset):
        self.home = home
        self.hh = os.path.join(home, "handheld")
        self.dk = os.path.join(home, "desktop")
        self.pictures = os.path.join(home, "pictures")
        self.size = size
        self.width, self.height = (int(v) for v in size.split("x"))
        self.interval = interval
        self.bin = os.path.join(HERE, "build", preset, "bin")
        self.view = "/reg:64" if preset == "win64" else "/reg:32"
        self.env = dict(os.environ, GLIMMORA_WINDOWS_PRESET=preset,
                        GLIMMORA_AGENT=os.path.join(self.bin, "handheld-agent.exe"),
                        GLIMMORA_DOCKHAVEN=os.environ.get("GLIMMORA_DOCKHAVEN")
                        or os.path.join(self.bin, "Dockhaven.exe"))
        self.env.pop("DISPLAY", None)
        self.env.pop("GLIMMORA_HANDHELD_WINDOW", None)
        self.log = os.path.join(self.dk, "run", "dockhaven.log")

    def storage(self):
        """The host folder of the handheld's \\ (its storage)."""
        for d in (os.path.join(self.hh, "storage"), os.path.join(self.hh, "prefix", "drive_c")):
            if os.path.isdir(os.path.join(d, "My Documents")):
                return d
        return os.path.join(self.hh, "prefix", "drive_c")

    def kept_folder(self):
        return os.path.join(self.storage(), "My Documents", "Glimmora")

    def card(self, text):
        path = os.path.join(self.hh, "card")
        if text is None:
            if os.path.exists(path):
                os.remove(path)
        else:
            with open(path + ".new", "w") as f:
                f.write(text + "\n")
            os.replace(path + ".new", path)

    def set_up(self):
        for d in (self.hh, self.dk):
            if os.path.isdir(d):
                script = HANDHELD if d == self.hh else DESKTOP
                run([script, "stop", d], env=self.env, check=False)
                shutil.rmtree(d)
        jobs = [subprocess.Popen([HANDHELD, "create", self.hh, "--size", self.size], env=self.env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL),
                subprocess.Popen([DESKTOP, "create", self.dk], env=self.env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
        if any(j.wait() != 0 for j in jobs):
            raise RuntimeError("the handheld or the desktop could not be made")
        self.start_handheld()
        run([HANDHELD, "install", self.hh, "--from", self.bin], env=self.env)
        run([HANDHELD, "run", self.hh, "reg", "add", "HKCU\\Software\\Kestrova\\Glimmora", "/f", self.view],
            env=self.env)
        folder = winpath(self.pictures) + "\\"
        lines = ["Windows Registry Editor Version 5.00", "",
                 "[HKEY_CURRENT_USER\\Software\\Kestrova\\Glimmora]",
                 '"ImageFolderPath"="%s"' % folder.replace("\\", "\\\\")]
        for name, value in (("FileSortBy", 1), ("FileSortAscending", 1), ("PictureChangeInterval", self.interval),
                            ("AutoStart", 1), ("AutoStartDelay", 0), ("ShowCalendar", 0),
                            ("DoNotRemoveTempFiles", 1), ("PPC_TempMaxFileCount", KEEP)):
            lines.append('"%s"=dword:%08x' % (name, value))
        lines += ['"PPC_TempFilePath"=""', '"LastImageFilePath"=""', ""]
        reg = os.path.join(self.home, "settings.reg")
        with open(reg, "wb") as f:
            f.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))
        run([DESKTOP, "run", self.dk, "reg", "import", winpath(reg), self.view], env=self.env)

    def start_handheld(self):
        run([HANDHELD, "start", self.hh], env=self.env, timeout=120)

    def start_dockhaven(self):
        env = dict(self.env, GLIMMORA_WINEDEBUG="-all,+debugstr")
        run([DESKTOP, "start", self.dk, "--handheld", self.hh, "/start"], env=env)

    def second_copy(self, *args):
        run([DESKTOP, "run", self.dk, self.env["GLIMMORA_DOCKHAVEN"]] + list(args), env=self.env, timeout=60)

    def stop(self):
        for script, d in ((DESKTOP, self.dk), (HANDHELD, self.hh)):
            if os.path.isdir(os.path.join(d, "prefix")):
                run([script, "stop", d], env=self.env, check=False, timeout=120)

    def display(self):
        with open(os.path.join(self.hh, "run", "display")) as f:
            return f.read().strip()

    # reg.exe prints to a pipe in the prefix's OEM code page (850 in ours).
    def dk_value(self, name):
        out = run([DESKTOP, "run", self.dk, "reg", "query", "HKCU\\Software\\Kestrova\\Glimmora", "/v", name,
                   self.view], env=self.env, check=False, timeout=60, encoding="cp850")
        return model.reg_value(out, name)

    def hh_value(self, name):
        out = run([HANDHELD, "run", self.hh, "reg", "query", "HKCU\\Software\\Kestrova\\Glimmora", "/v", name,
                   self.view], env=self.env, check=False, timeout=60)
        return model.reg_value(out, name)

    def prefix_pids(self, side, program=None, wine_only=False):
        """Host pids of the processes of one side's prefix (optionally only one program's, or
        only Wine's own processes, leaving out the scripts that carry the prefix too)."""
        prefix = ("WINEPREFIX=" + os.path.join(self.hh if side == "hh" else self.dk, "prefix")).encode()
        pids = []
        for pid in os.listdir("/proc"):
            if not pid.isdigit() or int(pid) == os.getpid():
                continue
            try:
                with open("/proc/%s/environ" % pid, "rb") as f:
                    if prefix not in f.read().split(b"\0"):
                        continue
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    cmd = f.read()
                with open("/proc/%s/stat" % pid) as f:
                    if f.read().rsplit(")", 1)[1].split()[0] == "Z":
                        continue
                exe = os.readlink("/proc/%s/exe" % pid)
            except OSError:
                continue
            if wine_only and not exe.startswith("/usr/lib/wine/"):
                continue
            if program is None or program.encode() in cmd:
                pids.append(int(pid))
        return pids

    def kill(self, side, program):
        pids = self.prefix_pids(side, program, wine_only=True)
        for p in pids:
            try:
                os.kill(p, 9)
            except OSError:
                pass
        return pids

    def terminate(self, side, program):
        """Ends a program outright from inside its prefix, as a crash or the task manager
        would; True when one was running."""
        script, d = (DESKTOP, self.dk) if side == "dk" else (HANDHELD, self.hh)
        had = bool(self.prefix_pids(side, program, wine_only=True))
        run([script, "run", d, "taskkill", "/F", "/IM", program], env=self.env, check=False, timeout=60)
        deadline = time.time() + 10
        while time.time() < deadline and self.prefix_pids(side, program, wine_only=True):
            time.sleep(0.2)
        return had and not self.prefix_pids(side, program, wine_only=True)

    def dockhaven_running(self):
        return bool(self.prefix_pids("dk", "Dockhaven.exe", wine_only=True))

    def usage(self):
        """Resource figures of Dockhaven, the viewer and the agent, by program name."""
        tool = os.path.join(self.bin, "process-usage.exe")
        rows = run([DESKTOP, "run", self.dk, tool, "Dockhaven.exe"], env=self.env, check=False, timeout=60)
        rows += run([HANDHELD, "run", self.hh, tool, "Glimmora.exe", "handheld-agent.exe"], env=self.env,
                    check=False, timeout=60)
        return model.parse_usage(rows)

    def shot(self, out):
        return subprocess.run(["import", "-display", self.display(), "-window", "root", out],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20).returncode == 0


class Pictures:
    """The generated folder and what the desktop's pipeline makes of each picture."""

    def __init__(self, frame, tool, work):
        self.frame = frame
        self.tool = tool
        self.work = work
        self.expected = {}  # path -> (mtime, bytes or None when the pipeline refuses it)

    def encoded(self, path):
        mtime = os.stat(path).st_mtime_ns if os.path.exists(path) else None
        cached = self.expected.get(path)
        if cached and cached[0] == mtime:
            return cached[1]
        out = os.path.join(self.work, "expected.jpg")
        ok = mtime is not None and subprocess.run(
            [self.tool, "send", path, str(self.frame.width), str(self.frame.height), out],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0
        data = open(out, "rb").read() if ok else None
        self.expected[path] = (mtime, data)
        return data

    def screen(self, path, out):
        """What the handheld's screen shows for a desktop picture, as out (PNG)."""
        sent = os.path.join(self.work, "screen-sent.jpg")
        shown = os.path.join(self.work, "screen-shown.bmp")
        w, h = self.frame.width, self.frame.height
        with open(sent, "wb") as f:
            f.write(self.encoded(path))
        run([self.tool, "show", sent, str(w), str(h), "0", "0", shown])
        pw, ph = (int(v) for v in run(["identify", "-format", "%w %h", shown]).split())
        run(["convert", shown, "-background", "black", "-extent",
             "%dx%d%+d%+d" % (w, h, int((pw - w) / 2), int((ph - h) / 2)), "+repage", out])


def differing_pixels(a, b):
    out = subprocess.run(["compare", "-metric", "AE", "-fuzz", "3%", a, b, "null:"],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT).stdout.decode()
    try:
        return int(float(out.split()[0]))
    except (ValueError, IndexError):
        return -1


class Soak:
    def __init__(self, opts, frame, pictures, walk):
        self.opts = opts
        self.frame = frame
        self.pics = pictures
        self.walk = walk
        self.interval = opts.interval
        self.started = time.time()
        self.deliveries = []  # (time, source, ms, before, after)
        self.checks = model.Checks()
        self.faults = []  # dict: number, kind, start, end, recovered, lost
        self.usage = []  # (delivery count, {name: (pid, bytes, handles, gdi)}, prefix process counts)
        self.expect_after = None  # the resume point the next delivery follows (None: the walk's order)
        self.log_offset = 0
        self.pending = ""
        self.queued = []  # (time read, line) not yet taken
        self.lock = threading.Lock()
        self.stopping = threading.Event()
        self.stale = set()  # expected encodings of pictures sent earlier (kept files may hold them)

    # ---------------------------------------------------------------- the desktop's lines
    def read_lines(self):
        try:
            with open(self.frame.log, "rb") as f:
                f.seek(self.log_offset)
                data = f.read()
        except OSError:
            return []
        self.log_offset += len(data)
        self.pending += data.decode("latin-1")
        lines = self.pending.split("\n")
        self.pending = lines.pop()
        found = []
        for line in lines:
            sent = model.sent_line(line)
            if sent:
                found.append(sent)
        return found

    def caught_up(self):
        with self.lock:
            return not self.queued

    def watch_log(self):
        """Reads the desktop's lines as they come, on a thread of its own, so that each is
        stamped when Dockhaven wrote it even while the soak is busy with a check or a fault."""
        while not self.stopping.is_set():
            lines = self.read_lines()
            if lines:
                now = time.time()
                with self.lock:
                    self.queued += [(now, line) for line in lines]
            time.sleep(0.05)

    def wait_delivery(self, limit):
        """Waits up to limit seconds for the next picture; True when one came. Lines read
        together are taken one at a time."""
        deadline = time.time() + limit
        while True:
            with self.lock:
                item = self.queued.pop(0) if self.queued else None
            if item:
                at, (before, after, ms, source) = item
                self.delivered(at, source, ms, before, after)
                return True
            if time.time() >= deadline:
                return False
            time.sleep(0.05)

    def delivered(self, at, path, ms, before, after):
        n = len(self.deliveries) + 1
        self.deliveries.append((at, path, ms, before, after))
        previous = self.deliveries[-2][1] if n > 1 else None
        verdict, note, lost = self.walk.check_next(previous, path, self.expect_after)
        if self.expect_after is not None:
            self.checks.departure(n, note)
        self.expect_after = None
        self.checks.order(n, verdict, note, lost)
        data = self.pics.encoded(path)
        if data is not None:
            self.stale.add(hashlib.sha256(data).hexdigest())
        say("%3d  %s  %s -> %s  %d ms%s" % (n, os.path.relpath(path, self.frame.pictures), before, after, ms,
                                              "" if verdict else "  ORDER: " + note))

    # ---------------------------------------------------------------- checks
    def check_storage(self, when, newest=None):
        """Nothing partial: every file in the picture folder a whole picture the desktop sent."""
        folder = self.frame.kept_folder()
        problems = []
        try:
            names = sorted(os.listdir(folder))
        except OSError:
            names = []
        pictures = [n for n in names if re.fullmatch(r"Glimmora_\d{3}\.jpg", n)]
        for n in names:
            if n not in pictures:
                problems.append("a stray file %s" % n)
        if newest is not None and not pictures:
            problems.append("no picture at all in %s after one was sent" % folder)
        if len(pictures) > KEEP:
            problems.append("%d pictures kept (at most %d)" % (len(pictures), KEEP))
        latest = None
        for n in pictures:
            try:
                data = open(os.path.join(folder, n), "rb").read()
                mtime = os.stat(os.path.join(folder, n)).st_mtime_ns
            except OSError:
                continue
            if hashlib.sha256(data).hexdigest() not in self.stale:
                problems.append("%s (%d bytes) is not a whole picture the desktop sent" % (n, len(data)))
            if latest is None or mtime > latest[0]:
                latest = (mtime, n, data)
        if newest is not None and latest is not None:
            data = self.pics.encoded(newest)
            if data is not None and latest[2] != data:
                problems.append("the newest file %s is not the desktop's JPEG of %s" % (latest[1], newest))
        self.checks.storage(when, problems)
        return problems

    def check_screen(self, n, path):
        expected = os.path.join(self.pics.work, "screen-expected.png")
        self.pics.screen(path, expected)
        shot = os.path.join(self.pics.work, "screen.png")
        best = None
        deadline = time.time() + min(self.interval, 8)
        while time.time() < deadline:
            if self.frame.shot(shot):
                d = differing_pixels(shot, expected)
                if d >= 0 and (best is None or d < best):
                    best = d
                if d >= 0 and d < 100:
                    break
            time.sleep(0.3)
        self.checks.screen(n, path, best)

    def measure(self):
        dk, hh = self.frame.prefix_pids("dk", wine_only=True), self.frame.prefix_pids("hh", wine_only=True)
        counts = (model.own_processes(dk), model.own_processes(hh))
        with open(os.path.join(self.pics.work, "processes.log"), "a") as log:
            log.write("picture %d: %s\n" % (len(self.deliveries), " | ".join(model.command_of(p) for p in dk + hh)))
        figures = self.frame.usage()
        # The sides' processes were listed once above; each program's are picked from them.
        for name, program, pids in (("dockhaven.exe", "Dockhaven.exe", dk), ("glimmora.exe", "Glimmora.exe", hh),
                                    ("handheld-agent.exe", "handheld-agent.exe", hh)):
            if name in figures:
                own = [p for p in pids if program in model.command_of(p)]
                figures[name] = figures[name] + (model.host_fds(own),)
        self.usage.append((len(self.deliveries), figures, counts, self.deliveries[-1][1]))

    # ---------------------------------------------------------------- faults
    def fault(self, kind):
        f = {"number": len(self.deliveries), "kind": kind, "start": time.time(), "end": None,
             "recovered": None, "lost": 0, "effect": True, "note": ""}
        self.faults.append(f)
        say("fault after picture %d: %s" % (f["number"], kind))
        getattr(self, "fault_" + kind.replace(" ", "_"))(f)
        if f["end"] is None:
            f["end"] = time.time()
        count = len(self.deliveries)
        if self.wait_delivery(self.interval * 4 + 60):
            f["recovered"] = self.deliveries[-1][0] - f["end"]
        f["lost"] = self.checks.lost_between(f["number"] + 1, len(self.deliveries))
        self.check_storage("after the %s" % kind, self.deliveries[-1][1])

    def quiet_for(self, seconds):
        """No picture may arrive for this long; False when one did."""
        return not self.wait_delivery(seconds)

    def fault_undocked(self, f):
        time.sleep(1)
        self.frame.kill("hh", "handheld-agent.exe")
        f["effect"] = self.quiet_for(2 * self.interval)
        self.frame.start_handheld()
        f["end"] = time.time()

    def fault_agent_killed_mid_write(self, f):
        folder = self.frame.kept_folder()
        self.frame.card("slow 4000")
        since = time.time()
        hit = False
        deadline = since + self.interval * 3 + 20
        while time.time() < deadline and not hit:
            for n in os.listdir(folder) if os.path.isdir(folder) else []:
                p = os.path.join(folder, n)
                try:
                    st = os.stat(p)
                except OSError:
                    continue
                if st.st_mtime > since and st.st_size > 0:
                    hit = True
            time.sleep(0.05)
        self.frame.kill("hh", "handheld-agent.exe")
        self.frame.card(None)
        f["effect"] = hit
        f["note"] = "killed with half a picture written" if hit else "no write was caught"
        self.quiet_for(2 * self.interval)
        self.frame.start_handheld()
        f["end"] = time.time()

    def fault_storage_full(self, f):
        self.frame.card("free 2000")
        f["effect"] = self.quiet_for(self.interval + 4)
        # The card is still full: whatever the failed write left must be gone already.
        self.check_storage("while the storage card is full")
        self.frame.card(None)
        f["end"] = time.time()

    def fault_dockhaven_killed(self, f):
        time.sleep(1)
        f["effect"] = self.frame.terminate("dk", "Dockhaven.exe")
        saved = self.frame.dk_value("LastImageFilePath") or ""
        self.expect_after = ("crash", model.host_path(saved) if saved else None)
        self.frame.start_dockhaven()
        # The fault ends with the restart: the first picture may come while it is checked.
        f["end"] = time.time()
        time.sleep(3)
        if not self.frame.dockhaven_running():
            f["note"] = "Dockhaven had to be started twice"
            self.frame.start_dockhaven()
            f["end"] = time.time()

    def fault_viewer_killed(self, f):
        time.sleep(1)
        f["effect"] = self.frame.terminate("hh", "Glimmora.exe")
        f["end"] = time.time()

    def fault_slideshow_closed(self, f):
        # The Close corner is the top right one of a picture that is not turned; the picture
        # has faded in first, as a user's tap would come.
        time.sleep(2)
        stopped = False
        for _ in range(3):
            self.frame_tap(self.frame.width - 24, 24)
            deadline = time.time() + 4
            while time.time() < deadline and not stopped:
                stopped = self.frame.hh_value("RAPI_StopSlideshow") == "0x1"
            if stopped:
                break
        f["effect"] = stopped
        if not stopped:
            f["note"] = "the viewer did not record the close"
        # The session ends at its next connection: nothing more comes.
        f["effect"] = self.quiet_for(2 * self.interval + 3) and f["effect"]
        saved = self.frame.dk_value("LastImageFilePath") or ""
        last = self.deliveries[-1][1]
        if model.host_path(saved) != last:
            f["note"] = "resume point %s, not the last picture sent" % saved
            f["effect"] = False
        self.expect_after = ("stop", model.host_path(saved) if saved else None)
        self.frame.second_copy("/start")
        f["end"] = time.time()

    def frame_tap(self, x, y):
        run([HANDHELD, "tap", self.frame.hh, str(x), str(y)], env=self.frame.env, check=False)

    def fault_folder_changed(self, f):
        added, deleted, cut = self.walk.change_folder(self.deliveries[-1][1])
        f["note"] = "added %s, deleted %s, cut short %s" % tuple(
            os.path.basename(p) for p in (added, deleted, cut))
        f["end"] = time.time()

    # ---------------------------------------------------------------- the run
    def ready_for(self, kind):
        """Some faults need a moment that shows them clearly."""
        last = self.deliveries[-1]
        if kind == "slideshow closed":
            w, h = (int(v) for v in last[4].split("x"))
            return (w > h) == (self.frame.width > self.frame.height) or w == h
        if kind == "folder changed":
            return self.walk.mid_root(last[1])
        return True

    def run(self, schedule):
        n_wanted = self.opts.pictures
        threading.Thread(target=self.watch_log, daemon=True).start()
        self.frame.start_dockhaven()
        if not self.wait_delivery(120):
            raise RuntimeError("no first picture within 120 s (log: %s)" % self.frame.log)
        pending = sorted(schedule.items())
        # From here on the programs are measured after every picture: a program's memory
        # follows the picture it holds, so the end is compared with the same picture earlier.
        baseline_at = 20 if n_wanted >= 60 else n_wanted // 3 + 2
        screen_due = False
        while len(self.deliveries) < n_wanted:
            n = len(self.deliveries)
            last = self.deliveries[-1]
            # The checks look at the handheld as it is now: only while the soak has caught up
            # with the desktop's lines, or they would judge a later picture's write.
            caught_up = self.caught_up()
            if caught_up:
                self.check_storage("after picture %d" % n, last[1])
            if (n % 10 == 0 or n == 1 or screen_due) and self.caught_up():
                self.check_screen(n, last[1])
                screen_due = False
            elif n % 10 == 0:
                screen_due = True
            if n >= baseline_at and self.caught_up():
                self.measure()
            if pending and pending[0][0] <= n and self.ready_for(pending[0][1]):
                _, kind = pending.pop(0)
                self.fault(kind)
                continue
            if not self.wait_delivery(self.interval * 2 + 30):
                self.checks.stall(len(self.deliveries), self.interval * 2 + 30)
                break
        self.measure()
        self.stopping.set()
        for _, kind in pending:
            self.checks.fault_missing(kind)


def report(soak, opts, left):
    lines = []
    lines.append("Soak: %d pictures at %d s on a %s handheld, seed %d, %.1f minutes" % (
        len(soak.deliveries), opts.interval, opts.size, opts.seed, (time.time() - soak.started) / 60))
    lines.append("")
    lines.append("| picture | fault | recovered in | pictures lost | note |")
    lines.append("|---:|---|---:|---:|---|")
    for f in soak.faults:
        rec = "%.1f s" % f["recovered"] if f["recovered"] is not None else "never"
        lines.append("| %d | %s | %s | %d | %s |" % (f["number"], f["kind"], rec, f["lost"], f["note"]))
    lines.append("")
    figures = model.growth(soak.usage, GROWTH_BOUND)
    lines.append("| program | measured at | private bytes | handles | GDI objects | host fds | growth |")
    lines.append("|---|---|---|---|---|---|---|")
    for row in figures["rows"]:
        lines.append("| %s | pictures %d and %d | %s | %s | %s | %s | %s |" % row)
    lines.append("")
    timing = model.timing(soak.deliveries, soak.faults, opts.interval, TIMING_SLACK)
    inv = model.invariants(soak, figures, timing, left, GROWTH_BOUND, TIMING_SLACK)
    for name, ok, text in inv:
        lines.append("%s  %s: %s" % ("pass" if ok else "FAIL", name, text))
    for note in soak.checks.notes():
        lines.append("    " + note)
    return "\n".join(lines), all(ok for _, ok, _ in inv)


def main():
    p = argparse.ArgumentParser(prog="soak", description=__doc__.split("\n\n")[0],
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--pictures", type=int, default=300, metavar="N",
                   help="pictures to deliver, at least 30; the folder holds N/3 (default 300)")
    p.add_argument("--interval", type=int, default=5, metavar="S",
                   help="Dockhaven's interval in seconds, 5 to 86400 (default 5)")
    p.add_argument("--home", default=os.path.join(HERE, "build", "soak"), metavar="DIR",
                   help="handheld, desktop, the generated folder and logs (default build/soak)")
    p.add_argument("--size", default="240x320", metavar="WxH",
                   help="the handheld's screen (default 240x320)")
    p.add_argument("--seed", type=int, default=1, metavar="K",
                   help="fixes the folder and the fault schedule (default 1)")
    p.add_argument("--report", metavar="FILE", help="the report as text, besides the terminal")
    p.add_argument("--no-build", action="store_true",
                   help="skip the build of the programs it needs")
    opts = p.parse_args()
    if opts.pictures < 30:
        p.error("--pictures must be at least 30 (every fault needs room)")
    if not 5 <= opts.interval <= 86400:
        p.error("--interval must be 5 to 86400 seconds")
    size = re.fullmatch(r"(\d{2,4})x(\d{2,4})", opts.size)
    if not size:
        p.error("--size must look like 240x320")
    if not all(64 <= int(v) <= 4096 for v in size.groups()):
        p.error("--size: width and height must lie between 64 and 4096")

    # A stop request ends the run as Ctrl-C does: both sides stopped, the report written.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    preset = run([WINE, "--preset"]).strip()
    tool = os.path.join(HERE, "build", "native", "bin", "glimmora-picture")
    needed = [os.path.join(HERE, "build", preset, "bin", x) for x in model.WINDOWS_PROGRAMS]
    if not opts.no_build:
        for pr, targets in (("native", ["glimmora-picture"]), (preset, model.WINDOWS_TARGETS)):
            if not os.path.isfile(os.path.join(HERE, "build", pr, "build.ninja")):
                run(["cmake", "--preset", pr], quiet=True, timeout=600)
            say("building %s (%s)" % (pr, " ".join(targets)))
            run(["nice", "cmake", "--build", "--preset", pr, "--target"] + targets, timeout=3600)
    missing = [x for x in needed + [tool] if not os.path.isfile(x)]
    if missing:
        say("missing programs: " + " ".join(missing))
        return 3

    home = os.path.abspath(opts.home)
    os.makedirs(home, exist_ok=True)
    work = os.path.join(home, "work")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    frame = Frame(home, opts.size, opts.interval, preset)
    rng = random.Random(opts.seed)
    walk = model.Walk(frame.pictures)
    walk.generate(max(10, opts.pictures // 3), rng)
    pictures = Pictures(frame, tool, work)
    walk.refused = lambda path: pictures.encoded(path) is None
    schedule = model.schedule(opts.pictures, rng)
    soak = Soak(opts, frame, pictures, walk)
    say("%d pictures in %s; faults after pictures %s" % (
        len(walk.files()), frame.pictures, ", ".join("%d (%s)" % kv for kv in sorted(schedule.items()))))
    rc = 0
    try:
        try:
            frame.set_up()
        except (RuntimeError, subprocess.TimeoutExpired) as e:
            say("set-up failed: %s" % e)
            return 3
        try:
            soak.run(schedule)
        except (RuntimeError, subprocess.TimeoutExpired) as e:
            soak.checks.broken("the run", str(e))
    except KeyboardInterrupt:
        soak.checks.broken("the run", "interrupted")
    finally:
        frame.stop()
        time.sleep(2)
        left = frame.prefix_pids("dk") + frame.prefix_pids("hh")
        text, ok = report(soak, opts, left)
        print(text, flush=True)
        if opts.report:
            with open(opts.report, "w") as f:
                f.write(text + "\n")
        rc = 0 if ok else 1
    return rc


if __name__ == "__main__":
    sys.exit(main())
