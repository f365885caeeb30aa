#!/usr/bin/python3
"""Draw the setup program's skin images.

Usage: python3 draw_skin.py OUTDIR

Writes every PNG that ZVMainFrame.xml and ZVMsgBox.xml name, each at the
scales 1, 1.25, 1.5, 1.75 and 2.  A scaled file carries the scale before the
extension, written with "%g": bg.png, bg@1.25x.png, bg@1.5x.png,
bg@1.75x.png, bg@2x.png.  The message box's nine-slice shadow is written once,
unscaled, as zv_appended/shadow/shadow_black.png (the program names it in
code, not in a layout file); the white message box's frame likewise as
zv_appended/shadow/shadows_white.png.

Everything is drawn from code with PIL (4x supersampling, then a Lanczos
reduction), so the output is the same on every run.  Nothing generated is
kept in the repository: the build runs this script and zips OUTDIR together
with the two XML files.
"""
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

SCALES = (1, 1.25, 1.5, 1.75, 2)
SS = 4  # supersampling factor

ACCENT = (45, 107, 255)
ACCENT_HOT = (76, 130, 255)
ACCENT_PUSHED = (31, 85, 224)
ACCENT_DISABLED = (185, 203, 245)
INK = (31, 38, 51)
GREY = (138, 148, 166)
LINE = (226, 231, 239)
WHITE = (255, 255, 255)


def px(v, s):
    """A 96-dpi length at scale s, rounded like the framework's scaling."""
    return int(v * s + 0.5)


def scaled_name(name, s):
    if s == 1:
        return name
    return name.replace(".", "@%gx." % s)


class Canvas:
    """A supersampled RGBA canvas addressed in 96-dpi units."""

    def __init__(self, w, h, s):
        self.s = s
        self.w, self.h = px(w, s), px(h, s)
        self.img = Image.new("RGBA", (self.w * SS, self.h * SS), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def k(self, v):
        return v * self.s * SS

    def box(self, x0, y0, x1, y1):
        return [self.k(x0), self.k(y0), self.k(x1) - 1, self.k(y1) - 1]

    def rrect(self, x0, y0, x1, y1, r, fill=None, outline=None, width=1):
        self.d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=self.k(r),
                                 fill=fill, outline=outline,
                                 width=max(1, int(round(self.k(width)))))

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.d.ellipse(self.box(x0, y0, x1, y1), fill=fill, outline=outline,
                       width=max(1, int(round(self.k(width)))))

    def line(self, pts, fill, width):
        self.d.line([(self.k(x), self.k(y)) for x, y in pts], fill=fill,
                    width=max(1, int(round(self.k(width)))), joint="curve")
        r = self.k(width) / 2
        for x, y in (pts[0], pts[-1]):
            self.d.ellipse([self.k(x) - r, self.k(y) - r,
                            self.k(x) + r, self.k(y) + r], fill=fill)

    def paste(self, layer):
        self.img = Image.alpha_composite(self.img, layer)
        self.d = ImageDraw.Draw(self.img)

    def result(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def vgradient(c, x0, y0, x1, y1, top, bottom, clip_r):
    """A vertical gradient clipped to a rounded rectangle."""
    w, h = c.img.size
    layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    ld = ImageDraw.Draw(layer)
    Y0, Y1 = int(c.k(y0)), int(c.k(y1))
    for y in range(Y0, Y1):
        t = (y - Y0) / max(1, Y1 - Y0 - 1)
        col = tuple(int(top[i] + (bottom[i] - top[i]) * t + 0.5) for i in range(4))
        ld.line([(c.k(x0), y), (c.k(x1), y)], fill=col)
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle(c.box(0, 0, 700, 420), radius=c.k(clip_r), fill=255)
    layer.putalpha(ImageChops.multiply(layer.getchannel("A"), mask))
    c.paste(layer)


# ---------------------------------------------------------------- windows

WIN_R = 8


def window_base(s):
    c = Canvas(700, 420, s)
    c.rrect(0, 0, 700, 420, WIN_R, fill=WHITE + (255,))
    return c


def draw_logo(c, cx, cy, size):
    h = size / 2
    c.rrect(cx - h, cy - h, cx + h, cy + h, size * 0.24, fill=ACCENT + (255,))
    # a white page with a folded corner
    pw, ph = size * 0.42, size * 0.54
    x0, y0 = cx - pw / 2, cy - ph / 2
    fold = pw * 0.34
    pts = [(x0, y0), (x0 + pw - fold, y0), (x0 + pw, y0 + fold),
           (x0 + pw, y0 + ph), (x0, y0 + ph)]
    c.d.polygon([(c.k(x), c.k(y)) for x, y in pts], fill=WHITE + (255,))
    c.d.polygon([(c.k(x), c.k(y)) for x, y in
                 [(x0 + pw - fold, y0), (x0 + pw - fold, y0 + fold), (x0 + pw, y0 + fold)]],
                fill=ACCENT_DISABLED + (255,))
    for i in range(3):
        ly = y0 + ph * (0.48 + i * 0.16)
        c.line([(x0 + pw * 0.2, ly), (x0 + pw * (0.8 if i < 2 else 0.55), ly)],
               ACCENT + (255,), size * 0.045)


def page0_bg(s):
    c = window_base(s)
    vgradient(c, 0, 0, 700, 300, (234, 241, 255, 255), (255, 255, 255, 255), WIN_R)
    draw_logo(c, 350, 140, 84)
    # bottom strip
    layer = Image.new("RGBA", c.img.size, (0, 0, 0, 0))
    ld = ImageDraw.Draw(layer)
    ld.rounded_rectangle(c.box(0, 352 - 20, 700, 420), radius=c.k(WIN_R), fill=(247, 249, 252, 255))
    ld.rectangle(c.box(0, 332, 700, 352), fill=(0, 0, 0, 0))
    ld.rectangle(c.box(0, 352, 700, 360), fill=(247, 249, 252, 255))
    ld.rectangle(c.box(0, 352, 700, 353), fill=LINE + (255,))
    c.paste(layer)
    return c.result()


def page1_bg(s):
    c = window_base(s)
    c.d.rectangle(c.box(0, 50, 700, 51), fill=LINE + (255,))
    return c.result()


def page2_bg(s):
    c = window_base(s)
    vgradient(c, 0, 0, 700, 320, (234, 241, 255, 255), (255, 255, 255, 255), WIN_R)
    return c.result()


def page3_bg(s):
    c = window_base(s)
    vgradient(c, 0, 0, 700, 300, (234, 241, 255, 255), (255, 255, 255, 255), WIN_R)
    c.ellipse(322, 72, 378, 128, fill=ACCENT + (255,))
    c.line([(336, 101), (346, 111), (365, 89)], WHITE + (255,), 5)
    return c.result()


def root_bg(s):
    c = Canvas(40, 40, s)
    c.rrect(0, 0, 40, 40, WIN_R, fill=WHITE + (255,))
    return c.result()


def msgbox_bg(s):
    c = Canvas(40, 40, s)
    c.rrect(0, 0, 40, 40, 9, fill=WHITE + (255,), outline=LINE + (255,), width=1)
    return c.result()


# ---------------------------------------------------------------- buttons

def strip(cw, ch, n, s, cell):
    """n cells of cw x ch side by side; cell(canvas, index, x0) draws one."""
    c = Canvas(cw * n, ch, s)
    for i in range(n):
        cell(c, i, cw * i)
    return c.result()


def btn_primary(s):
    cols = (ACCENT, ACCENT_HOT, ACCENT_PUSHED, ACCENT_DISABLED)
    return strip(208, 44, 4, s, lambda c, i, x: c.rrect(x, 0, x + 208, 44, 8, fill=cols[i] + (255,)))


def btn_secondary(s):
    looks = ((WHITE, (205, 213, 226)), ((243, 247, 255), ACCENT_HOT), ((232, 239, 255), ACCENT))

    def cell(c, i, x):
        fill, border = looks[i]
        c.rrect(x, 0, x + 92, 38, 6, fill=fill + (255,), outline=border + (255,), width=1)
    return strip(92, 38, 3, s, cell)


def btn_min(s):
    def cell(c, i, x):
        if i:
            c.rrect(x, 0, x + 20, 20, 4, fill=(31, 38, 51, 20 if i == 1 else 36))
        col = (INK if i else (92, 102, 119)) + (255,)
        c.line([(x + 5.5, 10), (x + 14.5, 10)], col, 1.4)
    return strip(20, 20, 3, s, cell)


def btn_close(s):
    def cell(c, i, x):
        if i:
            c.rrect(x, 0, x + 20, 20, 4, fill=(31, 38, 51, 20 if i == 1 else 36))
        col = (INK if i else (92, 102, 119)) + (255,)
        c.line([(x + 6, 6), (x + 14, 14)], col, 1.4)
        c.line([(x + 14, 6), (x + 6, 14)], col, 1.4)
    return strip(20, 20, 3, s, cell)


def btn_back(s):
    def cell(c, i, x):
        col = ((92, 102, 119) if i == 0 else ACCENT) + (255,)
        c.line([(x + 14, 6), (x + 8, 12), (x + 14, 18)], col, 1.6)
    return strip(24, 24, 2, s, cell)


def checkbox(s):
    def cell(c, i, x):
        checked = i >= 2
        hot = i % 2 == 1
        if checked:
            c.rrect(x + 1, 1, x + 15, 15, 3.5, fill=(ACCENT_HOT if hot else ACCENT) + (255,))
            c.line([(x + 4.5, 8.2), (x + 7, 10.7), (x + 11.6, 5.6)], WHITE + (255,), 1.6)
        else:
            c.rrect(x + 1, 1, x + 15, 15, 3.5, fill=WHITE + (255,),
                    outline=(ACCENT_HOT if hot else (190, 198, 212)) + (255,), width=1.2)
    return strip(16, 16, 4, s, cell)


# ---------------------------------------------------------------- other parts

def input_bg(s):
    c = Canvas(40, 40, s)
    c.rrect(0, 0, 40, 40, 6, fill=(250, 251, 253, 255), outline=(214, 220, 230, 255), width=1)
    return c.result()


def progress_bk(s):
    c = Canvas(30, 14, s)
    c.rrect(0, 0, 30, 14, 7, fill=(230, 235, 244, 255))
    return c.result()


def progress_fore(s):
    c = Canvas(30, 14, s)
    c.rrect(0, 0, 30, 14, 7, fill=ACCENT + (255,))
    return c.result()


def scroll_thumb(s):
    c = Canvas(9, 30, s)
    c.rrect(2, 0, 7, 30, 2.5, fill=(190, 198, 212, 255))
    return c.result()


def icon_tips(s):
    c = Canvas(24, 24, s)
    c.ellipse(1, 1, 23, 23, fill=ACCENT + (255,))
    c.line([(12, 6.8), (12, 13.6)], WHITE + (255,), 2.4)
    c.ellipse(10.6, 15.6, 13.4, 18.4, fill=WHITE + (255,))
    return c.result()


def soft_shadow(n, inset, radius, alpha, blur, rgb):
    """n x n: a rounded box `inset` pixels in from left and right (one pixel
    lower than that at top and bottom), blurred, as the alpha of colour rgb."""
    img = Image.new("L", (n * SS, n * SS), 0)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([inset * SS, (inset + 1) * SS, (n - inset) * SS - 1, (n - inset + 1) * SS - 1],
                        radius=radius * SS, fill=alpha)
    img = img.filter(ImageFilter.GaussianBlur(blur * SS)).resize((n, n), Image.LANCZOS)
    shadow = Image.new("RGBA", (n, n), rgb + (0,))
    shadow.putalpha(img)
    return shadow


def shadow_black():
    """Nine-slice shadow, 96 x 96, corners 38: a soft dark frame whose inner
    edge sits 16 pixels in, the shadow size of the message box."""
    return soft_shadow(96, 14, 11, 70, 6, (0, 0, 0))


def shadow_white():
    """Nine-slice frame, 48 x 48, corners 16: a faint grey shadow around the
    white message box, whose content covers everything 16 pixels in."""
    return soft_shadow(48, 12, 8, 46, 4, (20, 28, 44))


IMAGES = {
    "root_bg.png": root_bg,
    "page0_bg.png": page0_bg,
    "page1_bg.png": page1_bg,
    "page2_bg.png": page2_bg,
    "page3_bg.png": page3_bg,
    "msgbox_bg.png": msgbox_bg,
    "btn_primary.png": btn_primary,
    "btn_secondary.png": btn_secondary,
    "btn_min.png": btn_min,
    "btn_close.png": btn_close,
    "btn_back.png": btn_back,
    "checkbox.png": checkbox,
    "input_bg.png": input_bg,
    "progress_bk.png": progress_bk,
    "progress_fore.png": progress_fore,
    "scroll_thumb.png": scroll_thumb,
    "icon_pupup_tips.png": icon_tips,
}


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: draw_skin.py OUTDIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for name, draw in sorted(IMAGES.items()):
        for s in SCALES:
            draw(s).save(os.path.join(out, scaled_name(name, s)), "PNG")
    sdir = os.path.join(out, "zv_appended", "shadow")
    os.makedirs(sdir, exist_ok=True)
    shadow_black().save(os.path.join(sdir, "shadow_black.png"), "PNG")
    shadow_white().save(os.path.join(sdir, "shadows_white.png"), "PNG")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
