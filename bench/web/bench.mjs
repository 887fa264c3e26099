// The web bench (tools/web_bench.sh): loads ぽこもじ's page and the bare Qt
// page, each served from its folder on 127.0.0.1 by python3 -m http.server,
// in headless Chromium, taking turns at which goes first, each load in a
// fresh browser profile, and prints the bytes loaded and the time from the
// navigation to the first paint of the window, then the program's second
// start from its service worker's copy. Nothing here is a test.
//
// The first paint is the moment the page takes its loading card away, two
// frames after the module's main function has shown the window
// (packaging/web/page.js); a screenshot then confirms that the window is
// painted. Both pages use the same page, so they are measured alike.
//
// Last, presses on a drill's chart: from the release of the button to the
// first frame that draws the window again, which shows the press's mark (the
// window renders the judged press as it handles the click), counted in the
// page's animation frames.
//
// Usage: node bench.mjs PROGRAM_FOLDER BARE_FOLDER RUNS LAYOUT_DUMP

import {execFileSync, spawn} from 'node:child_process';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';
import zlib from 'node:zlib';

const require = createRequire(new URL('../../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const {PNG} = require('pngjs');

const [programFolder, bareFolder, runsText, layoutDump] = process.argv.slice(2);
const runs = Number(runsText || 7);

function serve(directory) {
    return new Promise((resolve) => {
        const server = spawn('/usr/bin/python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
            '--directory', directory], {stdio: ['ignore', 'pipe', 'ignore']});
        server.stdout.on('data', (data) => {
            const m = String(data).match(/port (\d+)/);
            if (m) {
                resolve({server, origin: `http://127.0.0.1:${m[1]}`, directory});
            }
        });
    });
}

// The size of a file as served raw, as gzip -9 and as brotli -11: its
// precompressed copies where the build made them.
function sizes(directory, file) {
    const raw = fs.readFileSync(path.join(directory, file));
    const copy = (suffix, make) => {
        const made = path.join(directory, file + suffix);
        return fs.existsSync(made) ? fs.statSync(made).size : make(raw).length;
    };
    return {
        raw: raw.length,
        gzip: copy('.gz', (data) => zlib.gzipSync(data, {level: 9})),
        brotli: copy('.br', (data) => zlib.brotliCompressSync(data, {
            params: {[zlib.constants.BROTLI_PARAM_QUALITY]: 11}})),
    };
}

const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-first-run'],
});

// One load: the first paint in ms from the navigation's start, and the
// files the page asked for.
async function load(context, site) {
    const page = await context.newPage();
    await page.setViewport({width: 1024, height: 768, deviceScaleFactor: 1});
    const files = new Set();
    page.on('response', (response) => {
        const url = new URL(response.url());
        if (url.origin === site.origin) {
            files.add(url.pathname === '/' ? 'index.html' : url.pathname.slice(1));
        }
    });
    await page.evaluateOnNewDocument(() => {
        document.addEventListener('DOMContentLoaded', () => {
            const card = document.getElementById('loading');
            new MutationObserver(() => {
                if (card.hidden && !window.firstPaintMs) {
                    window.firstPaintMs = performance.now();
                }
            }).observe(card, {attributes: true});
        });
    });
    await page.goto(`${site.origin}/`, {waitUntil: 'load'});
    await page.waitForFunction(() => window.firstPaintMs, {timeout: 120000, polling: 20});
    const ms = await page.evaluate(() => window.firstPaintMs);
    const phases = await page.evaluate(() => Object.fromEntries(
        performance.getEntriesByType('mark').map((mark) => [mark.name, mark.startTime])));
    // The window is there: the middle of the page is no longer white.
    const png = PNG.sync.read(await page.screenshot({type: 'png'}));
    const i = (png.width * 60 + 170) * 4;
    const painted = png.data[i] < 250 || png.data[i + 1] < 250 || png.data[i + 2] < 250;
    return {page, ms, files, painted, phases};
}

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

const program = await serve(programFolder);
const bare = await serve(bareFolder);
const times = {program: [], bare: []};
const phaseTimes = {program: [], bare: []};
const loaded = {program: new Set(), bare: new Set()};
let unpainted = 0;
// One load of each that is not counted: the system's file cache.
for (const site of [program, bare]) {
    const context = await browser.createBrowserContext();
    await load(context, site);
    await context.close();
}
for (let run = 0; run < runs; ++run) {
    const order = run % 2 ? [['bare', bare], ['program', program]] : [['program', program], ['bare', bare]];
    for (const [name, site] of order) {
        const context = await browser.createBrowserContext();
        const result = await load(context, site);
        times[name].push(result.ms);
        phaseTimes[name].push(result.phases);
        result.files.forEach((file) => loaded[name].add(file));
        unpainted += result.painted ? 0 : 1;
        await context.close();
    }
}

// The second start: the same profile once its service worker keeps the files.
const warm = [];
const cold = [];
for (let run = 0; run < Math.min(runs, 5); ++run) {
    const context = await browser.createBrowserContext();
    const first = await load(context, program);
    cold.push(first.ms);
    await first.page.waitForFunction(async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        return registration && registration.active;
    }, {timeout: 60000});
    await first.page.close();
    const second = await load(context, program);
    warm.push(second.ms);
    await context.close();
}
// Presses on the katakana drill's chart at 1024 x 768: for each, the ms from
// the release to Qt's first draw call after it, and how many of the page's
// animation frames began in between (1: the mark is in the next frame).
const pressed = {ms: [], frames: []};
{
    const form = JSON.parse(execFileSync(layoutDump, ['--fill', '1024x768', '--ratio', '1'],
        {env: {...process.env, QT_QPA_PLATFORM: 'offscreen'}, stdio: ['ignore', 'pipe', 'ignore']})).Form2;
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport({width: 1024, height: 768, deviceScaleFactor: 1});
    await page.evaluateOnNewDocument(() => {
        window.benchFrames = [];
        window.benchDraws = [];
        const tick = () => {
            window.benchFrames.push(performance.now());
            requestAnimationFrame(tick);
        };
        requestAnimationFrame(tick);
        for (const context of [WebGLRenderingContext, WebGL2RenderingContext]) {
            for (const name of ['drawArrays', 'drawElements']) {
                const draw = context.prototype[name];
                context.prototype[name] = function (...args) {
                    window.benchDraws.push(performance.now());
                    return draw.apply(this, args);
                };
            }
        }
        window.addEventListener('pointerup', (event) => {
            window.benchRelease = event.timeStamp;
        }, true);
    });
    await page.goto(`${program.origin}/`, {waitUntil: 'load'});
    await page.waitForFunction(() => document.getElementById('loading').hidden, {timeout: 120000});
    await page.keyboard.press('Enter'); // the katakana drill
    await new Promise((resolve) => setTimeout(resolve, 2000));
    await page.keyboard.press('Escape'); // スタート
    await new Promise((resolve) => setTimeout(resolve, 1000));
    const buttons = form.controls.filter((c) => c.name === 'Command1' && c.kana);
    for (let press = 0; press < 12; ++press) {
        const [x, y, w, h] = buttons[(press * 7) % buttons.length].rect;
        await page.mouse.click(x + w / 2, y + h / 2);
        const {ms, frames} = await page.waitForFunction(() => {
            const release = window.benchRelease;
            const draw = window.benchDraws.find((at) => at > release);
            return draw && {ms: draw - release,
                frames: window.benchFrames.filter((at) => at > release && at <= draw).length};
        }, {timeout: 10000, polling: 'raf'}).then((handle) => handle.jsonValue());
        pressed.ms.push(ms);
        pressed.frames.push(frames);
        // The judgement puts the mark away and unlocks the chart.
        await new Promise((resolve) => setTimeout(resolve, 1500));
    }
    await context.close();
}

await browser.close();
program.server.kill();
bare.server.kill();

const total = (name, folder) => {
    const sum = {raw: 0, gzip: 0, brotli: 0};
    for (const file of loaded[name]) {
        const size = sizes(folder, file);
        sum.raw += size.raw;
        sum.gzip += size.gzip;
        sum.brotli += size.brotli;
    }
    return sum;
};
const programBytes = total('program', programFolder);
const bareBytes = total('bare', bareFolder);
const mib = (bytes) => `${(bytes / 1048576).toFixed(2)} MiB`;
const ms = (value) => `${value.toFixed(0)} ms`;

console.log('| measure | ぽこもじ | bare Qt page | ratio |');
console.log('|---|---|---|---|');
for (const kind of ['raw', 'gzip', 'brotli']) {
    console.log(`| bytes loaded, ${kind} | ${mib(programBytes[kind])} | ${mib(bareBytes[kind])} | ` +
        `${(programBytes[kind] / bareBytes[kind]).toFixed(2)} |`);
}
console.log(`| first paint, median of ${runs} fresh profiles | ${ms(median(times.program))} | ` +
    `${ms(median(times.bare))} | ${(median(times.program) / median(times.bare)).toFixed(2)} |`);
console.log(`| ぽこもじ's start with the service worker's copy against its first, medians of ${warm.length} | ` +
    `${ms(median(warm))} | ${ms(median(cold))} (first) | ${(median(warm) / median(cold)).toFixed(2)} |`);
console.log(`| a press on the chart until the frame with its mark, median of ${pressed.ms.length} | ` +
    `${ms(median(pressed.ms))}, ${median(pressed.frames)} frame(s) | | |`);
console.log(`\nfiles: ${[...loaded.program].sort().join(' ')}`);
console.log(`first paints, ぽこもじ: ${times.program.map(ms).join(' ')}`);
console.log(`first paints, bare: ${times.bare.map(ms).join(' ')}`);
// Where the time goes: the module compiled (downloaded with it), main run
// until the window is shown, and the two frames until the card goes.
for (const name of ['program', 'bare']) {
    const phase = (mark) => median(phaseTimes[name].map((p) => p[mark] || NaN));
    console.log(`phases, ${name === 'program' ? 'ぽこもじ' : 'bare'} (medians): compiled ` +
        `${ms(phase('pokomoji-compiled'))}, main ran ${ms(phase('pokomoji-started'))}, ` +
        `painted ${ms(phase('pokomoji-painted'))}`);
}
console.log(`presses, ms to the draw: ${pressed.ms.map(ms).join(' ')}; frames: ${pressed.frames.join(' ')}`);
if (unpainted) {
    console.log(`(${unpainted} loads showed a white page at the moment of their first paint)`);
}
