#!/usr/bin/env python3
"""Writes picture.jpg, kelvane.ico and tray.ico from the renderings made by
make_assets.sh, then reads them back and checks their layout."""
import struct, sys, zlib

PICTURE_BYTES = 77468
TRAY_BYTES = 21662
ICON_SIZES = [256, 128, 48, 32, 16]


def pad_jpeg(jpg, total):
    """Pads with comment segments up to exactly `total` bytes, after the JFIF header."""
    assert jpg[:2] == b"\xff\xd8", "not a JPEG"
    pad = total - len(jpg)
    assert pad >= 4, "encoded picture too large to pad"
    count = -(-pad // 65537)  # a segment is at most 2 + 65535 bytes
    segs = []
    for i in range(count):
        size = pad // count + (1 if i < pad % count else 0)
        body = b"Kelvane about-box art".ljust(size - 4)[: size - 4]
        segs.append(b"\xff\xfe" + struct.pack(">H", size - 2) + body)
    at = 2
    if jpg[2:4] == b"\xff\xe0":  # keep APP0 (JFIF) right after SOI
        at = 4 + struct.unpack(">H", jpg[4:6])[0]
    return jpg[:at] + b"".join(segs) + jpg[at:]


def png_rgba(rgba, w, h):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\x00" + rgba[y * w * 4:(y + 1) * w * 4] for y in range(h))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def dib_rgba(rgba, w, h, size_image_field=True):
    """32-bit DIB as stored in an icon: header, BGRA bottom-up, AND mask bottom-up."""
    stride = (w + 31) // 32 * 4
    pixels, mask = bytearray(), bytearray()
    for y in reversed(range(h)):
        row = rgba[y * w * 4:(y + 1) * w * 4]
        bits = bytearray(stride)
        for x in range(w):
            r, g, b, a = row[x * 4:x * 4 + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    size_image = len(pixels) + len(mask) if size_image_field else 0
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, size_image, 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def ico(images):
    """images: list of (size, data). Directory, entries, then the image data."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def check(cond, what):
    if not cond:
        sys.exit("make_assets: check failed: " + what)


def verify(outdir):
    jpg = open(f"{outdir}/picture.jpg", "rb").read()
    check(len(jpg) == PICTURE_BYTES and jpg[:2] == b"\xff\xd8", "picture.jpg size / SOI")
    pos, sof = 2, None
    while pos + 4 <= len(jpg) and sof is None:  # walk the segments up to the frame header
        check(jpg[pos] == 0xFF, f"picture.jpg: no marker at {pos}")
        marker, length = jpg[pos + 1], struct.unpack(">H", jpg[pos + 2:pos + 4])[0]
        check(marker not in (0xC2, 0xDA), "picture.jpg: progressive, or scan before frame")
        if marker == 0xC0:
            sof = struct.unpack(">BHHB", jpg[pos + 4:pos + 10])
        pos += 2 + length
    check(sof == (8, 546, 920, 3), f"picture.jpg baseline frame 920x546x3, got {sof}")

    tray = open(f"{outdir}/tray.ico", "rb").read()
    check(len(tray) == TRAY_BYTES, "tray.ico size")
    check(struct.unpack("<HHH", tray[:6]) == (0, 1, 1), "tray.ico directory")
    check(struct.unpack("<BBBBHHII", tray[6:22]) == (72, 72, 0, 0, 1, 32, 21640, 22), "tray.ico entry")
    check(struct.unpack("<IiiHHIIiiII", tray[22:62]) == (40, 72, 144, 1, 32, 0, 0, 0, 0, 0, 0),
          "tray.ico bitmap header")

    icon = open(f"{outdir}/kelvane.ico", "rb").read()
    check(struct.unpack("<HHH", icon[:6]) == (0, 1, len(ICON_SIZES)), "kelvane.ico directory")
    for i, size in enumerate(ICON_SIZES):
        w, h, colours, _, planes, bpp, length, offset = struct.unpack(
            "<BBBBHHII", icon[6 + 16 * i:22 + 16 * i])
        check((w or 256, h or 256, colours, planes, bpp) == (size, size, 0, 1, 32),
              f"kelvane.ico entry {i}")
        check(22 + 16 * 4 <= offset and offset + length <= len(icon), f"kelvane.ico entry {i} bounds")
        data = icon[offset:offset + length]
        if size == 256:
            check(data[:8] == b"\x89PNG\r\n\x1a\n" and data[24:26] == b"\x08\x06",
                  "kelvane.ico 256 image is an RGBA8 PNG")
        else:
            mask = (size + 31) // 32 * 4 * size
            check(struct.unpack("<IiiHHII", data[:24]) == (40, size, 2 * size, 1, 32, 0, size * size * 4 + mask)
                  and length == 40 + size * size * 4 + mask, f"kelvane.ico {size} bitmap header")


def main(work, outdir):
    jpg = open(f"{work}/picture.jpg", "rb").read()
    open(f"{outdir}/picture.jpg", "wb").write(pad_jpeg(jpg, PICTURE_BYTES))

    def rgba(size):
        data = open(f"{work}/mark_{size}.rgba", "rb").read()
        check(len(data) == size * size * 4, f"rendered mark {size}")
        return data

    images = [(256, png_rgba(rgba(256), 256, 256))]
    images += [(s, dib_rgba(rgba(s), s, s)) for s in ICON_SIZES[1:]]
    open(f"{outdir}/kelvane.ico", "wb").write(ico(images))
    open(f"{outdir}/tray.ico", "wb").write(ico([(72, dib_rgba(rgba(72), 72, 72, False))]))
    verify(outdir)
    print("assets written and checked in", outdir)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
