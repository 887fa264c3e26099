#!/usr/bin/python3
"""Plays ぽこもじ in a real X window under Xvfb and saves screenshots.

Starts the program on a 1024 x 768 Xvfb screen, opens the katakana drill from
the menu with the keyboard, chooses 15 questions, answers one question wrongly
and then correctly, plays a few more, stops, looks at the results, closes the
window and does the same in the hiragana drill. At each step it checks a few
pixels of the real screen (the ring, the cross, the results panel) and writes
a screenshot to the output folder. The question kana is read off the screen by
matching it against the kana drawn with the same face: the program's built-in
face (its build tree holds it as ui/font/regular.ttf), or the BIZ UDPGothic it
is cut from.

Usage: xvfb_session.py PROGRAM OUTDIR [--questions N] [--font FILE] [--launcher CMD]
With --launcher the program is started through that command, e.g. "wine" for
the Windows program file; Qt then picks its own platform.
Prints one line per check and "N passed, N failed" at the end; exits non-zero
if a check failed.
"""

import argparse
import os
import shlex
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/bizud-gothic/BIZUDPGothic-Regular.ttf"
HIRAGANA = ("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ"
            "らりるれろわをんがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ")
KATAKANA = "".join(chr(ord(c) + 0x60) for c in HIRAGANA)

RING = (255, 128, 128)
YELLOW = (255, 255, 0)
PANEL = (255, 192, 192)

results = {"passed": 0, "failed": 0}


def check(name, ok):
    results["passed" if ok else "failed"] += 1
    print(("PASS " if ok else "FAIL ") + name, flush=True)
    return ok


def near(a, b, tolerance=24):
    return all(abs(x - y) <= tolerance for x, y in zip(a[:3], b[:3]))


def chart_centre(k):
    """The centre of chart button k in window pixels: the kana table read from
    right to left, the voiced block left of a gap."""
    if k <= 35:
        voiced, group, row = False, (k - 1) // 5, (k - 1) % 5
    elif k <= 38:
        voiced, group, row = False, 7, (k - 36) * 2
    elif k <= 43:
        voiced, group, row = False, 8, k - 39
    elif k <= 46:
        voiced, group, row = False, 9, (k - 44) * 2
    else:
        voiced, group, row = True, (k - 47) // 5, (k - 47) % 5
    left = (4080 if voiced else 14040) - 960 * group
    top = 6600 + 840 * row
    return left // 15 + 32, top // 15 + 28


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


class Screen:
    def __init__(self, program, outdir, launcher=()):
        self.outdir = outdir
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            display = pipe.readline().strip()
        self.env = dict(os.environ, DISPLAY=":" + display)
        if not launcher:
            self.env["QT_QPA_PLATFORM"] = "xcb"
        self.env.setdefault("XDG_RUNTIME_DIR", tempfile.mkdtemp())
        self.program = subprocess.Popen([*launcher, program], env=self.env)

    def run(self, *args):
        return subprocess.run(args, env=self.env, check=False, capture_output=True, text=True)

    def wait_for_window(self, name, timeout=15):
        end = time.time() + timeout
        while time.time() < end:
            found = self.run("xdotool", "search", "--onlyvisible", "--name", "^" + name + "$")
            if found.returncode == 0 and found.stdout.strip():
                return True
            time.sleep(0.1)
        return False

    def window_gone(self, name, timeout=5):
        end = time.time() + timeout
        while time.time() < end:
            found = self.run("xdotool", "search", "--onlyvisible", "--name", "^" + name + "$")
            if found.returncode != 0 or not found.stdout.strip():
                return True
            time.sleep(0.1)
        return False

    def shot(self, name=None):
        path = os.path.join(self.outdir, (name or "_last") + ".png")
        self.run("import", "-window", "root", path)
        return Image.open(path).convert("RGB")

    def wait_for(self, test, timeout=5):
        """Screenshots until one passes the test; that one, or None."""
        end = time.time() + timeout
        while time.time() < end:
            image = self.shot()
            if test(image):
                return image
            time.sleep(0.1)
        return None

    def click(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y), "click", "1")
        time.sleep(0.15)

    def key(self, name):
        self.run("xdotool", "key", name)
        time.sleep(0.15)

    def close(self):
        for process in (self.program, self.xvfb):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()


def read_question(screen_image, signatures):
    crop = screen_image.crop((82, 82, 376, 376))
    signature = glyph_signature(crop)
    if signature is None:
        return None
    scores = [difference(signature, s) for s in signatures]
    return scores.index(min(scores)) + 1


def play(screen, prefix, question_script, questions, face):
    signatures = kana_signatures(question_script, face)
    screen.click(916, 228)  # すこし (15こ)
    screen.click(920, 308)  # スタート
    image = screen.shot(prefix + "-question")
    answer = read_question(image, signatures)
    check(prefix + ": a question kana is shown", answer is not None)
    if answer is None:
        return
    wrong = 1 if answer != 1 else 2
    screen.click(*chart_centre(wrong))
    image = screen.shot(prefix + "-wrong")
    check(prefix + ": a wrong press shows the yellow cross", near(image.getpixel((644, 228)), YELLOW))
    check(prefix + ": no ring after a wrong press", not near(image.getpixel((648, 84)), RING))
    # In order: the cross was shown, then the judgement puts it away, then the
    # same question waits for another try.
    image = screen.wait_for(lambda shot: not near(shot.getpixel((644, 228)), YELLOW))
    check(prefix + ": the cross is gone after the judgement", image is not None)
    image = image or screen.shot()
    check(prefix + ": the question stays after a wrong press", read_question(image, signatures) == answer)

    for number in range(questions):
        screen.click(*chart_centre(answer))
        image = screen.shot(prefix + "-correct" if number == 0 else None)
        if not check(prefix + ": a right press shows the ring", near(image.getpixel((648, 84)), RING)):
            screen.shot(prefix + "-failed-press")
            print(f"     (pressed kana index {answer})")
        # The next question is read once the judgement has put the ring away.
        image = screen.wait_for(lambda shot: not near(shot.getpixel((648, 84)), RING))
        if not check(prefix + ": the judgement puts the ring away", image is not None):
            break
        answer = read_question(image, signatures)
        if answer is None:
            break
    score = 5 + 10 * (questions - 1)
    screen.click(920, 384)  # ストップ
    image = screen.shot(prefix + "-results")
    check(prefix + ": the results panel covers the chart's middle", near(image.getpixel((850, 500)), PANEL, 4))
    face = image.getpixel((940, 445))  # grey, or peach if あ was answered
    check(prefix + ": the あ column stays visible",
          near(face, (224, 224, 224), 4) or near(face, (255, 224, 192), 4))
    print(f"     (expected score {score})")
    screen.click(160 + 376 + 92, 192 + 264 + 32)  # おわる


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("outdir")
    parser.add_argument("--questions", type=int, default=3)
    parser.add_argument("--font", default=FONT, help="the face the kana are drawn in")
    parser.add_argument("--launcher", default="", help="a command that starts the program, e.g. wine")
    args = parser.parse_args()
    os.makedirs(args.outdir, exist_ok=True)

    screen = Screen(args.program, args.outdir, shlex.split(args.launcher))
    try:
        if check("the menu opens", screen.wait_for_window("ぽこもじ ver1.0")):
            time.sleep(0.5)
            image = screen.shot("menu")
            # Its 346 x 302 white client area in the middle of the black screen.
            # Windows centres the window with its frame, whose title bar Wine
            # leaves to a window manager: there the client area may sit up to
            # half a title bar lower.
            top = 233
            if args.launcher:
                top = next((y for y in range(233, 250)
                            if near(image.getpixel((339 + 3, y)), (255, 255, 255), 2)), 233)
            check("the menu is centred",
                  near(image.getpixel((339 + 3, top + 3)), (255, 255, 255), 2)
                  and near(image.getpixel((339 + 342, top + 298)), (255, 255, 255), 2)
                  and image.getpixel((339 - 3, top + 3)) == (0, 0, 0)
                  and image.getpixel((339 + 349, top + 298)) == (0, 0, 0))
            screen.key("Return")  # the focus is on the katakana drill's button
            if check("Enter opens the katakana drill", screen.wait_for_window("Form2")):
                time.sleep(0.5)
                image = screen.shot("form2-load")
                check("the practice window fills the screen", near(image.getpixel((2, 760)), (255, 255, 255), 2))
                play(screen, "form2", HIRAGANA, args.questions, args.font)
                check("おわる closes the window", screen.window_gone("Form2"))
            time.sleep(0.5)
            screen.shot("menu-again")
            screen.click(512 - 173 + 16 + 156, 384 - 151 + 128 + 48)  # the hiragana drill's button
            if check("the hiragana drill opens", screen.wait_for_window("Form2")):
                time.sleep(0.5)
                screen.shot("form3-load")
                play(screen, "form3", KATAKANA, args.questions, args.font)
                check("おわる closes the hiragana drill", screen.window_gone("Form2"))
            # The menu's end button ends the program at once, and cleanly.
            time.sleep(0.5)
            screen.click(512 - 173 + 184 + 72, 384 - 151 + 240 + 28)
            try:
                code = screen.program.wait(10)
            except subprocess.TimeoutExpired:
                code = None
            check("the menu's end button ends the program (exit status %s)" % code, code == 0)
    finally:
        screen.close()
    print(f"{results['passed']} passed, {results['failed']} failed")
    return 1 if results["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
