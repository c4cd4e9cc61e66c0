"""Reads pixels of the X display and finds, moves and types into windows, as a player would.

Screens are grabbed with Xlib's XGetImage through ctypes (a region of the root window in a
millisecond or two, fast enough to time a repaint); windows and keys go through xdotool.
Only Debian's python3 and the X libraries that xdotool already brings are needed.
"""
import ctypes
import ctypes.util
import subprocess
import time

Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF


class _XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
        ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
        ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong),
        ("obdata", ctypes.c_void_p),
        # The image's own functions; the first two are create and destroy.
        ("create_image", ctypes.c_void_p),
        ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)),
    ]


class Picture:
    """A grabbed rectangle of the screen; pixel(x, y) gives (red, green, blue)."""

    def __init__(self, left, top, width, height, rows):
        self.left, self.top, self.width, self.height = left, top, width, height
        self._rows = rows

    def pixel(self, x, y):
        row = self._rows[y]
        return row[4 * x + 2], row[4 * x + 1], row[4 * x]


class Display:
    def __init__(self):
        name = ctypes.util.find_library("X11") or "libX11.so.6"
        self._xlib = ctypes.CDLL(name)
        self._xlib.XOpenDisplay.restype = ctypes.c_void_p
        self._xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._xlib.XDefaultRootWindow.restype = ctypes.c_ulong
        self._xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self._xlib.XGetImage.restype = ctypes.POINTER(_XImage)
        self._xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                         ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                         ctypes.c_ulong, ctypes.c_int]
        self._xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._display = self._xlib.XOpenDisplay(None)
        if not self._display:
            raise RuntimeError("cannot open the X display (is DISPLAY set?)")
        self._root = self._xlib.XDefaultRootWindow(self._display)
        self._xtst = None

    def top_window_named(self, name):
        """The first top-level X window called exactly name, or None. Asks the X server
        directly, so it can be called every few milliseconds without starting a program."""
        xlib = self._xlib
        xlib.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                    ctypes.POINTER(ctypes.c_ulong),
                                    ctypes.POINTER(ctypes.c_ulong),
                                    ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                    ctypes.POINTER(ctypes.c_uint)]
        xlib.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                    ctypes.POINTER(ctypes.POINTER(ctypes.c_char))]
        xlib.XFree.argtypes = [ctypes.c_void_p]
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_uint()
        if not xlib.XQueryTree(self._display, self._root, ctypes.byref(root),
                               ctypes.byref(parent), ctypes.byref(children),
                               ctypes.byref(count)):
            return None
        found = None
        try:
            for i in range(count.value):
                title = ctypes.POINTER(ctypes.c_char)()
                if xlib.XFetchName(self._display, children[i], ctypes.byref(title)) and title:
                    matches = ctypes.string_at(title) == name.encode()
                    xlib.XFree(title)
                    if matches:
                        found = children[i]
                        break
        finally:
            if children:
                xlib.XFree(children)
        return found

    def fake_key(self, key_name):
        """Presses and releases one key through the XTEST extension, in this process, so a
        timer started just before it measures the program and not a helper's start-up. The
        key goes to the window under the pointer (the X focus follows it on a bare Xvfb)."""
        if self._xtst is None:
            self._xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
            self._xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint,
                                                     ctypes.c_int, ctypes.c_ulong]
            self._xlib.XStringToKeysym.restype = ctypes.c_ulong
            self._xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
            self._xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
            self._xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
            self._xlib.XFlush.argtypes = [ctypes.c_void_p]
        keysym = self._xlib.XStringToKeysym(key_name.encode("ascii"))
        keycode = self._xlib.XKeysymToKeycode(self._display, keysym)
        if keycode == 0:
            raise RuntimeError(f"no key code for {key_name}")
        self._xtst.XTestFakeKeyEvent(self._display, keycode, 1, 0)
        self._xtst.XTestFakeKeyEvent(self._display, keycode, 0, 0)
        self._xlib.XFlush(self._display)

    def map_characters(self, text):
        """Gives every non-ASCII character of the text a key of its own in the X keyboard
        map. xdotool would otherwise borrow a key for each such character while it types
        and give it back at once, and a busy program then reads the key after it was given
        back: letters get lost."""
        xlib = self._xlib
        xlib.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
        xlib.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                             ctypes.POINTER(ctypes.c_int)]
        xlib.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
        xlib.XFree.argtypes = [ctypes.c_void_p]
        xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        xlib.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                          ctypes.POINTER(ctypes.c_int)]
        lowest, highest = ctypes.c_int(), ctypes.c_int()
        xlib.XDisplayKeycodes(self._display, ctypes.byref(lowest), ctypes.byref(highest))
        count = highest.value - lowest.value + 1
        per = ctypes.c_int()
        table = xlib.XGetKeyboardMapping(self._display, lowest.value, count, ctypes.byref(per))
        free = [lowest.value + k for k in range(count)
                if all(table[k * per.value + i] == 0 for i in range(per.value))]
        xlib.XFree(table)
        wanted = sorted({ch for ch in text if ord(ch) > 0x7E})
        if len(free) < len(wanted):
            raise RuntimeError("not enough unused key codes for the characters to type")
        for keycode, ch in zip(free, wanted):
            # Latin-1 letters have key symbols equal to their code; the others have Unicode
            # key symbols. The same on both levels: no Shift and no case rules.
            keysym = ord(ch) if ord(ch) < 0x100 else 0x1000000 + ord(ch)
            symbols = (ctypes.c_ulong * 2)(keysym, keysym)
            xlib.XChangeKeyboardMapping(self._display, keycode, 2, symbols, 1)
        xlib.XSync(self._display, 0)

    def close(self):
        if self._display:
            self._xlib.XCloseDisplay(self._display)
            self._display = None

    def grab(self, left, top, width, height):
        image = self._xlib.XGetImage(self._display, self._root, left, top, width, height,
                                     ALL_PLANES, Z_PIXMAP)
        if not image:
            raise RuntimeError(f"XGetImage failed for {width}x{height}+{left}+{top}")
        try:
            header = image.contents
            if header.bits_per_pixel != 32 or header.byte_order != 0:
                raise RuntimeError("expected a 32-bit little-endian screen (Xvfb 24-bit)")
            line = header.bytes_per_line
            base = ctypes.addressof(header.data.contents)
            rows = [ctypes.string_at(base + y * line, 4 * width) for y in range(height)]
        finally:
            header.destroy_image(ctypes.cast(image, ctypes.c_void_p))
        return Picture(left, top, width, height, rows)


def xdotool(*arguments, check=True):
    done = subprocess.run(["xdotool", *map(str, arguments)], capture_output=True, text=True,
                          timeout=20)
    if check and done.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(map(str, arguments))}: {done.stderr.strip()}")
    return done.stdout


def visible_windows(name_pattern):
    """The mapped X windows whose name matches the pattern."""
    found = xdotool("search", "--onlyvisible", "--name", name_pattern, check=False)
    return [int(window) for window in found.split()]


def find_window(name_pattern, timeout, interval=0.1):
    """The first mapped X window whose name matches the pattern, or None after the
    timeout; looks every interval seconds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = visible_windows(name_pattern)
        if found:
            return found[0]
        time.sleep(interval)
    return None


def window_geometry(window):
    """The window's top-left corner on the screen and its size: (x, y, width, height)."""
    fields = dict(line.split("=", 1) for line in
                  xdotool("getwindowgeometry", "--shell", window).split())
    return int(fields["X"]), int(fields["Y"]), int(fields["WIDTH"]), int(fields["HEIGHT"])


def press(window, *keys, closes=False):
    """Sends key presses straight to the window (they reach whatever control of it has the
    keyboard focus, as a player's keys would). With closes, the window may vanish before
    the last key is released, which is then no error."""
    if keys:
        xdotool("key", "--window", window, "--delay", "15", *keys, check=not closes)


def type_text(window, text):
    xdotool("type", "--window", window, "--delay", "30", text)
