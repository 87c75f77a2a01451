#!/usr/bin/env node
// The game in a real browser: Debian's Chromium, driven by playwright-core,
// plays the site from the logos through a two-player match and back, with
// the native scripted runner as the oracle for what the screen must show.
//
// Usage: browser_test.js --site DIR --runner VOLLEEN_HEADLESS --data DIR [--shots DIR]
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const {chromium} = require('playwright-core');

const Width = 640;
const Height = 480;
const FrameMs = 33;
const Epoch = 1700000000;  // the runner's calendar at its time 0

const options = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) {
  options[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
}

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted.length === 0 ? NaN : sorted[Math.floor(sorted.length / 2)];
}

let passed = 0;
let failed = 0;
function check(ok, what, detail) {
  if (ok) {
    passed++;
    console.log(`ok   ${what}`);
  } else {
    failed++;
    console.log(`FAIL ${what}${detail ? ': ' + detail : ''}`);
  }
}

// An 8-bit BMP as RGBA, top row first.
function readBmp(file) {
  const bytes = fs.readFileSync(file);
  const offset = bytes.readUInt32LE(10);
  const header = bytes.readUInt32LE(14);
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  const stride = (width + 3) & ~3;
  const rgba = Buffer.alloc(width * Math.abs(height) * 4);
  for (let y = 0; y < Math.abs(height); ++y) {
    const row = offset + (height > 0 ? Math.abs(height) - 1 - y : y) * stride;
    for (let x = 0; x < width; ++x) {
      const entry = 14 + header + bytes[row + x] * 4;
      const at = (y * width + x) * 4;
      rgba[at] = bytes[entry + 2];
      rgba[at + 1] = bytes[entry + 1];
      rgba[at + 2] = bytes[entry];
      rgba[at + 3] = 255;
    }
  }
  return rgba;
}

// The native runner, from the same data: the logos, the menu, a two-player
// match before its serve, and Player 1 held left against the wall.
function nativeRun() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'volleen-web-'));
  for (const name of fs.readdirSync(options.data)) {
    if (!name.startsWith('.')) fs.copyFileSync(path.join(options.data, name), path.join(folder, name));
  }
  fs.writeFileSync(path.join(folder, 'script.txt'), [
    '100 shot logo1.bmp', '6500 shot logo2.bmp', '13000 shot menu.bmp',
    '13000 key 3 down', '13100 key 3 up', '15000 shot match.bmp',
    '15000 key 203 down', '18000 shot left.bmp', '18000 key 203 up', ''
  ].join('\n'));
  // Status 3: the run reached its --until time, as asked.
  const run = childProcess.spawnSync(path.resolve(options.runner), [
    '--script', 'script.txt', '--trace', 'trace.jsonl', '--shots', '.', '--until', '18500',
    '--epoch', String(Epoch)
  ], {cwd: folder, stdio: ['ignore', 'ignore', 'inherit']});
  if (run.status !== 3) throw new Error(`the native runner ended with ${run.status}`);
  const trace = fs.readFileSync(path.join(folder, 'trace.jsonl'), 'utf8').trim().split('\n')
                    .map((line) => JSON.parse(line));
  const plays = (file) => trace.filter((e) => e.ev === 'sound' && e.op === 'play' && e.file === file)
                              .map((e) => e.t);
  // Each logo: shown, held, faded out, then a pause before what comes next.
  const fadeStart = (after) => trace.find((e) => e.ev === 'palette' && e.t > after).t;
  const fadeEnd = (after) => trace.find((e) => e.ev === 'sleep' && e.ms === 400 && e.t > after).t;
  const shots = {};
  for (const name of ['logo1', 'logo2', 'menu', 'match', 'left']) {
    shots[name] = readBmp(path.join(folder, name + '.bmp'));
  }
  // The menu with the keys A, Z, N and B and the music off, as keys.dat has them.
  fs.writeFileSync(path.join(folder, 'keys.dat'),
                   Buffer.from([30, 0, 0, 0, 44, 0, 0, 0, 49, 0, 0, 0, 48, 0, 0, 0, 0, 0, 0, 0]));
  fs.writeFileSync(path.join(folder, 'script.txt'), '13000 shot named.bmp\n');
  const named = childProcess.spawnSync(path.resolve(options.runner), [
    '--script', 'script.txt', '--shots', '.', '--until', '13500', '--epoch', String(Epoch)
  ], {cwd: folder, stdio: ['ignore', 'ignore', 'inherit']});
  if (named.status !== 3) throw new Error(`the native runner ended with ${named.status}`);
  shots.named = readBmp(path.join(folder, 'named.bmp'));
  fs.rmSync(folder, {recursive: true, force: true});
  const fire = plays('FIRE.WAV');
  const menu = plays('MENU.WAV')[0];
  const steps = trace.filter((e) => e.ev === 'palette' && e.t >= fadeStart(fire[0]) &&
                                    e.t < fadeEnd(fire[0])).length;
  return {
    shots,
    // Single pauses, measured whole.
    pauses: [
      ['the first logo is held', fadeStart(fire[0]) - fire[0]],
      ['the pause before the second logo', fire[1] - fadeEnd(fire[0])],
      ['the second logo is held', fadeStart(fire[1]) - fire[1]],
    ],
    fadeSteps: steps,
    fadeStepMs: (fadeEnd(fire[0]) - fadeStart(fire[0])) / steps,
  };
}

// `missing`: a file name the server answers 404 for, as a broken upload would.
function serve(root, missing) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(request.url.split('?')[0]);
    const file = path.join(root, name === '/' ? 'index.html' : path.normalize(name));
    fs.readFile(file, (error, data) => {
      if (error || path.basename(file) === missing) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
      response.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Runs in the page before its scripts: a calendar that the test can stop (so
// the match's random choices are the runner's), and a log of every picture
// shown, with the moment each reference picture first appears.
function pageHelpers(epochMs) {
  // A browser without IndexedDB (private modes, locked-down machines), when
  // the test asks for one. Documents without storage of their own (a blank
  // page, a download) have nothing to hide.
  let noIndexedDb = false;
  try {
    noIndexedDb = localStorage.getItem('test-no-indexeddb') !== null;
  } catch (e) {
    return;
  }
  if (noIndexedDb) {
    Object.defineProperty(window, 'indexedDB', {value: undefined, configurable: true});
  }
  const realNow = Date.now;
  window.test = {
    frozen: epochMs,
    refs: {},
    seen: {},
    shows: [],
    browserKeys: [],
    notices: [],
  };
  // Every notice the page shows, however briefly.
  document.addEventListener('DOMContentLoaded', () => {
    const notice = document.getElementById('notice');
    new MutationObserver(() => {
      if (notice.textContent) window.test.notices.push(notice.textContent);
    }).observe(notice, {childList: true, characterData: true, subtree: true});
  });
  Date.now = () => (window.test.frozen !== null ? window.test.frozen : realNow());
  // A pad of the browser's standard layout, plugged in when the test asks.
  const pad = {index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
               buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
  let padPlugged = false;
  Object.defineProperty(navigator, 'getGamepads', {
    value: () => (padPlugged ? [pad] : []), configurable: true,
  });
  window.test.tapPad = (button, ms) => {
    pad.buttons[button] = {pressed: true, value: 1};
    if (!padPlugged) {
      padPlugged = true;
      window.dispatchEvent(new Event('gamepadconnected'));
    }
    setTimeout(() => { pad.buttons[button] = {pressed: false, value: 0}; }, ms);
  };
  window.test.same = (name) => {
    const mine = Volleen.screenPixels();
    const ref = window.test.refs[name];
    let differing = 0;
    for (let i = 0; i < mine.length; i += 4) {
      if (mine[i] !== ref[i] || mine[i + 1] !== ref[i + 1] || mine[i + 2] !== ref[i + 2]) differing++;
    }
    return differing;
  };
  window.test.snap = () => {
    const pixels = Volleen.screenPixels();
    let text = '';
    for (let i = 0; i < pixels.length; i += 32768) {
      text += String.fromCharCode.apply(null, pixels.subarray(i, i + 32768));
    }
    return btoa(text);
  };
  // Notes when each of `names` first shows, in that order; the picture is
  // read where the game hands it over, so watching costs the game little.
  window.test.watch = (names) => {
    const show = Volleen.show;
    Volleen.show = (rgba, width, height) => {
      show(rgba, width, height);
      const now = performance.now();
      let light = 0;
      for (let i = 0; i < width * height * 4; i += 4 * 61) {
        light += HEAPU8[rgba + i] + HEAPU8[rgba + i + 1] + HEAPU8[rgba + i + 2];
      }
      window.test.shows.push([now, light]);
      const name = names.find((n) => window.test.seen[n] === undefined);
      if (name === undefined) return;
      const ref = window.test.refs[name];
      for (let i = 0; i < width * height * 4; i += 4) {
        if (HEAPU8[rgba + i] !== ref[i] || HEAPU8[rgba + i + 1] !== ref[i + 1] ||
            HEAPU8[rgba + i + 2] !== ref[i + 2]) {
          return;
        }
      }
      window.test.seen[name] = now;
    };
  };
}

async function main() {
  if (!fs.existsSync(path.join(options.site, 'index.html'))) {
    throw new Error(`${options.site} holds no site: run make web first`);
  }
  const native = nativeRun();
  const server = await serve(path.resolve(options.site));
  const url = `http://127.0.0.1:${server.address().port}/`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'volleen-chromium-'));
  const browser = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: {width: 800, height: 600},
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const problems = [];
  try {
    const page = browser.pages()[0] || await browser.newPage();
    const warnings = [];
    page.on('console', (message) => {
      if (message.type() === 'error') problems.push(message.text());
      if (message.type() === 'warning') warnings.push(message.text());
    });
    page.on('pageerror', (error) => problems.push(error.message));
    // The menu comes up at runner time 12320, in its second 12.
    await page.addInitScript(pageHelpers, (Epoch + 12) * 1000 + 500);

    const pause = (ms) => page.waitForTimeout(ms);
    const tap = async (key) => {
      await page.keyboard.down(key);
      await pause(120);
      await page.keyboard.up(key);
    };
    // After the first start the logos are skipped: what follows a reload is
    // about the settings, and the logos would cost 12 s each time.
    const start = async (refs, watched, skipLogos = true) => {
      await page.goto(url);
      await page.waitForFunction(() => document.getElementById('start').textContent === 'Click to start');
      await page.evaluate((pictures) => {
        for (const [name, base64] of Object.entries(pictures)) {
          window.test.refs[name] = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
        }
      }, refs);
      await page.evaluate((names) => window.test.watch(names), watched);
      // Registered after the page's own handler, so it sees what that did.
      await page.evaluate(() => window.addEventListener('keydown', (event) => {
        if (!event.defaultPrevented) window.test.browserKeys.push(event.code);
      }));
      if (skipLogos) await page.check('#skip');
      await page.click('#start');
    };
    const shows = (name, timeout) => page.waitForFunction((n) => window.test.same(n) === 0, name,
                                                          {polling: 50, timeout})
                                         .then(() => true, () => false);
    const screen = () => page.evaluate(() => window.test.snap());
    const base64 = (name) => native.shots[name].toString('base64');

    // The processor time the page's thread takes over three seconds, as a
    // share of one core: an idle page's first, to compare the menu with.
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('Performance.enable');
    const busy = async () => {
      const taken = async () => (await cdp.send('Performance.getMetrics')).metrics
                                    .find((m) => m.name === 'TaskDuration').value;
      const before = await taken();
      await pause(3000);
      return (await taken() - before) / 3;
    };
    await page.goto('about:blank');
    const idleShare = await busy();

    // --- the logos, then the menu, at the runner's times -------------------
    await start({logo1: base64('logo1'), logo2: base64('logo2'), menu: base64('menu'),
                 match: base64('match'), left: base64('left')}, ['logo1', 'logo2', 'menu'], false);
    check(await shows('menu', 20000), 'the menu shows, pixel for pixel as the native runner draws it');
    // The same times, from the pictures the page was handed: the logo, its
    // first faded picture, the black screen after the fade, the next logo.
    // Each fade step is one picture; their median length is the step's
    // length whatever the machine's other work delays now and then.
    const seen = await page.evaluate(() => window.test.seen);
    const log = await page.evaluate(() => window.test.shows);
    const after = (from, test) => log.findIndex((entry, i) => i > from && test(entry));
    const at = (time) => log.findIndex((entry) => entry[0] === time);
    const logo1 = at(seen.logo1);
    const fade1 = after(logo1, (entry) => entry[1] !== log[logo1][1]);
    const black1 = after(fade1, (entry) => entry[1] === 0);
    const logo2 = at(seen.logo2);
    const fade2 = after(logo2, (entry) => entry[1] !== log[logo2][1]);
    const time = (i) => (i >= 0 ? log[i][0] : NaN);
    [[logo1, fade1], [black1, logo2], [logo2, fade2]].forEach(([from, to], i) => {
      const [what, ms] = native.pauses[i];
      const took = time(to) - time(from);
      check(Math.abs(took - ms) <= 2 * FrameMs, `${what}: ${took.toFixed(0)} ms (native ${ms})`);
    });
    const fadeTimes = log.slice(fade1, black1 + 1).map((entry) => entry[0]);
    const stepMs = median(fadeTimes.slice(1).map((t, i) => t - fadeTimes[i]));
    check(fadeTimes.length - 1 === native.fadeSteps && Math.abs(stepMs - native.fadeStepMs) <= 1,
          `the fade: ${fadeTimes.length - 1} steps of ${stepMs.toFixed(1)} ms ` +
              `(native ${native.fadeSteps} of ${native.fadeStepMs})`);
    const menuShare = await busy();
    check(menuShare - idleShare < 0.05,
          `the menu at rest takes ${(100 * menuShare).toFixed(1)} % of a core ` +
              `(an idle page ${(100 * idleShare).toFixed(1)} %)`);
    const icon = await page.evaluate(async () => {
      const link = document.querySelector('link[rel="icon"]');
      const response = await fetch(link.href);
      const bytes = new Uint8Array(await response.arrayBuffer());
      return response.ok ? Array.from(bytes.slice(0, 4)) : [];
    });
    check(JSON.stringify(icon) === JSON.stringify([0x89, 0x50, 0x4e, 0x47]), 'the favicon is the game\'s icon, a PNG');
    const audio = await page.evaluate(() => Volleen.audioState);
    check(audio.loudBlocks > 0, `Web Audio plays the logos' and the menu's sounds (${audio.loudBlocks} of ${audio.blocks} blocks)`);
    if (options.shots) await page.screenshot({path: path.join(options.shots, 'web-menu.png')});

    const download = page.waitForEvent('download', {timeout: 5000}).catch(() => null);
    await tap('F12');
    const shot = await download;
    const shotName = shot ? shot.suggestedFilename() : '';
    check(/^volleen_\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.png$/.test(shotName),
          'F12 downloads the screen as a PNG', shotName);
    if (shot) {
      const bytes = fs.readFileSync(await shot.path());
      check(bytes.readUInt32BE(16) === 640 && bytes.readUInt32BE(20) === 480,
            'the screenshot is 640 x 480', `${bytes.readUInt32BE(16)} x ${bytes.readUInt32BE(20)}`);
    }

    // --- a two-player match ------------------------------------------------
    await tap('Digit2');
    check(await shows('match', 5000), 'key 2 starts a two-player match, as the runner shows it');
    const before = await page.evaluate(() => window.test.shows.length);
    await page.keyboard.down('ArrowLeft');
    await pause(3000);
    check(await page.evaluate(() => window.test.same('left')) === 0,
          'holding Left moves Player 1 to the wall, as in the runner');
    await page.keyboard.up('ArrowLeft');
    const frames = (await page.evaluate(() => window.test.shows)).slice(before).map((e) => e[0]);
    const frameMs = median(frames.slice(1).map((t, i) => t - frames[i]));
    check(Math.abs(frameMs - FrameMs) <= 1,
          `match frames: ${frames.length} pictures, ${frameMs.toFixed(1)} ms each (median)`);
    await page.evaluate(() => { window.test.frozen = null; });
    const served = await screen();
    await tap('Space');
    await pause(1000);
    if (options.shots) await page.screenshot({path: path.join(options.shots, 'web-match.png')});
    // A point shows in the scores along the top.
    const scored = await page.waitForFunction((old) => {
      const now = Volleen.screenPixels();
      const was = Uint8Array.from(atob(old), (c) => c.charCodeAt(0));
      for (let i = 0; i < 16 * 640 * 4; ++i) if (now[i] !== was[i]) return true;
      return false;
    }, served, {polling: 100, timeout: 30000}).then(() => true, () => false);
    check(scored, 'Space serves and a point is scored');
    await tap('Escape');
    check(await shows('menu', 5000), 'Escape returns to the menu');
    // The match was kept as a replay in the page's storage, and the native
    // runner plays it to its end with every checksum agreeing.
    const replays = await page.evaluate(() => FS.readdir('/volleen').filter((n) => n.endsWith('.replay'))
                                                  .map((n) => Array.from(FS.readFile('/volleen/' + n))));
    check(replays.length === 1, `the match was kept as a replay (${replays.length})`);
    if (replays.length === 1) {
      const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'volleen-web-replay-')), 'web.replay');
      fs.writeFileSync(file, Buffer.from(replays[0]));
      const played = childProcess.spawnSync(path.resolve(options.runner), ['--replay', file],
                                            {cwd: path.dirname(file), encoding: 'utf8'});
      check(played.status === 0, `the browser's replay plays in the runner (status ${played.status})`,
            played.stderr);
      fs.rmSync(path.dirname(file), {recursive: true, force: true});
    }

    // --- settings that outlive a reload --------------------------------------
    const menu = await screen();
    await tap('KeyM');
    await pause(300);
    const musicOff = await screen();
    check(musicOff !== menu, 'M switches the music word');
    // A pad's Y is M. The menu reads every 33 ms and a pad wakes nothing: a
    // 12 ms tap between two reads is still taken, once, every time.
    const words = [];
    for (let i = 0; i < 4; ++i) {
      await page.evaluate(() => window.test.tapPad(3, 12));
      await pause(300);
      words.push((await screen()) === musicOff ? 'Off' : 'On');
    }
    check(words.join(' ') === 'On Off On Off', 'each 12 ms tap of a pad\'s Y switches the music once',
          words.join(' '));
    await tap('KeyC');
    await pause(1200);  // the menu fades out first
    for (const key of ['KeyZ', 'KeyX', 'KeyN', 'KeyB']) {
      await pause(400);
      await tap(key);
    }
    await pause(400);
    await tap('Escape');
    await pause(500);
    const rebound = await screen();
    check(rebound !== musicOff, 'C, four keys and Escape show the new key names');
    const saved = await page.evaluate(() => Array.from(FS.readFile('/volleen/keys.dat')));
    check(JSON.stringify(saved) ===
              JSON.stringify([44, 0, 0, 0, 45, 0, 0, 0, 49, 0, 0, 0, 48, 0, 0, 0, 0, 0, 0, 0]),
          'keys.dat holds the set-1 codes of Z, X, N, B and music off', JSON.stringify(saved));
    await pause(500);

    const leaked = await page.evaluate(() => window.test.browserKeys);
    check(leaked.length === 0, 'no key the game took reached the browser (no scrolling, no navigation)',
          leaked.join(' '));

    await start({rebound}, []);
    await page.evaluate(() => { window.test.frozen = null; });
    check(await shows('rebound', 20000), 'after a reload the menu shows the saved keys and music setting');
    check(await page.evaluate(() => !document.getElementById('watch').hidden),
          'after a reload the page offers to watch the last match');


    // --- a French keyboard: the letters are where the player sees them ------
    // AZERTY: M is where US has ";" and the US M key types ","; A and Q, Z
    // and W change places. The page learns each key's letter from the event.
    const french = async (code, key) => {
      await page.evaluate(([c, k]) => window.dispatchEvent(new KeyboardEvent('keydown', {code: c, key: k})),
                          [code, key]);
      await pause(120);
      await page.evaluate(([c, k]) => window.dispatchEvent(new KeyboardEvent('keyup', {code: c, key: k})),
                          [code, key]);
    };
    await french('KeyM', ',');
    await pause(300);
    check(await screen() === rebound, 'the key that types "," leaves the music alone');
    await french('Semicolon', 'm');
    await pause(300);
    const musicOn = await screen();
    check(musicOn !== rebound, 'the French M (code Semicolon, key m) switches the music');
    await french('Semicolon', 'm');
    await pause(300);
    await tap('KeyC');
    await pause(1200);
    for (const [code, key] of [['KeyQ', 'a'], ['KeyW', 'z'], ['KeyN', 'n'], ['KeyB', 'b']]) {
      await pause(400);
      await french(code, key);
    }
    await pause(400);
    await tap('Escape');
    await pause(500);
    await page.evaluate((named) => {
      window.test.refs.named = Uint8Array.from(atob(named), (c) => c.charCodeAt(0));
    }, base64('named'));
    check(await page.evaluate(() => window.test.same('named')) === 0,
          'keys redefined on AZERTY are named by what they type (A Z N B), as the runner names them');
    const french_saved = await page.evaluate(() => Array.from(FS.readFile('/volleen/keys.dat')));
    check(JSON.stringify(french_saved) ===
              JSON.stringify([16, 0, 0, 0, 17, 0, 0, 0, 49, 0, 0, 0, 48, 0, 0, 0, 0, 0, 0, 0]),
          'keys.dat keeps the positions (set-1 codes of US Q, W, N, B)', JSON.stringify(french_saved));

    check(warnings.length === 0, 'no warning in the browser console while playing',
          warnings.join(' | '));

    // --- storage that fights back ---------------------------------------------
    // Each time the game reaches its menu; what it could not read or save is
    // said on the console and the page, and a save once storage works again
    // outlives a reload.
    const menuRefs = {menu: base64('menu'), musicOff};
    // Whether the page showed `text` since it was loaded, and the console too.
    const noticed = async (text) => {
      const shown = await page.evaluate(() => window.test.notices);
      return shown.some((n) => n.toLowerCase().includes(text.toLowerCase())) &&
             warnings.some((w) => w.includes(text));
    };
    const notices = async () => (await page.evaluate(() => window.test.notices)).join(' | ');
    const toMenu = async (expected, what) => {
      warnings.length = 0;
      await start(menuRefs, []);
      await page.evaluate(() => { window.test.frozen = null; });
      check(await shows(expected, 20000), what);
    };
    // Entries it cannot use: one named like a shipped picture (which used to
    // keep the page on "Loading..." for good), a keys.dat that is no file's
    // bytes, a name with a folder in it.
    await page.evaluate(() => new Promise((resolve, reject) => {
      const open = indexedDB.open('volleen', 1);
      open.onerror = () => reject(open.error);
      open.onsuccess = () => {
        const transaction = open.result.transaction('files', 'readwrite');
        const store = transaction.objectStore('files');
        store.clear();
        store.put(new Uint8Array([66, 77, 0]), 'TITLE8.BMP');
        store.put({mode: 16877, timestamp: 'yesterday'}, 'keys.dat');
        store.put(new Uint8Array(20), 'a/b');
        transaction.oncomplete = () => { open.result.close(); resolve(); };
        transaction.onerror = () => reject(transaction.error);
      };
    }));
    await toMenu('menu', 'bad saved entries: the menu with the default keys');
    check(await noticed('saved entries left out: TITLE8.BMP, a/b, keys.dat'),
          'the entries left out are named on the page and the console', await notices());
    await tap('KeyM');
    await pause(800);
    await toMenu('musicOff', 'a save replaces the damaged keys.dat and outlives a reload');
    const entries = await page.evaluate(() => new Promise((resolve) => {
      const open = indexedDB.open('volleen', 1);
      open.onsuccess = () => {
        const keys = open.result.transaction('files').objectStore('files').getAllKeys();
        keys.onsuccess = () => { open.result.close(); resolve(keys.result); };
      };
    }));
    check(JSON.stringify(entries) === '["keys.dat"]', 'only keys.dat is kept', JSON.stringify(entries));

    // No IndexedDB at all: defaults, said, and a save that cannot be made
    // is said too rather than thrown.
    await page.evaluate(() => localStorage.setItem('test-no-indexeddb', '1'));
    await toMenu('menu', 'without IndexedDB: the menu with the default settings');
    check(await noticed('could not be read'), 'without IndexedDB the page says so', await notices());
    await tap('KeyM');
    await pause(800);
    check(await noticed('could not be saved'), 'without IndexedDB a save is said to fail', await notices());
    await page.evaluate(() => localStorage.removeItem('test-no-indexeddb'));

    // A one-byte quota: the save fails and is said; once the quota is back
    // the next save goes through without a reload.
    const origin = new URL(url).origin;
    const devtools = await browser.newCDPSession(page);
    await toMenu('musicOff', 'with IndexedDB back the saved music setting returns');
    await devtools.send('Storage.overrideQuotaForOrigin', {origin, quotaSize: 1});
    await tap('KeyM');
    await pause(800);
    check(await noticed('could not be saved'), 'over the quota a save is said to fail', await notices());
    await devtools.send('Storage.overrideQuotaForOrigin', {origin});
    await tap('KeyM');
    await pause(800);
    await tap('KeyM');
    await pause(800);
    await toMenu('menu', 'with the quota back the next save outlives a reload');
    check(problems.length === 0, 'no error in the browser console', problems.join(' | '));
    check(warnings.length === 0, 'no warning in the browser console once storage works again',
          warnings.join(' | '));

    // --- Q, then "Play again", with the logos skipped as the box remembers --
    await page.check('#skip');
    await french('KeyA', 'q');  // Q on AZERTY
    const again = await page.waitForSelector('#again', {timeout: 30000}).then(() => true, () => false);
    check(again, 'after Q and the credits the page offers "Play again"');
    await page.click('#again');
    await page.waitForFunction(() => document.getElementById('start').textContent === 'Click to start');
    check(await page.isChecked('#skip'), '"Skip the logos" is remembered');
    await page.evaluate((logo) => {
      window.test.refs.logo1 = Uint8Array.from(atob(logo), (c) => c.charCodeAt(0));
    }, base64('logo1'));
    await page.evaluate(() => window.test.watch(['logo1']));
    await page.click('#start');
    await pause(3000);
    const skipped = await page.evaluate(() => window.test.seen.logo1 === undefined && window.test.shows.length > 0);
    check(skipped, 'with the box ticked the game starts without the logos');

    // --- a site without its data: an error on the page, not "Loading..." ----
    const broken = await serve(path.resolve(options.site), 'volleen.data');
    await page.goto(`http://127.0.0.1:${broken.address().port}/`);
    const said = await page.waitForFunction(() => /could not start/.test(document.getElementById('start').textContent),
                                            null, {timeout: 15000})
                     .then(() => page.evaluate(() => document.getElementById('start').textContent), () => '');
    check(said !== '', 'without its data the page says the game could not start', said);
    broken.close();
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
