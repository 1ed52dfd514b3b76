"""File-format writers for the asset generator: BMP, ICO, CUR, WAV and PNG.

Everything here is plain byte packing, so the same pictures and samples always give the same
bytes. The PNG writer carries its own small deflate encoder instead of calling zlib.compress,
because zlib's output may change between library versions and the committed files must be
reproducible on any machine.
"""

import re
import struct
import zlib


def _info_header(width, height, bits, image_size, colours_used=0):
    # BITMAPINFOHEADER; 2835 pixels per metre is 72 dpi.
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_size, 2835, 2835,
                       colours_used, 0)


def _palette_bytes(palette, entries):
    out = bytearray()
    for r, g, b in palette:
        out += bytes((b, g, r, 0))
    out += bytes(4 * (entries - len(palette)))
    return bytes(out)


def bmp8(width, height, palette, pixels):
    """An 8-bit bottom-up bitmap file with a 256-entry palette; pixels[y][x] are palette indices."""
    assert width % 4 == 0 and len(palette) <= 256
    rows = b''.join(bytes(pixels[y]) for y in range(height - 1, -1, -1))
    offset = 14 + 40 + 256 * 4
    head = struct.pack('<2sIHHI', b'BM', offset + len(rows), 0, 0, offset)
    return head + _info_header(width, height, 8, len(rows), 256) + _palette_bytes(palette, 256) + rows


def _and_mask(opaque):
    """The 1-bit AND mask of an icon or cursor image: 1 where the screen shows through."""
    size = len(opaque)
    out = bytearray()
    for y in range(size - 1, -1, -1):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (0 if opaque[y][x] else 1)
        out += bits.to_bytes(size // 8, 'big')
        out += bytes((-(size // 8)) % 4)
    return bytes(out)


def _icon_image(bits, palette, pixels, opaque):
    size = len(pixels)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        row = pixels[y]
        if bits == 8:
            xor += bytes(row)
        elif bits == 4:
            xor += bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
        else:
            value = 0
            for x in range(size):
                value = (value << 1) | row[x]
            xor += value.to_bytes(size // 8, 'big')
        xor += bytes((-len(xor)) % 4)
    mask = _and_mask(opaque)
    header = _info_header(size, 2 * size, bits, len(xor) + len(mask))
    return header + _palette_bytes(palette, 1 << bits) + bytes(xor) + mask


def ico(images):
    """An icon file; images is a list of (bits, palette, pixels, opaque) with square pixels."""
    blobs = [_icon_image(*image) for image in images]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (bits, _, pixels, _), blob in zip(images, blobs):
        size = len(pixels)
        colours = (1 << bits) if bits < 8 else 0
        out += struct.pack('<BBBBHHII', size, size, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    return bytes(out + b''.join(blobs))


def cur(pixels, opaque, hotspot):
    """A monochrome cursor file: pixels 1 white / 0 black where opaque, screen elsewhere."""
    size = len(pixels)
    blob = _icon_image(1, [(0, 0, 0), (255, 255, 255)], pixels, opaque)
    head = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', size, size, 2, 0, hotspot[0], hotspot[1], len(blob), 22)
    return head + entry + blob


def wav8(rate, samples):
    """A mono 8-bit PCM RIFF WAVE file; samples are unsigned bytes, 128 is silence."""
    data = bytes(samples)
    pad = b'\0' if len(data) % 2 else b''  # RIFF chunks are word aligned
    fmt = struct.pack('<4sIHHIIHH', b'fmt ', 16, 1, 1, rate, rate, 1, 8)
    body = b'WAVE' + fmt + struct.pack('<4sI', b'data', len(data)) + data + pad
    return struct.pack('<4sI', b'RIFF', len(body)) + body


# --- PNG ---------------------------------------------------------------------------------------


class _BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def bits(self, value, n):
        """Append n bits of value, least significant first (deflate's bit order)."""
        self.acc |= value << self.count
        self.count += n
        while self.count >= 8:
            self.out.append(self.acc & 0xFF)
            self.acc >>= 8
            self.count -= 8

    def huffman(self, code, n):
        """Append a Huffman code, which deflate stores most significant bit first."""
        self.bits(int(format(code, '0%db' % n)[::-1], 2), n)

    def finish(self):
        if self.count:
            self.out.append(self.acc & 0xFF)
        return bytes(self.out)


def _literal(w, value):
    # The fixed Huffman code of deflate (RFC 1951, 3.2.6).
    if value < 144:
        w.huffman(0x30 + value, 8)
    elif value < 256:
        w.huffman(0x190 + value - 144, 9)
    elif value < 280:
        w.huffman(value - 256, 7)
    else:
        w.huffman(0xC0 + value - 280, 8)


_LENGTH_BASE = [3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83,
                99, 115, 131, 163, 195, 227, 258]
_LENGTH_EXTRA = [0] * 8 + [1] * 4 + [2] * 4 + [3] * 4 + [4] * 4 + [5] * 4 + [0]


def _match(w, length, distance_code):
    """A back-reference of length 3..258; distance codes 0 and 2 are distances 1 and 3."""
    code = max(i for i, base in enumerate(_LENGTH_BASE) if base <= length)
    if length == 258:
        code = 28
    _literal(w, 257 + code)
    w.bits(length - _LENGTH_BASE[code], _LENGTH_EXTRA[code])
    w.huffman(distance_code, 5)


def _repeats(w, length, distance_code):
    """Matches covering length bytes; returns the 0 to 2 bytes left over for literals."""
    while length >= 3:
        step = min(length, 258)
        if length - step in (1, 2):  # leave a tail long enough for another match
            step -= 3
        _match(w, step, distance_code)
        length -= step
    return length


# Runs of one byte, and runs of one three-byte pixel (a flat colour in a row of differences).
_RUN = re.compile(rb'(.)\1{3,}|(...)\2{2,}', re.DOTALL)


def _deflate_runs(data):
    """Deflate with fixed codes and run-length matches only; plenty for flat artwork."""
    w = _BitWriter()
    w.bits(1, 1)  # final block
    w.bits(1, 2)  # fixed Huffman codes
    at = 0
    for match in _RUN.finditer(data):
        for value in data[at:match.start()]:
            _literal(w, value)
        unit = 1 if match.group(1) is not None else 3
        for value in data[match.start():match.start() + unit]:
            _literal(w, value)
        rest = _repeats(w, match.end() - match.start() - unit, 0 if unit == 1 else 2)
        for value in data[match.end() - rest:match.end()]:
            _literal(w, value)
        at = match.end()
    for value in data[at:]:
        _literal(w, value)
    _literal(w, 256)
    return w.finish()


def _zlib_stream(data):
    return b'\x78\x01' + _deflate_runs(data) + struct.pack('>I', zlib.adler32(data))


def _chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))


def png_rgb(width, height, rows):
    """An 8-bit RGB PNG; rows[y] is a bytes object of 3 * width bytes."""
    raw = bytearray()
    size = 3 * width
    high = int.from_bytes(b'\x80' * size, 'big')
    every = (1 << (8 * size)) - 1
    previous = 0
    for row in rows:
        # The "up" filter turns rows that repeat the one above into zeros, which the run-length
        # encoder then stores in a few bytes. The bytewise subtraction is done on the whole row
        # as one integer, with the borrows kept out of the top bit of each byte.
        current = int.from_bytes(row, 'big')
        up = ((current | high) - (previous & ~high & every)) ^ ((current ^ previous ^ every) & high)
        raw.append(2)
        raw += up.to_bytes(size, 'big')
        previous = current
    header = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + _chunk(b'IHDR', header) +
            _chunk(b'IDAT', _zlib_stream(bytes(raw))) + _chunk(b'IEND', b''))
