#!/usr/bin/env python3
"""Draws the uninstaller's PNG images into home/ and Popup/ beside this script.

Run it with the system python3 (python3-pil) again after changing a colour or shape, and commit the PNGs it writes.
Shapes are drawn at four times the size and scaled down for smooth edges.
"""
import os
from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4  # supersampling factor

BLUE = (46, 144, 242)
BLUE_HOVER = (95, 175, 253)
BLUE_PRESS = (44, 124, 202)
BLUE_LIGHT = (208, 231, 255)
GREY = (102, 102, 102)
GREY_LIGHT = (204, 204, 204)
GREY_DISABLED = (225, 225, 225)
WHITE = (255, 255, 255)
TEXT = (51, 51, 51)


def canvas(w, h, fill=(0, 0, 0, 0)):
    img = Image.new("RGBA", (w * SS, h * SS), fill)
    return img, ImageDraw.Draw(img)


def s(*values):
    return [v * SS for v in values]


def save(img, folder, name):
    w, h = img.size
    out = img.resize((w // SS, h // SS), Image.LANCZOS)
    path = os.path.join(HERE, folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    out.save(path, optimize=True)


def rounded(draw, box, radius, fill=None, outline=None, width=1):
    draw.rounded_rectangle(s(*box), radius=radius * SS, fill=fill,
                           outline=outline, width=width * SS)


# --- page backgrounds (drawn over the whole 718 x 434 window at about 2x) ---

def gradient(w, h, top, bottom):
    img = Image.new("RGBA", (w, h))
    px = img.load()
    for y in range(h):
        t = y / (h - 1)
        c = tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
        for x in range(w):
            px[x, y] = c + (255,)
    return img


def logo(draw, x, y, size):
    """The product mark: a blue page with a folded corner and a V."""
    fold = size // 4
    draw.rounded_rectangle([x, y, x + size, y + size], radius=size // 6, fill=BLUE + (255,))
    draw.polygon([(x + size - fold, y), (x + size, y), (x + size, y + fold)], fill=BLUE_LIGHT + (255,))
    m = size // 5
    draw.line([(x + m, y + m + size // 8), (x + size // 2, y + size - m),
               (x + size - m, y + m + size // 8)], fill=WHITE + (255,), width=max(2, size // 9),
              joint="curve")


def document(draw, x, y, w, h, accent):
    """A large document illustration for the page backgrounds."""
    draw.rounded_rectangle([x + 12, y + 14, x + w + 12, y + h + 14], radius=20, fill=(180, 205, 235, 120))
    draw.rounded_rectangle([x, y, x + w, y + h], radius=20, fill=WHITE + (255,),
                           outline=BLUE_LIGHT + (255,), width=4)
    for i in range(5):
        ly = y + 60 + i * 42
        lw = w - 80 if i % 2 == 0 else w - 140
        draw.rounded_rectangle([x + 40, ly, x + 40 + lw, ly + 14], radius=7, fill=BLUE_LIGHT + (255,))
    draw.rounded_rectangle([x + 40, y + 20, x + 140, y + 40], radius=10, fill=accent + (255,))


def background(name, variant):
    w, h = 1400, 840
    # The window adds a 9-pixel transparent margin around its 700 x 416 form and this
    # image is stretched over all of it: keep an 18-pixel margin here for a soft shadow.
    m = 18
    cw, ch = w - 2 * m, h - 2 * m
    base = gradient(cw, ch, (234, 244, 255), (255, 255, 255))
    deco = Image.new("RGBA", (cw, ch), (0, 0, 0, 0))
    d = ImageDraw.Draw(deco)
    d.ellipse([cw - 420, -260, cw + 160, 320], fill=(214, 233, 255, 170))
    d.ellipse([-200, ch - 260, 260, ch + 200], fill=(226, 240, 255, 170))
    if variant == 1:
        d.ellipse([cw - 330, 150, cw - 130, 350], fill=(200, 225, 252, 120))
    elif variant == 2:
        document(d, 980, 240, 260, 330, BLUE)
        d.ellipse([1160, 470, 1280, 590], fill=(76, 196, 120, 255))
        d.line([(1190, 530), (1214, 554), (1254, 504)], fill=WHITE + (255,), width=12, joint="curve")
    content = Image.alpha_composite(base, deco)
    # Title row: a thin rule under it and the product mark at its left.
    d = ImageDraw.Draw(content)
    d.line([(0, 74), (cw, 74)], fill=(225, 236, 250, 255), width=2)
    logo(d, 22, 16, 44)
    mask = Image.new("L", (cw * 2, ch * 2), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, cw * 2 - 1, ch * 2 - 1], radius=16, fill=255)
    mask = mask.resize((cw, ch), Image.LANCZOS)
    content.putalpha(mask)

    shadow = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    sm = Image.new("L", (w, h), 0)
    ImageDraw.Draw(sm).rounded_rectangle([m - 2, m, w - m + 2, h - m + 4], radius=12, fill=90)
    shadow.putalpha(sm.filter(ImageFilter.GaussianBlur(7)))
    img = shadow
    img.alpha_composite(content, (m, m))
    path = os.path.join(HERE, "home", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, optimize=True)


# --- title-row icons, 48 x 48 ---

def cross_icon(folder, name, colour):
    img, d = canvas(48, 48)
    d.line(s(15, 15, 33, 33), fill=colour + (255,), width=3 * SS)
    d.line(s(33, 15, 15, 33), fill=colour + (255,), width=3 * SS)
    save(img, folder, name)


def hide_icon(name, colour):
    img, d = canvas(48, 48)
    rounded(d, (14, 29, 34, 32), 1, fill=colour + (255,))
    save(img, "home", name)


# --- buttons ---

def filled_button(folder, name, w, h, colour):
    img, d = canvas(w, h)
    rounded(d, (0, 0, w - 1, h - 1), h // 2, fill=colour + (255,))
    save(img, folder, name)


def outlined_button(folder, name, w, h, border, fill=WHITE):
    img, d = canvas(w, h)
    rounded(d, (1, 1, w - 2, h - 2), h // 2, fill=fill + (255,), outline=border + (255,), width=2)
    save(img, folder, name)


def prompt_icon(name, colour):
    img, d = canvas(48, 48)
    d.ellipse(s(2, 2, 46, 46), fill=colour + (255,))
    rounded(d, (21, 10, 27, 30), 3, fill=WHITE + (255,))
    d.ellipse(s(21, 33, 27, 39), fill=WHITE + (255,))
    save(img, "Popup", name)


def progress_piece(name, colour):
    img, d = canvas(24, 12)
    rounded(d, (0, 0, 23, 11), 6, fill=colour + (255,))
    save(img, "home", name)


def check_box(folder, name, checked, border, fill):
    img, d = canvas(32, 32)
    rounded(d, (3, 3, 28, 28), 5, fill=fill + (255,), outline=border + (255,), width=2)
    if checked:
        d.line(s(9, 16, 14, 21, 23, 11), fill=WHITE + (255,), width=3 * SS, joint="curve")
    save(img, folder, name)


def radio(name, selected, colour):
    img, d = canvas(32, 32)
    d.ellipse(s(3, 3, 28, 28), fill=WHITE + (255,), outline=colour + (255,), width=2 * SS)
    if selected:
        d.ellipse(s(10, 10, 21, 21), fill=colour + (255,))
    save(img, "Popup", name)


def clock_icon(name):
    img, d = canvas(48, 48)
    d.ellipse(s(4, 4, 44, 44), outline=BLUE + (255,), width=4 * SS)
    d.line(s(24, 12, 24, 24, 33, 30), fill=BLUE + (255,), width=4 * SS, joint="curve")
    d.ellipse(s(35, 2, 46, 13), fill=(240, 80, 70, 255))
    save(img, "Popup", name)


def trash_icon(name, colour):
    img, d = canvas(48, 48)
    rounded(d, (10, 11, 38, 15), 2, fill=colour + (255,))
    rounded(d, (19, 7, 29, 11), 2, fill=colour + (255,))
    rounded(d, (13, 17, 35, 41), 3, outline=colour + (255,), width=3)
    for x in (20, 27):
        d.line(s(x, 22, x, 36), fill=colour + (255,), width=2 * SS)
    save(img, "Popup", name)


def chevron_icon(name):
    img, d = canvas(48, 48)
    d.line(s(14, 28, 24, 18, 34, 28), fill=GREY + (255,), width=3 * SS, joint="curve")
    save(img, "Popup", name)


def main():
    background("bk01.png", 0)
    background("bk02.png", 1)
    background("bk03.png", 2)

    for suffix, colour in (("", GREY), ("_hover", BLUE_HOVER), ("_press", BLUE_PRESS)):
        cross_icon("home", "icon_public_close%s.png" % suffix, colour)
        hide_icon("icon_public_hide%s.png" % suffix, colour)

    for i, (border, fill) in enumerate(((GREY_LIGHT, WHITE), (BLUE_HOVER, WHITE),
                                        (BLUE_PRESS, (240, 247, 255))), start=1):
        outlined_button("home", "finishBtn%d.png" % i, 292, 88, border, fill)
        outlined_button("home", "thinkBtn%d.png" % i, 416, 88, border, fill)
    for i, colour in enumerate((BLUE, BLUE_HOVER, BLUE_PRESS), start=1):
        filled_button("home", "installBtn%d.png" % i, 416, 88, colour)

    progress_piece("installPrg1.png", BLUE_LIGHT)
    progress_piece("installPrg2.png", BLUE)
    check_box("home", "treatyCb1.png", False, GREY_LIGHT, WHITE)
    check_box("home", "treatyCb2.png", True, BLUE, BLUE)

    prompt_icon("icon_pop_up_prompt.png", (250, 160, 40))
    clock_icon("icon_timed_recording_title.png")
    radio("btn_single_choice.png", False, GREY_LIGHT)
    radio("btn_single_choice_select.png", True, BLUE)
    radio("btn_single_choice_disabled.png", False, GREY_DISABLED)
    radio("btn_single_choice_select_disabled.png", True, GREY_LIGHT)
    check_box("Popup", "btn_multiple_choice.png", False, GREY_LIGHT, WHITE)
    check_box("Popup", "btn_multiple_choice_select.png", True, BLUE, BLUE)
    check_box("Popup", "btn_multiple_choice_disabled.png", False, GREY_DISABLED, (245, 245, 245))
    check_box("Popup", "btn_multiple_choice_select_disabled.png", True, GREY_LIGHT, GREY_LIGHT)
    for suffix, colour in (("", BLUE), ("_hover", BLUE_HOVER), ("_press", BLUE_PRESS)):
        filled_button("Popup", "btn_cancel%s.png" % suffix, 192, 72, colour)
        trash_icon("btn_delete%s.png" % suffix, colour if suffix else GREY)
    filled_button("Popup", "btn_open.png", 192, 72, BLUE)
    filled_button("Popup", "btn_open_disabled.png", 192, 72, GREY_LIGHT)
    chevron_icon("btn_set_up_put_away.png")


if __name__ == "__main__":
    main()
