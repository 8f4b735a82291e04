#!/usr/bin/env python3
"""Writes the fuzz target's seed logs into tests/fuzz/corpus (run from anywhere).

Real-looking install logs in code page 936 with the awkward parts the reader
and the entry normalisation must survive: GBK names (among them characters
whose second byte is a backslash or a space), CR/LF mixes, NUL bytes, lines
too long for the run's 1024-byte buffer, lone lead bytes, and the uninstaller
in several spellings. Files found by the fuzzer that once broke something are
kept beside these under names starting with "crash-"; this script leaves them.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")

PRODUCT = "Nolvex文本编辑器".encode("gbk")


def gbk(s):
    return s.encode("gbk")


seeds = {
    "typical-crlf": b"".join([
        b"Nolvex install log\r\n",
        b"[DIR] " + PRODUCT + b"\r\n",
        b"[FILE] \\nxedit.exe\r\n",
        b"[FILE] \\data\\keywords.dat\r\n",
        b"[FILE] \\help\\" + gbk("帮助") + b".chm\r\n",
        b"[FILE] \\script\\" + gbk("宏") + b".js\r\n",
        b"[FILE] \\Uninstall.exe\r\n",
        b"[FILE] \\install.log\r\n",
    ]),
    "absolute-and-spaces": b"[FILE] C:\\Program Files\\" + PRODUCT + b"\\My Notes.txt\r\n"
                           b"[FILE]   \\x.txt\t \r\n[FILE] \\\\root.txt\r\n",
    "lf-cr-mix": b"[FILE] \\a.txt\n[FILE] \\b.txt\r[FILE] \\c.txt\r\n\r\n\n\r[FILE] \\d.txt",
    "leading-breaks": b"\r\n\r\n[FILE] \\a.txt\r\n",
    "nul-inside": b"[FILE] \\a.txt\r\n[FILE] \\b\x00.txt\r\n[FILE] \\after-nul.txt\r\n",
    "not-entries": b"[file] \\a.txt\r\nFILE \\a.txt\r\n [FILE] \\a.txt\r\n[FILES] \\a.txt\r\n[FILE]\\a.txt\r\n[FIL\r\n",
    "gbk-5c-and-20-trail": b"[FILE] \\\x81\\\\A.TXT\r\n[FILE]\x81 x y\r\n[FILE] \\\xB1\\.txt\r\n",
    "lone-lead-bytes": b"[FILE] \\a\x81\r\n[FILE] \\a \x81\r\n[FILE] \x81\r\n[FILE] \\b\xFE",
    "full-width": b"[FILE] \\" + gbk("ＡＢＣ") + b".TXT\r\n[FILE] \\\xA2\xF1\xA2\xFC.txt\r\n",
    "uninstaller-spellings": b"[FILE] \\UNINSTALL.EXE\r\n[FILE] \\old\\myuninstall.exe.bak\r\n"
                             b"[FILE] \\\x81 UNINSTALL.EXE\r\n[FILE] \\\x81uninstall.exe\r\n"
                             b"[FILE] \\uninstall.ex\r\n",
    "over-long-line": b"[FILE] \\before.txt\r\n[FILE] \\" + b"L" * 1100 + b".txt\r\n[FILE] \\after.txt\r\n",
    "exactly-1023": b"[FILE] \\" + b"a" * (1023 - 8) + b"\r\n[FILE] \\" + b"b" * (1024 - 8) + b"\n",
    "empty": b"",
    "only-breaks": b"\r\n\n\r",
    "whitespace-only-entries": b"[FILE] \r\n[FILE] \\\r\n[FILE] \\ \t\x0b\x0c\r\n",
    # Found by the fuzzer: a lone lead byte takes the space behind it as its
    # second byte, so the trimmed path may end in 0x20 (the checks once
    # took that for trailing white space).
    "lead-byte-swallows-space": b"[FILE]LE]\x81 \t\x0b\x0c\r ",
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print(f"{len(seeds)} seeds in {OUT}")


if __name__ == "__main__":
    main()
