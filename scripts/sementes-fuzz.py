#!/usr/bin/env python3
"""Seed corpora for the fuzz targets, from the recorded private-profile cases.

usage: sementes-fuzz.py CASES_DIR OUT_DIR   (writes OUT_DIR/<target>/<case>[-n])
The input layouts are described at the top of each fuzz/fuzz_*.cpp.
"""
import base64
import json
import pathlib
import struct
import sys

KINDS = {"GET": 0, "GETKEYS": 1, "GETSECS": 2, "SECNAMES": 3, "WRITE": 4, "DELKEY": 4, "DELSEC": 4,
         "FLUSH": 4, "GETINT": 5}


def unescape(text):
    """A case argument: escaped text (\\r \\n \\t \\0 \\\\ \\xHH), as CP1252 bytes."""
    out, i = bytearray(), 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            if n == "x" and i + 3 < len(text):
                out.append(int(text[i + 2:i + 4], 16))
                i += 4
                continue
            out += {"r": b"\r", "n": b"\n", "t": b"\t", "0": b"\0"}.get(n, n.encode("cp1252", "replace"))
            i += 2
            continue
        out += c.encode("cp1252", "replace")
        i += 1
    return bytes(out)


def text(op, field):
    value = op.get(field)
    if not isinstance(value, str):
        return b"\xff"
    raw = unescape(value)[:254]
    return bytes([len(raw)]) + raw


def profile_seed(case, initial):
    initial = None if initial is None else initial[:65534]
    seed = struct.pack("<H", 0xFFFF) if initial is None else struct.pack("<H", len(initial)) + initial
    for op in case["ops"]:
        kind = KINDS.get(op["op"])
        if kind is None:
            continue
        if op["op"] == "GETINT":
            size = (op.get("default", 0) + 2048) % 4096
        else:
            size = op.get("bufsize", 0) % 4096
        section = b"\xff" if op["op"] == "FLUSH" else text(op, "section")
        key = b"\xff" if op["op"] in ("DELSEC", "FLUSH") else text(op, "key")
        third = text(op, "value") if op["op"] == "WRITE" else b"\xff" if kind == 4 else text(op, "default")
        seed += bytes([kind]) + struct.pack("<H", size) + section + key + third
    return seed


def batch_seed(case, initial, variant):
    """The case's writes made through batches, on its file with a generated section before it."""
    initial = None if initial is None else initial[:65534]
    seed = bytes([(0, 40, 80)[variant % 3]])
    seed += struct.pack("<H", 0xFFFF) if initial is None else struct.pack("<H", len(initial)) + initial
    for n, op in enumerate(case["ops"]):
        kind = {"WRITE": 0, "DELKEY": 1, "DELSEC": 2}.get(op["op"])
        if kind is not None:
            seed += bytes([kind | (4 if n % 3 == 2 else 0)]) + text(op, "section") + text(op, "key") + text(op, "value")
    return seed


def exchange_seed(initial, variant):
    """One record per case (the cases take the operations in turn); a module file from the case."""
    module = (initial or b"")[:65535]
    head = struct.pack("<H", len(module)) + module
    entries = b"00000001;123\0" + b"0000000A;000000000000777\0" + b"ABCDEFGH;1234567890123456\0\0"
    operation, settings, answers, company, size, buffer = (
        (0, 1, 0xFF, b"\0" * 9, 4096, b""),
        (3, 1, 0xFF, b"00000001\0", 64, b""),
        (1, 1, 0x01, b"\0" * 9, len(entries), entries),
        (1, 3, 0x00, b"\0" * 9, len(entries) - 1, entries[:-1]),
        (1, 1, 0xFF, b"\0" * 9, 0, entries[:-2]),
        (2, 0, 0xFF, b"\0" * 9, 16, b""))[variant % 6]
    return bytes([operation, settings, answers]) + company + head + struct.pack("<i", size) + buffer


def main(cases_dir, out_dir):
    out = pathlib.Path(out_dir)
    for target in ("fuzz_PrivateProfile", "fuzz_Lote", "fuzz_DadosEmpresa", "fuzz_Cp1252"):
        (out / target).mkdir(parents=True, exist_ok=True)
    count = 0
    for path in sorted(pathlib.Path(cases_dir).glob("*.json")):
        case = json.loads(path.read_text())
        initial = None if case["initial_file"] is None else base64.b64decode(case["initial_file"])
        (out / "fuzz_PrivateProfile" / path.stem).write_bytes(profile_seed(case, initial))
        (out / "fuzz_Lote" / path.stem).write_bytes(batch_seed(case, initial, count))
        (out / "fuzz_Cp1252" / path.stem).write_bytes(initial or b"")
        (out / "fuzz_DadosEmpresa" / path.stem).write_bytes(exchange_seed(initial, count))
        count += 1
    if count == 0:
        sys.exit(f"no case in {cases_dir}")
    print(f"seeds from {count} cases in {out}")


if __name__ == "__main__":
    main(*sys.argv[1:3])
