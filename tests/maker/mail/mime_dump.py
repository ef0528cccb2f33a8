#!/usr/bin/python3
"""Parses a stored message with Python's email package, independently of the mailer.

usage: mime_dump.py MESSAGE.eml OUTDIR
Writes OUTDIR/summary.txt (one fact a line: "header NAME VALUE", "boundary B",
"part N TYPE charset=C filename=F", "defects N") and OUTDIR/part-N.bin with each part's
decoded payload. Header values keep their raw bytes.
"""
import email
import email.message
import email.policy
import os
import sys


def raw(value):
    return str(value).encode("ascii", "surrogateescape")


def filename(part):
    """The attachment's file name with its raw bytes (the parser sees them as Latin-1)."""
    for name, value in part.raw_items():
        if name.lower() == "content-disposition":
            probe = email.message.Message()
            probe["Content-Disposition"] = raw(value).decode("latin-1")
            return (probe.get_filename() or "").encode("latin-1")
    return b""


def main():
    path, out = sys.argv[1], sys.argv[2]
    with open(path, "rb") as f:
        msg = email.message_from_binary_file(f, policy=email.policy.compat32)
    lines = []
    for name, value in msg.raw_items():
        if name in ("From", "To", "Subject", "Mime-Version"):
            lines.append(b"header " + name.encode() + b" " + raw(value))
    lines.append(b"multipart " + (b"1" if msg.is_multipart() else b"0"))
    lines.append(b"boundary " + raw(msg.get_boundary() or ""))
    defects = len(msg.defects)
    n = 0
    for part in msg.walk():
        if part.is_multipart():
            continue
        n += 1
        defects += len(part.defects)
        payload = part.get_payload(decode=True) or b""
        with open(os.path.join(out, "part-%d.bin" % n), "wb") as f:
            f.write(payload)
        lines.append(b"part %d %s charset=%s filename=%s" % (
            n, part.get_content_type().encode(), (part.get_param("charset") or "").encode(),
            filename(part)))
    lines.append(b"defects %d" % defects)
    with open(os.path.join(out, "summary.txt"), "wb") as f:
        f.write(b"\n".join(lines) + b"\n")


if __name__ == "__main__":
    main()
