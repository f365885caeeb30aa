#!/usr/bin/env python3
"""Writes markup documents in every encoding the reader takes, and the element trees that
Python's xml.etree reads from the same bytes, for the markup tests to compare against.

Usage: gen_xml_corpus.py OUTDIR
"""
import os
import random
import sys
import xml.etree.ElementTree as ET
import zipfile

MAX_FILE = 4 * 1024 * 1024

# --- hand-written layouts in the shape of the setup program's skin ---

MAIN_FRAME = """<?xml version="1.0" encoding="{enc}" standalone="yes"?>
<!-- main frame of the set-up wizard -> four pages in one tab layout -->
<Window size="600,400" caption="0,0,0,40" roundcorner="4,4" showshadow="true">
\t<Font id="0" name="微软雅黑" size="12" bold="false" default="true" />
\t<Font id="1" name="微软雅黑" size="14" bold="true" />
\t<Image name="bk.png" restype="FILE" mask="#FFFF00FF" />
\t<Default name="Button" value="textcolor=&quot;#FF333333&quot; font=&quot;0&quot;" />
\t<Style name="linkbtn" value="textcolor=&quot;#FF2C7CCA&quot;" />
\t<VerticalLayout name="verroot0" bkcolor="#FFFFFFFF" inset = "1,1,1,1">
\t\t<HorizontalLayout height="40" bkimage="file='title.png' corner='2,2,2,2'">
\t\t\t<Label name="title" text="Velmora 安装向导" font="1" padding="12,0,0,0"/>
\t\t\t<Control />
\t\t\t<Button name="minbtn" width="30" normalimage="file='min.png' source='0,0,30,30'" tooltip="最小化"/>
\t\t\t<Button name="closebtn" width="30" normalimage="file='close.png' source='0,0,30,30'"
\t\t\t\thotimage="file='close.png' source='30,0,60,30'" tooltip="关闭"/>
\t\t</HorizontalLayout>
\t\t<TabLayout name="tabs" selectedid="0">
\t\t\t<VerticalLayout name="page0">
\t\t\t\t<Button name="installBtn" text="立即安装" width="200" height="44" textcolor="#FFFFFFFF"/>
\t\t\t\t<HorizontalLayout height="20">
\t\t\t\t\t<CheckBox name="agree" selected="true" text="我已阅读并同意"/>
\t\t\t\t\t<Button name="zv_btn_protocal" style="linkbtn" text="《用户协议》"/>
\t\t\t\t</HorizontalLayout>
\t\t\t</VerticalLayout>
\t\t\t<VerticalLayout name="page1">
\t\t\t\t<Text name="kx_install_path" text="C:\\Program Files (x86)\\Velmora" endellipsis="true"/>
\t\t\t\t<Option name="desktop" group="opts" selected="true" text="创建桌面快捷方式"/>
\t\t\t</VerticalLayout>
\t\t\t<VerticalLayout name="page2">
\t\t\t\t<Progress name="progress" min="0" max="100" value="0" foreimage="file='fore.png'"/>
\t\t\t\t<Label name="tip" text="正在下载 &lt;Velmora&gt; &amp; 组件 &apos;1/2&apos;…"/>
\t\t\t</VerticalLayout>
\t\t\t<VerticalLayout name="page3"><Label text="安装完成"/></VerticalLayout>
\t\t</TabLayout>
\t</VerticalLayout>
</Window>
<!-- trailing remark -->
"""

MSG_BOX = """<?xml version="1.0" encoding="{enc}"?>
<!DOCTYPE Window>
<Window size="360,200" caption="0,0,0,32">
  <Include source="common.xml" count="1"/>
  <VerticalLayout bkcolor="#FFF5F5F5">
    <Label name="msgTitle" text="下载失败！" height="32"/>
    <Text name="msgText" multiline="true">请检查网络
第二行 with tab\there</Text>
    <?hint processing instruction inside ?>
    <HorizontalLayout height="36" childpadding="10">
      <Button name="okbtn" text="确定"></Button>
      <Button name="cancelbtn" text="取消" />
    </HorizontalLayout>
  </VerticalLayout>
</Window>
"""

RES = """<?xml version="1.0" encoding="{enc}"?>
<Resource>
  <Images>
    <Image id="logo" path="images/logo.png"/>
    <Image id="logo" path="images/other.png"/>
    <Group><Image id="bk" path="bk.png"/></Group>
  </Images>
  <Xml id="main" path="ZVMainFrame.xml"/>
  <Text id="title" value="Velmora"/>
  <Text id="ok" value="确定"/>
</Resource>
"""

ASCII_LAYOUT = """<?xml version="1.0" encoding="{enc}"?>
<Window size="300,200">
  <VerticalLayout>
    <Button name="a" text="Caf&amp;e &quot;x&quot;" />
    <Label name="b">plain text &lt;b&gt;</Label>
  </VerticalLayout>
</Window>
"""

LATIN_LAYOUT = """<?xml version="1.0" encoding="{enc}"?>
<Window caption="Größe">
  <Label text="café déjà vu £5 ±1"/>
</Window>
"""

# --- random documents ---

TAGS = ["Window", "VerticalLayout", "HorizontalLayout", "Button", "Label", "Text", "Option",
        "CheckBox", "Control", "TabLayout", "Container", "Progress", "Font", "Image"]
ENTITIES = ["&amp;", "&lt;", "&gt;", "&quot;", "&apos;"]
VALUE_CHARS = (list("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,.;:#'()[{}/\\=?!*+-_%>")
               + list("安装下载失败确定取消微软雅黑中文") + ["\U0001F600", "é", "ß"])
TEXT_CHARS = VALUE_CHARS + ["\n", "\t", "  "]


def random_name(rnd):
    if rnd.random() < 0.6:
        return rnd.choice(TAGS)
    first = rnd.choice("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_")
    rest = "".join(rnd.choice("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_")
                   for _ in range(rnd.randint(0, 10)))
    return first + rest


def random_chars(rnd, pool, longest):
    out = []
    for _ in range(rnd.randint(0, longest)):
        if rnd.random() < 0.1:
            out.append(rnd.choice(ENTITIES))
        else:
            out.append(rnd.choice(pool))
    return "".join(out).replace("]]>", "]] >")


def random_attributes(rnd):
    count = rnd.choice([0, 0, 1, 2, 3, 5, 8, rnd.randint(0, 64)])
    seen = set()
    parts = []
    while len(parts) < count:
        name = random_name(rnd)
        if name.lower() in seen:
            continue
        seen.add(name.lower())
        eq = rnd.choice(["=", "=", " = ", "\t=\n"])
        sep = rnd.choice([" ", " ", "\t", "\n\t\t", "  "])
        parts.append('%s%s%s"%s"' % (sep, name, eq, random_chars(rnd, VALUE_CHARS, 12)))
    return "".join(parts) + rnd.choice(["", "", " ", "\n"])


def random_element(rnd, depth, budget):
    name = random_name(rnd)
    start = "<" + name + random_attributes(rnd)
    children = rnd.randint(0, 4) if depth < 6 and budget[0] > 0 else 0
    if children == 0:
        if rnd.random() < 0.4:
            return start + "/>"
        return start + ">" + random_chars(rnd, TEXT_CHARS, 20) + "</" + name + rnd.choice(["", " "]) + ">"
    out = [start, ">", random_chars(rnd, TEXT_CHARS, 10) if rnd.random() < 0.5 else ""]
    for i in range(children):
        budget[0] -= 1
        if i > 0:
            # Between children only whitespace, comments and instructions: the reader keeps
            # no text after a child.
            out.append(rnd.choice(["", "\n", "\n  ", " <!-- a -> b > c --> ", "<?pi x?>\n"]))
        out.append(random_element(rnd, depth + 1, budget))
    out.append(rnd.choice(["", "\n"]))
    out.append("</" + name + ">")
    return "".join(out)


def random_document(rnd):
    head = rnd.choice(['<?xml version="1.0" encoding="{enc}"?>\n', "", "<!-- head -->\n",
                       '<?xml version="1.0" encoding="{enc}"?>\n<!DOCTYPE Window [ <!ELEMENT Window ANY> ]>\n'])
    body = random_element(rnd, 0, [rnd.randint(1, 40)])
    tail = rnd.choice(["", "\n", "\n<!-- end -->\n"])
    return head + body + tail


# --- encodings and trees ---

def escape(text):
    data = text.encode("utf-16-le")
    out = []
    for i in range(0, len(data), 2):
        unit = data[i] | (data[i + 1] << 8)
        if 0x21 <= unit <= 0x7E and unit != 0x5C:
            out.append(chr(unit))
        else:
            out.append("\\u%04X" % unit)
    return "".join(out)


def dump(element, depth, lines):
    lines.append("E %d %s" % (depth, escape(element.tag)))
    for key, value in element.attrib.items():
        lines.append("A %s %s" % (escape(key), escape(value)))
    lines.append("T " + escape(element.text or ""))
    for child in element:
        dump(child, depth + 1, lines)


def variants(template):
    """(suffix, encoding code of the reader, bytes) for every encoding the text fits."""
    out = []
    utf8 = template.replace("{enc}", "utf-8").encode("utf-8")
    out.append(("utf8", 0, utf8))
    out.append(("utf8bom", 0, b"\xef\xbb\xbf" + utf8))
    utf16 = template.replace("{enc}", "UTF-16")
    out.append(("utf16le", 1, b"\xff\xfe" + utf16.encode("utf-16-le")))
    out.append(("utf16be", 1, b"\xfe\xff" + utf16.encode("utf-16-be")))
    try:
        ansi = template.replace("{enc}", "windows-1252").encode("cp1252")
    except UnicodeEncodeError:
        ansi = None
    if ansi is not None:
        kind = "ascii" if all(b < 0x80 for b in ansi) else "cp1252"
        out.append(("ansi-" + kind, 2, ansi))
    return out


def tree_of(data):
    lines = []
    dump(ET.fromstring(data), 0, lines)
    return lines


def main():
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    rnd = random.Random(20240611)
    documents = [("mainframe", MAIN_FRAME), ("msgbox", MSG_BOX), ("res", RES),
                 ("ascii", ASCII_LAYOUT), ("latin", LATIN_LAYOUT)]
    documents += [("random%02d" % i, random_document(rnd)) for i in range(60)]

    manifest = []
    for name, template in documents:
        expected = None
        for suffix, code, data in variants(template):
            lines = tree_of(data)
            if expected is None:
                expected = lines
            elif lines != expected:
                raise SystemExit("%s: %s reads differently" % (name, suffix))
            file_name = "%s.%s.xml" % (name, suffix)
            with open(os.path.join(outdir, file_name), "wb") as f:
                f.write(data)
            manifest.append("doc %s %s %d %s" % (name, suffix, code, file_name))
        with open(os.path.join(outdir, name + ".tree"), "w", encoding="ascii", newline="\n") as f:
            f.write("\n".join(expected) + "\n")
        if not name.startswith("random"):
            manifest.append("layout %s.utf8.xml" % name)

    # The skin archive: mixed letter case and folders, an empty item and the size limit.
    main_frame = MAIN_FRAME.replace("{enc}", "utf-8").encode("utf-8")
    exact = b"<a>" + b"x" * (MAX_FILE - 7) + b"</a>"
    with zipfile.ZipFile(os.path.join(outdir, "skin.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("Skin/Main.XML", main_frame)
        z.writestr("skin/sub/Res.xml", b"\xef\xbb\xbf" + RES.replace("{enc}", "utf-8").encode("utf-8"))
        z.writestr("empty.xml", b"")
        z.writestr("exact.xml", exact)
        z.writestr("big.xml", exact + b" ")
    manifest.append("zip skin.zip")

    with open(os.path.join(outdir, "manifest.txt"), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(manifest) + "\n")


if __name__ == "__main__":
    main()
