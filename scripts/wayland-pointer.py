#!/usr/bin/env python3
"""A pointer for a Wayland compositor that has none (a headless sway).

Creates a virtual pointer through wlroots' virtual-pointer protocol
(zwlr_virtual_pointer_manager_v1) and plays the steps given as arguments:

    at X Y       move the pointer to X, Y in the compositor's layout
    down / up    press / release the left button
    click        down, and up 50 ms later
    pause MS     wait MS milliseconds

    scripts/wayland-pointer.py [--size W H] STEP...

--size is the layout's size (default 1024 768): the protocol places the
pointer in parts of a rectangle, which the compositor maps onto its outputs.

Speaks the Wayland wire protocol itself over $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY
(or the path $WAYLAND_DISPLAY names), so that nothing needs building: every
message is the object's id, then its size and request number, then its
arguments as 32-bit words. The pointer lives as long as this program does;
the seat gains a pointer while it runs, and clients bind theirs when told so,
so the program waits a moment before its first step.
"""
import os
import socket
import struct
import sys
import time

BTN_LEFT = 0x110
PRESSED, RELEASED = 1, 0


class Connection:
    def __init__(self):
        name = os.environ.get("WAYLAND_DISPLAY", "wayland-0")
        path = name if name.startswith("/") else os.path.join(os.environ["XDG_RUNTIME_DIR"], name)
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id = 2  # 1 is the display
        self.buffer = b""

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, object_id, opcode, payload=b""):
        size = 8 + len(payload)
        self.sock.sendall(struct.pack("<II", object_id, size << 16 | opcode) + payload)

    def events(self):
        """Reads what the compositor has sent so far, as (object, event, payload)."""
        data = self.sock.recv(65536)
        if not data:
            raise SystemExit("the compositor closed the connection")
        self.buffer += data
        while len(self.buffer) >= 8:
            object_id, word = struct.unpack_from("<II", self.buffer)
            size = word >> 16
            if len(self.buffer) < size:
                break
            yield object_id, word & 0xFFFF, self.buffer[8:size]
            self.buffer = self.buffer[size:]

    def roundtrip(self, on_event):
        """wl_display.sync: hands every event to on_event until the compositor answers."""
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))
        while True:
            for object_id, opcode, payload in self.events():
                if object_id == 1 and opcode == 0:  # wl_display.error
                    _, code = struct.unpack_from("<II", payload)
                    message = read_string(payload, 8)[0]
                    raise SystemExit(f"compositor error {code}: {message}")
                if object_id == callback:
                    return
                on_event(object_id, opcode, payload)


def string_arg(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def read_string(payload, offset):
    (length,) = struct.unpack_from("<I", payload, offset)
    text = payload[offset + 4 : offset + 4 + length - 1].decode()
    return text, offset + 4 + length + (-length % 4)


def main(argv):
    width, height = 1024, 768
    if argv[:1] == ["--size"]:
        width, height = int(argv[1]), int(argv[2])
        argv = argv[3:]

    wl = Connection()
    registry = wl.new_id()
    wl.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
    manager_name = None

    def on_global(object_id, opcode, payload):
        nonlocal manager_name
        if object_id == registry and opcode == 0:  # wl_registry.global
            (name,) = struct.unpack_from("<I", payload)
            interface, _ = read_string(payload, 4)
            if interface == "zwlr_virtual_pointer_manager_v1":
                manager_name = name

    wl.roundtrip(on_global)
    if manager_name is None:
        raise SystemExit("the compositor offers no virtual pointers")
    manager = wl.new_id()
    # wl_registry.bind(name, interface, version, id)
    wl.send(registry, 0, struct.pack("<I", manager_name)
            + string_arg("zwlr_virtual_pointer_manager_v1") + struct.pack("<II", 1, manager))
    pointer = wl.new_id()
    # create_virtual_pointer(seat: none, the default seat; id)
    wl.send(manager, 0, struct.pack("<II", 0, pointer))
    wl.roundtrip(lambda *event: None)
    time.sleep(0.5)

    def now():
        # Milliseconds on the monotonic clock, as the compositor's own events
        # carry them: clients tell a double-click by these times, so they must
        # run on from one run of this program to the next.
        return int(time.clock_gettime(time.CLOCK_MONOTONIC) * 1000) & 0xFFFFFFFF

    def button(state):
        wl.send(pointer, 2, struct.pack("<III", now(), BTN_LEFT, state))  # button
        wl.send(pointer, 4)  # frame

    steps = list(argv)
    while steps:
        step = steps.pop(0)
        if step == "at":
            x, y = int(steps.pop(0)), int(steps.pop(0))
            # motion_absolute(time, x, y, x_extent, y_extent)
            wl.send(pointer, 1, struct.pack("<IIIII", now(), x, y, width, height))
            wl.send(pointer, 4)
        elif step == "down":
            button(PRESSED)
        elif step == "up":
            button(RELEASED)
        elif step == "click":
            # Held a moment, as a hand does: the client sees the press
            # before the release comes.
            button(PRESSED)
            wl.roundtrip(lambda *event: None)
            time.sleep(0.05)
            button(RELEASED)
        elif step == "pause":
            wl.roundtrip(lambda *event: None)
            time.sleep(int(steps.pop(0)) / 1000)
        else:
            raise SystemExit(f"unknown step {step!r}")
    wl.roundtrip(lambda *event: None)
    wl.send(pointer, 8)  # destroy
    wl.roundtrip(lambda *event: None)


if __name__ == "__main__":
    main(sys.argv[1:])
