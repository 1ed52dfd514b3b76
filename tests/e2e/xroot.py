"""Puts a picture on an X server's root window, through libX11 (the X11 client library every
GTK desktop has), so that a test knows exactly what the screen shows before the game starts."""

import ctypes
import ctypes.util

ZPIXMAP = 2
RETAIN_PERMANENT = 1


def _xlib():
    name = ctypes.util.find_library("X11") or "libX11.so.6"
    x = ctypes.CDLL(name)
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultScreen.argtypes = [ctypes.c_void_p]
    x.XRootWindow.restype = ctypes.c_ulong
    x.XRootWindow.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XDefaultVisual.restype = ctypes.c_void_p
    x.XDefaultVisual.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XDefaultDepth.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XDefaultGC.restype = ctypes.c_void_p
    x.XDefaultGC.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XCreatePixmap.restype = ctypes.c_ulong
    x.XCreatePixmap.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint,
                                ctypes.c_uint]
    x.XCreateImage.restype = ctypes.c_void_p
    x.XCreateImage.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                               ctypes.c_int, ctypes.c_char_p, ctypes.c_uint, ctypes.c_uint,
                               ctypes.c_int, ctypes.c_int]
    x.XPutImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_void_p,
                            ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                            ctypes.c_uint, ctypes.c_uint]
    x.XSetWindowBackgroundPixmap.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]
    x.XClearWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x.XSetCloseDownMode.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x


def set_root_picture(display_name, width, height, rgb):
    """rgb: width * height * 3 bytes, row-major. The picture stays after this returns."""
    x = _xlib()
    dpy = x.XOpenDisplay(display_name.encode())
    if not dpy:
        raise RuntimeError("cannot open display " + display_name)
    screen = x.XDefaultScreen(dpy)
    if x.XDefaultDepth(dpy, screen) != 24:
        raise RuntimeError("the test needs a 24-bit screen")
    root = x.XRootWindow(dpy, screen)
    # 32-bit pixels 0x00RRGGBB, little-endian in memory: B, G, R, 0.
    pixels = bytearray(width * height * 4)
    pixels[0::4] = rgb[2::3]
    pixels[1::4] = rgb[1::3]
    pixels[2::4] = rgb[0::3]
    data = ctypes.create_string_buffer(bytes(pixels), len(pixels))
    image = x.XCreateImage(dpy, x.XDefaultVisual(dpy, screen), 24, ZPIXMAP, 0, data, width, height,
                           32, width * 4)
    pixmap = x.XCreatePixmap(dpy, root, width, height, 24)
    x.XPutImage(dpy, pixmap, x.XDefaultGC(dpy, screen), image, 0, 0, 0, 0, width, height)
    x.XSetWindowBackgroundPixmap(dpy, root, pixmap)
    x.XClearWindow(dpy, root)
    # The root keeps its picture after this client has gone.
    x.XSetCloseDownMode(dpy, RETAIN_PERMANENT)
    x.XSync(dpy, 0)
    # The image's memory is Python's; leaving the image undestroyed keeps Xlib off it.
    x.XCloseDisplay(dpy)


class _CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.c_void_p), ("atom", ctypes.c_ulong),
                ("name", ctypes.c_char_p)]


def cursor_shape(display_name):
    """(width, height, hotspot x, hotspot y) of the cursor shown now, through XFixes."""
    x = _xlib()
    fixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
    fixes.XFixesGetCursorImage.restype = ctypes.POINTER(_CursorImage)
    fixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    dpy = x.XOpenDisplay(display_name.encode())
    if not dpy:
        raise RuntimeError("cannot open display " + display_name)
    try:
        image = fixes.XFixesGetCursorImage(dpy)
        if not image:
            return None
        i = image.contents
        return (i.width, i.height, i.xhot, i.yhot)
    finally:
        x.XCloseDisplay(dpy)
