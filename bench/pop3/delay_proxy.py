#!/usr/bin/env python3
"""A loopback TCP proxy that adds a round trip: every chunk is passed on
half the round trip after it arrived, in each direction, in order (a link
with that latency and no bandwidth limit).

    delay_proxy.py TARGET_HOST:PORT RTT_MS

Listens on a free 127.0.0.1 port, prints it on the first line of standard
output and runs until killed."""
import asyncio
import socket
import sys


async def pump(reader, writer, delay):
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue()

    async def deliver():
        while True:
            due, data = await queue.get()
            wait = due - loop.time()
            if wait > 0:
                await asyncio.sleep(wait)
            if not data:
                writer.close()
                return
            writer.write(data)
            await writer.drain()

    task = asyncio.create_task(deliver())
    try:
        while True:
            data = await reader.read(65536)
            queue.put_nowait((loop.time() + delay, data))
            if not data:
                break
    except ConnectionError:
        queue.put_nowait((loop.time(), b""))
    await task


def no_delay(writer):
    sock = writer.get_extra_info("socket")
    if sock is not None:
        sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)


async def main():
    host, port = sys.argv[1].rsplit(":", 1)
    delay = float(sys.argv[2]) / 2000.0

    async def serve(client_reader, client_writer):
        server_reader, server_writer = await asyncio.open_connection(host, int(port))
        no_delay(client_writer)
        no_delay(server_writer)
        await asyncio.gather(pump(client_reader, server_writer, delay), pump(server_reader, client_writer, delay),
                             return_exceptions=True)

    server = await asyncio.start_server(serve, "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        pass
