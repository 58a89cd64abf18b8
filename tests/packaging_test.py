#!/usr/bin/env python3
"""Reads release artefacts and checks them: what each zip and the .deb hold (the zips' texts
with CRLF line ends), the .deb's control fields, SHA256SUMS, and one version everywhere (file
names, huevane-cli --version, the version resources of Huevane.exe and huevane-cli.exe).

    packaging_test.py DIST VERSION SOURCE_DIR [--complete]

--complete also requires the x64 zip, as a release has it.
"""
import gzip
import hashlib
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_check  # noqa: E402 (found beside this file)

dist, version, source = sys.argv[1:4]
complete = "--complete" in sys.argv[4:]
failures = []


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: {actual!r}, expected {expected!r}")


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
    "./usr/share/doc/huevane-cli/copyright",
    "./usr/share/man/man1/huevane-cli.1.gz",
]))
with tempfile.TemporaryDirectory() as root:
    subprocess.run(["dpkg-deb", "-x", deb_path, root], check=True)
    shown = subprocess.run([os.path.join(root, "usr/bin/huevane-cli"), "--version"],
                           capture_output=True, text=True, check=False)
    check("huevane-cli --version", (shown.returncode, shown.stdout),
          (0, f"huevane-cli {version}\n"))
    with gzip.open(os.path.join(root, "usr/share/man/man1/huevane-cli.1.gz"), "rt") as f:
        man = f.read()
    check("man page title and version", f'.TH HUEVANE-CLI "1"' in man and
          f"huevane-cli {version}" in man and "set --from" in man, True)
    completion = os.path.join(root, "usr/share/bash-completion/completions/huevane-cli")
    check("bash completion parses", subprocess.run(["bash", "-n", completion]).returncode, 0)

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
