#!/usr/bin/env python3
"""Reads release artefacts and checks them: what each zip, the .deb and the Linux tarball hold
(the zips' texts with CRLF line ends), the .deb's control fields, that the tarball's
huevane-cli is linked statically and runs with an empty environment, how the tarball is
written (names sorted, one time, owner 0/0), SHA256SUMS, and one version everywhere (file
names, huevane-cli --version, the version resources of Huevane.exe and huevane-cli.exe).

    packaging_test.py DIST VERSION SOURCE_DIR [--complete]

--complete also requires the x64 zip and the tarball, as a release has them.
"""
import gzip
import hashlib
import os
import shlex
import subprocess
import sys
import tarfile
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import pe_check  # noqa: E402 (found beside this file)

dist, version, source = sys.argv[1:4]
complete = "--complete" in sys.argv[4:]
failures = []


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: {actual!r}, expected {expected!r}")


def run(command, **options):
    """(exit status, standard output, standard error) of a command that may fail."""
    done = subprocess.run(command, capture_output=True, text=True, check=False, **options)
    return done.returncode, done.stdout, done.stderr


def check_installed(what, prefix):
    """The man page and the bash completion of huevane-cli installed under PREFIX (bin/,
    share/): man and lexgrog read the page without a complaint, and bash-completion loads the
    completion on demand, which offers what bash_completion_test.py expects."""
    page = os.path.join(prefix, "share/man/man1/huevane-cli.1.gz")
    status, _, errors = run(["man", "--warnings", "-l", page],
                            env=dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="80"))
    check(f"{what}: man --warnings -l huevane-cli.1.gz", (status, errors), (0, ""))
    status, shown, errors = run(["lexgrog", page])
    check(f"{what}: lexgrog reads the page's name and summary",
          (status, shown.startswith(f'{page}: "huevane-cli - ')), (0, True))
    status, shown, errors = run([sys.executable, os.path.join(HERE, "bash_completion_test.py"),
                                 prefix])
    if status == 77 and not complete:
        print(f"{what}: bash completion not tried: {shown.strip()}")
    elif status != 0:
        failures.append(f"{what}: bash completion:\n{shown}{errors}".rstrip())


def check_lintian(deb_path):
    """lintian, pedantic and with every tag shown: no error and no warning. A release must also
    have no hardening tag. The other tags are shown."""
    try:
        status, shown, errors = run(["lintian", "--pedantic", "-E", "-I", "--display-experimental",
                                     deb_path])
    except FileNotFoundError:
        failures.append("no lintian (script/bootstrap installs it)")
        return
    tags = [line for line in shown.splitlines() if line[1:3] == ": "]
    if status not in (0, 2):  # 2: it found errors, listed below
        failures.append(f"lintian ended with {status}: {errors.strip()}")
    for tag in tags:
        if tag[0] in "EW" or (complete and ": hardening-" in tag):
            failures.append(f"lintian: {tag}")
        else:
            print(f"lintian: {tag}")


def pe_facts(data):
    """The machine type and the fixed file version (a.b.c.d) of a PE image."""
    image = pe_check.Image("", data)
    blocks = image.resources(pe_check.RT_VERSION)
    return image.machine, pe_check.version_info(blocks[0])[0][0] if blocks else None


def windows_text(path):
    """A source document as the zips hold it: CRLF line ends, the version filled in."""
    with open(os.path.join(source, path), "rb") as f:
        text = f.read().replace(b"@PROJECT_VERSION@", version.encode())
    return text.replace(b"\n", b"\r\n")


def has_only_crlf(text):
    return text.count(b"\n") == text.count(b"\r\n") == text.count(b"\r") > 0


# The end user's README and the other documents, as .txt files for Windows; the developer's
# README.md, with its image links, is not among them.
documents = {"README.txt": "res/zip/README.txt", "LICENSE.txt": "LICENSE",
             "THIRD-PARTY-NOTICES.txt": "THIRD-PARTY-NOTICES", "CHANGELOG.txt": "CHANGELOG.md"}
zips = {"x86": 0x14C, "x64": 0x8664}
expected_files = []
for arch, machine in zips.items():
    name = f"huevane-{version}-windows-{arch}.zip"
    path = os.path.join(dist, name)
    if not os.path.exists(path):
        if complete or arch == "x86":
            failures.append(f"no {name}")
        continue
    expected_files.append(name)
    with zipfile.ZipFile(path) as archive:
        check(f"{name}: entries", sorted(archive.namelist()),
              sorted(["Huevane.exe", "huevane-cli.exe", *documents]))
        for document, origin in documents.items():
            text = archive.read(document)
            check(f"{name}: {document} has CRLF line ends only", has_only_crlf(text), True)
            check(f"{name}: {document} is {origin}", text == windows_text(origin), True)
        for exe in ("Huevane.exe", "huevane-cli.exe"):
            check(f"{name}: {exe} machine", pe_facts(archive.read(exe))[0], machine)
        for exe in ("Huevane.exe", "huevane-cli.exe"):
            check(f"{name}: {exe} version resource", pe_facts(archive.read(exe))[1],
                  version + ".0")

deb = f"huevane-cli_{version}_amd64.deb"
expected_files.append(deb)
deb_path = os.path.join(dist, deb)
fields = {}
for field in ("Package", "Version", "Architecture", "Maintainer", "Depends", "Description"):
    fields[field] = subprocess.run(["dpkg-deb", "-f", deb_path, field], capture_output=True,
                                   text=True, check=True).stdout.strip()
check("deb Package", fields["Package"], "huevane-cli")
check("deb Version", fields["Version"], version)
check("deb Architecture", fields["Architecture"], "amd64")
for field in ("Maintainer", "Depends", "Description"):
    check(f"deb {field} is given", bool(fields[field]), True)
listing = subprocess.run(["dpkg-deb", "-c", deb_path], capture_output=True, text=True,
                         check=True).stdout
files = sorted(line.split()[-1] for line in listing.splitlines() if line.startswith("-"))
check("deb files", files, sorted([
    "./usr/bin/huevane-cli",
    "./usr/share/bash-completion/completions/huevane-cli",
    "./usr/share/doc/huevane-cli/changelog.gz",
    "./usr/share/doc/huevane-cli/copyright",
    "./usr/share/man/man1/huevane-cli.1.gz",
]))
with tempfile.TemporaryDirectory() as root:
    subprocess.run(["dpkg-deb", "-x", deb_path, root], check=True)
    shown = subprocess.run([os.path.join(root, "usr/bin/huevane-cli"), "--version"],
                           capture_output=True, text=True, check=False)
    check("huevane-cli --version", (shown.returncode, shown.stdout),
          (0, f"huevane-cli {version}\n"))
    deb_versions = subprocess.run([os.path.join(root, "usr/bin/huevane-cli"), "versions"],
                                  capture_output=True, text=True, check=True).stdout
    with gzip.open(os.path.join(root, "usr/share/man/man1/huevane-cli.1.gz"), "rt") as f:
        man = f.read()
    # Whatever writes the page: .TH names the program, section 1 and the version, and the text
    # (read with troff's \- as -) tells of set --from.
    title = next((shlex.split(line) for line in man.splitlines() if line.startswith(".TH ")),
                 [])
    check("man page .TH: title, section, version",
          ([title[1].lower(), title[2]], any(version in field for field in title[3:]))
          if len(title) > 2 else title, (["huevane-cli", "1"], True))
    check("man page tells of set --from", "set --from" in man.replace("\\-", "-"), True)
    completion = os.path.join(root, "usr/share/bash-completion/completions/huevane-cli")
    check("bash completion parses", subprocess.run(["bash", "-n", completion]).returncode, 0)
    check_installed("deb", os.path.join(root, "usr"))
check_lintian(deb_path)



tarball = f"huevane-cli-{version}-linux-x86_64.tar.gz"
top = tarball[:-len(".tar.gz")]
tarball_path = os.path.join(dist, tarball)
if os.path.exists(tarball_path):
    expected_files.append(tarball)
    with open(tarball_path, "rb") as f:
        header = f.read(10)
    # gzip -n: no file name (FLG.FNAME) and no time (MTIME) in the header.
    check("tarball: gzip header without name and time", (header[3] & 0x08, header[4:8]),
          (0, bytes(4)))
    with tarfile.open(tarball_path) as archive:
        members = archive.getmembers()
        names = [m.name for m in members]
        check("tarball: entries in tar --sort=name order", names,
              sorted(names, key=lambda name: name.split("/")))
        check("tarball: files", sorted(m.name for m in members if m.isfile()), sorted(
            f"{top}/{name}" for name in [
                "README", "LICENSE", "THIRD-PARTY-NOTICES", "bin/huevane-cli",
                "share/bash-completion/completions/huevane-cli",
                "share/doc/huevane-cli/changelog.gz", "share/doc/huevane-cli/copyright",
                "share/man/man1/huevane-cli.1.gz"]))
        check("tarball: every entry under one top directory",
              {name.split("/")[0] for name in names}, {top})
        check("tarball: owners", {(m.uid, m.gid, m.uname, m.gname) for m in members},
              {(0, 0, "", "")})
        times = {m.mtime for m in members}
        if "SOURCE_DATE_EPOCH" in os.environ:
            check("tarball: times", times, {int(os.environ["SOURCE_DATE_EPOCH"])})
        check("tarball: one time for all entries", len(times), 1)
        check("tarball: modes", sorted({(m.name.split("/")[-1], m.mode) for m in members
                                        if not m.isdir() and m.mode != 0o644}),
              [("huevane-cli", 0o755)])
        check("tarball: directory modes", {m.mode for m in members if m.isdir()}, {0o755})
        check("tarball: only files and directories",
              all(m.isfile() or m.isdir() for m in members), True)
        for document, origin in (("README", "res/tar/README"), ("LICENSE", "LICENSE"),
                                 ("THIRD-PARTY-NOTICES", "THIRD-PARTY-NOTICES")):
            with open(os.path.join(source, origin), "rb") as f:
                text = f.read().replace(b"@PROJECT_VERSION@", version.encode())
            check(f"tarball: {document} is {origin}",
                  archive.extractfile(f"{top}/{document}").read() == text, True)
        with tempfile.TemporaryDirectory() as root:
            archive.extractall(root)
            cli = os.path.join(root, top, "bin/huevane-cli")
            # One executable for any x86_64 Linux: nothing for a dynamic loader to do.
            check("tarball huevane-cli: dynamic section", run(["readelf", "-d", cli])[1].strip(),
                  "There is no dynamic section in this file.")
            check("tarball huevane-cli: program interpreter",
                  "INTERP" in run(["readelf", "-lW", cli])[1], False)
            check("tarball huevane-cli: file(1) says statically linked",
                  "statically linked" in run(["file", "-b", cli])[1], True)
            check("tarball huevane-cli --version with an empty environment",
                  run(["env", "-i", cli, "--version"]), (0, f"huevane-cli {version}\n", ""))
            shown = run(["env", "-i", cli, "versions"])
            check("tarball huevane-cli versions with an empty environment",
                  shown, (0, deb_versions, ""))
            check_installed("tarball", os.path.join(root, top))
elif complete:
    failures.append(f"no {tarball}")

with open(os.path.join(dist, "SHA256SUMS")) as f:
    sums = [line.split(None, 1) for line in f.read().splitlines()]
check("SHA256SUMS names", sorted(name.lstrip("*") for _, name in sums), sorted(expected_files))
for digest, name in sums:
    with open(os.path.join(dist, name.lstrip("*")), "rb") as f:
        check(f"SHA256SUMS {name}", hashlib.sha256(f.read()).hexdigest(), digest)
check("sha256sum -c", subprocess.run(["sha256sum", "--quiet", "-c", "SHA256SUMS"], cwd=dist)
      .returncode, 0)

if failures:
    print("\n".join(failures))
    sys.exit(1)
print(f"packages of {version} in {dist} hold what they should")
