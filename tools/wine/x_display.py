"""The game's window on an X display as a player meets it, for the end-to-end test and the
measurements under Wine: pixels read through Xlib's XGetImage (a region in a millisecond or
two, fast enough to time a repaint), windows found and keys sent through xdotool, and the
board, the preview and the score label located on screen.
"""
import ctypes
import ctypes.util
import subprocess
import time
from ctypes import POINTER, c_int, c_uint, c_ulong, c_void_p

BOARD_COLUMNS, BOARD_ROWS, CELL = 10, 20, 20
YELLOW, BLACK = (255, 255, 0), (0, 0, 0)
# In the main window's client area the preview is at (250, 25), the board at (20, 30) and the
# score label at (250, 135); the screen is found from the preview.
BOARD_FROM_PREVIEW = (20 - 250, 30 - 25)
LABEL_FROM_PREVIEW = (0, 135 - 25)


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


def declare(library, *functions):
    """Gives C functions their result and argument types: (name, result, [arguments])."""
    for name, result, arguments in functions:
        getattr(library, name).restype, getattr(library, name).argtypes = result, arguments


class _XImage(ctypes.Structure):
    _fields_ = [("width", c_int), ("height", c_int), ("xoffset", c_int), ("format", c_int),
                ("data", c_void_p), ("byte_order", c_int), ("bitmap_unit", c_int),
                ("bitmap_bit_order", c_int), ("bitmap_pad", c_int), ("depth", c_int),
                ("bytes_per_line", c_int), ("bits_per_pixel", c_int), ("red_mask", c_ulong),
                ("green_mask", c_ulong), ("blue_mask", c_ulong), ("obdata", c_void_p),
                # The image's own functions; the first two are create and destroy.
                ("create_image", c_void_p), ("destroy_image", ctypes.CFUNCTYPE(c_int, c_void_p))]


xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
declare(xlib, ("XOpenDisplay", c_void_p, [ctypes.c_char_p]),
        ("XDefaultRootWindow", c_ulong, [c_void_p]),
        ("XGetImage", POINTER(_XImage), [c_void_p, c_ulong, c_int, c_int, c_uint, c_uint, c_ulong,
                                         c_int]),
        ("XCloseDisplay", c_int, [c_void_p]))


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
    """The first mapped X window whose title matches the pattern; one search takes ~5 ms."""
    return wait_for(f"a window titled {title_pattern}",
                    lambda: next(iter(visible_windows(title_pattern)), None), timeout, 0.1)


def release_alt(window):
    """Releases Alt to a new program's window before its first key. An Alt+F4 that closed
    the last program may have left Alt held in Wine (its release went to a window already
    gone), and every key of the next program would then come as Alt and that key."""
    xdotool("keyup", "--window", window, "alt")


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


class Screen:
    """The game's window, its parts located from the preview picture. The window's size,
    the cells' frames and grid lines are the Win32 tests' to check."""

    def __init__(self, display, window):
        self.display, self.window = display, window

    def locate(self):
        """Finds the preview by its yellow cells, the only yellow in the window before the
        first game; fails until the preview's four cells are painted."""
        x, y, width, height = window_geometry(self.window)
        pixel = self.display.grab(x, y, width, height)
        yellow = [(px, py) for py in range(height) for px in range(width)
                  if pixel(px, py) == YELLOW]
        if not yellow:
            raise Failure("the preview shows no piece")
        # A preview cell's yellow starts one pixel inside its black frame.
        self.place(x + min(px for px, _ in yellow) - 1, y + min(py for _, py in yellow) - 1)
        if len(self.preview_cells()) != 4:
            raise Failure("the preview's piece is not painted whole")

    def place(self, preview_x, preview_y):
        self.preview = (preview_x, preview_y)
        self.board = tuple(map(sum, zip(self.preview, BOARD_FROM_PREVIEW)))
        self.label = tuple(map(sum, zip(self.preview, LABEL_FROM_PREVIEW)))

    def cells(self, origin, rows, columns):
        """The yellow cells of a grid from origin, sampled at their centres; every centre
        must be yellow or black."""
        pixel = self.display.grab(*origin, CELL * columns, CELL * rows)
        colours = {(r, c): pixel(CELL * c + 9, CELL * r + 9)
                   for r in range(rows) for c in range(columns)}
        wrong = {cell: colour for cell, colour in colours.items() if colour not in (YELLOW, BLACK)}
        if wrong:
            raise Failure(f"cells neither yellow nor black (row, column): {wrong}")
        return {cell for cell, colour in colours.items() if colour == YELLOW}

    def board_cells(self):
        return self.cells(self.board, BOARD_ROWS, BOARD_COLUMNS)

    def preview_cells(self):
        return self.cells(self.preview, 4, 4)
