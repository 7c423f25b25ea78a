#!/usr/bin/env python3
"""Writes the seed archives of zip_fuzz into fuzz/corpus/zip_fuzz/."""
import io
import os
import struct
import zipfile

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "zip_fuzz")
MANIFEST = b"Manifest-Version: 1.0\r\nImplementation-Version: 1.8.0_451-b10\r\n"


def archive(members, compression=zipfile.ZIP_STORED, comment=b""):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", compression) as z:
        for name, data in members:
            z.writestr(name, data)
        z.comment = comment
    return buffer.getvalue()


def zip64_archive():
    # Small limits make the writer use its zip64 records and extra fields.
    saved = zipfile.ZIP64_LIMIT, zipfile.ZIP_FILECOUNT_LIMIT
    zipfile.ZIP64_LIMIT, zipfile.ZIP_FILECOUNT_LIMIT = 64, 1
    try:
        return archive([("META-INF/MANIFEST.MF", MANIFEST), ("a.txt", b"alpha" * 20)],
                       zipfile.ZIP_DEFLATED)
    finally:
        zipfile.ZIP64_LIMIT, zipfile.ZIP_FILECOUNT_LIMIT = saved


def patched_sizes(data, size):
    """The first entry's declared sizes in its central header set to size."""
    cen = data.index(b"PK\x01\x02")
    return data[:cen + 20] + struct.pack("<II", size, size) + data[cen + 28:]


def main():
    os.makedirs(OUT, exist_ok=True)
    runtime = [("META-INF/", b""), ("META-INF/MANIFEST.MF", MANIFEST),
               ("calyx/lang/Object.cx", bytes(range(256)) * 4)]
    seeds = {
        "stored.zip": archive(runtime),
        "deflated.zip": archive(runtime, zipfile.ZIP_DEFLATED),
        "comment.zip": archive([("a.txt", b"a")], comment=b"archive comment"),
        "comment-only.zip": archive([], comment=b"nothing but a comment"),
        "zip64.zip": zip64_archive(),
        # A size just under 4 GiB once overflowed "name length + 1 + size".
        "size-wraparound.zip": patched_sizes(archive([("META-INF/MANIFEST.MF", MANIFEST)]),
                                             0xFFFFFFFF - len("META-INF/MANIFEST.MF")),
    }
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
