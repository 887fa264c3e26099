// Plays ぽこもじ's web page (tools/web_build.sh's build-web/pokomoji) in
// Debian's Chromium through puppeteer-core and checks it the way
// tests/xvfb_session.py checks the desktop program: by clicking, tapping and
// typing where the program's own layout puts its controls (tests/ui/layout_dump
// --fill, which lays each window out as it fills the page), and by reading
// the page's pixels. The question kana and the numbers are read by matching
// them against signatures of the program's own face (tests/web/glyphs.py).
//
// Usage: node check.mjs FOLDER LAYOUT_DUMP FONT OUTDIR
// Serves FOLDER on 127.0.0.1 with python3 -m http.server, plays the menu, a
// drill, a session with a wrong and two right answers, the results, again,
// とじる, the other drill's おわる and the menu's おわる; a touch tap; the
// three viewports at device pixel ratios 1 and 2 and a phone's at 3, each
// window whole and centred; a rotation; an offline reload; then what the page stored, where
// it sent requests and what its console said. Screenshots go to OUTDIR.
// Prints PASS or FAIL per check and "N passed, N failed"; exits 1 on a
// failure.

import {execFileSync, spawn} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {PNG} from 'pngjs';
import puppeteer from 'puppeteer-core';
import {launchWebKit} from './webdriver.mjs';

const [folder, layoutDump, font, outdir] = process.argv.slice(2);
if (!outdir) {
    console.error('usage: node check.mjs FOLDER LAYOUT_DUMP FONT OUTDIR');
    process.exit(2);
}
fs.mkdirSync(outdir, {recursive: true});

const results = {passed: 0, failed: 0};
function check(name, ok, detail = '') {
    console.log(`${ok ? 'PASS' : 'FAIL'} ${name}${ok || !detail ? '' : ` (${detail})`}`);
    results[ok ? 'passed' : 'failed'] += 1;
    return ok;
}
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
async function waitFor(find, seconds = 10) {
    const deadline = Date.now() + seconds * 1000;
    for (;;) {
        const found = await find();
        if (found || Date.now() > deadline) {
            return found;
        }
        await sleep(100);
    }
}

// Colours of the program (ui/look.h), as red, green, blue.
const PALE_YELLOW = [254, 255, 204];
const LIGHT_GREY = [224, 224, 224];
const PEACH = [255, 224, 192];
const PANEL = [255, 192, 192];
const RING = [255, 128, 128];
const YELLOW = [255, 255, 0];
const near = (a, b, tolerance = 24) => a.every((v, i) => Math.abs(v - b[i]) <= tolerance);

// --- Where the controls are: the program's own layout -----------------------

const layouts = new Map();
// The windows laid out as they fill a page of a size at a pixel ratio.
function layoutFor(width, height, ratio) {
    const key = `${width}x${height}@${ratio}`;
    if (!layouts.has(key)) {
        const out = execFileSync(layoutDump, ['--fill', `${width}x${height}`, '--ratio', String(ratio)],
            {env: {...process.env, QT_QPA_PLATFORM: 'offscreen'}, stdio: ['ignore', 'pipe', 'ignore']});
        layouts.set(key, JSON.parse(out));
    }
    return layouts.get(key);
}
function control(window, name, kana) {
    const found = window.controls.find((c) => c.name === name && c.kana === kana);
    if (!found) {
        throw new Error(`no control ${name}${kana ? `(${kana})` : ''} in ${window.name}`);
    }
    return found.rect;
}
function centre(window, name, kana) {
    const [x, y, w, h] = control(window, name, kana);
    return [x + w / 2, y + h / 2];
}

// --- Pixels of the page ------------------------------------------------------

class Shot {
    constructor(png, cssWidth) {
        this.png = png;
        this.ratio = png.width / cssWidth; // device pixels per CSS pixel
    }
    // The colour at a point in CSS pixels.
    at(x, y) {
        const dx = Math.min(this.png.width - 1, Math.max(0, Math.round(x * this.ratio)));
        const dy = Math.min(this.png.height - 1, Math.max(0, Math.round(y * this.ratio)));
        const i = (this.png.width * dy + dx) * 4;
        return [this.png.data[i], this.png.data[i + 1], this.png.data[i + 2]];
    }
    grey(dx, dy) {
        const i = (this.png.width * dy + dx) * 4;
        return (this.png.data[i] * 299 + this.png.data[i + 1] * 587 + this.png.data[i + 2] * 114) / 1000;
    }
    // The device pixels of a box in CSS pixels, shrunk by an inset.
    box([x, y, w, h], inset) {
        const r = this.ratio;
        return [Math.ceil((x + inset) * r), Math.ceil((y + inset) * r),
            Math.floor((x + w - inset) * r), Math.floor((y + h - inset) * r)];
    }
    // The box of every pixel that is not white, in CSS pixels, or null.
    inkBox() {
        const {width, height, data} = this.png;
        let left = width, top = height, right = -1, bottom = -1;
        for (let y = 0; y < height; ++y) {
            for (let x = 0; x < width; ++x) {
                const i = (width * y + x) * 4;
                if (data[i] < 250 || data[i + 1] < 250 || data[i + 2] < 250) {
                    left = Math.min(left, x);
                    right = Math.max(right, x);
                    top = Math.min(top, y);
                    bottom = Math.max(bottom, y);
                }
            }
        }
        return right < 0 ? null
            : [left / this.ratio, top / this.ratio, (right + 1) / this.ratio, (bottom + 1) / this.ratio];
    }
}

// --- Reading glyphs, as tests/xvfb_session.py does ----------------------------

const glyphs = JSON.parse(execFileSync('/usr/bin/python3',
    [path.join(path.dirname(new URL(import.meta.url).pathname), 'glyphs.py'), font]));

// The ink of a box (grey below 160: black and the score's green, not the
// light grey or white of a face) reduced to 32 x 32 by area, 255 for ink.
function signature(shot, x0, y0, x1, y1) {
    const w = x1 - x0, h = y1 - y0, out = new Array(32 * 32).fill(0);
    for (let j = 0; j < 32; ++j) {
        for (let i = 0; i < 32; ++i) {
            const sx0 = x0 + (i * w) / 32, sx1 = x0 + ((i + 1) * w) / 32;
            const sy0 = y0 + (j * h) / 32, sy1 = y0 + ((j + 1) * h) / 32;
            let ink = 0, area = 0;
            for (let y = Math.floor(sy0); y < Math.ceil(sy1); ++y) {
                const fy = Math.min(y + 1, sy1) - Math.max(y, sy0);
                for (let x = Math.floor(sx0); x < Math.ceil(sx1); ++x) {
                    const f = fy * (Math.min(x + 1, sx1) - Math.max(x, sx0));
                    ink += f * (shot.grey(x, y) < 160 ? 255 : 0);
                    area += f;
                }
            }
            out[j * 32 + i] = area ? ink / area : 0;
        }
    }
    return out;
}
function nearest(sig, candidates) {
    let best = -1, bestScore = Infinity;
    candidates.forEach((c, index) => {
        let score = 0;
        for (let k = 0; k < sig.length; ++k) {
            score += Math.abs(sig[k] - c[k]);
        }
        if (score < bestScore) {
            best = index;
            bestScore = score;
        }
    });
    return best;
}
// The ink in a box: its columns' runs (one per character) and rows.
function inkRuns(shot, rect, inset) {
    const [x0, y0, x1, y1] = shot.box(rect, inset);
    const inkAt = (x, y) => shot.grey(x, y) < 160;
    const runs = [];
    let start = -1;
    for (let x = x0; x <= x1; ++x) {
        let ink = false;
        for (let y = y0; x < x1 && y < y1 && !ink; ++y) {
            ink = inkAt(x, y);
        }
        if (ink && start < 0) {
            start = x;
        } else if (!ink && start >= 0) {
            let top = y1, bottom = y0;
            for (let y = y0; y < y1; ++y) {
                for (let cx = start; cx < x; ++cx) {
                    if (inkAt(cx, y)) {
                        top = Math.min(top, y);
                        bottom = Math.max(bottom, y + 1);
                    }
                }
            }
            runs.push([start, top, x, bottom]);
            start = -1;
        }
    }
    return runs;
}
// The kana index (1..71) shown in a box, in a script, or 0 if it is empty.
function readKana(shot, rect, script, scale) {
    // Just inside the box's border: a large kana's marks reach its edge.
    const runs = inkRuns(shot, rect, 2 * scale + 0.5);
    if (!runs.length) {
        return 0;
    }
    // A kana may have separate strokes side by side: all of its ink.
    const box = [Math.min(...runs.map((r) => r[0])), Math.min(...runs.map((r) => r[1])),
        Math.max(...runs.map((r) => r[2])), Math.max(...runs.map((r) => r[3]))];
    return nearest(signature(shot, ...box), glyphs[script]) + 1;
}
// The number shown in a box, or NaN.
function readNumber(shot, rect, scale) {
    const runs = inkRuns(shot, rect, 3 * scale + 1);
    if (!runs.length) {
        return NaN;
    }
    return Number(runs.map((run) => nearest(signature(shot, ...run), glyphs.digits)).join(''));
}

// --- The server, the browser and the page ---------------------------------------

function serve(directory) {
    return new Promise((resolve, reject) => {
        const server = spawn('/usr/bin/python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
            '--directory', directory], {stdio: ['ignore', 'pipe', 'pipe']});
        server.requests = [];
        server.stderr.on('data', (data) => {
            for (const m of String(data).matchAll(/"(GET|HEAD|POST) (\S+)/g)) {
                server.requests.push(m[2]);
            }
        });
        server.stdout.on('data', (data) => {
            const m = String(data).match(/port (\d+)/);
            if (m) {
                resolve({server, origin: `http://127.0.0.1:${m[1]}`});
            }
        });
        server.on('exit', () => reject(new Error('the server ended')));
    });
}

// Chromium, headless; Firefox ESR (POKOMOJI_BROWSER=firefox) or WebKit
// (POKOMOJI_BROWSER=webkit, tests/web/webdriver.mjs) as second engines, which
// have WebGL only with a display: run them on one of their own
// (tests/display.py). All of them draw WebGL in software.
const engine = process.env.POKOMOJI_BROWSER || 'chromium';
const firefox = engine === 'firefox';
const {server, origin} = await serve(folder);
const browser = engine === 'webkit' ? await launchWebKit() : await puppeteer.launch(firefox ? {
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: false,
    env: {...process.env, LIBGL_ALWAYS_SOFTWARE: '1'},
    extraPrefsFirefox: {'webgl.force-enabled': true},
} : {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
        '--no-first-run', '--no-default-browser-check', '--disable-features=Translate'],
});
console.log(`     (${await browser.version()})`);
const context = await browser.createBrowserContext();
const consoleErrors = [];
const consoleWarnings = new Set();
const offOrigin = [];

async function newPage(width, height, ratio, touch = false) {
    const page = await context.newPage();
    await page.setViewport({width, height, deviceScaleFactor: ratio, hasTouch: touch});
    page.on('console', (message) => {
        if (message.type() === 'error') {
            consoleErrors.push(message.text());
        } else if (message.type() === 'warn' || message.type() === 'warning') {
            consoleWarnings.add(message.text());
        }
    });
    page.on('pageerror', (error) => consoleErrors.push(String(error)));
    page.on('request', (request) => {
        const url = request.url();
        if (!url.startsWith(`${origin}/`) && !/^(data|blob):/.test(url)) {
            offOrigin.push(url);
        }
    });
    page.size = {width, height, ratio};
    return page;
}
async function shot(page, name) {
    const buffer = await page.screenshot({type: 'png'});
    if (name) {
        fs.writeFileSync(path.join(outdir, `${name}.png`), buffer);
    }
    return new Shot(PNG.sync.read(buffer), page.size.width);
}
async function waitShot(page, test, seconds = 10, name = null) {
    let last = null;
    const found = await waitFor(async () => {
        last = await shot(page);
        return test(last);
    }, seconds);
    if (name && last) {
        fs.writeFileSync(path.join(outdir, `${name}.png`), PNG.sync.write(last.png));
    }
    return found ? last : null;
}
const layoutOf = (page) => layoutFor(page.size.width, page.size.height, page.size.ratio);
async function click(page, window, name, kana) {
    const [x, y] = centre(window, name, kana);
    await page.mouse.click(x, y);
}

// --- What the windows show ---------------------------------------------------------

// A button's face colour just inside its top-left corner, past its frame.
function faceAt(s, window, name, kana) {
    const [x, y] = control(window, name, kana);
    return s.at(x + 7 * window.scale, y + 7 * window.scale);
}
const menuShown = (menu) => (s) => near(faceAt(s, menu, 'Command1'), PALE_YELLOW, 12)
    && near(faceAt(s, menu, 'Command3'), PALE_YELLOW, 12);
const practiceShown = (form) => (s) => [1, 5, 66, 71].every((kana) => {
    const face = faceAt(s, form, 'Command1', kana);
    return near(face, LIGHT_GREY, 6) || near(face, PEACH, 6);
});
const ringShown = (form) => (s) => {
    const [x, y, w] = control(form, 'Shape1');
    return near(s.at(x + w / 2, y + 12 * form.scale), RING);
};
const crossShown = (form) => (s) => near(s.at(...centre(form, 'Line1')), YELLOW);
const resultsShown = (form) => (s) => near(s.at(...centre(form, 'Command1', 12)), PANEL, 6);

// Whole and centred: the content's box (its designed size at the window's
// scale, where the layout puts it) has equal margins left and right, top and
// bottom, lies on the page, and nothing is drawn outside it and its
// controls: no frame, no title bar, no second window.
function placedCheck(label, s, window, page) {
    const {width, height} = page.size;
    const [ox, oy] = window.origin;
    const [w, h] = window.size;
    const whole = ox >= 0 && oy >= 0 && ox + w <= width && oy + h <= height;
    const centred = Math.abs(ox - (width - ox - w)) <= 1 && Math.abs(oy - (height - oy - h)) <= 1;
    const fills = Math.abs(w - width) <= 1 || Math.abs(h - height) <= 1;
    check(`${label}: whole on the page, centred and as large as it fits (${w}x${h} at ${ox},${oy})`,
        whole && centred && fills, `page ${width}x${height}`);
    let [l, t, r, b] = [ox, oy, ox + w, oy + h];
    for (const c of window.controls) {
        const [x, y, cw, ch] = c.rect;
        [l, t, r, b] = [Math.min(l, x), Math.min(t, y), Math.max(r, x + cw), Math.max(b, y + ch)];
    }
    const ink = s.inkBox();
    check(`${label}: nothing drawn outside the window's content`,
        ink && ink[0] >= l - 1 && ink[1] >= t - 1 && ink[2] <= r + 1 && ink[3] <= b + 1,
        `drawn ${ink && ink.map(Math.round)}, content and controls ${[l, t, r, b].map(Math.round)}`);
}

async function canvasCrisp(page) {
    return page.evaluate(() => {
        const canvas = document.querySelector('#program canvas');
        const ratio = window.devicePixelRatio;
        return canvas && Math.abs(canvas.width - canvas.clientWidth * ratio) <= 1
            && Math.abs(canvas.height - canvas.clientHeight * ratio) <= 1
            ? `${canvas.width}x${canvas.height}` : null;
    });
}

async function openPage(page, label) {
    await page.goto(`${origin}/`, {waitUntil: 'load'});
    const s = await waitShot(page, menuShown(layoutOf(page).Form1), 90);
    check(`${label}: the menu is shown`, s);
    return s;
}

// Presses the right answer of the question shown; the kana index pressed.
async function answer(page, form, script) {
    const s = await shot(page);
    const kana = readKana(s, control(form, 'Label1'), script, form.scale);
    await click(page, form, 'Command1', kana);
    return kana;
}

// --- 1. The menu, a whole session, again, とじる, おわる ----------------------------------

async function playSession() {
    const page = await newPage(1024, 768, 2);
    const label = '1024x768@2';
    if (!await openPage(page, label)) {
        return null;
    }
    const {Form1: menu, Form2: form} = layoutOf(page);
    check(`${label}: the canvas has a device pixel for each of the page's (${await canvasCrisp(page)})`,
        await canvasCrisp(page));
    // The keyboard, as on the desktop: the focus starts on the katakana
    // drill's button; Enter opens it.
    await page.keyboard.press('Enter');
    let s = await waitShot(page, practiceShown(form), 15, 'web-form2-load');
    if (!check('Enter on the menu opens the katakana drill, filling the page', s)) {
        return page;
    }
    placedCheck('the katakana drill at 1024x768@2', s, form, page);

    await click(page, form, 'Option3'); // すこし (15こ)
    // Escape presses スタート, the window's cancel button.
    await page.keyboard.press('Escape');
    s = await waitShot(page, (shotNow) => readKana(shotNow, control(form, 'Label1'), 'hiragana',
        form.scale) > 0, 10, 'web-question');
    if (!check('Escape starts a session: a question kana is shown', s)) {
        return page;
    }
    const question = readKana(s, control(form, 'Label1'), 'hiragana', form.scale);
    const wrong = question === 1 ? 2 : 1;
    await click(page, form, 'Command1', wrong);
    s = await waitShot(page, crossShown(form), 5, 'web-wrong');
    check('a wrong press shows the yellow cross', s);
    check('no ring after a wrong press', s && !ringShown(form)(s));
    s = await waitShot(page, (shotNow) => !crossShown(form)(shotNow), 5);
    check('the judgement puts the cross away; the question stays',
        s && readKana(s, control(form, 'Label1'), 'hiragana', form.scale) === question);

    await click(page, form, 'Command1', question);
    s = await waitShot(page, ringShown(form), 5, 'web-correct');
    check('a right press shows the ring', s);
    s = await waitShot(page, (shotNow) => !ringShown(form)(shotNow), 5);
    const afterFirst = s && readNumber(s, control(form, 'Tokuten'), form.scale);
    check(`a question answered at the second try scores 5 (reads ${afterFirst})`, afterFirst === 5);
    const second = await answer(page, form, 'hiragana');
    s = await waitShot(page, ringShown(form), 5);
    check(`the next question (kana ${second}) answered at once shows the ring`, s);
    s = await waitShot(page, (shotNow) => !ringShown(form)(shotNow), 5);
    const afterSecond = s && readNumber(s, control(form, 'Tokuten'), form.scale);
    check(`and adds 10: the score reads 15 (reads ${afterSecond})`, afterSecond === 15);

    const secondsBefore = readNumber(await shot(page), control(form, 'TimeBox'), form.scale);
    const ticked = await waitFor(async () => {
        const now = readNumber(await shot(page), control(form, 'TimeBox'), form.scale);
        return now > secondsBefore ? now : null;
    }, 5);
    check(`the seconds clock counts on (${secondsBefore} -> ${ticked})`, ticked > secondsBefore);

    await click(page, form, 'Command4'); // ストップ
    s = await waitShot(page, resultsShown(form), 5, 'web-results');
    if (check('ストップ shows the results panel', s)) {
        const seconds = readNumber(s, control(form, 'TimeBox'), form.scale);
        const shownSeconds = readNumber(s, control(form, 'Label10'), form.scale);
        const shownScore = readNumber(s, control(form, 'Label11'), form.scale);
        check(`the results show the seconds and the score (${shownSeconds} s = ${seconds}, ${shownScore})`,
            shownSeconds === seconds && shownScore === 15);
    }
    await click(page, form, 'Command6'); // もういちどする
    s = await waitShot(page, (shotNow) => !resultsShown(form)(shotNow) && practiceShown(form)(shotNow), 5);
    check('もういちどする puts the results away', s);
    await click(page, form, 'Command2'); // とじる
    s = await waitShot(page, menuShown(menu), 5);
    check('とじる closes the drill: the menu is back', s);
    if (s) {
        placedCheck('the menu after とじる', s, menu, page);
    }

    // The rotation of a tablet: the window follows the page's new size.
    await click(page, menu, 'Command3'); // the hiragana drill
    const form3 = layoutOf(page).Form3;
    s = await waitShot(page, practiceShown(form3), 15);
    check('the menu opens the hiragana drill', s);
    await page.setViewport({width: 768, height: 1024, deviceScaleFactor: 2});
    page.size = {width: 768, height: 1024, ratio: 2};
    const upright = layoutOf(page).Form3;
    s = await waitShot(page, practiceShown(upright), 10, 'web-rotated');
    check('turned upright (768x1024), the drill is laid out for the new page', s);
    if (s) {
        placedCheck('the hiragana drill turned upright', s, upright, page);
    }
    await click(page, upright, 'Command3'); // スタート
    await waitShot(page, (shotNow) => readKana(shotNow, control(upright, 'Label1'), 'katakana',
        upright.scale) > 0, 10);
    await click(page, upright, 'Command4'); // ストップ
    s = await waitShot(page, resultsShown(upright), 5);
    check('the hiragana drill\'s results come up', s);
    await click(page, upright, 'Command7'); // おわる
    const uprightMenu = layoutOf(page).Form1;
    s = await waitShot(page, menuShown(uprightMenu), 5);
    check('おわる on the results closes the drill: the menu is back', s);

    // The menu's おわる ends the program: the page says so and offers a start.
    await click(page, uprightMenu, 'Command2');
    const ended = await waitFor(() => page.evaluate(() =>
        !document.getElementById('ended').hidden && document.getElementById('program').hidden
        && document.getElementById('loading').hidden), 5);
    // The card's pink fills the page, where the menu's white was.
    const card = await waitShot(page, (shotNow) => near(shotNow.at(10, 10), PANEL, 2), 5, 'web-ended');
    check('the menu\'s おわる ends the program: the page says that it has ended', ended && card);
    await Promise.all([page.waitForNavigation({waitUntil: 'load'}), page.click('#again')]);
    s = await waitShot(page, menuShown(uprightMenu), 60);
    check('もういちど はじめる starts the program again on its menu', s);
    return page;
}

// --- 2. A touch tap presses once ------------------------------------------------------

// Every ストップ and chart press is guarded by the session (a second press
// finds the button disabled or the chart locked), so a doubled press would
// not show on the screen. What the program receives is counted instead: Qt
// takes a tap from the touch events and a click from the mouse's pointer
// events, so one tap must bring exactly one touchstart and no mouse press.
async function tapOnce() {
    const page = await newPage(1024, 768, 1, true);
    const label = 'touch 1024x768@1';
    if (!await openPage(page, label)) {
        return;
    }
    await page.evaluate(() => {
        window.inputCounts = {touchstart: 0, touchend: 0, mousePointerDown: 0};
        const count = (event) => {
            if (event.type === 'pointerdown') {
                window.inputCounts.mousePointerDown += event.pointerType === 'mouse' ? 1 : 0;
            } else {
                window.inputCounts[event.type] += 1;
            }
        };
        for (const type of ['touchstart', 'touchend', 'pointerdown']) {
            document.addEventListener(type, count, {capture: true, passive: true});
        }
    });
    const {Form1: menu, Form2: form} = layoutOf(page);
    let taps = 0;
    const tap = async (window, name, kana) => {
        taps += 1;
        await page.touchscreen.tap(...centre(window, name, kana));
    };
    await tap(menu, 'Command1');
    let s = await waitShot(page, practiceShown(form), 15);
    check('a tap on the menu opens the katakana drill', s);
    await tap(form, 'Command3'); // スタート
    s = await waitShot(page, (shotNow) => readKana(shotNow, control(form, 'Label1'), 'hiragana',
        form.scale) > 0, 10);
    if (!check('a tap on スタート starts a session', s)) {
        await page.close();
        return;
    }
    const question = readKana(s, control(form, 'Label1'), 'hiragana', form.scale);
    await tap(form, 'Command1', question === 1 ? 2 : 1);
    s = await waitShot(page, crossShown(form), 5);
    check('a tap on a wrong kana shows the cross', s);
    await waitShot(page, (shotNow) => !crossShown(form)(shotNow), 5);
    await tap(form, 'Command1', question);
    s = await waitShot(page, ringShown(form), 5, 'web-touch-ring');
    check('a tap on the right kana shows the ring', s);
    s = await waitShot(page, (shotNow) => !ringShown(form)(shotNow), 5);
    const score = s && readNumber(s, control(form, 'Tokuten'), form.scale);
    check(`the tapped question scores 5, as for one wrong press (reads ${score})`, score === 5);
    const counts = await page.evaluate(() => window.inputCounts);
    check(`each of the ${taps} taps reached the program as one touch and no mouse press ` +
        `(${JSON.stringify(counts)})`,
        counts.touchstart === taps && counts.touchend === taps && counts.mousePointerDown === 0);
    const still = await page.evaluate(() => ({
        scale: window.visualViewport ? window.visualViewport.scale : 1,
        x: window.scrollX,
        y: window.scrollY,
        selected: String(window.getSelection()),
    }));
    check(`the taps neither zoomed nor scrolled the page nor selected text (${JSON.stringify(still)})`,
        still.scale === 1 && still.x === 0 && still.y === 0 && still.selected === '');
    await page.close();
}

// --- 3. The viewports ---------------------------------------------------------------

async function viewport(width, height, ratio) {
    const page = await newPage(width, height, ratio);
    const label = `${width}x${height}@${ratio}`;
    let s = await openPage(page, label);
    if (!s) {
        await page.close();
        return;
    }
    const {Form1: menu, Form2: form} = layoutOf(page);
    await shot(page, `menu-${label}`);
    placedCheck(`${label}: the menu`, s, menu, page);
    check(`${label}: the canvas has a device pixel for each of the page's`, await canvasCrisp(page));
    await click(page, menu, 'Command1');
    s = await waitShot(page, practiceShown(form), 15);
    if (!check(`${label}: the katakana drill opens`, s)) {
        await page.close();
        return;
    }
    placedCheck(`${label}: the katakana drill`, s, form, page);
    await click(page, form, 'Command3'); // スタート
    s = await waitShot(page, (shotNow) => readKana(shotNow, control(form, 'Label1'), 'hiragana',
        form.scale) > 0, 10);
    await answer(page, form, 'hiragana');
    s = await waitShot(page, ringShown(form), 5, `question-${label}`);
    check(`${label}: the question read off the page and pressed shows the ring`, s);
    await waitShot(page, (shotNow) => !ringShown(form)(shotNow), 5);
    await click(page, form, 'Command4'); // ストップ
    s = await waitShot(page, resultsShown(form), 5, `results-${label}`);
    check(`${label}: the results panel`, s);
    await click(page, form, 'Command7'); // おわる
    check(`${label}: おわる brings the menu back`, await waitShot(page, menuShown(menu), 5));
    await page.close();
}

// --- 4. Offline, storage, requests, console ---------------------------------------------------

async function offline(page) {
    const controlled = await waitFor(() => page.evaluate(async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        return Boolean(registration && registration.active);
    }), 20);
    check('the service worker is active', controlled);
    const cached = await page.evaluate(async () => {
        const names = await caches.keys();
        const files = [];
        for (const name of names) {
            for (const request of await (await caches.open(name)).keys()) {
                files.push(new URL(request.url).pathname);
            }
        }
        return {names, files};
    });
    check(`its cache holds only the program's files (${cached.names.join(', ')}: ${cached.files.length} files)`,
        cached.names.length === 1 && cached.files.includes('/pokomoji.wasm')
        && cached.files.every((file) => !file.includes('..') && !file.startsWith('/licenses')));
    server.kill();
    await new Promise((resolve) => server.once('exit', resolve));
    const down = await fetch(`${origin}/index.html`).then(() => false, () => true);
    check('the server is stopped: nothing answers on its port', down);
    await page.reload({waitUntil: 'load'});
    const s = await waitShot(page, menuShown(layoutOf(page).Form1), 60, 'web-offline');
    check('with the server stopped, a reload starts the program from the copy', s);
}

async function storage(page) {
    const stored = await page.evaluate(async () => ({
        cookie: document.cookie,
        local: localStorage.length,
        session: sessionStorage.length,
        databases: (await indexedDB.databases()).map((d) => d.name),
    }));
    const cookies = await context.cookies();
    check(`no cookie, local or session storage, IndexedDB (${JSON.stringify(stored)}, ${cookies.length} cookies)`,
        stored.cookie === '' && stored.local === 0 && stored.session === 0
        && stored.databases.length === 0 && cookies.length === 0);
}

// --- 5. Where the browser cannot run it -------------------------------------------------

// A Chromium without WebGL (switched off), and one without WebAssembly (taken
// away before the page runs): the page says so in its own words, and does
// not load the module.
async function cannotRun(flag, reason, what) {
    const lacking = await puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', '--no-first-run', ...(flag ? [flag] : [])],
    });
    try {
        const page = await lacking.newPage();
        if (!flag) {
            await page.evaluateOnNewDocument(() => { delete window.WebAssembly; });
        }
        const asked = [];
        page.on('request', (request) => asked.push(new URL(request.url()).pathname));
        await page.goto(`${origin}/`, {waitUntil: 'load'});
        const shown = await waitFor(() => page.evaluate((id) =>
            !document.getElementById('unsupported').hidden && !document.getElementById(id).hidden
            && document.getElementById('loading').hidden, reason), 10);
        fs.writeFileSync(path.join(outdir, `web-${reason}.png`), await page.screenshot({type: 'png'}));
        check(`without ${what} the page says it cannot run there and what to try, and loads no module`,
            shown && !asked.includes('/pokomoji.wasm'), asked.join(' '));
    } finally {
        await lacking.close();
    }
}

let exitCode = 1;
try {
    const sessionPage = await playSession();
    if (engine !== 'webkit') {
        await tapOnce();
    }
    // A tablet on its side and upright, a Chromebook, and a phone upright,
    // narrower than WebKitGTK's MiniBrowser lets its window become.
    const phone = engine === 'webkit' ? [] : [[390, 844, [3]]];
    for (const [width, height, ratios] of [[1024, 768, [1, 2]], [768, 1024, [1, 2]], [1366, 768, [1, 2]],
        ...phone]) {
        for (const ratio of ratios) {
            await viewport(width, height, ratio);
        }
    }
    if (engine === 'chromium') {
        await cannotRun('--disable-3d-apis', 'no-webgl', 'WebGL');
        await cannotRun(null, 'no-wasm', 'WebAssembly');
    }
    if (sessionPage) {
        await storage(sessionPage);
        await offline(sessionPage);
    }
    check(`no request left the page's origin${offOrigin.length ? `: ${offOrigin.join(' ')}` : ''}`,
        offOrigin.length === 0);
    const strange = server.requests.filter((request) => !/^\/([\w.-]+)?(\?.*)?$/.test(request));
    check(`the server was asked only for the folder's files (${server.requests.length} requests)`,
        strange.length === 0, strange.join(' '));
    check('the console showed no error', consoleErrors.length === 0, consoleErrors.join(' | '));
    for (const warning of consoleWarnings) {
        console.log(`     (console warning: ${warning})`);
    }
    exitCode = results.failed ? 1 : 0;
} catch (error) {
    check('the check ran to its end', false, error.stack);
} finally {
    await browser.close();
    server.kill();
}
console.log(`${results.passed} passed, ${results.failed} failed`);
process.exit(exitCode);
