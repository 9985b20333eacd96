"""The pictures the browser test compares: BMP files as the desktop's replay driver and the
content tool write them, RGBA frames read from the page's canvas, and PNG files to look at."""

import struct
import zlib


class Picture:
    """Rows of (r, g, b) from the top: width * height * 3 bytes."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    @classmethod
    def from_rgba(cls, width, height, rgba):
        rgb = bytearray(width * height * 3)
        rgb[0::3] = rgba[0::4]
        rgb[1::3] = rgba[1::4]
        rgb[2::3] = rgba[2::4]
        return cls(width, height, bytes(rgb))


def read_bmp(path):
    """An uncompressed 24- or 32-bit BMP (bottom-up or top-down) as a Picture."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("%s: not a BMP file" % path)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression not in (0, 3):
        raise ValueError("%s: %d bits a pixel, compression %d: not read here" %
                         (path, bits, compression))
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = abs(height)
    rgb = bytearray(width * rows * 3)
    for row in range(rows):
        source = row if height < 0 else rows - 1 - row
        line = data[offset + source * stride: offset + source * stride + width * step]
        out = row * width * 3
        rgb[out + 0:out + width * 3:3] = line[2::step]
        rgb[out + 1:out + width * 3:3] = line[1::step]
        rgb[out + 2:out + width * 3:3] = line[0::step]
    return Picture(width, rows, bytes(rgb))


def write_png(path, picture):
    raw = b"".join(b"\0" + picture.rgb[y * picture.width * 3:(y + 1) * picture.width * 3]
                   for y in range(picture.height))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", picture.width, picture.height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        f.write(chunk(b"IEND", b""))


def rgb565(colour):
    r, g, b = colour
    return (r >> 3, g >> 2, b >> 3)


def opaque_mask(sprite, key):
    """The pixels of a picture that a colour-keyed blit draws at 16 bits a pixel: those whose
    RGB565 value is not the key's."""
    key565 = rgb565(key)
    return [(x, y) for y in range(sprite.height) for x in range(sprite.width)
            if rgb565(sprite.pixel(x, y)) != key565]
