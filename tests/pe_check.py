#!/usr/bin/env python3
"""Checks built Windows executables as files, with no Windows needed to run them.

    pe_check.py [--xp] [--max-kib N] [--resources 14,16,24] EXE...

Every executable may import only from Windows' own DLLs. With --xp, it must also start on
Windows XP SP3: a subsystem version of at most 5.1 and no import of a function that first
shipped after Windows XP. --max-kib bounds the file size and --resources names resource types
that must be present. Prints one line per failed check and exits non-zero if there was any.
"""
import argparse
import os
import struct
import sys

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


class Image:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
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


def check(path, args):
    problems = []
    try:
        image = Image(path)
        imports = list(image.imports())
    except (OSError, ValueError, IndexError, struct.error) as e:
        return [f"cannot read it: {e}"]
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
    missing = set(args.resources) - image.resource_types()
    for t in sorted(missing):
        problems.append(f"has no resource of type {t}")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--xp", action="store_true")
    parser.add_argument("--max-kib", type=int, default=0)
    parser.add_argument("--resources", type=lambda s: [int(t) for t in s.split(",")], default=[])
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
