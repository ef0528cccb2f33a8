#!/usr/bin/python3
"""Parses a stored message with Python's email package, independently of the mailer, and
writes down what a mail reader shows of it.

usage: mime_dump.py MESSAGE.eml OUTDIR
Writes OUTDIR/summary.txt, one fact a line, text in GB18030 (GBK for every GBK character):
  "header NAME VALUE"        To, Subject, Mime-Version, encoded words decoded
  "from-name NAME", "from-address ADDRESS"
  "multipart 0|1", "boundary B"
  "part N TYPE charset=C filename=F"   (C as declared, lower case; F decoded)
  "defects N"
and OUTDIR/part-N.bin with each part's decoded payload, plus OUTDIR/part-N.txt for text
parts: the text read in the declared character set. Characters that cannot be read come
out as "?".
"""
import email
import email.policy
import os
import sys


def text(value):
    return str(value).encode("gb18030", "replace")


def main():
    path, out = sys.argv[1], sys.argv[2]
    with open(path, "rb") as f:
        msg = email.message_from_binary_file(f, policy=email.policy.default)
    lines = []
    for name in ("To", "Subject", "Mime-Version"):
        if msg[name] is not None:
            lines.append(b"header " + name.encode() + b" " + text(msg[name]))
    sender = msg["From"]
    if sender is not None and sender.addresses:
        lines.append(b"from-name " + text(sender.addresses[0].display_name))
        lines.append(b"from-address " + text(sender.addresses[0].addr_spec))
    lines.append(b"multipart " + (b"1" if msg.is_multipart() else b"0"))
    lines.append(b"boundary " + text(msg.get_boundary() or ""))
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
        if part.get_content_maintype() == "text":
            with open(os.path.join(out, "part-%d.txt" % n), "wb") as f:
                f.write(text(part.get_content()))
        lines.append(b"part %d %s charset=%s filename=%s" % (
            n, part.get_content_type().encode(), text(part.get_content_charset() or ""),
            text(part.get_filename() or "")))
    lines.append(b"defects %d" % defects)
    with open(os.path.join(out, "summary.txt"), "wb") as f:
        f.write(b"\n".join(lines) + b"\n")


if __name__ == "__main__":
    main()
