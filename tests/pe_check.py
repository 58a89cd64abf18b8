#!/usr/bin/env python3
"""Checks built Windows executables as files, with no Windows needed to run them.

    pe_check.py [--xp] [--max-kib N] [--resources 14,16,24] [--version V] [--copyright-from F]
                [--virtualized] EXE...

Every executable may import only from Windows' own DLLs. With --xp, it must also start on
Windows XP SP3: a subsystem version of at most 5.1 and no import of a function that first
shipped after Windows XP. --max-kib bounds the file size and --resources names resource types
that must be present. --version V wants a version resource of release V: its fixed version
V.0, the strings FileVersion and ProductVersion V, OriginalFilename the file's own name, and a
FileDescription, InternalName and ProductName. --copyright-from F wants its LegalCopyright to
be a line of F. --virtualized wants a manifest that leaves the program under Windows' file
virtualization, as the 32-bit client is (no requestedExecutionLevel), and names the Windows
versions from Vista to 11 in supportedOS. Prints one line per failed check and exits non-zero
if there was any.
"""
import argparse
import os
import struct
import sys
import xml.etree.ElementTree as ElementTree

SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
    "msvcrt.dll", "shell32.dll", "user32.dll", "version.dll", "psapi.dll",
}

# Functions whose "Minimum supported client" in Microsoft's documentation is later than
# Windows XP: the families that compilers' runtimes pull in, and the ones this kind of program
# might reach for. Secure CRT functions (msvcrt's "_s" names) are checked by their suffix.
AFTER_XP = {
    # Condition variables (Vista)
    "InitializeConditionVariable", "SleepConditionVariableCS", "SleepConditionVariableSRW",
    "WakeConditionVariable", "WakeAllConditionVariable",
    # Slim reader/writer locks (Vista; the Try forms Windows 7)
    "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
    "ReleaseSRWLockExclusive", "ReleaseSRWLockShared", "TryAcquireSRWLockExclusive",
    "TryAcquireSRWLockShared",
    # One-time initialisation (Vista)
    "InitOnceInitialize", "InitOnceExecuteOnce", "InitOnceBeginInitialize", "InitOnceComplete",
    # Fiber-local storage (Vista)
    "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue", "IsThreadAFiber",
    # Ticks and time (Vista, Windows 8)
    "GetTickCount64", "GetSystemTimePreciseAsFileTime",
    # The *Ex synchronisation constructors (Vista)
    "CreateEventExA", "CreateEventExW", "CreateMutexExA", "CreateMutexExW",
    "CreateSemaphoreExA", "CreateSemaphoreExW", "CreateWaitableTimerExW",
    "InitializeCriticalSectionEx",
    # Address waits (Windows 8) and the thread pool of Vista
    "WaitOnAddress", "WakeByAddressSingle", "WakeByAddressAll", "CreateThreadpoolWork",
    "SubmitThreadpoolWork", "TrySubmitThreadpoolCallback", "CreateThreadpoolTimer",
    # Files and processes (Vista)
    "GetFileInformationByHandleEx", "SetFileInformationByHandle", "GetFinalPathNameByHandleA",
    "GetFinalPathNameByHandleW", "CreateSymbolicLinkA", "CreateSymbolicLinkW", "CancelIoEx",
    "QueryFullProcessImageNameA", "QueryFullProcessImageNameW", "GetThreadId",
    "GetCurrentProcessorNumber", "GetErrorMode", "AddVectoredContinueHandler",
    "SetThreadStackGuarantee", "RaiseFailFastException",
    # Locale names (Vista)
    "CompareStringEx", "LCMapStringEx", "GetLocaleInfoEx", "GetUserDefaultLocaleName",
    # Registry (Vista)
    "RegGetValueA", "RegGetValueW", "RegDeleteTreeA", "RegDeleteTreeW", "RegSetKeyValueA",
    "RegSetKeyValueW",
    # DPI awareness (Vista to Windows 10)
    "SetProcessDPIAware", "IsProcessDPIAware", "SetProcessDpiAwareness",
    "SetProcessDpiAwarenessContext", "SetThreadDpiAwarenessContext", "GetDpiForWindow",
    "GetDpiForSystem", "GetDpiForMonitor", "AdjustWindowRectExForDpi", "GetSystemMetricsForDpi",
    # Task dialog (Vista, comctl32 6.1) and known folders (Vista)
    "TaskDialog", "TaskDialogIndirect", "SHGetKnownFolderPath",
}

RT_VERSION, RT_MANIFEST = 16, 24

# The compatibility section's GUIDs, from Microsoft's "Application manifests" page.
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Windows Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}


class Image:
    def __init__(self, path, data=None):
        if data is None:
            with open(path, "rb") as f:
                data = f.read()
        self.data = data
        self.size = len(self.data)
        if self.data[:2] != b"MZ":
            raise ValueError("not an executable (no MZ header)")
        pe = self.u32(0x3C)
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine = self.u16(pe + 4)
        sections = self.u16(pe + 6)
        optional = pe + 24
        self.magic = self.u16(optional)
        if self.magic not in (0x10B, 0x20B):
            raise ValueError(f"unknown optional header magic {self.magic:#x}")
        self.subsystem_version = (self.u16(optional + 48), self.u16(optional + 50))
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.import_rva = self.u32(directories + 8)
        self.resource_rva = self.u32(directories + 16)
        table = optional + self.u16(pe + 20)
        self.sections = [
            (self.u32(h + 12), max(self.u32(h + 8), self.u32(h + 16)), self.u32(h + 20))
            for h in (table + 40 * s for s in range(sections))
        ]

    def u16(self, at):
        return struct.unpack_from("<H", self.data, at)[0]

    def u32(self, at):
        return struct.unpack_from("<I", self.data, at)[0]

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return rva - start + raw
        raise ValueError(f"address {rva:#x} outside every section")

    def cstring(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imports(self):
        """Yields (dll, function) for every import by name; ordinals as '#n'."""
        wide = self.magic == 0x20B
        entry_size, ordinal_flag = (8, 1 << 63) if wide else (4, 1 << 31)
        d = self.offset(self.import_rva)
        while self.u32(d + 12) != 0:
            dll = self.cstring(self.u32(d + 12)).lower()
            thunk = self.offset(self.u32(d) or self.u32(d + 16))
            while True:
                value = struct.unpack_from("<Q" if wide else "<I", self.data, thunk)[0]
                if value == 0:
                    break
                if value & ordinal_flag:
                    yield dll, f"#{value & 0xFFFF}"
                else:
                    yield dll, self.cstring((value & 0x7FFFFFFF) + 2)
                thunk += entry_size
            d += 20

    def resource_types(self):
        if self.resource_rva == 0:
            return set()
        root = self.offset(self.resource_rva)
        named, numbered = self.u16(root + 12), self.u16(root + 14)
        return {self.u32(root + 16 + 8 * (named + i)) for i in range(numbered)}

    def resources(self, wanted_type):
        """The data of every resource of a numbered type, over all names and languages."""
        if self.resource_rva == 0:
            return []
        root = self.offset(self.resource_rva)

        def entries(directory):
            count = self.u16(directory + 12) + self.u16(directory + 14)
            for i in range(count):
                at = directory + 16 + 8 * i
                yield self.u32(at), self.u32(at + 4)

        def leaves(target):
            if target & 0x80000000:  # another directory level
                for _, child in entries(root + (target & 0x7FFFFFFF)):
                    yield from leaves(child)
            else:
                rva, size = self.u32(root + target), self.u32(root + target + 4)
                at = self.offset(rva)
                yield self.data[at:at + size]

        return [data for type_id, target in entries(root) if type_id == wanted_type
                for data in leaves(target)]


def version_info(block):
    """(fixed file version, fixed product version, {string name: value}) of a VS_VERSIONINFO."""
    fixed = None
    strings = {}

    def walk(at, end, depth):
        nonlocal fixed
        while at + 6 <= end:
            length, value_length, is_text = struct.unpack_from("<HHH", block, at)
            if length == 0:
                break
            key_end = at + 6
            while block[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = block[at + 6:key_end].decode("utf-16-le")
            value = (key_end + 2 + 3) & ~3
            if depth == 0:
                most, least, product_most, product_least = struct.unpack_from(
                    "<IIII", block, value + 8)
                fixed = tuple(f"{m >> 16}.{m & 0xFFFF}.{l >> 16}.{l & 0xFFFF}"
                              for m, l in ((most, least), (product_most, product_least)))
            if depth == 3:  # StringFileInfo > language table > String
                text = block[value:value + 2 * value_length].decode("utf-16-le")
                strings[key] = text.rstrip("\0")
            children = (value + (value_length * (2 if is_text else 1)) + 3) & ~3
            if depth < 3 and not (depth == 1 and key == "VarFileInfo"):
                walk(children, at + length, depth + 1)
            at = (at + length + 3) & ~3

    walk(0, len(block), 0)
    return fixed, strings


def version_problems(image, path, version, copyright_from):
    blocks = image.resources(RT_VERSION)
    if not blocks:
        return ["has no version resource"]
    fixed, strings = version_info(blocks[0])
    problems = []
    numbers = ".".join((version.split(".") + ["0"] * 4)[:4])
    if fixed != (numbers, numbers):
        problems.append(f"fixed file and product version {fixed}, expected {numbers}")
    expected = {"FileVersion": version, "ProductVersion": version,
                "OriginalFilename": os.path.basename(path)}
    for name, value in expected.items():
        if strings.get(name) != value:
            problems.append(f"version string {name} is {strings.get(name)!r}, expected {value!r}")
    for name in ("FileDescription", "InternalName", "ProductName", "LegalCopyright"):
        if not strings.get(name):
            problems.append(f"version string {name} is missing or empty")
    if copyright_from:
        with open(copyright_from, encoding="utf-8") as f:
            lines = {line.strip() for line in f}
        if strings.get("LegalCopyright") not in lines:
            problems.append(f"LegalCopyright {strings.get('LegalCopyright')!r} is not a line of "
                            f"{os.path.basename(copyright_from)}")
    return problems


def manifest_problems(image):
    blocks = image.resources(RT_MANIFEST)
    if len(blocks) != 1:
        return [f"has {len(blocks)} manifests, expected 1"]
    try:
        root = ElementTree.fromstring(blocks[0])
    except ElementTree.ParseError as e:
        return [f"manifest is not well-formed XML: {e}"]
    problems = []
    local = {element.tag.rpartition("}")[2]: element for element in root.iter()}
    # Any execution level, even asInvoker, turns Windows' file virtualization off.
    for tag in ("trustInfo", "requestedExecutionLevel"):
        if tag in local:
            problems.append(f"manifest has {tag}, which turns off file virtualization")
    named = {element.get("Id", "").lower() for element in root.iter()
             if element.tag.rpartition("}")[2] == "supportedOS"}
    for guid, system in SUPPORTED_OS.items():
        if guid not in named:
            problems.append(f"manifest has no supportedOS entry for {system}")
    return problems


def check(path, args):
    try:
        image = Image(path)
        imports = list(image.imports())
    except (OSError, ValueError, IndexError, struct.error) as e:
        return [f"cannot read it: {e}"]
    try:
        return import_problems(image, imports, args) + resource_problems(image, path, args)
    except (ValueError, IndexError, struct.error, UnicodeDecodeError) as e:
        return [f"cannot read its resources: {e}"]


def import_problems(image, imports, args):
    problems = []
    if not imports:
        problems.append("imports nothing, which no real program does")
    for dll in sorted({dll for dll, _ in imports} - SYSTEM_DLLS):
        problems.append(f"imports from {dll}, which is not part of Windows")
    if args.xp:
        if image.machine != 0x14C:
            problems.append(f"machine {image.machine:#x} is not i386")
        if image.subsystem_version > (5, 1):
            major, minor = image.subsystem_version
            problems.append(f"subsystem version {major}.{minor} is above Windows XP's 5.1")
        for dll, name in imports:
            if name in AFTER_XP or (dll == "msvcrt.dll" and name.endswith("_s")):
                problems.append(f"imports {dll}!{name}, which Windows XP does not export")
    if args.max_kib and image.size > args.max_kib * 1024:
        problems.append(f"is {image.size} bytes, above {args.max_kib} KiB")
    return problems


def resource_problems(image, path, args):
    problems = []
    missing = set(args.resources) - image.resource_types()
    for t in sorted(missing):
        problems.append(f"has no resource of type {t}")
    if args.version:
        problems += version_problems(image, path, args.version, args.copyright_from)
    if args.virtualized:
        problems += manifest_problems(image)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--xp", action="store_true")
    parser.add_argument("--max-kib", type=int, default=0)
    parser.add_argument("--resources", type=lambda s: [int(t) for t in s.split(",")], default=[])
    parser.add_argument("--version")
    parser.add_argument("--copyright-from")
    parser.add_argument("--virtualized", action="store_true")
    parser.add_argument("exe", nargs="+")
    args = parser.parse_args()
    failed = 0
    for path in args.exe:
        problems = check(path, args)
        for p in problems:
            print(f"{os.path.basename(path)}: {p}")
        failed += bool(problems)
        kib = os.path.getsize(path) / 1024
        print(f"{os.path.basename(path)}: {'FAILED' if problems else 'ok'} ({kib:.0f} KiB)")
    print(f"{len(args.exe) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
