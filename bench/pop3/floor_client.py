#!/usr/bin/env python3
"""The fastest any client can list the mailbox: login, STAT, then every
TOP n 0 and LIST n in one write, and the replies read as they come, only
scanned for the last one. Prints the same key=value line as the others;
loop_us is one round trip plus the transfer time of the replies."""
import socket
import sys
import time


def main():
    host, port = sys.argv[1].rsplit(":", 1)
    user, password = sys.argv[2], sys.argv[3]
    start = time.perf_counter()
    sock = socket.create_connection((host, int(port)))
    sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    stream = sock.makefile("rb")
    stream.readline()
    for command in (b"USER " + user.encode(), b"PASS " + password.encode()):
        sock.sendall(command + b"\r\n")
        stream.readline()
    sock.sendall(b"STAT\r\n")
    count = int(stream.readline().split()[1])
    loop_start = time.perf_counter()
    login_us = (loop_start - start) * 1e6
    sock.sendall(b"".join(b"TOP %d 0\r\nLIST %d\r\n" % (n, n) for n in range(1, count + 1)))
    last = b"+OK %d " % count
    reply_bytes = 0
    # The last reply is the only line that starts "+OK count " after the
    # TOP reply of message count (a header line cannot start with "+OK").
    tops = 0
    while True:
        line = stream.readline()
        if not line:
            sys.exit("floor_client: the server closed the connection")
        reply_bytes += len(line)
        if line == b".\r\n":
            tops += 1
        elif tops == count and line.startswith(last):
            break
    loop_us = (time.perf_counter() - loop_start) * 1e6
    sock.sendall(b"QUIT\r\n")
    stream.readline()
    total_us = (time.perf_counter() - start) * 1e6
    print("mode=floor messages=%d login_us=%d loop_us=%d total_us=%d reply_bytes=%d"
          % (count, login_us, loop_us, total_us, reply_bytes))


if __name__ == "__main__":
    main()
