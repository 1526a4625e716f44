#!/usr/bin/env python3
"""Encrypts a Russian plaintext (working alphabet, "_" for the word gap) with a seeded random
key and writes a cryptogram file (Windows-1251, CR LF), or with --solved N a result file in
which the N most frequent cipher letters are already broken.

    make_cryptogram.py PLAIN.txt OUT.txt [--seed N] [--length N] [--solved N]
"""
import argparse
import random
from collections import Counter

ALPHABET = "АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЬЫЭЮЯ"  # columns 1-30; "_" is 31, "?" 32
COLUMNS = ALPHABET + "_?"


def make_key(seed):
    letters = list(ALPHABET)
    random.Random(seed).shuffle(letters)
    return dict(zip(ALPHABET, letters)) | {"_": "_"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("plain")
    parser.add_argument("out")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--length", type=int, default=0, help="cut at the last gap before N")
    parser.add_argument("--solved", type=int, default=-1, help="write a result file")
    args = parser.parse_args()

    plain = open(args.plain, encoding="utf-8").read().strip()
    if args.length and len(plain) > args.length:
        cut = plain.rfind("_", 0, args.length)
        plain = plain[: cut if cut > 0 else args.length]
    encrypt = make_key(args.seed)
    cipher = "".join(encrypt[c] for c in plain)
    if args.solved < 0:
        lines = [cipher]
    else:
        decrypt = {v: k for k, v in encrypt.items()}
        known = [c for c, _ in Counter(cipher).most_common() if c != "_"][: args.solved] + ["_"]
        key = "".join(decrypt[c] if c in known else " " for c in COLUMNS[:31]) + " "
        text = "".join(decrypt[c] if c in known else " " for c in cipher)
        lines = ["Шифротекст:", cipher, "Алфавит замены:", key, "Открытый текст:", text]
    with open(args.out, "wb") as out:
        for line in lines:
            out.write(line.encode("cp1251") + b"\r\n")


if __name__ == "__main__":
    main()
