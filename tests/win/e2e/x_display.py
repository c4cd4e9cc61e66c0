"""Reads the X display's pixels and finds, and types into, windows as a player would.

Pixels come from Xlib's XGetImage through ctypes (a region in a millisecond or two, fast
enough to time a repaint); windows and keys go through xdotool.
"""
import ctypes
import ctypes.util
import subprocess
import time
from ctypes import POINTER, byref, c_int, c_uint, c_ulong, c_void_p


class Failure(Exception):
    """What the screen, the registry or the program showed differs from what was expected."""


def wait_for(what, check, timeout, interval=0.02):
    """Polls check() until it returns something other than None; after the timeout, ends
    with the last mismatch that check() raised."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            found = check()
            if found is not None:
                return found
        except Failure as mismatch:
            last = mismatch
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}"
                          + (f": {last}" if last else ""))
        time.sleep(interval)


class _XImage(ctypes.Structure):
    _fields_ = [("width", c_int), ("height", c_int), ("xoffset", c_int), ("format", c_int),
                ("data", c_void_p), ("byte_order", c_int), ("bitmap_unit", c_int),
                ("bitmap_bit_order", c_int), ("bitmap_pad", c_int), ("depth", c_int),
                ("bytes_per_line", c_int), ("bits_per_pixel", c_int), ("red_mask", c_ulong),
                ("green_mask", c_ulong), ("blue_mask", c_ulong), ("obdata", c_void_p),
                # The image's own functions; the first two are create and destroy.
                ("create_image", c_void_p), ("destroy_image", ctypes.CFUNCTYPE(c_int, c_void_p))]


xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
for _name, _result, _arguments in [
        ("XOpenDisplay", c_void_p, [ctypes.c_char_p]),
        ("XDefaultRootWindow", c_ulong, [c_void_p]),
        ("XGetImage", POINTER(_XImage), [c_void_p, c_ulong, c_int, c_int, c_uint, c_uint,
                                         c_ulong, c_int]),
        ("XDisplayKeycodes", c_int, [c_void_p, POINTER(c_int), POINTER(c_int)]),
        ("XGetKeyboardMapping", POINTER(c_ulong), [c_void_p, ctypes.c_ubyte, c_int,
                                                   POINTER(c_int)]),
        ("XChangeKeyboardMapping", c_int, [c_void_p, c_int, c_int, POINTER(c_ulong), c_int]),
        ("XSync", c_int, [c_void_p, c_int]),
        ("XFree", c_int, [c_void_p]),
        ("XCloseDisplay", c_int, [c_void_p])]:
    getattr(xlib, _name).restype, getattr(xlib, _name).argtypes = _result, _arguments


class Display:
    def __init__(self):
        self.handle = xlib.XOpenDisplay(None)
        if not self.handle:
            raise Failure("cannot open the X display (is DISPLAY set?)")
        self.root = xlib.XDefaultRootWindow(self.handle)

    def close(self):
        xlib.XCloseDisplay(self.handle)

    def grab(self, left, top, width, height):
        """Grabs a rectangle of the screen; returns pixel(x, y), its (red, green, blue)."""
        image = xlib.XGetImage(self.handle, self.root, left, top, width, height, 0xFFFFFFFF,
                               2)  # all planes, ZPixmap
        if not image:
            raise Failure(f"XGetImage failed for {width}x{height}+{left}+{top}")
        header = image.contents
        line, bits, order = header.bytes_per_line, header.bits_per_pixel, header.byte_order
        data = ctypes.string_at(header.data, line * height)
        header.destroy_image(ctypes.cast(image, c_void_p))
        if bits != 32 or order != 0:
            raise Failure("expected a 32-bit little-endian screen (Xvfb 24-bit)")

        def pixel(x, y):
            at = y * line + 4 * x
            return data[at + 2], data[at + 1], data[at]
        return pixel

    def map_characters(self, text):
        """Gives each non-ASCII character of the text an unused key code of its own.
        xdotool would otherwise borrow a key for each while it types and give it back at
        once, and a busy program that reads the key later loses letters."""
        lowest, highest, per = c_int(), c_int(), c_int()
        xlib.XDisplayKeycodes(self.handle, byref(lowest), byref(highest))
        count = highest.value - lowest.value + 1
        table = xlib.XGetKeyboardMapping(self.handle, lowest.value, count, byref(per))
        unused = [lowest.value + k for k in range(count)
                  if not any(table[k * per.value:(k + 1) * per.value])]
        xlib.XFree(table)
        wanted = sorted({ch for ch in text if ord(ch) > 0x7E})
        if len(unused) < len(wanted):
            raise Failure("not enough unused key codes for the characters to type")
        for keycode, ch in zip(unused, wanted):
            # Latin-1 key symbols equal the character's code, the others are Unicode key
            # symbols; the same on both levels, so neither Shift nor case rules apply.
            keysym = ord(ch) if ord(ch) < 0x100 else 0x1000000 + ord(ch)
            xlib.XChangeKeyboardMapping(self.handle, keycode, 2, (c_ulong * 2)(keysym, keysym), 1)
        xlib.XSync(self.handle, 0)


def xdotool(*arguments, check=True):
    done = subprocess.run(["xdotool", *map(str, arguments)], capture_output=True, text=True,
                          timeout=20)
    if check and done.returncode != 0:
        raise Failure(f"xdotool {' '.join(map(str, arguments))}: {done.stderr.strip()}")
    return done.stdout


def visible_windows(title_pattern):
    found = xdotool("search", "--onlyvisible", "--name", title_pattern, check=False)
    return [int(window) for window in found.split()]


def find_window(title_pattern, timeout):
    """The first mapped X window whose title matches the pattern."""
    return wait_for(f"a window titled {title_pattern}",
                    lambda: next(iter(visible_windows(title_pattern)), None), timeout, 0.1)


def window_geometry(window):
    """The window's top-left corner on the screen and its size: (x, y, width, height)."""
    fields = dict(line.split("=", 1) for line in
                  xdotool("getwindowgeometry", "--shell", window).split())
    return tuple(int(fields[name]) for name in ("X", "Y", "WIDTH", "HEIGHT"))


def press(window, *keys, closes=False):
    """Sends key presses to the window's focused control, as a player's keys go. With
    closes, the window may vanish before the last key is released: no error then."""
    if keys:
        xdotool("key", "--window", window, "--delay", "15", *keys, check=not closes)


def type_text(window, text):
    xdotool("type", "--window", window, "--delay", "30", text)
