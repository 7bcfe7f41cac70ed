#!/usr/bin/python3
"""Prints what a second ID3 reader (mutagen) finds in a file, for tests to compare.

Line 1: "v2 <major>" (or "v2 none"); then one line per ID3v2 frame in the tag's order,
"<id>[:<description or owner>]\t<encoding>\t<text>" with newlines shown as "\\n";
then, when the file ends in an ID3v1 tag, "v1 title|artist|album|year|comment|track|genre".
Encodings: 0 ISO-8859-1, 1 UTF-16, 2 UTF-16BE, 3 UTF-8, - none.
"""
import sys

from mutagen.id3 import ID3, ID3NoHeaderError, ParseID3v1


def shown(text):
    return text.replace("\\", "\\\\").replace("\n", "\\n")


def main(path):
    try:
        tag = ID3(path, translate=False, load_v1=False)
        print("v2 %d" % tag.version[1])
        for frame in tag.values():
            name = frame.FrameID
            if name in ("TXXX", "COMM"):
                name += (":" + frame.desc) if frame.desc else ""
            if name == "UFID":
                print("UFID:%s\t-\t%s" % (frame.owner, shown(frame.data.decode("latin-1"))))
                continue
            encoding = int(frame.encoding) if hasattr(frame, "encoding") else "-"
            print("%s\t%s\t%s" % (name, encoding, shown("; ".join(str(t) for t in frame.text))))
    except ID3NoHeaderError:
        print("v2 none")
    with open(path, "rb") as f:
        data = f.read()
    if len(data) >= 128 and data[-128:-125] == b"TAG":
        v1 = ParseID3v1(data[-128:]) or {}
        texts = [shown(str(v1[k].text[0])) if k in v1 else "" for k in ("TIT2", "TPE1", "TALB", "TDRC", "COMM", "TRCK")]
        texts.append(v1["TCON"].genres[0] if "TCON" in v1 and v1["TCON"].genres else "")
        print("v1 " + "|".join(texts))


if __name__ == "__main__":
    main(sys.argv[1])
