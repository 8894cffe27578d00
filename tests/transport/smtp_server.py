"""A loopback SMTP server for the mail tests, built on aiosmtpd.

Listens on 127.0.0.1 at a free port, writes the port to --port-file once it listens, and records into
--record (JSON lines, flushed at once): every connection, every LOGIN attempt and every accepted
message with its envelope and content. --transcript receives the raw bytes every client sent.

Run with /usr/bin/python3 (the interpreter that has aiosmtpd).
"""

import argparse
import asyncio
import json
import os
import signal

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def parse_args():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--record", required=True)
    parser.add_argument("--transcript", required=True)
    parser.add_argument("--login", help="USER:PASSWORD accepted by AUTH LOGIN; advertises LOGIN and PLAIN")
    parser.add_argument("--plain-only", action="store_true", help="advertise AUTH PLAIN but not LOGIN")
    parser.add_argument("--refuse-ehlo", action="store_true", help="answer EHLO with 500")
    parser.add_argument("--drop-at-data", action="store_true", help="close the connection on DATA")
    return parser.parse_args()


class Recorder:
    def __init__(self, record_path, transcript_path):
        self.record = open(record_path, "a", encoding="utf-8")
        self.transcript = open(transcript_path, "ab")

    def write(self, entry):
        self.record.write(json.dumps(entry) + "\n")
        self.record.flush()

    def raw(self, data):
        self.transcript.write(data)
        self.transcript.flush()


class Handler:
    def __init__(self, recorder):
        self.recorder = recorder

    async def handle_DATA(self, server, session, envelope):
        self.recorder.write({
            "kind": "message",
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "content": envelope.original_content.decode("latin-1"),
            "authenticated": bool(session.authenticated),
        })
        return "250 OK"


def make_authenticator(recorder, expected):
    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = False
        entry = {"kind": "auth", "mechanism": mechanism}
        if isinstance(auth_data, LoginPassword):
            user = auth_data.login.decode("latin-1")
            password = auth_data.password.decode("latin-1")
            entry.update(user=user, password=password)
            ok = expected is not None and (user, password) == expected
        entry["ok"] = ok
        recorder.write(entry)
        # handled=False lets the server answer 535 itself on a refusal.
        return AuthResult(success=ok, handled=ok)
    return authenticate


def make_protocol_class(args, recorder):
    class TestSMTP(SMTP):
        def connection_made(self, transport):
            recorder.write({"kind": "connect"})
            super().connection_made(transport)

        def data_received(self, data):
            recorder.raw(data)
            super().data_received(data)

        async def smtp_EHLO(self, arg):
            if args.refuse_ehlo:
                await self.push("500 Error: command \"EHLO\" not recognized")
                return
            await super().smtp_EHLO(arg)

        async def smtp_DATA(self, arg):
            if args.drop_at_data:
                self.transport.close()
                return
            await super().smtp_DATA(arg)

    return TestSMTP


async def serve(args):
    recorder = Recorder(args.record, args.transcript)
    handler = Handler(recorder)
    protocol_class = make_protocol_class(args, recorder)
    options = {"hostname": "localhost", "auth_require_tls": False}
    if args.login or args.plain_only:
        # The raw bytes of the argument, read as Latin-1 like the recorded values.
        expected = tuple(os.fsencode(args.login).decode("latin-1").split(":", 1)) if args.login else None
        options["authenticator"] = make_authenticator(recorder, expected)
        if args.plain_only:
            options["auth_exclude_mechanism"] = ["LOGIN"]
    loop = asyncio.get_running_loop()
    server = await loop.create_server(lambda: protocol_class(handler, **options), host="127.0.0.1", port=0)
    port = server.sockets[0].getsockname()[1]
    with open(args.port_file + ".tmp", "w", encoding="ascii") as f:
        f.write(str(port))
    os.rename(args.port_file + ".tmp", args.port_file)
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)
    await stop.wait()
    server.close()


if __name__ == "__main__":
    asyncio.run(serve(parse_args()))
