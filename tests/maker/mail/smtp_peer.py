#!/usr/bin/python3
"""An SMTP server for the mail tests, on 127.0.0.1 and a free port.

Prints "PORT <n>" once it listens, then serves until it is terminated or its stdin closes.
Every accepted message is stored as msg-<n>.eml (the data as received, dot-unstuffed) with
msg-<n>.env beside it (HELO name, MAIL FROM and each RCPT TO, one per line), and every command
line received is appended to commands.log.

  --dir DIR        where messages go
  --fail STEP:CODE answer CODE at STEP: greeting, HELO, RSET, MAIL, RCPT, DATA (the command)
                   or END (the end of the message data)
  --multiline      answer the greeting, HELO and the end of the data with multi-line replies
  --discard        count messages without storing them
  --quit-delay S   wait S seconds before answering QUIT
"""
import argparse
import asyncio
import os
import signal
import sys

from aiosmtpd.smtp import SMTP

args = None
count = 0


def log_command(line):
    if args.dir:
        with open(os.path.join(args.dir, "commands.log"), "a", encoding="utf-8", errors="replace") as f:
            f.write(line + "\n")


def failing(step):
    if not args.fail:
        return None
    name, code = args.fail.split(":")
    return code if name.upper() == step.upper() else None


class Handler:
    async def handle_HELO(self, server, session, envelope, hostname):
        session.host_name = hostname
        if args.multiline:
            return "250-peer.test greets " + hostname + "\r\n250-second line\r\n250 last line"
        return "250 peer.test"

    async def handle_DATA(self, server, session, envelope):
        global count
        code = failing("END")
        if code:
            return code + " message refused by the test"
        count += 1
        if not args.discard:
            base = os.path.join(args.dir, "msg-%d" % count)
            with open(base + ".eml.part", "wb") as f:
                f.write(envelope.original_content)
            os.rename(base + ".eml.part", base + ".eml")
            with open(base + ".env", "w", encoding="utf-8") as f:
                f.write((session.host_name or "") + "\n" + envelope.mail_from + "\n")
                for r in envelope.rcpt_tos:
                    f.write(r + "\n")
        if args.multiline:
            return "250-accepted\r\n250 queued as %d" % count
        return "250 queued as %d" % count


class PeerSMTP(SMTP):
    greeted = False

    async def push(self, status):
        if not self.greeted:
            # The first reply of a session is the greeting.
            self.greeted = True
            code = failing("greeting")
            if code:
                status = code + " service not available"
            elif args.multiline:
                status = "220-peer.test welcomes you\r\n220-this greeting\r\n220 has three lines"
        await super().push(status)

    async def smtp_HELO(self, arg):
        log_command("HELO " + arg)
        code = failing("HELO")
        if code:
            await self.push(code + " not welcome")
            return
        await super().smtp_HELO(arg)

    async def smtp_RSET(self, arg):
        log_command("RSET")
        code = failing("RSET")
        if code:
            await self.push(code + " cannot reset")
            return
        await super().smtp_RSET(arg)

    async def smtp_MAIL(self, arg):
        log_command("MAIL " + arg)
        code = failing("MAIL")
        if code:
            await self.push(code + " sender refused")
            return
        await super().smtp_MAIL(arg)

    async def smtp_RCPT(self, arg):
        log_command("RCPT " + arg)
        code = failing("RCPT")
        if code:
            await self.push(code + " no such user")
            return
        await super().smtp_RCPT(arg)

    async def smtp_DATA(self, arg):
        log_command("DATA")
        code = failing("DATA")
        if code:
            await self.push(code + " no data now")
            return
        await super().smtp_DATA(arg)

    async def smtp_QUIT(self, arg):
        log_command("QUIT")
        if args.quit_delay:
            await asyncio.sleep(args.quit_delay)
        await super().smtp_QUIT(arg)


async def main():
    loop = asyncio.get_running_loop()
    handler = Handler()
    server = await loop.create_server(
        lambda: PeerSMTP(handler, hostname="peer.test", data_size_limit=None), "127.0.0.1", 0)
    port = server.sockets[0].getsockname()[1]
    print("PORT %d" % port, flush=True)
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)
    loop.add_reader(sys.stdin.fileno(), lambda: stop.set() if not sys.stdin.buffer.read1(4096) else None)
    await stop.wait()
    server.close()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", default="")
    parser.add_argument("--fail", default="")
    parser.add_argument("--multiline", action="store_true")
    parser.add_argument("--discard", action="store_true")
    parser.add_argument("--quit-delay", type=float, default=0)
    args = parser.parse_args()
    asyncio.run(main())
