#!/usr/bin/env python3
"""Rewrites a zip so that the same files always give the same bytes: entries sorted by name,
every time set to SOURCE_DATE_EPOCH (UTC), fixed permissions, no extra fields.

    normalize_zip.py IN.zip OUT.zip
"""
import os
import sys
import time
import zipfile

source, target = sys.argv[1], sys.argv[2]
stamp = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
with zipfile.ZipFile(source) as old, zipfile.ZipFile(target, "w") as new:
    for name in sorted(old.namelist()):
        data = old.read(name)
        entry = zipfile.ZipInfo(name, date_time=max(stamp, (1980, 1, 1, 0, 0, 0)))
        entry.create_system = 3  # Unix, so the permissions below are read
        executable = name.lower().endswith(".exe")
        entry.external_attr = (0o100755 if executable else 0o100644) << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        new.writestr(entry, data, compresslevel=9)
