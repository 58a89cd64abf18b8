#!/usr/bin/env python3
"""huevane-cli's bash completion, as bash-completion loads it on demand from an installed tree:
what it offers after "huevane-cli ", after "huevane-cli set --", and as values of --property
and --build. What it should offer is read from the installed huevane-cli itself (--help,
set --help, properties --json, versions --json), not from lists kept here.

    bash_completion_test.py PREFIX                 PREFIX holds bin/huevane-cli and share/
    bash_completion_test.py --install CMAKE BUILD  installs BUILD into a scratch prefix first

Skipped (77) when bash-completion is not installed.
"""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

BASH_COMPLETION = "/usr/share/bash-completion/bash_completion"

# Loads bash-completion, then huevane-cli's completion the way an interactive shell does: through
# bash-completion's handler for commands that have no completion yet (complete -D). Then
# completes the words given, the last being the word under the cursor, and prints the file that
# the completion function came from and what it offers, each followed by a NUL byte.
DRIVER = r"""
. "$BASH_COMPLETION"
words=("$@")
cword=$((${#words[@]} - 1))
complete_with() {  # FUNCTION: run a completion function on words as bash would
    COMP_WORDS=("${words[@]}") COMP_CWORD=$cword COMP_LINE="${words[*]}"
    COMP_POINT=${#COMP_LINE} COMP_TYPE=9 COMP_KEY=9 COMPREPLY=()
    "$1" "${words[0]}" "${words[cword]}" "${words[cword - 1]}"
}
function_of() {  # complete -p ARGS: the function named by -F
    local completion
    read -r -a completion <<<"$(complete -p "$@" 2>/dev/null)"
    for i in "${!completion[@]}"; do
        [ "${completion[i]}" = -F ] && echo "${completion[i + 1]}"
    done
}
loader=$(function_of -D)
[ -n "$loader" ] || { echo "bash-completion set no handler for commands (complete -D)" >&2; exit 3; }
complete_with "$loader"
completion=$(function_of huevane-cli)
[ -n "$completion" ] || { echo "bash-completion found no completion for huevane-cli" >&2; exit 3; }
shopt -s extdebug
declare -F "$completion" | cut -d' ' -f3- | tr '\n' '\0'
shopt -u extdebug
complete_with "$completion"
for candidate in "${COMPREPLY[@]}"; do printf '%s\0' "$candidate"; done
"""

if not os.path.exists(BASH_COMPLETION):
    print(f"skipped: no {BASH_COMPLETION} (the package bash-completion)")
    sys.exit(77)

scratch = tempfile.TemporaryDirectory()
if sys.argv[1] == "--install":
    prefix = os.path.join(scratch.name, "prefix")
    subprocess.run([sys.argv[2], "--install", sys.argv[3], "--prefix", prefix], check=True,
                   stdout=subprocess.DEVNULL)
else:
    prefix = os.path.abspath(sys.argv[1])
cli = os.path.join(prefix, "bin", "huevane-cli")
installed = os.path.join(prefix, "share", "bash-completion", "completions", "huevane-cli")
home = os.path.join(scratch.name, "home")
os.mkdir(home)
environment = {
    "PATH": os.path.join(prefix, "bin") + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin"),
    "HOME": home,  # no ~/.bash_completion, no ~/.local/share, no ~/.wine of the user's
    "XDG_DATA_DIRS": os.path.join(prefix, "share"),  # where on-demand loading looks
    "BASH_COMPLETION": BASH_COMPLETION,
    "LC_ALL": "C.UTF-8",
}
failures = []


def program(*args):
    return subprocess.run([cli, *args], capture_output=True, text=True, check=True).stdout


def offered(*words):
    """What the completion offers for huevane-cli WORDS..., the last being completed."""
    done = subprocess.run(["bash", "--norc", "--noprofile", "-c", DRIVER, "bash",
                           "huevane-cli", *words], env=environment, capture_output=True,
                          check=False)
    if done.returncode != 0:
        sys.exit(f"completing {words}: exit {done.returncode}: {done.stderr.decode()}")
    source, *candidates = [record.decode() for record in done.stdout.split(b"\0")[:-1]]
    if os.path.realpath(source) != os.path.realpath(installed):
        sys.exit(f"bash-completion completes huevane-cli with a function from {source!r}, "
                 f"not from {installed}")
    return candidates


def unquoted(candidate):
    """A candidate as the word it stands for: 'Buddy names', "Buddy names" and Buddy\\ names
    are all Buddy names."""
    try:
        parts = shlex.split(candidate)
    except ValueError:
        return candidate
    return parts[0] if len(parts) == 1 else candidate


def check_within(what, candidates, required, allowed):
    candidates = set(candidates)
    if not required <= candidates:
        failures.append(f"{what}: misses {sorted(required - candidates)}")
    if not candidates <= required | allowed:
        failures.append(f"{what}: offers {sorted(candidates - required - allowed)} too")


def check_values(what, candidates, indices, texts):
    """The values of an option: the indices, the texts, or both, as the lists show them."""
    values = {unquoted(candidate) for candidate in candidates}
    if values not in ({*indices}, {*texts}, {*indices, *texts}):
        failures.append(f"{what}: offers {sorted(values)}; expected the indices {indices}, "
                        f"the texts {texts}, or both")


usage = program("--help")
commands = set(re.findall(r"^  ([a-z]+) ", usage.split("Commands:\n")[1].split("\n\n")[0],
                          re.MULTILINE))
global_options = set(re.findall(r"^  (--[a-z][a-z-]*)", usage, re.MULTILINE))
set_options = set(re.findall(r"--[a-z][a-z-]*", program("set", "--help").split("\n\n")[0]))
if not (commands and global_options and set_options):
    sys.exit("cannot read the commands and options from huevane-cli --help and set --help")
check_within("huevane-cli ", offered(""), commands, global_options)
check_within("huevane-cli set --", offered("set", "--"), set_options, global_options)

for option, command, field in (("--property", "properties", "name"),
                               ("--build", "versions", "text")):
    entries = json.loads(program(command, "--json"))[command]
    check_values(f"huevane-cli set {option} ", offered("set", option, ""),
                 [str(entry["index"]) for entry in entries], [entry[field] for entry in entries])

if failures:
    print("\n".join(failures))
    sys.exit(1)
print(f"the completion offers {len(commands)} commands, the options of set, and the values of "
      "--property and --build")
