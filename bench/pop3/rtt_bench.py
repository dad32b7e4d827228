#!/usr/bin/env python3
"""The listing over links with a round trip: each client through
delay_proxy.py at each round trip, in the same run.

    rtt_bench.py BENCH_BINARY HOST:PORT USER PASSWORD [RTTS_MS] [ROUNDS]

RTTS_MS is a comma-separated list (default "0,5,20"); "direct" stands for
no proxy. Each round runs: TNMPOP3 as the mail check lists (pop3_bench
list: pipelined when CAPA allows; pop3_bench check: the same with the UIDL
ids ahead, as the mail check asks them), TNMPOP3 one command at a time (pop3_bench
serial, the exchange before pipelining; at 0 ms and direct only, as poplib
shows what one command at a time costs), Python's poplib, and the floor
(floor_client.py: every command in one write). Compared is the time from
the connect to the last reply of the listing:

  floor = TNMPOP3's login + the floor client's listing (1 round trip + the
          transfer time of the replies)"""
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run(cmd):
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    return dict(item.split("=", 1) for item in out.split())


def listed_us(fields):
    return float(fields["login_us"]) + float(fields["loop_us"])


def start_proxy(server, rtt):
    proxy = subprocess.Popen([sys.executable, os.path.join(HERE, "delay_proxy.py"), server, str(rtt)],
                             stdout=subprocess.PIPE, text=True)
    port = proxy.stdout.readline().strip()
    return proxy, "127.0.0.1:" + port


def main():
    binary, server, user, password = sys.argv[1:5]
    rtts = (sys.argv[5] if len(sys.argv) > 5 else "0,5,20").split(",")
    rounds = int(sys.argv[6]) if len(sys.argv) > 6 else 1
    print("POP3 listing through a delaying proxy, %d round(s); load average %s" % (rounds, os.getloadavg()[0]))
    print("%-7s %9s %9s %9s %9s %9s %9s   %s" % ("rtt", "TNMPOP3", "+UIDL", "serial", "poplib", "floor", "login",
                                                "ratios"))
    for rtt in rtts:
        proxy = None
        target = server
        if rtt != "direct":
            proxy, target = start_proxy(server, float(rtt))
        try:
            run([binary, "list", target, user, password])  # warms the caches
            rows = {"list": [], "check": [], "serial": [], "poplib": [], "floor": []}
            for _ in range(rounds):
                rows["list"].append(run([binary, "list", target, user, password]))
                rows["check"].append(run([binary, "check", target, user, password]))
                if rtt in ("0", "direct"):
                    rows["serial"].append(run([binary, "serial", target, user, password]))
                rows["poplib"].append(run([sys.executable, os.path.join(HERE, "poplib_client.py"), target, user,
                                           password]))
                rows["floor"].append(run([sys.executable, os.path.join(HERE, "floor_client.py"), target, user,
                                          password]))
        finally:
            if proxy:
                proxy.kill()
                proxy.wait()
        first = rows["list"][0]
        if int(first["messages"]) == 0 or first["header_bytes"] != rows["poplib"][0]["header_bytes"]:
            sys.exit("the clients did not list the same headers: %s vs %s" % (first, rows["poplib"][0]))

        def med(name, pick=listed_us):
            return statistics.median(pick(r) for r in rows[name]) / 1e3 if rows[name] else float("nan")

        ours, poplib = med("list"), med("poplib")
        login = med("list", lambda r: float(r["login_us"]))
        floor = login + med("floor", lambda r: float(r["loop_us"]))
        serial = med("serial")
        ratios = "%.2fx the floor, poplib %.1fx slower" % (ours / floor, poplib / ours)
        if rows["serial"]:
            ratios += ", serial %.2fx" % (serial / ours)
        print("%-7s %7.1fms %7.1fms %7.1fms %7.1fms %7.1fms %7.1fms   %s"
              % (rtt + ("" if rtt == "direct" else " ms"), ours, med("check"), serial, poplib, floor, login, ratios))
        if rtt == "20":
            ok = ours <= 2 * floor and poplib >= 20 * ours
            print("        targets at 20 ms (<= 2x the floor, >= 20x faster than poplib): %s"
                  % ("met" if ok else "NOT met"))
        if rows["serial"]:
            print("        at %s: pipelined %s than one command at a time" % (rtt, "no slower" if ours <= serial * 1.05
                                                                            else "SLOWER"))


if __name__ == "__main__":
    main()
