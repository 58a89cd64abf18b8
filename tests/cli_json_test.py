#!/usr/bin/env python3
"""huevane-cli --json: every output parses as JSON and holds what the plain output shows.

    cli_json_test.py PATH-TO-huevane-cli
"""
import json
import os
import subprocess
import sys
import tempfile

CLI = sys.argv[1]
failures = []


def run_both(*args):
    result = subprocess.run([CLI, *args], capture_output=True, text=True, check=False)
    if result.returncode != 0:
        sys.exit(f"huevane-cli {' '.join(args)}: exit {result.returncode}: {result.stderr}")
    return result.stdout, result.stderr


def run(*args):
    return run_both(*args)[0]


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}:\n  json:  {actual!r}\n  plain: {expected!r}")


def listed(plain):
    """' 3  5.1.3009 - 5.1.3036' lines as (index, text)."""
    return [(int(line[:2]), line[4:]) for line in plain.splitlines()]


for command, text_field in (("versions", "text"), ("properties", "name")):
    document = json.loads(run(command, "--json"))
    check(command, [(e["index"], e[text_field]) for e in document[command]],
          listed(run(command)))
version_texts = dict(listed(run("versions")))

with tempfile.TemporaryDirectory() as root:
    # Quotes, a backslash and a tab in the path must come out escaped.
    install = os.path.join(root, 'AIM "5" \\ \tcopy')
    os.mkdir(install)
    with open(os.path.join(install, "buddyui.ocm"), "wb") as f:
        f.write(bytes((i * 7 + (i >> 8)) % 256 for i in range(0x10000)))

    located = json.loads(run("--dir", install, "locate", "--json"))
    plain_dir, plain_source = run_both("--dir", install, "locate")
    check("locate", [located["install_dir"], located["executable"], located["source"]],
          [install, None, plain_source.strip()[len("(from "):-1]])
    # Plain output into a pipe is the exact path, for dir=$(huevane-cli locate).
    check("locate: standard output", plain_dir, install + "\n")

    # A directory name that is not UTF-8 (with an escape character too): the JSON is still
    # valid UTF-8, and install_dir_bytes gives back the exact path.
    odd = os.fsencode(root) + b"/AIM\x1b[2J\xff"
    os.mkdir(odd)
    result = subprocess.run([CLI, "--dir", odd, "locate", "--json"], capture_output=True,
                            check=False)
    located = json.loads(result.stdout.decode("utf-8"))
    check("locate: a path that is not UTF-8",
          [located["install_dir"], bytes.fromhex(located["install_dir_bytes"])],
          [odd.decode("utf-8", errors="replace"), odd])
    check("locate: _bytes only where needed", "install_dir_bytes" in json.loads(
        run("--dir", install, "locate", "--json")), False)

    for build in ("3", "5.5.3553", "15"):
        document = json.loads(run("--dir", install, "get", "--build", build, "--json"))
        plain = [line.split(": ") for line in run("--dir", install, "get", "--build", build)
                 .splitlines()]
        check(f"get --build {build}", [[p["name"], p["color"]] for p in document["properties"]],
              plain)
        index = document["build"]["index"]
        check(f"get --build {build}: build", document["build"]["text"], version_texts[index])
        names = dict(listed(run("properties")))
        check(f"get --build {build}: indices", [names[p["index"]] for p in document["properties"]],
              [name for name, _ in plain])

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("all --json outputs parse and match the plain outputs")
