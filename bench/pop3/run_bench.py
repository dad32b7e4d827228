#!/usr/bin/env python3
"""Runs the POP3 benchmark against a running server and prints the figures.

    run_bench.py BENCH_BINARY HOST:PORT USER PASSWORD [ROUNDS]

Each round runs, in turn: the C++ listing (pop3_bench list), the Python
poplib client doing the same exchange, and the round-trip floor (2000 NOOPs
on one connection). Whole-process times are taken here, around each
process; the in-program times come from the programs. Medians and best
rounds are shown: on a shared machine the best round is the least disturbed."""
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run(cmd):
    start = time.perf_counter()
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    wall_us = (time.perf_counter() - start) * 1e6
    fields = dict(item.split("=", 1) for item in out.split())
    fields["wall_us"] = wall_us
    return fields


def main():
    binary, server, user, password = sys.argv[1:5]
    rounds = int(sys.argv[5]) if len(sys.argv) > 5 else 5
    noops = 2000
    cpp, py, floor = [], [], []
    run([binary, "list", server, user, password])  # warms the server's caches
    for _ in range(rounds):
        cpp.append(run([binary, "list", server, user, password]))
        py.append(run([sys.executable, os.path.join(HERE, "poplib_client.py"), server, user, password]))
        floor.append(run([binary, "noop", server, user, password, str(noops)]))

    def med(rows, key):
        return statistics.median(float(r[key]) for r in rows)

    def best(rows, key):
        return min(float(r[key]) for r in rows)

    messages = int(cpp[0]["messages"])
    if messages == 0 or cpp[0]["header_bytes"] != py[0]["header_bytes"]:
        sys.exit("the two clients did not list the same headers: %s vs %s" % (cpp[0], py[0]))
    print("POP3 listing of %d messages, %d rounds; load average %s" % (messages, rounds, os.getloadavg()[0]))
    for name, pick in (("median", med), ("best", best)):
        rtt = pick(floor, "loop_us") / noops
        floor_per_msg = 2 * rtt  # TOP and LIST: two round trips a message
        cpp_per_msg = pick(cpp, "loop_us") / messages
        py_per_msg = pick(py, "loop_us") / messages
        cpp_total, py_total = pick(cpp, "total_us"), pick(py, "total_us")
        cpp_wall, py_wall = pick(cpp, "wall_us"), pick(py, "wall_us")
        print("%s of the rounds:" % name)
        print("  round-trip floor (NOOP)   %7.1f us a round trip, %7.1f us a message (2 round trips)"
              % (rtt, floor_per_msg))
        print("  TNMPOP3 listing           %7.1f us a message = %.2fx the floor" % (cpp_per_msg, cpp_per_msg / floor_per_msg))
        print("  poplib listing            %7.1f us a message = %.2fx the floor" % (py_per_msg, py_per_msg / floor_per_msg))
        print("  whole check in-program    TNMPOP3 %7.1f ms, poplib %7.1f ms = %.2fx"
              % (cpp_total / 1e3, py_total / 1e3, cpp_total / py_total))
        print("  whole check as a process  TNMPOP3 %7.1f ms, poplib %7.1f ms = %.2fx"
              % (cpp_wall / 1e3, py_wall / 1e3, cpp_wall / py_wall))
        ok = cpp_per_msg <= 1.15 * floor_per_msg and cpp_wall <= 0.8 * py_wall
        print("  targets (listing <= 1.15x floor, process <= 0.8x poplib): %s" % ("met" if ok else "NOT met"))


if __name__ == "__main__":
    main()
