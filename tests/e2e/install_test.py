#!/usr/bin/env python3
"""The installed paravib: `cmake --install` into a fresh prefix, and the Debian package made by
cpack, extracted (never installed on this machine). Each must hold the program, the generator,
the launcher and the 22 boundary files, and the launcher, started from another folder, must run
the program beside its boundary files. The menu entries must validate and name an installed
launcher and icon, and every manual page must render without a warning.

Usage: install_test.py install BUILD_DIR CMAKE
       install_test.py package BUILD_DIR CPACK
Exit status 0 when it passes, 77 when the package tools are missing (the test is then skipped).
Python standard library only.
"""
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True   # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from console_session import run_piped  # noqa: E402
from texts import BETA_PROMPT, HEADER, MATHIEU_LINE, POINT_PROMPT, undamped_load  # noqa: E402

SKIPPED = 77
BOUNDARY_FILES = ("filedc1", "fileds1", "filedc2", "fileds2") + tuple(
    "fileb%d%03d" % (curve, code) for code in (1, 2, 5, 10, 20, 50, 100, 200, 500)
    for curve in (1, 2))
PROGRAMS = ("paravib", "paravib-boundaries", "paravib-run", "paravib-explore",
            "paravib-explore-run")
LAUNCHERS = ("paravib-run", "paravib-explore-run")
# The explorer's menu entry and page are installed with it, when the build has it.
EXPLORER = "paravib-explore"


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def run(*args, cwd=None):
    done = subprocess.run(list(args), cwd=cwd, capture_output=True, timeout=300,
                          stdin=subprocess.DEVNULL)
    check(done.returncode == 0, "%s failed (%d):\n%s%s" % (
        " ".join(args), done.returncode, done.stdout.decode(errors="replace"),
        done.stderr.decode(errors="replace")))
    return done.stdout.decode(errors="replace")


def check_tree(prefix, build):
    """bin/ holds the three programs, share/paravib/boundaries/ exactly the 22 files the build
    made, unchanged."""
    for name in PROGRAMS:
        path = os.path.join(prefix, "bin", name)
        check(os.path.isfile(path) and os.access(path, os.X_OK), "missing or not executable: "
              + path)
    folder = os.path.join(prefix, "share", "paravib", "boundaries")
    check(os.path.isdir(folder), "missing folder " + folder)
    check(sorted(os.listdir(folder)) == sorted(BOUNDARY_FILES),
          "boundary folder holds %r" % sorted(os.listdir(folder)))
    for name in BOUNDARY_FILES:
        check(filecmp.cmp(os.path.join(folder, name), os.path.join(build, "boundaries", name),
                          shallow=False), name + " differs from the one the build made")
    check_desktop(prefix)


def read_desktop_entry(path):
    """The keys of the [Desktop Entry] group."""
    keys, group = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and "=" in line and not line.startswith("#"):
                key, value = line.split("=", 1)
                keys[key.strip()] = value.strip()
    return keys


def check_desktop(prefix):
    """Each menu entry passes desktop-file-validate without a remark, starts an installed
    program in a terminal (the dialog is on the console) and names an installed SVG icon; each
    manual page is compressed, renders with `man -l` without a warning, and has the NAME line
    that apropos indexes."""
    for tool, package in (("desktop-file-validate", "desktop-file-utils"), ("man", "man-db"),
                          ("lexgrog", "man-db")):
        check(shutil.which(tool) is not None,
              "%s not found: install %s (scripts/install-deps.sh)" % (tool, package))
    explorer = (EXPLORER,) if os.path.exists(os.path.join(prefix, "bin", EXPLORER)) else ()
    for name in ("paravib",) + explorer:
        entry = os.path.join(prefix, "share", "applications", name + ".desktop")
        check(os.path.isfile(entry), "missing menu entry " + entry)
        done = subprocess.run(["desktop-file-validate", entry], capture_output=True, timeout=60)
        # Every remark counts, hints too (an entry without a main category ends up under
        # "Other"), except the one that Education and Science together always draw.
        said = [line for line in (done.stdout + done.stderr).decode(errors="replace").splitlines()
                if line.strip() and "contains more than one main category" not in line]
        check(done.returncode == 0 and not said,
              "desktop-file-validate %s:\n%s" % (entry, "\n".join(said)))
        keys = read_desktop_entry(entry)
        check(keys.get("Terminal") == "true", entry + ": Terminal is not true")
        launcher = os.path.join(prefix, "bin", keys.get("Exec", "").split(" ")[0])
        check(os.path.isfile(launcher) and os.access(launcher, os.X_OK),
              "%s: Exec=%s is not an installed program" % (entry, keys.get("Exec")))
        icon = os.path.join(prefix, "share", "icons", "hicolor", "scalable", "apps",
                            keys.get("Icon", "") + ".svg")
        check(os.path.isfile(icon), "%s: Icon=%s, but %s is missing" % (entry, keys.get("Icon"),
                                                                         icon))
        check(ElementTree.parse(icon).getroot().tag == "{http://www.w3.org/2000/svg}svg",
              icon + " is not an SVG picture")

    env = dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="80", MANPAGER="cat", PAGER="cat")
    for name in ("paravib", "paravib-boundaries") + explorer:
        page = os.path.join(prefix, "share", "man", "man1", name + ".1.gz")
        check(os.path.isfile(page), "missing manual page %s (pandoc makes it; "
              "scripts/install-deps.sh installs pandoc)" % page)
        done = subprocess.run(["man", "--warnings", "-l", page], capture_output=True,
                              timeout=60, env=env, stdin=subprocess.DEVNULL)
        check(done.returncode == 0 and done.stderr == b"" and b"EXIT STATUS" in done.stdout,
              "man -l %s: status %d\n%s" % (page, done.returncode,
                                            done.stderr.decode(errors="replace")))
        whatis = run("lexgrog", page)
        check('"%s - ' % name in whatis, "no NAME line for %s: %s" % (name, whatis))


def check_launcher(launcher, elsewhere):
    """The launcher, started in a folder without boundary files, runs the program where they are:
    for beta = 0 the four tables are read (no file reported unreadable), then the input ends."""
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    status, out, err = run_piped([launcher], elsewhere, env, "m\n0\n")
    check(status == 0, "%s: status %d\n%s" % (launcher, status, err.decode(errors="replace")))
    check("を読み込めません" not in out, "%s: a boundary file was not found:\n%s"
          % (launcher, out))
    check(out == HEADER + MATHIEU_LINE + BETA_PROMPT + undamped_load() + POINT_PROMPT,
          "%s: transcript %r" % (launcher, out))


def check_picture_folder(launcher, work, elsewhere):
    """The explorer's launcher hands the folder it was started from on to the program (which
    writes its pictures there), a relative PARAVIB_PICTURE_FOLDER taken from that folder too, and
    starts it in the boundary folder: shown with a stand-in for the program that prints both."""
    stub = os.path.join(work, "stub")
    os.makedirs(os.path.join(stub, "bin"))
    os.makedirs(os.path.join(stub, "share", "paravib", "boundaries"))
    shutil.copy2(launcher, os.path.join(stub, "bin"))
    program = os.path.join(stub, "bin", "paravib-explore")
    with open(program, "w") as f:
        f.write('#!/bin/sh\necho "$PARAVIB_PICTURE_FOLDER"\npwd -P\necho "$*"\n')
    os.chmod(program, 0o755)
    env = {k: v for k, v in os.environ.items() if k != "PARAVIB_PICTURE_FOLDER"}
    boundaries = os.path.realpath(os.path.join(stub, "share", "paravib", "boundaries"))
    for named, expected in ((None, elsewhere), (".", elsewhere + "/."),
                            ("pictures", elsewhere + "/pictures"), ("/tmp/x", "/tmp/x")):
        given = env if named is None else dict(env, PARAVIB_PICTURE_FOLDER=named)
        done = subprocess.run([os.path.join(stub, "bin", "paravib-explore-run"), "--lang", "en",
                               "--chart"], cwd=elsewhere, env=dict(given, PWD=elsewhere),
                              capture_output=True, timeout=60)
        lines = done.stdout.decode().splitlines()
        check(lines == [expected, boundaries, "--lang en --chart"],
              "explorer launcher, PARAVIB_PICTURE_FOLDER=%r: picture folder and working folder %r"
              % (named, lines))


def install(build, cmake, work):
    prefix = os.path.join(work, "prefix")
    run(cmake, "--install", build, "--prefix", prefix)
    check_tree(prefix, build)
    elsewhere = os.path.join(work, "elsewhere")
    os.mkdir(elsewhere)
    for name in LAUNCHERS:
        check_launcher(os.path.join(prefix, "bin", name), elsewhere)
    launcher = os.path.join(prefix, "bin", "paravib-run")
    check_picture_folder(os.path.join(prefix, "bin", "paravib-explore-run"), work, elsewhere)

    # Through a symbolic link in another folder, as from /usr/local/bin.
    links = os.path.join(work, "links")
    os.mkdir(links)
    os.symlink(launcher, os.path.join(links, "paravib-run"))
    check_launcher(os.path.join(links, "paravib-run"), elsewhere)

    # --help and --version are answered by the launcher, without the dialog.
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        version = next(l.split("=")[1].strip() for l in f if l.startswith("CMAKE_PROJECT_VERSION:"))
    explorer = os.path.join(prefix, "bin", "paravib-explore-run")
    for name, option, expected in (
            (launcher, "--help", "Usage: paravib-run"),
            (launcher, "--version", "paravib-run " + version),
            (explorer, "--help", "Usage: paravib-explore-run"),
            (explorer, "--version", "paravib-explore " + version)):
        done = subprocess.run([name, option], cwd=elsewhere, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=60)
        check(done.returncode == 0 and done.stdout.decode().startswith(expected),
              "%s %s: status %d, %r" % (name, option, done.returncode, done.stdout))

    # A launcher without its boundary folder says so and fails, instead of running the program
    # into a fallback scan of every table.
    lonely = os.path.join(work, "lonely", "bin")
    os.makedirs(lonely)
    shutil.copy2(launcher, lonely)
    done = subprocess.run([os.path.join(lonely, "paravib-run")], cwd=elsewhere,
                          input=b"m\n0\n", capture_output=True, timeout=60)
    check(done.returncode != 0 and b"boundary files not found" in done.stderr,
          "launcher without boundary files: status %d, %r" % (done.returncode, done.stderr))
    return 0


def package(build, cpack, work):
    if shutil.which("dpkg-deb") is None or not os.path.exists(cpack):
        print("cpack or dpkg-deb not available: package test skipped")
        return SKIPPED
    out_dir = os.path.join(work, "package")
    run(cpack, "-G", "DEB", "--config", os.path.join(build, "CPackConfig.cmake"), "-B", out_dir)
    debs = [f for f in os.listdir(out_dir) if f.endswith(".deb")]
    check(len(debs) == 1, "cpack made %r" % debs)
    deb = os.path.join(out_dir, debs[0])

    listed = set()
    for line in run("dpkg-deb", "-c", deb).splitlines():
        path = line.split()[-1]
        check(path == "./" or path.startswith("./usr/"), "packaged outside /usr: " + path)
        listed.add(path.rstrip("/"))
    wanted = ["./usr/bin/" + name for name in PROGRAMS] + [
        "./usr/share/paravib/boundaries/" + name for name in BOUNDARY_FILES]
    missing = [p for p in wanted if p not in listed]
    check(not missing, "not in the package: %r" % missing)

    depends = run("dpkg-deb", "-f", deb, "Depends")
    check("libglut3.12" in depends, "Depends does not name the GLUT runtime: " + depends)

    root = os.path.join(work, "root")
    run("dpkg-deb", "-x", deb, root)
    check_tree(os.path.join(root, "usr"), build)
    elsewhere = os.path.join(work, "elsewhere")
    os.mkdir(elsewhere)
    for name in LAUNCHERS:
        check_launcher(os.path.join(root, "usr", "bin", name), elsewhere)
    return 0


def main(argv):
    if len(argv) != 4 or argv[1] not in ("install", "package"):
        print(__doc__, file=sys.stderr)
        return 2
    mode, build, tool = argv[1], os.path.abspath(argv[2]), argv[3]
    work = tempfile.mkdtemp(prefix="paravib-install-")
    try:
        status = (install if mode == "install" else package)(build, tool, work)
    except Exception as e:  # one clear line per failure, then the status
        print("FAILED: %s" % e, file=sys.stderr)
        status = 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%s: %s" % (mode, {0: "passed", SKIPPED: "skipped"}.get(status, "FAILED")))
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
