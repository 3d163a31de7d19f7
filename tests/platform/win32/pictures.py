#!/usr/bin/env python3
"""Writes the test pictures no converter makes into OUTDIR: small files whose headers declare
pictures too large for the memory budget (a real small picture with its size fields
rewritten), two metafiles, and with --photo a legitimate 10000 x 8000 JPEG, encoded row by row
by cjpeg so that nothing holds it whole."""
import os, struct, subprocess, sys, zlib

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def convert(*args):
    return subprocess.run(["convert", *args], capture_output=True, check=True).stdout


def jpeg(width, height, *options, frame=b"\xff\xc0"):
    small = convert("-size", "64x64", "plasma:", *options, "jpeg:-")
    at = small.index(frame)  # the frame header: precision, height, width
    return small[:at + 5] + struct.pack(">HH", height, width) + small[at + 9:]


def png(width, height, depth, kind):
    def chunk(name, data):
        return struct.pack(">I", len(data)) + name + data + struct.pack(">I", zlib.crc32(name + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, kind, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(b"\0" * 20000)) + chunk(b"IEND", b""))


bmp = bytearray(convert("-size", "64x64", "xc:gray", "BMP3:-"))
bmp[18:26] = struct.pack("<ii", 40000, -40000)  # 4.8 GB of rows: past 4 GiB
gif = bytearray(convert("-size", "64x64", "xc:lime", "gif:-"))
gif[6:10] = struct.pack("<HH", 60000, 60000)
files = {
    "baseline-20000.jpg": jpeg(20000, 20000),
    # The bitmap fits, but not beside every coefficient of every component.
    "progressive-8000.jpg": jpeg(8000, 8000, "-interlace", "JPEG", "-sampling-factor", "1x1", frame=b"\xff\xc2"),
    "progressive-10000x17800.jpg": jpeg(10000, 17800, "-interlace", "JPEG", "-sampling-factor", "1x1",
                                        frame=b"\xff\xc2"),
    "wrap-40000.bmp": bytes(bmp),
    "rgba16-12000x14800.png": png(12000, 14800, 16, 6),
    "screen-60000.gif": bytes(gif),
}
# A placeable WMF and an EMF of 40 x 20 pixels that draw nothing: white when shown.
wmf = struct.pack("<HHHIHIH", 1, 9, 0x300, 12, 0, 3, 0) + struct.pack("<IH", 3, 0)  # header, end record
placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 600, 300, 1440, 0)
checksum = 0
for word in struct.unpack("<10H", placeable[:20]):
    checksum ^= word
files["kind.wmf"] = placeable + struct.pack("<H", checksum) + wmf
end = struct.pack("<IIIII", 14, 20, 0, 16, 20)
header = struct.pack("<II4i4iIIIIHHIIIiiii", 1, 88, 0, 0, 39, 19, 0, 0, 1058, 529, 0x464D4520, 0x10000, 88 + len(end),
                     2, 1, 0, 0, 0, 0, 1024, 768, 271, 203)
files["kind.emf"] = header + end
for name, data in files.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)

if "--photo" in sys.argv:
    width, height = 10000, 8000
    with open(os.path.join(out, "photo-10000x8000.jpg"), "wb") as f:
        encoder = subprocess.Popen(["cjpeg", "-quality", "90"], stdin=subprocess.PIPE, stdout=f)
        encoder.stdin.write(b"P6\n%d %d\n255\n" % (width, height))
        row = bytes(v for x in range(width) for v in (x * 255 // width, 128, 255 - x * 255 // width))
        for y in range(height):
            encoder.stdin.write(row if y < height // 2 else row[::-1])
        encoder.stdin.close()
        sys.exit(encoder.wait())
