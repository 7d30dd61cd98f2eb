#!/usr/bin/env python3
# Prints, in hexadecimal, the AES-256 key with which the program encrypts its key list files: the
# CryptoAPI derivation from the MD5 of its pass phrase. For scripts that make or read such files.
import hashlib

h = hashlib.md5(b"k%38wR*59?7!62&mzt").digest()


# MD5 of 64 bytes of the fill value with the pass phrase's hash XORed into their first 16 bytes.
def half(fill):
    block = bytearray([fill] * 64)
    for i in range(16):
        block[i] ^= h[i]
    return hashlib.md5(bytes(block)).digest()


print((half(0x36) + half(0x5C)).hex())
