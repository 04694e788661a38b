"""A small data tree for teluma-say: settings, letter and number-word recordings of realistic
length and a one-unit voice, in the folder given as the only argument."""
import os
import struct
import sys

root = sys.argv[1]


def wave(samples):
    return (b"RIFF" + struct.pack("<I", samples + 36) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, 1, 11025, 11025, 1, 8) + b"data" +
            struct.pack("<I", samples) + bytes((128 + (i % 16) for i in range(samples))))


def write(relative, data):
    path = os.path.join(root, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


write("windows/TELUMA.INI", b"[TRADUTOR]\r\nSAPI=N\r\nVELOCIDADE=3\r\n"
      b"[SINTETIZADOR]\r\nDIFONES3=VOZ\r\n")
letters = "qorbel/som/letras/"
for name in ["_zero", "_um", "_dois", "_tres", "_quatro", "_cinco", "_seis", "_sete", "_oito",
             "_nove", "_dez", "_cem", "_cento", "_vinte", "_trinta", "_e", "_mil", "_MENOS"]:
    write(letters + name + ".wav", wave(3300))
for code in range(256):
    write(letters + "_%d.wav" % code, wave(2200))
entry = bytearray(15)
entry[0] = 2
entry[1:3] = b"$A"
entry[9:11] = struct.pack("<H", 1500)
write("qorbel/som/difones/VOZ.IND", bytes(entry))
write("qorbel/som/difones/VOZ.DIF", bytes([128]) * 1500)
write("qorbel/som/difones/regras.rgr",
      "".join("(%s)=$A|\r\n" % c for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ").encode())
write("qorbel/som/difones/portug.exc", b"\r\n")
