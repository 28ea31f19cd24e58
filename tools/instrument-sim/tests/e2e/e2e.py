#!/usr/bin/env python3
"""The PC side of the simulator's end-to-end test, and the table of the
instruments it expects. Runs under tools/netlab:

  e2e.py instruments SIMULATOR   in an instrument namespace: starts them
  e2e.py client                  in the PC namespace: checks them
"""
import os
import socket
import sys
import time

# Per link, per instrument address in order: family, serial, fault keys.
INSTRUMENTS = {
    1: [("P5A", "SN-1001", ""),
        ("P4RA", "SN-1002", "delay=30,split=3,ts-polls=3,um-polls=2"),
        ("P5", "SN-1003", "discovery=no-field2,reset-after=1500")],
    2: [("P4", "SN-2001", "")],
}

DISCOVER = b"DISCOVER\0"


def start_instruments(simulator):
    link = int(os.environ["NETLAB_LINK"])
    addresses = os.environ["NETLAB_INST_ADDRS"].split(",")
    work = os.environ["NETLAB_DIR"]
    args = [simulator, "--log", f"{work}/sim-{link}.log", "--store", f"{work}/store-{link}",
            "--ready-file", os.environ["NETLAB_READY"]]
    for address, (family, serial, faults) in zip(addresses, INSTRUMENTS[link]):
        args += ["--instrument", ",".join(filter(None, [address, family, serial, faults]))]
    os.execv(simulator, args)


class Failures:
    def __init__(self):
        self.count = 0

    def check(self, condition, what):
        if not condition:
            self.count += 1
            print("FAIL:", what, file=sys.stderr)


def discover(pc_address, broadcast):
    """Broadcasts the request as the PC tool does and collects answers until
    one second passes without any."""
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    s.bind((pc_address, 2000))
    s.sendto(DISCOVER, (broadcast, 2000))
    s.settimeout(1.0)
    answers = []
    try:
        while True:
            answers.append(s.recvfrom(2048))
    except socket.timeout:
        pass
    s.close()
    return answers


def reader_view(datagram):
    """Family code and serial as the PC tool reads them, None when dropped."""
    text = datagram[:511].split(b"\0")[0]
    if len(text) < 8 or not text.startswith(b"TARGET"):
        return None
    body = text[7:]
    if len(body) <= 30 or b"|" not in body:
        return None
    fields = [f for f in body.split(b"|") if f]
    if len(fields) < 2:
        return None
    serial = fields[2] if len(fields) >= 4 else b""
    return fields[1][3:].decode(), serial.decode()


class Connection:
    """A command connection that keeps what it sent and received."""

    def __init__(self, address):
        self.socket = socket.create_connection((address, 2010), timeout=5)
        self.sent = b""
        self.received = b""
        self.pending = b""

    def send(self, data):
        self.socket.sendall(data)
        self.sent += data

    def line(self):
        while b"\r" not in self.pending:
            chunk = self.socket.recv(4096)
            if not chunk:
                raise ConnectionError("closed")
            self.received += chunk
            self.pending += chunk
        line, self.pending = self.pending.split(b"\r", 1)
        return line

    def exchange(self, command):
        self.send(command + b"\r")
        return self.line()

    def send_file(self, header, content, block):
        # The header carries its own carriage return; framing adds the second.
        reply = self.exchange(header)
        acks = []
        for at in range(0, len(content), block):
            self.send(content[at:at + block])
            acks.append(self.line())
        return reply, acks

    def poll(self, query, final, limit=20):
        answers = []
        while len(answers) < limit:
            answers.append(self.exchange(query))
            if answers[-1] == final:
                break
            time.sleep(0.05)
        return answers

    def close(self):
        self.socket.close()


def records(path):
    """The simulator's log as (kind, fields, payload) tuples."""
    data = open(path, "rb").read()
    at = 0
    while at < len(data):
        end = data.index(b"\n", at)
        head = data[at:end].decode().split(" ")
        at = end + 1
        payload = b""
        if head[0] in ("udp", "tcp-data", "tcp-sent"):
            n = int(head[-1])
            payload = data[at:at + n]
            at += n + 1
        yield head[0], head[1:], payload


def connection_log(path, peer_port, timeout=3.0):
    """What the simulator received and sent on the connection from
    peer_port, once it has recorded the connection's end."""
    deadline = time.monotonic() + timeout
    while True:
        conn_id, received, sent, end = None, b"", b"", None
        for kind, fields, payload in records(path):
            if kind == "tcp-open" and fields[2].endswith(f":{peer_port}"):
                conn_id = fields[0]
            elif conn_id is not None and fields[0] == conn_id:
                if kind == "tcp-data":
                    received += payload
                elif kind == "tcp-sent":
                    sent += payload
                elif kind == "tcp-close":
                    end = fields[1]
        if end is not None or time.monotonic() > deadline:
            return received, sent, end
        time.sleep(0.05)


def content(size, seed):
    # Line ends and command texts inside, so that any framing slip shows.
    pattern = (b"R TS\r\rW BS\r%d\0\xff" % seed) * (size // 8 + 1)
    return pattern[:size]


def client():
    f = Failures()
    work = os.environ["NETLAB_DIR"]
    addrs = {k: os.environ[f"NETLAB_INST_ADDRS_{k}"].split(",") for k in (1, 2)}
    pc = {k: os.environ[f"NETLAB_PC_ADDR_{k}"] for k in (1, 2)}

    # Discovery, per adapter: exactly the instruments behind it answer, once
    # each, from their own address and port 2000.
    # Link 1 gets the subnet's broadcast; link 2 the limited broadcast,
    # which leaves by the adapter the socket is bound to, as the PC tool's does.
    broadcast = {1: os.environ["NETLAB_BROADCAST_1"], 2: "255.255.255.255"}
    answers = {k: discover(pc[k], broadcast[k]) for k in (1, 2)}
    for k in (1, 2):
        senders = sorted(sender for _, sender in answers[k])
        f.check(senders == sorted((a, 2000) for a in addrs[k]), f"link {k} answered by {senders}")
        for datagram, (address, _) in answers[k]:
            if address not in addrs[k]:
                continue
            family, serial, faults = INSTRUMENTS[k][addrs[k].index(address)]
            expected = None if "no-field2" in faults else (family, serial)
            f.check(reader_view(datagram) == expected, f"{address} answered {datagram!r}")
    first = addrs[1][0]
    answer = [d for d, (a, _) in answers[1] if a == first]
    f.check(answer == [b"TARGET:INSTRUMENT|ZU-P5A|SN-1001|FIRMWARE 1.00.00 BOOT 1.00"], f"exact answer {answer!r}")
    for k in (1, 2):
        udp = [(fields, payload) for kind, fields, payload in records(f"{work}/sim-{k}.log") if kind == "udp"]
        f.check(udp == [([f"{broadcast[k]}:2000", f"{pc[k]}:2000", "9"], DISCOVER)], f"link {k} recorded {udp!r}")

    # An HMI file to the first instrument: header, blocks, status polling.
    data = content(2500, 1)
    c = Connection(first)
    f.check(c.exchange(b"R TP") == b"TP P5A", "R TP")
    reply, acks = c.send_file(b"F WF hello.txt 7 0 2500\r", data, 1000)
    f.check(reply == b"WF OK" and acks == [b"$"] * 3, f"header {reply!r} acks {acks!r}")
    statuses = c.poll(b"R TS", b"TS 2")
    f.check(statuses == [b"TS 1", b"TS 2"], f"statuses {statuses!r}")
    port = c.socket.getsockname()[1]
    c.close()
    received, sent, end = connection_log(f"{work}/sim-1.log", port)
    f.check(received == c.sent, "recorded bytes differ from the bytes sent")
    f.check(sent == c.received, "recorded replies differ from the bytes received")
    f.check(end == "peer-closed", f"connection end {end}")
    stored = f"{work}/store-1/{first}/hello.txt"
    f.check(os.path.exists(stored) and open(stored, "rb").read() == data, "stored file differs")

    # Firmware through the second instrument, whose replies come late and in pieces.
    second = addrs[1][1]
    firmware = content(1200, 2)
    c = Connection(second)
    begin = time.monotonic()
    f.check(c.exchange(b"R TP") == b"TP P4RA", "R TP of the second instrument")
    f.check(time.monotonic() - begin >= 0.03, "reply came before its delay")
    reply, acks = c.send_file(b"F WF Firmware.i00 50 0 1200\r", firmware, 1000)
    f.check(reply == b"WF OK" and acks == [b"$", b"$"], f"firmware header {reply!r} acks {acks!r}")
    f.check(c.poll(b"R TS", b"TS 2") == [b"TS 1"] * 3 + [b"TS 2"], "firmware transfer status")
    f.check(c.exchange(b"W BS") == b"$", "W BS")
    f.check(c.poll(b"R UM", b"UM2") == [b"UM1", b"UM1", b"UM2"], "controller status")
    port = c.socket.getsockname()[1]
    c.close()
    received, _, _ = connection_log(f"{work}/sim-1.log", port)
    f.check(received == c.sent, "recorded firmware bytes differ")
    stored = f"{work}/store-1/{second}/Firmware.i00"
    f.check(os.path.exists(stored) and open(stored, "rb").read() == firmware, "stored firmware differs")

    # The third instrument resets the connection inside the file.
    third = addrs[1][2]
    c = Connection(third)
    reply = c.exchange(b"F WF big.bin 3 0 3000\r")
    c.send(content(1000, 3))
    f.check(c.line() == b"$", "first block acknowledged")
    port = c.socket.getsockname()[1]
    try:
        c.send(content(1000, 4))
        c.line()
        f.check(False, "no reset inside the file")
    except (ConnectionError, OSError):
        pass
    c.close()
    _, _, end = connection_log(f"{work}/sim-1.log", port)
    f.check(reply == b"WF OK" and end == "reset-by-instrument", f"reset: {reply!r} {end}")
    f.check(not os.path.exists(f"{work}/store-1/{third}/big.bin"), "partial file stored")
    c = Connection(third)
    f.check(c.exchange(b"R TS") == b"TS 3", "status after the reset")
    c.close()

    print("e2e:", "ok" if f.count == 0 else f"{f.count} failures")
    return 1 if f.count else 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["instruments"]:
        start_instruments(sys.argv[2])
    sys.exit(client())
