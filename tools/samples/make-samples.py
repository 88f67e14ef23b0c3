#!/usr/bin/env python3
"""Writes the demo's sample songs: MP3 files of silence with ID3v2.3 and ID3v1
tags, each beside its lyrics file (same base name, ".txt") when it has one.

    tools/samples/make-samples.py OUTDIR

  hoshizora.mp3    Japanese karaoke song (samples/hoshizora.txt, Shift-JIS)
  paper-boats.mp3  English song timed line by line (samples/paper-boats.txt)
  quiet-harbour.mp3  no lyrics: only its tags tell about it

The audio is MPEG-1 Layer III, 44.1 kHz mono at 32 kbps: every frame a header and
zeroed side information and main data, which decoders play as silence. Files stay
small (4 KB a second) and are made at demo time, never committed.
"""

import os
import shutil
import struct
import sys

SAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "samples")

SAMPLE_RATE = 44100
BITRATE = 32000
SAMPLES_PER_FRAME = 1152
# Sync, MPEG-1, Layer III, no CRC | 32 kbps, 44.1 kHz (padding bit set per frame) | mono, original.
HEADER = (0xFF, 0xFB, 0x10, 0xC4)

SONGS = [
    {
        "name": "hoshizora",
        "seconds": 30,  # the last syllable ends at 23.2 s
        "lyrics": "hoshizora.txt",
        "title": "星降る坂道",
        "artist": "mrlyrics サンプル合唱団",
        "album": "mrlyrics サンプル集",
        "year": "2024",
        "genre": "(146)",  # JPop
        "genre_v1": 146,
        "comment": "無音のサンプル曲（カラオケ歌詞付き）",
        "language": "jpn",
    },
    {
        "name": "paper-boats",
        "seconds": 65,  # the last line is stamped at 60 s
        "lyrics": "paper-boats.txt",
        "title": "Paper Boats",
        "artist": "mrlyrics sample band",
        "album": "mrlyrics Samples",
        "year": "2024",
        "genre": "(80)",  # Folk
        "genre_v1": 80,
        "comment": "A silent sample song, lyrics timed line by line",
        "language": "eng",
    },
    {
        "name": "quiet-harbour",
        "seconds": 40,
        "lyrics": None,
        "title": "Quiet Harbour",
        "artist": "mrlyrics sample trio",
        "album": "mrlyrics Samples",
        "year": "2023",
        "genre": "(26)",  # Ambient
        "genre_v1": 26,
        "comment": "An instrumental sample: no lyrics",
        "language": "eng",
    },
]


def silent_frames(seconds):
    """The whole frames that fit in the seconds (a player then shows just that
    length). A frame holds 104.49 bytes on average, so the padding byte is added
    whenever the running remainder calls for it, as encoders do."""
    count = seconds * SAMPLE_RATE // SAMPLES_PER_FRAME
    per_frame_numerator = 144 * BITRATE  # frame bytes = 144 * bitrate / rate
    out = bytearray()
    remainder = 0
    for _ in range(count):
        remainder += per_frame_numerator % SAMPLE_RATE
        padding = remainder >= SAMPLE_RATE
        if padding:
            remainder -= SAMPLE_RATE
        size = per_frame_numerator // SAMPLE_RATE + padding
        out += bytes((HEADER[0], HEADER[1], HEADER[2] | (0x02 if padding else 0), HEADER[3]))
        out += bytes(size - 4)
    return bytes(out)


def is_ascii(text):
    return all(ord(c) < 0x80 for c in text)


def encoded(text):
    """ID3v2.3 text: ISO-8859-1 where plain ASCII does, else UTF-16 with a BOM
    (the plug-in reads encoding 0 in the ANSI code page, so non-ASCII goes wide)."""
    if is_ascii(text):
        return b"\x00", text.encode("latin-1"), b"\x00"
    return b"\x01", b"\xff\xfe" + text.encode("utf-16-le"), b"\x00\x00"


def frame(frame_id, body):
    return frame_id.encode("ascii") + struct.pack(">IH", len(body), 0) + body


def text_frame(frame_id, text):
    encoding, data, _ = encoded(text)
    return frame(frame_id, encoding + data)


def comment_frame(text, language):
    encoding, data, terminator = encoded(text)
    empty_description = (b"\xff\xfe" if encoding == b"\x01" else b"") + terminator
    return frame("COMM", encoding + language.encode("ascii") + empty_description + data)


def synchsafe(value):
    return bytes((value >> shift) & 0x7F for shift in (21, 14, 7, 0))


def id3v2(song):
    frames = b"".join(
        [
            text_frame("TIT2", song["title"]),
            text_frame("TPE1", song["artist"]),
            text_frame("TALB", song["album"]),
            text_frame("TYER", song["year"]),
            text_frame("TCON", song["genre"]),
            comment_frame(song["comment"], song["language"]),
        ]
    )
    body = frames + bytes(256)  # padding, as taggers leave room to grow
    return b"ID3\x03\x00\x00" + synchsafe(len(body)) + body


def v1_field(text, width):
    """ANSI bytes (Shift-JIS for Japanese, as such tags were written) cut to the
    field on a whole character, zero-filled."""
    out = b""
    for c in text:
        b = c.encode("cp932")
        if len(out) + len(b) > width:
            break
        out += b
    return out.ljust(width, b"\x00")


def id3v1(song, track):
    return (
        b"TAG"
        + v1_field(song["title"], 30)
        + v1_field(song["artist"], 30)
        + v1_field(song["album"], 30)
        + v1_field(song["year"], 4)
        + v1_field(song["comment"], 28)
        + bytes((0, track, song["genre_v1"]))  # ID3v1.1: a zero, then the track
    )


def write_song(folder, song, track):
    path = os.path.join(folder, song["name"] + ".mp3")
    with open(path, "wb") as out:
        out.write(id3v2(song))
        out.write(silent_frames(song["seconds"]))
        out.write(id3v1(song, track))
    written = [path]
    if song["lyrics"]:
        lyrics = os.path.join(folder, song["name"] + ".txt")
        shutil.copyfile(os.path.join(SAMPLES, song["lyrics"]), lyrics)
        written.append(lyrics)
    return written


def main(argv):
    if len(argv) != 2:
        print("usage: make-samples.py OUTDIR", file=sys.stderr)
        return 2
    folder = argv[1]
    os.makedirs(folder, exist_ok=True)
    for track, song in enumerate(SONGS, start=1):
        for path in write_song(folder, song, track):
            print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
