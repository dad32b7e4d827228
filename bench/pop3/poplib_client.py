#!/usr/bin/env python3
"""The same exchange as `pop3_bench list` with Python's poplib: login, STAT,
TOP n 0 and LIST n for every message, QUIT. Keeps the Subject and From first
lines as the C++ client does. Prints the same key=value line."""
import poplib
import sys
import time


def main():
    host, port = sys.argv[1].rsplit(":", 1)
    user, password = sys.argv[2], sys.argv[3]
    start = time.perf_counter()
    pop = poplib.POP3(host, int(port))
    pop.user(user)
    pop.pass_(password)
    count = int(pop.stat()[0])
    header_bytes = 0
    loop_start = time.perf_counter()
    login_us = (loop_start - start) * 1e6
    for n in range(1, count + 1):
        subject = sender = b""
        for line in pop.top(n, 0)[1]:
            if line.startswith(b"Subject:"):
                subject = line[8:]
            elif line.startswith(b"From:"):
                sender = line[5:]
        pop.list(n)
        header_bytes += len(subject) + len(sender)
    loop_us = (time.perf_counter() - loop_start) * 1e6
    pop.quit()
    total_us = (time.perf_counter() - start) * 1e6
    print("mode=poplib messages=%d login_us=%d loop_us=%d total_us=%d header_bytes=%d"
          % (count, login_us, loop_us, total_us, header_bytes))


if __name__ == "__main__":
    main()
