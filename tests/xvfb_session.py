#!/usr/bin/python3
"""Plays ぽこもじ in a real X window under Xvfb and saves screenshots.

Starts the program on a 1024 x 768 Xvfb screen, opens the katakana drill from
the menu with the keyboard, chooses 15 questions, answers one question wrongly
and then correctly, plays a few more, stops, looks at the results, closes the
window and does the same in the hiragana drill. At each step it checks a few
pixels of the real screen (the ring, the cross, the results panel) and writes
a screenshot to the output folder. Where the controls lie comes from the
program's own layout (tests/ui/layout_dump). The question kana is read off
the screen by matching it against the kana drawn with the same face: the
program's built-in face (its build tree holds it as ui/font/regular.ttf), or
the BIZ UDPGothic it is cut from.

Usage: xvfb_session.py PROGRAM LAYOUT_DUMP OUTDIR [--questions N] [--font FILE] [--launcher CMD]
With --launcher the program is started through that command, e.g. "wine" for
the Windows program file; Qt then picks its own platform.
Prints one line per check and "N passed, N failed" at the end; exits non-zero
if a check failed.
"""

import argparse
import os
import shlex
import sys

from display import Display, Layout, check, summary, wait_for
from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/bizud-gothic/BIZUDPGothic-Regular.ttf"
HIRAGANA = ("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ"
            "らりるれろわをんがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ")
KATAKANA = "".join(chr(ord(c) + 0x60) for c in HIRAGANA)

RING = (255, 128, 128)
YELLOW = (255, 255, 0)
PANEL = (255, 192, 192)
WHITE = (255, 255, 255)


def near(a, b, tolerance=24):
    return all(abs(x - y) <= tolerance for x, y in zip(a[:3], b[:3]))


def glyph_signature(image):
    """A small black-and-white picture of the ink in an image, for matching."""
    grey = image.convert("L").point(lambda v: 255 if v < 110 else 0)
    box = grey.getbbox()
    if not box:
        return None
    return grey.crop(box).resize((32, 32))


def kana_signatures(script, face):
    font = ImageFont.truetype(face, 307)
    signatures = []
    for ch in script:
        canvas = Image.new("L", (420, 420), 255)
        ImageDraw.Draw(canvas).text((40, 20), ch, font=font, fill=0)
        signatures.append(glyph_signature(canvas.convert("RGB")))
    return signatures


def difference(a, b):
    return sum(abs(x - y) for x, y in zip(a.getdata(), b.getdata()))


def play(d, layout, prefix, question_script, questions, face):
    signatures = kana_signatures(question_script, face)
    x, y, w, h = layout.rect("Label1")
    question_box = (x + 2, y + 2, x + w - 1, y + h - 1)  # inside its border
    x, y, w, _ = layout.rect("Shape1")
    ring_top = (x + w // 2, y + 12)
    cross = layout.centre("Line1")  # where the two lines of the cross meet
    panel = layout.centre("Command1", 12)  # a chart button the results panel covers
    x, y, _, _ = layout.rect("Command1", 1)
    first_column = (x + 4, y + 5)

    def read_question(image):
        signature = glyph_signature(image.crop(question_box))
        if signature is None:
            return None
        scores = [difference(signature, s) for s in signatures]
        return scores.index(min(scores)) + 1

    def ring(image):
        return near(image.getpixel(ring_top), RING)

    def crossed(image):
        return near(image.getpixel(cross), YELLOW)

    d.click(*layout.centre("Option3"))  # すこし (15こ)
    d.click(*layout.centre("Command3"))  # スタート
    answer = wait_for(lambda: read_question(d.image(name=prefix + "-question")), 5)
    if not check(prefix + ": a question kana is shown", answer):
        return
    wrong = 1 if answer != 1 else 2
    d.click(*layout.centre("Command1", wrong))
    image = d.wait_image(crossed, name=prefix + "-wrong")
    check(prefix + ": a wrong press shows the yellow cross", image)
    check(prefix + ": no ring after a wrong press", image and not ring(image))
    # In order: the cross was shown, then the judgement puts it away, then the
    # same question waits for another try.
    image = d.wait_image(lambda shot: not crossed(shot))
    check(prefix + ": the cross is gone after the judgement", image)
    check(prefix + ": the question stays after a wrong press",
          read_question(image or d.image()) == answer)

    for number in range(questions):
        d.click(*layout.centre("Command1", answer))
        image = d.wait_image(ring, name=prefix + "-correct" if number == 0 else None)
        if not check(prefix + ": a right press shows the ring", image):
            d.image(name=prefix + "-failed-press")
            print(f"     (pressed kana index {answer})")
        # The next question is read once the judgement has put the ring away.
        image = d.wait_image(lambda shot: not ring(shot))
        if not check(prefix + ": the judgement puts the ring away", image):
            break
        answer = read_question(image)
        if answer is None:
            break
    d.click(*layout.centre("Command4"))  # ストップ
    image = d.wait_image(lambda shot: near(shot.getpixel(panel), PANEL, 4),
                         name=prefix + "-results")
    check(prefix + ": the results panel covers the chart's middle", image)
    face = (image or d.image()).getpixel(first_column)  # grey, or peach if あ was answered
    check(prefix + ": the あ column stays visible",
          near(face, (224, 224, 224), 4) or near(face, (255, 224, 192), 4), face)
    print(f"     (expected score {5 + 10 * (questions - 1)})")
    d.click(*layout.centre("Command7"))  # おわる


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("layout_dump")
    parser.add_argument("outdir")
    parser.add_argument("--questions", type=int, default=3)
    parser.add_argument("--font", default=FONT, help="the face the kana are drawn in")
    parser.add_argument("--launcher", default="", help="a command that starts the program, e.g. wine")
    args = parser.parse_args()
    os.makedirs(args.outdir, exist_ok=True)
    launcher = shlex.split(args.launcher)

    menu = Layout(args.layout_dump, window="Form1")
    left, middle = (1024 - menu.size[0]) // 2, (768 - menu.size[1]) // 2

    def menu_centred(image):
        """The menu's white client area in the middle of the black screen.
        Windows centres the window with its frame, whose title bar Wine
        leaves to a window manager: there the client area may sit up to half
        a title bar lower."""
        w, h = menu.size
        top = middle
        if launcher:
            top = next((y for y in range(middle, middle + 17)
                        if near(image.getpixel((left + 3, y)), WHITE, 2)), middle)
        return (near(image.getpixel((left + 3, top + 3)), WHITE, 2)
                and near(image.getpixel((left + w - 4, top + h - 4)), WHITE, 2)
                and image.getpixel((left - 3, top + 3)) == (0, 0, 0)
                and image.getpixel((left + w + 3, top + h - 4)) == (0, 0, 0))

    def on_menu(name):
        """A menu button's centre on the screen, the menu centred on it."""
        x, y = menu.centre(name)
        return left + x, middle + y

    def fills_screen(image):
        return near(image.getpixel((2, 760)), WHITE, 2)

    def drill(opened, form, question_script):
        """Plays the drill that has just been asked for, then closes it."""
        prefix = form.lower()
        if not check(opened + ", filling the screen", wait_for(lambda: d.window("Form2"), 15)
                     and d.wait_image(fills_screen, name=prefix + "-load")):
            return
        play(d, Layout(args.layout_dump, window=form), prefix, question_script, args.questions,
             args.font)
        check(f"おわる closes the {prefix} drill", wait_for(lambda: not d.window("Form2"), 5))

    d = Display((1024, 768), outdir=args.outdir)
    try:
        if check("the menu opens", d.start([*launcher, args.program],
                                            QT_QPA_PLATFORM=None if launcher else "xcb")):
            check("the menu is centred", d.wait_image(menu_centred, name="menu"))
            d.key("Return")  # the focus is on the katakana drill's button
            drill("Enter opens the katakana drill", "Form2", HIRAGANA)
            d.wait_image(menu_centred, name="menu-again")
            d.click(*on_menu("Command3"))  # the hiragana drill's button
            drill("the hiragana drill opens", "Form3", KATAKANA)
            # The menu's end button ends the program at once, and cleanly.
            d.wait_image(menu_centred)
            d.click(*on_menu("Command2"))
            code = d.exit_status(10)
            check(f"the menu's end button ends the program (exit status {code})", code == 0)
    finally:
        d.close()
    return summary()


if __name__ == "__main__":
    sys.exit(main())
