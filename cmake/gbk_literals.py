#!/usr/bin/env python3
"""Copies C and C++ sources with their plain string and character literals turned into GBK bytes.

The suite's texts are GBK byte strings. GCC compiles the UTF-8 sources with -fexec-charset; clang
has no such option, so a clang build compiles this copy instead, in which exactly the literals
GCC would convert are already GB18030 bytes (u8, u, U and L literals, comments and code stay
UTF-8). Files are rewritten only when their converted text changes.

usage: gbk_literals.py SOURCE_ROOT DEST_ROOT DIR...
"""
import os
import sys

PREFIXED = {"u8", "u", "U", "L", "u8R", "uR", "UR", "LR"}
EXTS = (".cpp", ".h", ".c", ".cc", ".hpp")


def gbk_literal(lit):
    """A plain literal as GB18030 bytes. A character whose second byte is 0x5C, a backslash (such as
    淺), gets that byte doubled, or the compiler would read it as the start of an escape."""
    return b"".join(ch.encode("gb18030").replace(b"\\", b"\\\\") if ord(ch) > 0x7F else ch.encode()
                    for ch in lit)


def convert(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(text[i:j].encode("utf-8"))
            i = j
            continue
        if text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(text[i:j].encode("utf-8"))
            i = j
            continue
        if c in "\"'":
            k = i
            while k > 0 and (text[k - 1].isalnum() or text[k - 1] == "_"):
                k -= 1
            word = text[k:i]
            if c == "'" and word[:1].isdigit():  # a digit separator
                out.append(c.encode())
                i += 1
                continue
            raw = c == '"' and word.endswith("R")
            keep = word in PREFIXED
            if raw:
                open_paren = text.find("(", i)
                delim = ")" + text[i + 1:open_paren] + '"'
                end = text.find(delim, open_paren)
                end = n if end < 0 else end + len(delim)
            else:
                end = i + 1
                while end < n and text[end] != c:
                    end += 2 if text[end] == "\\" else 1
                    if end <= n and text[end - 1] == "\n":
                        break
                end = min(end + 1, n)
            lit = text[i:end]
            if keep:
                out.append(lit.encode("utf-8"))
            elif raw:
                out.append(lit.encode("gb18030"))
            else:
                out.append(gbk_literal(lit))
            i = end
            continue
        j = i
        while j < n and text[j] not in "\"'/":
            j += 1
        if j == i:
            j = i + 1
        out.append(text[i:j].encode("utf-8"))
        i = j
    return b"".join(out)


def main():
    src, dest, dirs = sys.argv[1], sys.argv[2], sys.argv[3:]
    for d in dirs:
        for root, _, files in os.walk(os.path.join(src, d)):
            for name in files:
                if not name.endswith(EXTS):
                    continue
                path = os.path.join(root, name)
                target = os.path.join(dest, os.path.relpath(path, src))
                with open(path, encoding="utf-8") as f:
                    data = convert(f.read())
                try:
                    with open(target, "rb") as f:
                        if f.read() == data:
                            continue
                except OSError:
                    os.makedirs(os.path.dirname(target), exist_ok=True)
                with open(target, "wb") as f:
                    f.write(data)


if __name__ == "__main__":
    main()
