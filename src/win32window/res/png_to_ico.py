#!/usr/bin/env python3
"""Writes a Windows .ico of 16-colour images (the standard VGA palette, a 1-bit mask) from
RGBA PNG files, one image each, as the program's icon resources hold them.
   png_to_ico.py OUT.ico IN32.png IN16.png ..."""
import struct
import sys
import zlib

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
OPAQUE = 128  # alpha from which a pixel is drawn rather than masked


def read_png(path):
    """(width, height, rows of (r, g, b, a)) of an 8-bit RGBA or RGB PNG without interlace."""
    data = open(path, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        sys.exit(f'{path}: not a PNG file')
    pos, idat, header = 8, b'', None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    channels = {6: 4, 2: 3}.get(colour)
    if depth != 8 or channels is None or interlace:
        sys.exit(f'{path}: only 8-bit RGB or RGBA PNG without interlace')
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + pred) & 255
        rows.append([tuple(line[x * channels:x * channels + channels]) + ((255,) if channels == 3 else ())
                     for x in range(width)])
        previous = line
    return width, height, rows


def nearest(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, PALETTE[i])))


def icon_image(width, height, rows):
    """BITMAPINFOHEADER, palette, 4-bit colour rows and the 1-bit mask, bottom row first."""
    colour_stride = ((width * 4 + 31) // 32) * 4
    mask_stride = ((width + 31) // 32) * 4
    colour, mask = b'', b''
    for row in reversed(rows):
        line, bits = bytearray(colour_stride), bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            if a >= OPAQUE:
                index = nearest((r, g, b))
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            else:
                bits[x // 8] |= 0x80 >> (x % 8)
        colour += bytes(line)
        mask += bytes(bits)
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour + mask


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    images = [read_png(path) for path in sys.argv[2:]]
    blobs = [icon_image(*image) for image in images]
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for (width, height, _), blob in zip(images, blobs):
        out += struct.pack('<BBBBHHII', width % 256, height % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(sys.argv[1], 'wb') as f:
        f.write(out + b''.join(blobs))


if __name__ == '__main__':
    main()
