#!/usr/bin/env python3
"""Captures folder listings from obexftpd for the parser tests and fuzz seeds.

Builds a few folder trees, serves each with its own obexftpd on a loopback port, and
fetches the root listing with a minimal OBEX client (CONNECT with the folder-browsing
target, GET of x-obex/folder-listing with continuations). Writes NAME.xml (the listing
body) and NAME.responses (the raw response packets of the GET, concatenated).

    python3 capture_obexftpd.py OUTDIR
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

TARGET = bytes.fromhex("F9EC7BC4953C11D2984E525400DC9E09")
LISTING = b"x-obex/folder-listing\0"


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def read_packet(sock):
    head = b""
    while len(head) < 3:
        chunk = sock.recv(3 - len(head))
        if not chunk:
            raise EOFError("link closed")
        head += chunk
    length = (head[1] << 8) | head[2]
    body = b""
    while len(body) < length - 3:
        chunk = sock.recv(length - 3 - len(body))
        if not chunk:
            raise EOFError("link closed")
        body += chunk
    return head + body


def headers(packet):
    pos = 3
    while pos < len(packet):
        hid = packet[pos]
        kind = hid & 0xC0
        if kind in (0x00, 0x40):
            size = (packet[pos + 1] << 8) | packet[pos + 2]
        elif kind == 0x80:
            size = 2
        else:
            size = 5
        yield hid, packet[pos:pos + size]
        pos += size


def fetch_listing(port):
    sock = socket.create_connection(("127.0.0.1", port), timeout=5)
    connect = bytes([0x80, 0, 26, 0x10, 0, 0x04, 0x00, 0x46, 0, 19]) + TARGET
    sock.sendall(connect)
    read_packet(sock)
    typ = bytes([0x42]) + (len(LISTING) + 3).to_bytes(2, "big") + LISTING
    request = bytes([0x01, 0, 3]) + typ
    sock.sendall(bytes([0x83]) + (len(request) + 3).to_bytes(2, "big") + request)
    raw = b""
    body = b""
    while True:
        packet = read_packet(sock)
        raw += packet
        for hid, header in headers(packet):
            if hid in (0x48, 0x49):
                body += header[3:]
        if packet[0] != 0x90:
            break
        sock.sendall(b"\x83\x00\x03")
    sock.sendall(b"\x81\x00\x03")
    try:
        read_packet(sock)
    except (EOFError, OSError):
        pass
    sock.close()
    return body, raw


def serve_and_fetch(root):
    port = free_port()
    proc = subprocess.Popen(["obexftpd", "-c", root, "-n", f"127.0.0.1:{port}"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(200):
            out = subprocess.run(["ss", "-ltn"], capture_output=True, text=True).stdout
            if f"127.0.0.1:{port}" in out:
                break
            time.sleep(0.01)
        return fetch_listing(port)
    finally:
        proc.kill()
        proc.wait()


def tree_small(root):
    os.mkdir(os.path.join(root, "Images"))
    os.mkdir(os.path.join(root, "Sounds"))
    with open(os.path.join(root, "notes.txt"), "wb") as f:
        f.write(b"x" * 1234)
    with open(os.path.join(root, "empty.bin"), "wb"):
        pass


def tree_cyrillic(root):
    os.mkdir(os.path.join(root, "Фото"))
    for name, size in (("Мелодия.mid", 4321), ("Привет мир.txt", 17), ("archive.tar.gz", 99999)):
        with open(os.path.join(root, name), "wb") as f:
            f.write(b"c" * size)


def tree_many(root):
    for i in range(60):
        with open(os.path.join(root, f"file_{i:03d}_with_a_longer_name.dat"), "wb") as f:
            f.write(b"m" * (i * 37))
    for i in range(5):
        os.mkdir(os.path.join(root, f"folder{i}"))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for name, build in (("obexftpd_small", tree_small), ("obexftpd_cyrillic", tree_cyrillic),
                        ("obexftpd_many", tree_many)):
        root = tempfile.mkdtemp(prefix="qv_capture_")
        try:
            build(root)
            body, raw = serve_and_fetch(root)
        finally:
            shutil.rmtree(root)
        with open(os.path.join(out, name + ".xml"), "wb") as f:
            f.write(body)
        with open(os.path.join(out, name + ".responses"), "wb") as f:
            f.write(raw)
        print(f"{name}: {len(body)} bytes of listing in {len(raw)} bytes of responses")


if __name__ == "__main__":
    main()
