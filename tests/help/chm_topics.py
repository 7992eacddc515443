#!/usr/bin/env python3
"""Checks that a compiled help file lists the given topics in its directory.

    chm_topics.py FILE.chm /topic.htm ...

The directory of a .chm (its ITSP header and PMGL chunks) names every page
the file holds; HTML Help finds a topic there before it reads the page.
Exits 1 naming the topics that are missing, or when a topic that is not in
the sources ("/QVTestMissing.htm") is found, which would mean the reading
is wrong.
"""
import struct
import sys


def encint(data, at):
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, at


def directory(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"ITSF":
        raise ValueError("not a compiled help file")
    directory_offset, directory_length = struct.unpack_from("<QQ", data, 0x48)
    itsp = directory_offset
    if data[itsp:itsp + 4] != b"ITSP":
        raise ValueError("no directory header")
    header_length, = struct.unpack_from("<I", data, itsp + 8)
    chunk_size, = struct.unpack_from("<I", data, itsp + 0x10)
    chunks, = struct.unpack_from("<I", data, itsp + 0x2C)
    names = set()
    for number in range(chunks):
        chunk = itsp + header_length + number * chunk_size
        if data[chunk:chunk + 4] != b"PMGL":
            continue
        free, = struct.unpack_from("<I", data, chunk + 4)
        at, end = chunk + 0x14, chunk + chunk_size - free
        while at < end:
            length, at = encint(data, at)
            names.add(data[at:at + length].decode("utf-8", "replace"))
            at += length
            for _ in range(3):  # section, offset, length
                _, at = encint(data, at)
    return names


def main():
    path, topics = sys.argv[1], sys.argv[2:]
    names = directory(path)
    missing = [t for t in topics if t not in names]
    if missing:
        print(f"{path}: missing {' '.join(missing)}")
        return 1
    if "/QVTestMissing.htm" in names:
        print(f"{path}: a page that is in no source was found")
        return 1
    print(f"{path}: {len(topics)} topics found among {len(names)} entries")
    return 0


if __name__ == "__main__":
    sys.exit(main())
