#!/usr/bin/env python3
"""Makes the simulated camera's default storage: three JPEG stills of
different sizes (one grayscale, of odd width, so that read-out pads rows),
a short motion-JPEG AVI clip and a short WAV sound. Needs ImageMagick's
convert. The files are committed; run this only to remake them:

    sim/dsclink/make_storage.py sim/dsclink/storage
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import wave

CONVERT = "/usr/bin/convert"


def make_jpeg(path, size, seed, extra=()):
    subprocess.run([CONVERT, "-size", size, "-seed", str(seed), "plasma:fractal",
                    "-blur", "0x2", *extra, "-strip", "-quality", "75",
                    "-sampling-factor", "2x2", path], check=True)


def chunk(tag, data):
    padding = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + padding


def riff_list(kind, data):
    return chunk(b"LIST", kind + data)


def make_avi(path, frames, width, height, fps):
    count = len(frames)
    largest = max(len(f) for f in frames)
    main_header = struct.pack("<10I4I", 1000000 // fps, largest * fps, 0, 0x10, count, 0, 1,
                              largest, width, height, 0, 0, 0, 0)
    stream_header = (b"vids" + b"MJPG" + struct.pack("<IHHI", 0, 0, 0, 0) +
                     struct.pack("<8I", 1, fps, 0, count, largest, 0xFFFFFFFF, 0, 0) +
                     struct.pack("<4h", 0, 0, width, height))
    stream_format = struct.pack("<IiiHH4sIiiII", 40, width, height, 1, 24, b"MJPG",
                                width * height * 3, 0, 0, 0, 0)
    header_list = riff_list(b"hdrl", chunk(b"avih", main_header) +
                            riff_list(b"strl", chunk(b"strh", stream_header) +
                                      chunk(b"strf", stream_format)))
    movi_data = b""
    index = b""
    for frame in frames:
        index += b"00dc" + struct.pack("<III", 0x10, 4 + len(movi_data), len(frame))
        movi_data += chunk(b"00dc", frame)
    body = b"AVI " + header_list + riff_list(b"movi", movi_data) + chunk(b"idx1", index)
    with open(path, "wb") as f:
        f.write(chunk(b"RIFF", body))


def make_wav(path, seconds, rate):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        samples = bytes(int(128 + 90 * math.sin(2 * math.pi * 440 * i / rate) *
                            (1 - i / (seconds * rate))) for i in range(int(seconds * rate)))
        w.writeframes(samples)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    make_jpeg(os.path.join(folder, "DSC_0001.JPG"), "640x480", 11)
    make_jpeg(os.path.join(folder, "DSC_0002.JPG"), "1280x960", 23)
    frames = []
    with tempfile.TemporaryDirectory() as work:
        for n in range(4):
            frame = os.path.join(work, "frame%d.jpg" % n)
            make_jpeg(frame, "160x120", 31 + n)
            with open(frame, "rb") as f:
                frames.append(f.read())
    make_avi(os.path.join(folder, "DSC_0003.AVI"), frames, 160, 120, 4)
    make_jpeg(os.path.join(folder, "DSC_0004.JPG"), "317x239", 47, ("-colorspace", "Gray"))
    make_wav(os.path.join(folder, "DSC_0005.WAV"), 0.5, 8000)


main()
