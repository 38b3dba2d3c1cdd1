#!/usr/bin/env python3
"""Hostile inputs through the console program, end to end.

Each case builds its files in a folder of its own, runs trimlet there, and checks
the exit code, the message, what became of the named output, and that nothing
else in the folder changed (no stray temporary file, no touched input). The
result is a table of input, exit code and message, and a closing line
"hostile: N passed, M failed".

    hostile.py TRIMLET WORK_DIR [--valgrind] [--quick] [--only TEXT]...

--valgrind runs every case under valgrind memcheck and fails a case on any
memory error or leak; --quick leaves out the cases with inputs of many
megabytes; --only keeps the cases whose name contains TEXT.
"""

import argparse
import hashlib
import os
import random
import re
import resource
import shutil
import stat
import subprocess
import sys
import time

EXIT_OK = 0
EXIT_FAILED = 255          # -1: AddSource failed
EXIT_UNREADABLE = 254      # -2: the input cannot be read
EXIT_OUT_OF_MEMORY = 253   # -3
EXIT_UNWRITABLE = 252      # -4: the output cannot be written
EXIT_INVALID = 251         # -5: the input is not JavaScript
EXIT_USAGE = 250           # -6: the command line cannot be run
VALGRIND_ERROR = 99

MB = 1024 * 1024


# ---------------------------------------------------------------------------
# Inputs

def realistic_script(size):
    """A script of about `size` bytes: functions with local variables, strings,
    regular expressions, object literals and statements ended by line breaks,
    with names that differ from block to block so the tables grow."""
    block = (
        "// block {n}\n"
        "function handler{n}(event, options) {{\n"
        "  var target = event.target, count{n} = 0, label = 'item-{n}'\n"
        "  var pattern = /^[a-z]+\\d*$/i, data = {{ id: {n}, name: \"name {n}\", tags: [1, 2, 3] }}\n"
        "  for (var i = 0; i < options.length; i++) {{\n"
        "    if (pattern.test(options[i])) count{n} += options[i].length / 2\n"
        "    else count{n}--\n"
        "  }}\n"
        "  /* keep the\n     old value */\n"
        "  return count{n} > 0 ? label + ':' + count{n} : data.name\n"
        "}}\n"
    )
    parts, total, n = [], 0, 0
    while total < size:
        text = block.format(n=n)
        parts.append(text)
        total += len(text)
        n += 1
    return "".join(parts).encode("ascii")


def one_long_line(size):
    """Statements of about `size` bytes on a single line."""
    parts, total, n = [], 0, 0
    while total < size:
        text = "v%d = f(v%d, w%d) + [1, 2][0] * (3 / 4); " % (n % 5000, (n + 1) % 5000, n % 7000)
        parts.append(text)
        total += len(text)
        n += 1
    return "".join(parts).encode("ascii")


def random_bytes(size, seed):
    return random.Random(seed).randbytes(size)


def string_of_every_byte():
    """A string literal holding every byte value that may stand in one raw:
    all but NUL (read as the end of text by old tools), the quote, the
    backslash, and the line ends LF, CR and SUB."""
    body = bytes(b for b in range(1, 256) if b not in (0x0A, 0x0D, 0x1A, 0x22, 0x5C))
    return b'var s = "' + body + b'";\n'


# ---------------------------------------------------------------------------
# Folder snapshots

def snapshot(folder):
    """Every entry under `folder`: kind, permissions, size and content hash."""
    entries = {}
    for dirpath, dirnames, filenames in os.walk(folder):
        for name in dirnames + filenames:
            path = os.path.join(dirpath, name)
            rel = os.path.relpath(path, folder)
            info = os.lstat(path)
            digest = ""
            if stat.S_ISREG(info.st_mode):
                with open(path, "rb") as f:
                    digest = hashlib.sha256(f.read()).hexdigest()
            entries[rel] = (stat.S_IFMT(info.st_mode), stat.S_IMODE(info.st_mode), info.st_size, digest)
    return entries


def read(path):
    with open(path, "rb") as f:
        return f.read()


# ---------------------------------------------------------------------------
# Cases

class Case:
    """One run of trimlet.

    files:    name -> bytes (a callable is called once, lazily), made in the folder
    args:     the command line after the program name
    output:   the named output, relative to the folder, or None
    codes:    the exit codes that are sound for this input
    message:  a pattern the output and error text must contain (for the code given
              as key, or for every code under the key None)
    check:    extra check (folder, code) -> error text or None
    setup:    extra preparation (folder) -> None, after the files are made
    large:    left out by --quick
    limit_mb: address-space limit for the run (left out under valgrind and for a
              sanitizer build)
    writes_on_failure: the output is written although the exit code reports a
              failure (a group whose unreadable inputs were skipped)
    also:     further paths a successful run may change (a link's target)
    known:    a fault already reported in the findings of this suite and not yet
              mended there; its failure is shown but not counted until then
    """

    def __init__(self, name, files, args, output, codes, message=None, check=None, setup=None,
                 large=False, timeout=120, limit_mb=None, writes_on_failure=False, known=None,
                 also=()):
        self.name = name
        self.files = files
        self.args = args
        self.output = output
        self.codes = codes
        self.message = message or {}
        self.check = check
        self.setup = setup
        self.large = large
        self.timeout = timeout
        self.limit_mb = limit_mb
        self.writes_on_failure = writes_on_failure
        self.known = known
        self.also = also


READ_ERROR = r"Error reading file"
WRITE_ERROR = r"Error writing file"
OUT_OF_MEMORY = r"Out of memory"
OK_LINE = r"- Ok!"
FAILED_LINE = r"Failed!"

# A refused input: the read error with a cause, or the Failed! line.
SYNTAX_ERROR = r"[^:\n]+:\d+:\d+: error: "
REFUSED = {EXIT_UNREADABLE: READ_ERROR, EXIT_FAILED: FAILED_LINE, EXIT_INVALID: SYNTAX_ERROR}
# Nesting far deeper than any program packs, or is refused as too deep.
DEEP = {EXIT_OK: OK_LINE, EXIT_INVALID: SYNTAX_ERROR}


def contains(*needles):
    """The output, when written, holds every one of `needles`."""
    def check(folder, code, case):
        data = read(os.path.join(folder, case.output))
        for needle in needles:
            if needle not in data:
                return "output lacks %r" % needle[:40]
        return None
    return check


def matches(pattern):
    def check(folder, code, case):
        if code != EXIT_OK:
            return None
        if not re.search(pattern, read(os.path.join(folder, case.output))):
            return "output does not match %r" % pattern
        return None
    return check


def same_as_input(name):
    """Packing leaves this input as it is (nothing in it to drop)."""
    def check(folder, code, case):
        if code != EXIT_OK:
            return None
        if read(os.path.join(folder, case.output)) != case.made[name]:
            return "output differs from the input"
        return None
    return check


def smaller_than_input(name):
    def check(folder, code, case):
        size = os.path.getsize(os.path.join(folder, case.output))
        if not 0 < size < len(case.made[name]):
            return "output of %d bytes for %d bytes of input" % (size, len(case.made[name]))
        return None
    return check


def packed_like_elsewhere(name, options=()):
    """The output equals what packing the same input to another file gives."""
    def check(folder, code, case):
        if code != EXIT_OK:
            return None
        other = os.path.join(case.work, "reference")
        shutil.rmtree(other, ignore_errors=True)
        os.makedirs(other)
        with open(os.path.join(other, name), "wb") as f:
            f.write(case.made[name])
        subprocess.run([case.program, *options, name, "packed.js"], cwd=other,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        expected = read(os.path.join(other, "packed.js"))
        shutil.rmtree(other, ignore_errors=True)
        if read(os.path.join(folder, case.output)) != expected:
            return "output differs from packing the same input to another file"
        return None
    return check


def link_target_written(link, target):
    """Writing to a symbolic link writes its target, as the shell's ">" does,
    and the link stays a link."""
    def check(folder, code, case):
        if not os.path.islink(os.path.join(folder, link)):
            return "the link was replaced by a file"
        path = os.path.join(folder, target)
        if not os.path.isfile(path) or read(path) == OLD_OUTPUT:
            return "the link's target was not written"
        return None
    return check


def make_read_only(name):
    def setup(folder):
        os.chmod(os.path.join(folder, name), 0o444)
    return setup


def make_link(name, target):
    def setup(folder):
        os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
        os.symlink(target, os.path.join(folder, name))
    return setup


def make_fifo(name):
    def setup(folder):
        os.mkfifo(os.path.join(folder, name))
    return setup


def make_sparse(name, size):
    def setup(folder):
        with open(os.path.join(folder, name), "wb") as f:
            f.truncate(size)
    return setup


def make_folder(name, inside=None):
    def setup(folder):
        os.makedirs(os.path.join(folder, name))
        if inside:
            with open(os.path.join(folder, name, inside), "wb") as f:
                f.write(b"keep me\n")
    return setup


OLD_OUTPUT = b"// the old output, which must survive a failed run\n"
PLAIN = b"var a = 1\nfunction f(x) { var y = x + a; return y }\n"


def cases():
    nested = lambda o, c: (o * 1_000_000 + c * 1_000_000).encode()
    return [
        Case("empty file", {"in.js": b""}, ["in.js", "out.js"], "out.js",
             {EXIT_UNREADABLE}, {None: READ_ERROR + "|empty file"}),
        Case("empty file, old output kept", {"in.js": b"", "out.js": OLD_OUTPUT},
             ["in.js", "out.js"], "out.js", {EXIT_UNREADABLE}, {None: READ_ERROR}),
        Case("missing input", {}, ["in.js", "out.js"], "out.js",
             {EXIT_UNREADABLE}, {None: READ_ERROR + ".*|No such file"}),
        Case("NUL bytes only", {"in.js": b"\0" * 4096}, ["in.js", "out.js"], "out.js",
             {EXIT_OK} | set(REFUSED), REFUSED, check=same_as_input("in.js")),
        Case("NUL in the middle", {"in.js": b"var a = 1;\0var b = 2;\nvar s = \"x\0y\";\n"},
             ["-nse", "-nvc", "in.js", "out.js"], "out.js", {EXIT_OK} | set(REFUSED), REFUSED,
             check=contains(b"b=2", b'"x\0y"')),
        Case("random binary, 1 MB", {"in.js": lambda: random_bytes(MB, 7)},
             ["in.js", "out.js"], "out.js", {EXIT_OK} | set(REFUSED), REFUSED,
             check=packed_like_elsewhere("in.js")),
        Case("random binary, 1 MB, -nse -nvc", {"in.js": lambda: random_bytes(MB, 8)},
             ["-nse", "-nvc", "in.js", "out.js"], "out.js", {EXIT_OK} | set(REFUSED), REFUSED),
        Case("random binary page", {"in.html": lambda: b"<script>" + random_bytes(MB, 9)},
             ["in.html", "out.html"], "out.html", {EXIT_OK} | set(REFUSED), REFUSED),
        Case("invalid UTF-8 in a string",
             {"in.js": b'var s = "\xc3\x28 \xa0\xa1 \xe2\x28\xa1 \xf0\x28\x8c\xbc \xff\xfe";\n'},
             ["-nse", "-nvc", "in.js", "out.js"], "out.js", {EXIT_OK}, {EXIT_OK: OK_LINE},
             check=contains(b'"\xc3\x28 \xa0\xa1 \xe2\x28\xa1 \xf0\x28\x8c\xbc \xff\xfe"')),
        Case("overlong UTF-8 beside valid UTF-8",
             {"in.js": b'var s = "\xc0\xaf \xe0\x80\xaf \xf0\x80\x80\xaf \xed\xa0\x80", t = "\xc3\xa9";\n'},
             ["-nse", "-nvc", "in.js", "out.js"], "out.js", {EXIT_OK}, {EXIT_OK: OK_LINE},
             check=contains(b'"\xc0\xaf \xe0\x80\xaf \xf0\x80\x80\xaf \xed\xa0\x80"', b'"\xc3\xa9"')),
        Case("invalid UTF-8 after a byte-order mark",
             {"in.js": b'\xef\xbb\xbfvar s = "\xc0\xaf\xff";\n'},
             ["-nse", "-nvc", "in.js", "out.js"], "out.js", {EXIT_OK}, {EXIT_OK: OK_LINE},
             check=contains(b'\xef\xbb\xbfvar s="\xc0\xaf\xff"')),
        Case("every byte 0..255", {"in.js": bytes(range(256))}, ["in.js", "out.js"], "out.js",
             {EXIT_OK} | set(REFUSED), REFUSED),
        Case("every byte in a string", {"in.js": string_of_every_byte()},
             ["-nse", "-nvc", "in.js", "out.js"], "out.js", {EXIT_OK}, {EXIT_OK: OK_LINE},
             check=contains(string_of_every_byte()[8:-2])),
        Case("every byte in a string, encoded", {"in.js": string_of_every_byte()},
             ["in.js", "out.js"], "out.js", {EXIT_OK}, {EXIT_OK: OK_LINE}),
        Case("50 MB file", {"in.js": lambda: realistic_script(50 * MB)}, ["in.js", "out.js"],
             "out.js", {EXIT_OK}, {EXIT_OK: OK_LINE}, check=smaller_than_input("in.js"),
             large=True, timeout=300),
        Case("one line of 20 MB", {"in.js": lambda: one_long_line(20 * MB)},
             ["in.js", "out.js"], "out.js", {EXIT_OK}, {EXIT_OK: OK_LINE},
             check=smaller_than_input("in.js"), large=True, timeout=300),
        Case("1,000,000 nested brackets", {"in.js": lambda: nested("[", "]")},
             ["in.js", "out.js"], "out.js", set(DEEP), DEEP,
             check=same_as_input("in.js"), large=True),
        Case("1,000,000 nested braces", {"in.js": lambda: nested("{", "}")},
             ["in.js", "out.js"], "out.js", set(DEEP), DEEP,
             check=same_as_input("in.js"), large=True),
        Case("1,000,000 nested parentheses", {"in.js": lambda: nested("(", ")")},
             ["in.js", "out.js"], "out.js", set(DEEP), DEEP,
             check=same_as_input("in.js"), large=True),
        Case("1,000,000 nested, mixed", {"in.js": lambda: nested("([{", "}])")},
             ["in.js", "out.js"], "out.js", set(DEEP), DEEP,
             check=same_as_input("in.js"), large=True),
        Case("1,000,000 unclosed openers", {"in.js": lambda: b"f" + b"({[" * 333_334},
             ["in.js", "out.js"], "out.js", set(DEEP), DEEP,
             check=same_as_input("in.js"), large=True),
        Case("1,000,000 nested functions with var",
             {"in.js": lambda: b"function f(){var a=1;" * 100_000 + b"}" * 100_000},
             ["in.js", "out.js"], "out.js", set(DEEP), DEEP, large=True),
        Case("a line of [/ repeated, 1 MB", {"in.js": lambda: b"x = [/" * (MB // 6)},
             ["in.js", "out.js"], "out.js", {EXIT_INVALID}, REFUSED, timeout=20),
        Case("SUB (0x1A) inside a line comment", {"in.js": b'// note:\x1a console.log("x")\nvar a = 1\n'},
             ["-nse", "-nvc", "in.js", "out.js"], "out.js", {EXIT_OK}, {EXIT_OK: OK_LINE},
             check=matches(rb"^var a=1$")),
        Case("unterminated string at end", {"in.js": b'var a = 1;\nvar s = "abc'},
             ["-nse", "in.js", "out.js"], "out.js", {EXIT_OK} | set(REFUSED), REFUSED,
             check=contains(b"a=1", b'"abc')),
        Case("unterminated comment at end", {"in.js": b"var a = 1;\n/* abc"},
             ["in.js", "out.js"], "out.js", {EXIT_OK} | set(REFUSED), REFUSED,
             check=contains(b"a=1")),
        Case("unterminated regular expression at end", {"in.js": b"var a = 1;\nvar r = /abc"},
             ["in.js", "out.js"], "out.js", {EXIT_OK} | set(REFUSED), REFUSED,
             check=contains(b"a=1", b"/abc")),
        Case("unterminated tag at end", {"in.html": b'<html><body><p class="x"'},
             ["in.html", "out.html"], "out.html", {EXIT_OK} | set(REFUSED), REFUSED,
             check=same_as_input("in.html")),
        Case("script block that never ends",
             {"in.html": b"<html><script>\nvar a = 1;\nvar b = 2;\n"},
             ["in.html", "out.html"], "out.html", {EXIT_OK} | set(REFUSED), REFUSED,
             check=matches(rb"b\s*=\s*2")),
        Case("output in a missing folder", {"in.js": PLAIN}, ["in.js", "missing/out.js"],
             "missing/out.js", {EXIT_UNWRITABLE}, {None: WRITE_ERROR}),
        Case("read-only output", {"in.js": PLAIN, "out.js": OLD_OUTPUT}, ["in.js", "out.js"],
             "out.js", {EXIT_UNWRITABLE}, {None: WRITE_ERROR}, setup=make_read_only("out.js")),
        Case("output name of 255 bytes", {"in.js": PLAIN}, ["in.js", "o" * 252 + ".js"],
             "o" * 252 + ".js", {EXIT_OK}, {EXIT_OK: OK_LINE}, check=contains(b"a=1")),
        Case("output that is a symbolic link", {"in.js": PLAIN, "target.js": OLD_OUTPUT},
             ["in.js", "link.js"], "link.js", {EXIT_OK}, {EXIT_OK: OK_LINE},
             setup=make_link("link.js", "target.js"),
             check=link_target_written("link.js", "target.js"), also=("target.js",)),
        Case("output a link in a subfolder to ../target", {"in.js": PLAIN, "target.js": OLD_OUTPUT},
             ["in.js", "sub/link.js"], "sub/link.js", {EXIT_OK}, {EXIT_OK: OK_LINE},
             setup=make_link("sub/link.js", "../target.js"),
             check=link_target_written("sub/link.js", "target.js"), also=("target.js",)),
        Case("output a dangling symbolic link", {"in.js": PLAIN}, ["in.js", "link.js"], "link.js",
             {EXIT_OK}, {EXIT_OK: OK_LINE}, setup=make_link("link.js", "new.js"),
             check=link_target_written("link.js", "new.js"), also=("new.js",)),
        Case("output equal to input", {"in.js": PLAIN}, ["in.js", "in.js"], "in.js",
             {EXIT_OK}, {EXIT_OK: OK_LINE}, check=packed_like_elsewhere("in.js")),
        Case("output equal to input, group", {"in.js": PLAIN, "b.js": b"var b = 2\n"},
             ["in.js", "b.js", "in.js"], "in.js", {EXIT_USAGE}, {None: "also an input"}),
        Case("output another spelling of an input, group", {"in.js": PLAIN, "b.js": b"var b = 2\n"},
             ["in.js", "b.js", "./b.js"], "b.js", {EXIT_USAGE}, {None: "also an input"}),
        Case("output /dev/stdout", {"in.js": PLAIN}, ["-q", "in.js", "/dev/stdout"], None,
             {EXIT_OK}, {EXIT_OK: r"a=1"}),
        Case("output /dev/full", {"in.js": PLAIN}, ["in.js", "/dev/full"], None,
             {EXIT_UNWRITABLE}, {None: WRITE_ERROR + ".*|No space"}),
        Case("unknown option taken for a name", {"in.js": PLAIN}, ["--minify", "in.js", "out.js"],
             "out.js", {EXIT_USAGE}, {None: "unknown option --minify"}),
        Case("page among several inputs", {"a.js": PLAIN, "p.js": b"\n <p>x;y</p>", "out.js": OLD_OUTPUT},
             ["a.js", "p.js", "out.js"], "out.js", {EXIT_USAGE}, {None: "packed alone"}),
        Case("UTF-16 input with a mark", {"in.js": "\ufeffvar s = '\u0416'\n".encode("utf-16-le")},
             ["-nse", "in.js", "out.js"], "out.js", {EXIT_OK}, {EXIT_OK: OK_LINE},
             check=contains("\ufeffvar s='\u0416'".encode("utf-16-le"))),
        Case("-o before the input", {"in.js": PLAIN}, ["-o", "out.js", "in.js"], "out.js",
             {EXIT_OK}, {EXIT_OK: OK_LINE}, check=contains(b"a=1")),
        Case("missing inputs before an existing file", {"keep.js": OLD_OUTPUT},
             ["missing1.js", "missing2.js", "keep.js"], "keep.js", {EXIT_UNREADABLE},
             {None: READ_ERROR}),
        Case("output that is a folder", {"in.js": PLAIN}, ["in.js", "outdir"], "outdir",
             {EXIT_UNWRITABLE}, {None: WRITE_ERROR}, setup=make_folder("outdir", "inside.txt")),
        Case("input that is a folder", {}, ["indir", "out.js"], "out.js",
             {EXIT_UNREADABLE}, {None: READ_ERROR}, setup=make_folder("indir")),
        Case("input /dev/null", {}, ["/dev/null", "out.js"], "out.js",
             {EXIT_UNREADABLE}, {None: READ_ERROR}),
        Case("input /dev/zero", {}, ["/dev/zero", "out.js"], "out.js",
             {EXIT_UNREADABLE}, {None: READ_ERROR}, timeout=30),
        Case("input /dev/urandom", {}, ["/dev/urandom", "out.js"], "out.js",
             {EXIT_UNREADABLE}, {None: READ_ERROR}, timeout=30),
        Case("input a FIFO without writer", {}, ["pipe", "out.js"], "out.js",
             {EXIT_UNREADABLE}, {None: READ_ERROR}, setup=make_fifo("pipe"), timeout=30),
        Case("input too large to hold (sparse 3 GB)", {}, ["big.js", "out.js"], "out.js",
             {EXIT_OUT_OF_MEMORY}, {None: OUT_OF_MEMORY}, setup=make_sparse("big.js", 3 << 30)),
        Case("out of memory while packing", {"in.js": lambda: realistic_script(50 * MB)},
             ["in.js", "out.js"], "out.js", {EXIT_OUT_OF_MEMORY}, {None: OUT_OF_MEMORY},
             large=True, limit_mb=120),
        Case("group with a folder among the inputs", {"a.js": PLAIN, "c.js": b"var c = 3\n",
                                                      "out.js": OLD_OUTPUT},
             ["a.js", "bdir", "c.js", "out.js"], "out.js", {EXIT_UNREADABLE},
             {None: READ_ERROR}, setup=make_folder("bdir")),
    ]


# ---------------------------------------------------------------------------
# Running

def last_message(stdout, stderr):
    """The last line the program printed (progress lines end at a carriage
    return), followed by the first line of its error output."""
    pieces = [p.strip() for p in re.split(r"[\r\n]", stdout) if p.strip()]
    text = pieces[-1] if pieces else ""
    cause = stderr.strip().splitlines()
    if cause:
        text += "  [" + cause[0].strip() + "]"
    return text


def is_sanitizer_build(program):
    """AddressSanitizer reserves terabytes of address space at start, so an
    address-space limit cannot stand for lack of memory there."""
    with open(program, "rb") as f:
        return b"__asan_init" in f.read()


def run_case(case, program, work, valgrind):
    folder = os.path.join(work, "case")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    case.work, case.program, case.made = work, program, {}
    for name, data in case.files.items():
        data = data() if callable(data) else data
        case.made[name] = data
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    if case.setup:
        case.setup(folder)
    before = snapshot(folder)

    command = [program, *case.args]
    log = os.path.join(work, "valgrind.log")
    if valgrind:
        command = ["valgrind", "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=all",
                   "--errors-for-leak-kinds=definite,indirect,possible",
                   "--error-exitcode=%d" % VALGRIND_ERROR, "--log-file=" + log, *command]

    def limit():
        if case.limit_mb:
            size = case.limit_mb * MB
            resource.setrlimit(resource.RLIMIT_AS, (size, size))

    problems = []
    started = time.monotonic()
    try:
        done = subprocess.run(command, cwd=folder, capture_output=True, timeout=case.timeout *
                              (40 if valgrind else 1), preexec_fn=limit)
        code = done.returncode
        message = last_message(done.stdout.decode("latin-1"), done.stderr.decode("latin-1"))
    except subprocess.TimeoutExpired:
        code, message = None, "(no answer in %d s)" % case.timeout
        problems.append("hang")
    seconds = time.monotonic() - started

    if code is not None:
        if code < 0:
            problems.append("crashed with signal %d" % -code)
        elif valgrind and code == VALGRIND_ERROR:
            problems.append("valgrind found errors, see " + log)
            shutil.copy(log, os.path.join(work, "valgrind-%s.log" % re.sub(r"\W+", "-", case.name)))
        elif code not in case.codes:
            problems.append("exit code %d, expected %s" % (code, "/".join(map(str, sorted(case.codes)))))
        else:
            pattern = case.message.get(code, case.message.get(None))
            if pattern and not re.search(pattern, done.stdout.decode("latin-1") +
                                         done.stderr.decode("latin-1")):
                problems.append("message does not match %r" % pattern)

    after = snapshot(folder) if os.path.isdir(folder) else {}
    output = os.path.normpath(case.output) if case.output else None
    changed = sorted(k for k in set(before) | set(after)
                     if before.get(k) != after.get(k) and k != output and
                     not (code == EXIT_OK and k in case.also) and
                     not (output and k.startswith(output + os.sep) and code != EXIT_OK))
    if changed:
        problems.append("also changed: " + ", ".join(changed[:5]))
    written = code == EXIT_OK or (case.writes_on_failure and code in case.codes)
    if output and code is not None and code >= 0 and not written and code != VALGRIND_ERROR:
        # A failed run leaves the named output as it was, or absent.
        kept = {k: v for k, v in before.items() if k == output or k.startswith(output + os.sep)}
        now = {k: v for k, v in after.items() if k == output or k.startswith(output + os.sep)}
        if kept != now:
            problems.append("a failed run changed the output")
    elif output and written:
        path = os.path.join(folder, output)
        if not os.path.isfile(path):
            problems.append("no output written")
        elif case.check:
            error = case.check(folder, code, case)
            if error:
                problems.append(error)
    shutil.rmtree(folder, ignore_errors=True)
    return code, message, seconds, problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("work")
    parser.add_argument("--valgrind", action="store_true")
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--only", action="append", default=[])
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)

    sanitized = is_sanitizer_build(program)
    selected = [c for c in cases() if not (args.quick and c.large) and
                not (c.limit_mb and (sanitized or args.valgrind)) and
                (not args.only or any(o.lower() in c.name.lower() for o in args.only))]
    width = max([len(c.name) for c in selected] + [len("input")])
    print("%-*s  %4s  %s" % (width, "input", "exit", "message"))
    print("%s  %s  %s" % ("-" * width, "-" * 4, "-" * 40))
    passed = failed = 0
    known = []
    for case in selected:
        code, message, seconds, problems = run_case(case, program, work, args.valgrind)
        shown = "-" if code is None else str(code)
        print("%-*s  %4s  %s  (%.1f s)" % (width, case.name, shown, message[:90], seconds), flush=True)
        mark = "KNOWN" if problems and case.known else "FAIL"
        for problem in problems:
            print("%-*s  %s  %s" % (width, "", mark, problem), flush=True)
        if problems and case.known:
            known.append(case)
        elif problems:
            failed += 1
        else:
            passed += 1
            if case.known:
                print("%-*s  note  passes now: take its known mark away" % (width, ""))
    for case in known:
        print("known finding, not counted: %s: %s" % (case.name, case.known))
    print("hostile: %d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
