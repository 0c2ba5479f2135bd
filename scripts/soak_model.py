"""The soak's bookkeeping without any process in it: the generated folder and the order the
desktop walks it in, the fault schedule, the desktop's picture lines, and the invariants
judged from what the run recorded. scripts/soak.py drives the frame; tests/soak reach this."""
import os
import re
import subprocess

import frame_lines

WINDOWS_PROGRAMS = ["Dockhaven.exe", "Glimmora.exe", "Tandrel.dll", "rapi.dll", "handheld-agent.exe",
                    "installer-runner.exe", "process-usage.exe"]
WINDOWS_TARGETS = ["Dockhaven", "Glimmora", "Tandrel", "rapi", "handheld-agent", "installer-runner",
                   "process-usage"]
FAULTS = ["undocked", "agent killed mid write", "storage full", "dockhaven killed", "viewer killed",
          "slideshow closed", "folder changed"]

# Names beyond ASCII within the desktop's code page (CP1252), so the desktop can open them.
WORDS = ["Straße", "Café", "Måne", "Øresund", "Ähre", "plain", "sunset", "Zoë", "coast", "Niño"]
SIZES = [(640, 480), (480, 640), (1600, 1200), (300, 200), (200, 300), (1024, 1024), (2000, 700),
         (120, 160), (900, 1600), (2560, 1600)]
SUBFOLDERS = ["1 Frühling", "2 Sommer"]


def sent_line(line):
    """(before, after, ms, host path) of one of Dockhaven's delivery lines, or None; the
    frame's reader undoes Wine's quoting and finds a picture named by its short alias."""
    try:
        sent = frame_lines.parse_line(line.encode("latin-1"))
    except frame_lines.BadLine:
        return None
    if sent is None or sent.cut:
        return None
    return sent.before, sent.after, sent.milliseconds, frame_lines.real_host_path(host_path(sent.source))


def host_path(source):
    """A desktop path through Wine's Z: drive as the host's path."""
    return frame_lines.host_path(source)


def reg_value(output, name):
    """The data reg.exe query prints for value name, or None when it is absent."""
    for line in output.replace("\r", "").split("\n"):
        fields = line.split()
        if len(fields) >= 2 and fields[0] == name:
            parts = line.strip().split(None, 2)
            return parts[2] if len(parts) > 2 else ""
    return None


def parse_usage(text):
    """{program: (pid, private bytes, handles, gdi objects)} from process-usage's lines."""
    found = {}
    for line in text.replace("\r", "").split("\n"):
        f = line.split()
        if len(f) >= 5 and f[1].isdigit():
            row = (int(f[1]), int(f[2]), int(f[3]), int(f[4]))
            # A starting viewer that hands its picture over lives a moment beside the
            # slideshow's; the slideshow is the one that holds a picture.
            if f[0].lower() not in found or row[1] > found[f[0].lower()][1]:
                found[f[0].lower()] = row
    return found


def host_fds(pids):
    """Open file descriptors of the host processes of one program: what Wine holds open
    for it (files, sockets, the server's channels)."""
    total = 0
    for pid in pids:
        try:
            total += len(os.listdir("/proc/%d/fd" % pid))
        except OSError:
            pass
    return total


# Wine's own services, which every program started in a prefix may start again; the soak's
# own look-ups (reg.exe, process-usage) start programs there, so these are not the frame's.
WINE_SERVICES = ("services.exe", "winedevice.exe", "plugplay.exe", "svchost.exe", "rpcss.exe",
                 "explorer.exe", "wineserver", "conhost.exe", "start.exe", "reg.exe", "process-usage.exe")


def age(pid):
    """Seconds since the process started (0 when it is gone)."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            start = int(f.read().rsplit(")", 1)[1].split()[19])
        with open("/proc/uptime") as f:
            return float(f.read().split()[0]) - start / os.sysconf("SC_CLK_TCK")
    except (OSError, ValueError, IndexError):
        return 0.0


def own_processes(pids, settled=5.0):
    """How many of the processes are the frame's own (its programs, not Wine's services),
    leaving out the ones younger than `settled` seconds: the viewer a picture's launch just
    started lives a moment to hand the picture over."""
    return sum(1 for p in pids if age(p) >= settled and
               not any(s in command_of(p).split(" ")[0].lower() for s in WINE_SERVICES))


def command_of(pid):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            return f.read().replace(b"\0", b" ").decode("utf-8", "replace").strip()
    except OSError:
        return "?"


def schedule(pictures, rng):
    """{picture number: fault}: every fault once, in an order the seed fixes, after the start
    and in the first part of the run so that the rest shows whether anything grows."""
    kinds = FAULTS[:]
    rng.shuffle(kinds)
    # A short run leaves its last two thirds fault-free, so that the programs a fault
    # restarted have shown every picture again before their growth is judged.
    first, last = (2, pictures // 3) if pictures < 60 else (10, pictures // 2)
    step = (last - first) // len(kinds)
    return {first + i * step + rng.randrange(max(1, step // 3)): k for i, k in enumerate(kinds)}


def make_picture(path, size, index):
    w, h = size
    colours = ["red", "navy", "gold", "teal", "orchid", "sienna", "lime", "slateblue", "coral", "white"]
    a, b, c = (colours[(index * k + k) % len(colours)] for k in (1, 3, 7))
    r = max(4, min(w, h) // (3 + index % 4))
    cx, cy = (index * 37) % w, (index * 53) % h
    tmp = path + ".part"
    subprocess.run(["convert", "-size", "%dx%d" % (w, h), "gradient:%s-%s" % (a, b), "-fill", c,
                    "-draw", "circle %d,%d %d,%d" % (cx, cy, cx + r, cy), "-quality", "88", "jpeg:" + tmp],
                   check=True)
    # Moved in whole: the desktop must never list half a picture.
    os.replace(tmp, path)


class Walk:
    """The folder tree and the desktop's name order through it: the root's pictures, then
    each subfolder's, then from the top again. Deleted pictures stay in the sequence but are
    refused, as are pictures the pipeline cannot read (`refused`, given by the caller)."""

    def __init__(self, root):
        self.root = root
        self.sequence = []
        self.refused = lambda path: not os.path.exists(path)

    def generate(self, count, rng):
        if os.path.isdir(self.root):
            import shutil
            shutil.rmtree(self.root)
        os.makedirs(self.root)
        for s in SUBFOLDERS:
            os.makedirs(os.path.join(self.root, s))
        order = list(range(count))
        rng.shuffle(order)  # sizes and names do not follow the order
        for i in range(count):
            folder = self.root if i < count * 2 // 3 else os.path.join(
                self.root, SUBFOLDERS[0 if i < count * 5 // 6 else 1])
            ext = ".jpeg" if i % 7 == 3 else ".jpg"
            name = "%03d %s%s" % (i + 1, WORDS[order[i] % len(WORDS)], ext)
            make_picture(os.path.join(folder, name), SIZES[order[i] % len(SIZES)], i)
        self.sequence = self.listing()

    def listing(self):
        files = []
        for folder in [self.root] + [os.path.join(self.root, s) for s in sorted(os.listdir(self.root))
                                     if os.path.isdir(os.path.join(self.root, s))]:
            files += [os.path.join(folder, n) for n in sorted(os.listdir(folder))
                      if n.lower().endswith((".jpg", ".jpeg", ".jpe"))]
        return files

    def files(self):
        return [p for p in self.sequence if os.path.exists(p)]

    def index(self, path):
        """Where path lies in the sequence; names read back from the desktop's registry may have
        lost their accents, so a picture is also known by its folder and its number."""
        if path in self.sequence:
            return self.sequence.index(path)
        key = self.key(path)
        for i, p in enumerate(self.sequence):
            if self.key(p) == key:
                return i
        return None

    def key(self, path):
        rel = os.path.relpath(path, self.root)
        parent = os.path.dirname(rel)
        return parent[:2], os.path.basename(rel)[:3]

    def successor(self, anchor):
        """The picture the desktop sends after anchor (None: the first of the folder)."""
        start = -1 if anchor is None else self.index(anchor)
        if start is None:
            start = -1
        n = len(self.sequence)
        for step in range(1, n + 1):
            p = self.sequence[(start + step) % n]
            if not self.refused(p):
                return p
        return None

    def lost_between(self, expected, actual):
        """Pictures passed over from expected up to (not including) actual."""
        a, b = self.index(expected), self.index(actual)
        if a is None or b is None:
            return 0
        n = len(self.sequence)
        return sum(1 for k in range((b - a) % n) if not self.refused(self.sequence[(a + k) % n]))

    def check_next(self, previous, path, resume):
        """(in order?, explanation, pictures passed over) for a delivered picture."""
        if resume is not None:
            kind, saved = resume
            expected = self.successor(saved)
            why = ("resumed after a %s at the saved point %s" % (
                "crash" if kind == "crash" else "stop on the handheld",
                os.path.relpath(saved, self.root) if saved else "(none: the top of the folder)"))
        else:
            expected = self.successor(previous)
            why = "after %s" % (os.path.relpath(previous, self.root) if previous else "the start")
        if previous is None and resume is None:
            expected = self.successor(None)
        if path == expected or (expected and self.key(path) == self.key(expected)):
            return True, why, 0
        lost = self.lost_between(expected, path) if expected else 0
        return False, "%s: %s came instead of %s" % (why, os.path.relpath(path, self.root),
                                                     os.path.relpath(expected, self.root) if expected else "nothing"), lost

    def root_files(self):
        return [p for p in self.sequence if os.path.dirname(p) == self.root]

    def mid_root(self, last):
        files = self.root_files()
        return last in files and files.index(last) + 3 < len(files)

    def change_folder(self, last):
        """A picture added at the top of the root, the second after last deleted, the third
        cut to 40 % of its bytes; returns their paths."""
        files = self.root_files()
        i = files.index(last)
        deleted, cut = files[i + 2], files[i + 3]
        os.remove(deleted)
        data = open(cut, "rb").read()
        with open(cut + ".part", "wb") as f:
            f.write(data[:len(data) * 2 // 5])
        os.replace(cut + ".part", cut)
        added = os.path.join(self.root, "000 Neuzugang.jpg")
        make_picture(added, (800, 600), 99)
        self.sequence.insert(0, added)
        return added, deleted, cut


class Checks:
    """Every check of the run and its outcome, for the report."""

    def __init__(self):
        self.orders = []  # (n, ok, note, lost)
        self.departures = []
        self.storages = []  # (when, problems)
        self.screens = []  # (n, path, differing)
        self.problems = []

    def order(self, n, ok, note, lost=0):
        self.orders.append((n, ok, note, lost))

    def departure(self, n, note):
        self.departures.append("picture %d %s" % (n, note))

    def storage(self, when, problems):
        self.storages.append((when, problems))

    def screen(self, n, path, differing):
        self.screens.append((n, path, differing))

    def stall(self, n, seconds):
        self.problems.append("no picture for %d s after picture %d" % (seconds, n))

    def fault_missing(self, kind):
        self.problems.append("the fault '%s' was never injected" % kind)

    def broken(self, what, why):
        self.problems.append("%s broke off: %s" % (what, why))

    def lost_between(self, first, last):
        return sum(lost for n, _, _, lost in self.orders if first <= n <= last)

    def notes(self):
        out = ["departure: " + d for d in self.departures]
        out += ["order: picture %d %s" % (n, note) for n, ok, note, _ in self.orders if not ok]
        for when, problems in self.storages:
            out += ["storage %s: %s" % (when, p) for p in problems]
        out += ["screen: picture %d showed %s differing pixels" % (n, d) for n, _, d in self.screens
                if d is None or d < 0 or d >= 100]
        return out + self.problems


def growth(usage, bound):
    """The resource table. Each program is measured after every picture from picture 20 on;
    its figures at the end are compared with the earliest measurement of the same instance
    taken while the same picture was on the handheld (a program's memory follows the picture
    it holds), or with its earliest one when that picture did not come round again. Returns
    the rows and whether any figure grew beyond bound."""
    rows, ok = [], True
    if not usage:
        return {"rows": [], "ok": False, "processes": None}
    end_n, end, end_counts, end_source = usage[-1]
    for name in ("dockhaven.exe", "glimmora.exe", "handheld-agent.exe"):
        if name not in end:
            rows.append((name, 0, end_n, "-", "-", "-", "-", "not running at the end"))
            ok = False
            continue
        pid = end[name][0]
        same = [(n, f[name]) for n, f, _, src in usage[:-1] if name in f and f[name][0] == pid and src == end_source]
        instance = [(n, f[name]) for n, f, _, _ in usage[:-1] if name in f and f[name][0] == pid]
        base_n, base = (same or instance or [(end_n, end[name])])[0]
        grew = []
        cells = []
        for k, label in ((1, "private bytes"), (2, "handles"), (3, "GDI objects"), (4, "host fds")):
            a, b = (base[k], end[name][k]) if len(base) > k and len(end[name]) > k else (-1, -1)
            # Wine answers 0 for the GDI objects of another process: not a figure.
            if a <= 0 or b <= 0:
                cells.append("n/a")
                continue
            cells.append("%s -> %s" % (a, b) if k > 1 else "%.2f -> %.2f MiB" % (a / 1048576, b / 1048576))
            if b > a * (1 + bound) and b - a >= 1:
                grew.append(label)
        rows.append((name, base_n, end_n, cells[0], cells[1], cells[2], cells[3],
                     ("none" if not grew else "GREW: " + ", ".join(grew)) +
                     ("" if same else " (not the same picture on screen)")))
        ok = ok and not grew and end_n > base_n
    # The frame's own processes in both prefixes, the fewest of five measurements against the
    # fewest of the last five, well after the faults have restarted programs.
    earlier = usage[-10:-5] if len(usage) >= 10 else usage[:5]
    base_counts = tuple(min(u[2][i] for u in earlier) for i in (0, 1))
    end_counts = tuple(min(u[2][i] for u in usage[-5:]) for i in (0, 1))
    processes_ok = end_counts[0] <= base_counts[0] and end_counts[1] <= base_counts[1]
    return {"rows": rows, "ok": ok and processes_ok, "processes": (base_counts, end_counts, processes_ok)}


def timing(deliveries, faults, interval, slack):
    """Gaps between pictures outside the faults: their average against the interval plus the
    delivery time, and the longest against two intervals."""
    gaps, took = [], []
    for i in range(1, len(deliveries)):
        t0, t1 = deliveries[i - 1][0], deliveries[i][0]
        if any(f["number"] <= i < f["number"] + 2 or (f["start"] <= t1 and t0 <= (f["end"] or t1) + 1)
               for f in faults):
            continue
        gaps.append(t1 - t0)
        took.append(deliveries[i][2] / 1000.0)
    if not gaps:
        return {"ok": False, "text": "no gaps outside the faults"}
    average = sum(gaps) / len(gaps)
    delivery = sum(took) / len(took)
    longest = max(gaps)
    ok = average <= interval + delivery + slack and longest <= 2 * interval
    return {"ok": ok, "text": "average interval %.2f s over %d gaps (asked %d s + delivery %.2f s, "
                              "%.1f s reading slack); longest gap outside faults %.1f s (at most %d s)" % (
                                  average, len(gaps), interval, delivery, slack, longest, 2 * interval)}


def invariants(soak, figures, times, left, bound, slack):
    c = soak.checks
    out = []
    bad_order = [o for o in c.orders if not o[1]]
    out.append(("order", not bad_order,
                "%d pictures in the display order, %d departures, all explained (see below); %d out of order" % (
                    len(c.orders), len(c.departures), len(bad_order))))
    bad_storage = [s for s in c.storages if s[1]]
    out.append(("nothing partial", not bad_storage,
                "%d checks of the handheld's picture folder, %d found a file that was not whole or not the "
                "desktop's JPEG, or more than the kept maximum" % (len(c.storages), len(bad_storage))))
    worst = max((d for _, _, d in c.screens if d is not None), default=None)
    bad_screen = [s for s in c.screens if s[2] is None or s[2] < 0 or s[2] >= 100]
    out.append(("on screen", bool(c.screens) and not bad_screen,
                "%d screens compared with the pipelines' picture, worst %s pixels differ (fewer than 100)" % (
                    len(c.screens), worst)))
    procs = figures.get("processes")
    ptext = "prefix processes (desktop, handheld) %s then %s" % (procs[0], procs[1]) if procs else "not measured"
    out.append(("nothing grows", figures["ok"] and not left,
                "bound %.0f %% per figure; %s; %s left running after the end" % (
                    bound * 100, ptext, len(left) if left else "nothing")))
    out.append(("timing", times["ok"], times["text"]))
    bad_faults = [f for f in soak.faults if not f["effect"] or f["recovered"] is None or f["lost"]]
    out.append(("faults", not bad_faults and not c.problems and len(soak.faults) >= len(FAULTS),
                "%d injected, %d recovered with no picture lost" % (len(soak.faults),
                                                                   len(soak.faults) - len(bad_faults))))
    return out
