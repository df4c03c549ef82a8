#!/usr/bin/env python3
# Writes the seed corpus for wav_fuzz: a few small valid and broken WAV files.
# Usage: make_corpus.py <output folder>
import struct, math, os, sys
out = sys.argv[1]
def chunk(cid, payload, claimed=None):
    size = len(payload) if claimed is None else claimed
    return cid + struct.pack('<I', size) + payload + (b'\0' if len(payload) % 2 else b'')
def fmt(tag, ch, rate, bits, extra=b''):
    align = ch * ((bits + 7) // 8)
    return struct.pack('<HHIIHH', tag, ch, rate, rate * align, align, bits) + extra
def riff(chunks, form=b'WAVE'):
    return b'RIFF' + struct.pack('<I', 4 + len(chunks)) + form + chunks
def tone(ch, bits, frames):
    b = bytearray()
    for i in range(frames):
        v = 0.5 * math.sin(2 * math.pi * 440 * i / 8000)
        for _ in range(ch):
            b += bytes([128 + int(v * 127)]) if bits == 8 else struct.pack('<h', int(v * 32767))
    return bytes(b)
files = {
    'mono16.wav': riff(chunk(b'fmt ', fmt(1, 1, 8000, 16)) + chunk(b'data', tone(1, 16, 32))),
    'stereo8.wav': riff(chunk(b'fmt ', fmt(1, 2, 8000, 8)) + chunk(b'data', tone(2, 8, 32))),
    'list-odd-pad.wav': riff(chunk(b'LIST', b'INFOabc') + chunk(b'fmt ', fmt(1, 1, 8000, 8)) + chunk(b'data', tone(1, 8, 15))),
    'data-before-fmt.wav': riff(chunk(b'data', tone(2, 16, 8)) + chunk(b'fmt ', fmt(1, 2, 8000, 16))),
    'extensible.wav': riff(chunk(b'fmt ', fmt(0xFFFE, 2, 8000, 16, struct.pack('<HHI', 22, 16, 3) + b'\x01\0\0\0\0\0\x10\0\x80\0\0\xaa\0\x38\x9b\x71')) + chunk(b'data', tone(2, 16, 8))),
    'fmt18.wav': riff(chunk(b'fmt ', fmt(1, 1, 8000, 16, b'\0\0')) + chunk(b'fact', struct.pack('<I', 8)) + chunk(b'data', tone(1, 16, 8))),
    'data-overlong.wav': riff(chunk(b'fmt ', fmt(1, 1, 8000, 16))) + b'data' + struct.pack('<I', 100000) + tone(1, 16, 9)[:17],
    'float.wav': riff(chunk(b'fmt ', fmt(3, 1, 8000, 32)) + chunk(b'data', b'\0' * 16)),
}
os.makedirs(out, exist_ok=True)
for name, data in files.items():
    open(os.path.join(out, name), 'wb').write(data)
