#!/usr/bin/env node
// Online play in the browser, through a relay on loopback, in Debian's
// Chromium driven by playwright-core.
//
//   rooms   one page makes a room, a second opens the join link and steers
//           the top paddle on the first page's screen, a third watches and
//           shows the first page's score
//   native  a page makes a room, the native runner joins it, and they play a
//           whole match in step: the page shows the score the runner's
//           trace ends with
//
// Usage: online_test.js rooms|native --site DIR --relay VOLLEEN_RELAY
//                       [--runner VOLLEEN_HEADLESS --data DIR]
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const http = require('http');
const net = require('net');
const os = require('os');
const path = require('path');
const {chromium} = require('playwright-core');

const Width = 640;
const TopPaddleRows = [22, 30];  // the top paddle's rows (it starts at x 280)
const ScoreRows = [0, 20];       // both scores' words
const OutOfStep = 'out of step';

const scenario = process.argv[2];
const options = {};
for (let i = 3; i + 1 < process.argv.length; i += 2) {
  options[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
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

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function until(test, ms, what) {
  const end = Date.now() + ms;
  for (;;) {
    const got = await test();
    if (got) return got;
    if (Date.now() > end) throw new Error(`${what}: not within ${ms / 1000} s`);
    await pause(100);
  }
}

// A port free for TCP now (the relay takes the same number for UDP).
function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const port = server.address().port;
      server.close(() => resolve(port));
    });
  });
}

// The relay on loopback, with its log; a port taken meanwhile is tried again.
async function startRelay() {
  for (let attempt = 0; attempt < 5; ++attempt) {
    const port = await freePort();
    const relay = childProcess.spawn(options.relay, ['--bind', '127.0.0.1', '--port', String(port)],
                                     {stdio: ['ignore', 'pipe', 'inherit']});
    relay.log = [];
    let rest = '';
    relay.stdout.on('data', (chunk) => {
      const lines = (rest + chunk).split('\n');
      rest = lines.pop();
      relay.log.push(...lines);
    });
    const exited = new Promise((resolve) => relay.on('exit', () => resolve(false)));
    const listening = until(async () => relay.log.some((l) => l.startsWith('volleen-relay: listening')),
                            10000, 'the relay').then(() => true, () => false);
    if (await Promise.race([listening, exited])) {
      relay.port = port;
      return relay;
    }
    relay.kill();
  }
  throw new Error('the relay did not start');
}

function serve(root) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(request.url.split('?')[0]);
    const file = path.join(root, name === '/' ? 'index.html' : path.normalize(name));
    fs.readFile(file, (error, data) => {
      if (error) {
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

// One player's browser window: a context of its own (its own storage), with
// every console line and error kept.
async function openPage(browser, url) {
  const context = await browser.newContext({viewport: {width: 900, height: 560}});
  const page = await context.newPage();
  page.said = [];
  page.problems = [];
  page.on('console', (message) => {
    page.said.push(message.text());
    if (message.type() === 'error') page.problems.push(message.text());
  });
  page.on('pageerror', (error) => page.problems.push(error.message));
  await page.goto(url);
  await page.waitForFunction(() => /^Click to/.test(document.getElementById('start').textContent));
  return page;
}

// Rows [from, to) of the game's picture, as RGB bytes.
const rows = (page, [from, to]) => page.evaluate(([a, b]) => {
  const pixels = Volleen.screenPixels();
  const out = [];
  for (let i = a * 640 * 4; i < b * 640 * 4; i += 4) out.push(pixels[i], pixels[i + 1], pixels[i + 2]);
  return out;
}, [from, to]);

const same = (a, b) => a.length === b.length && a.every((v, i) => v === b[i]);

// The columns where two bands of rows differ: [first, last], or null.
function changedColumns(a, b) {
  let first = null;
  let last = null;
  for (let i = 0; i < a.length; i += 3) {
    if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) {
      const x = (i / 3) % Width;
      first = first === null ? x : Math.min(first, x);
      last = last === null ? x : Math.max(last, x);
    }
  }
  return first === null ? null : [first, last];
}

// The court is up: the scores' white words are at the top of the picture,
// where the waiting screens are black.
const inMatch = async (page) => {
  const band = await rows(page, ScoreRows);
  let white = 0;
  for (let i = 0; i < band.length; i += 3) {
    if (Math.min(band[i], band[i + 1], band[i + 2]) >= 250) white++;
  }
  return white > 300;
};

async function hold(page, key, ms) {
  await page.keyboard.down(key);
  await pause(ms);
  await page.keyboard.up(key);
}

// Space, tapped every 700 ms while `going()` says so: whoever's serve it is
// serves.
function keepServing(pages, going) {
  return (async () => {
    while (going()) {
      for (const page of pages) await page.keyboard.press('Space', {delay: 40}).catch(() => {});
      await pause(700);
    }
  })();
}

async function makeRoom(browser, site, relay) {
  const page = await openPage(browser, `${site}?relay=${encodeURIComponent(relay)}`);
  check(await page.isEnabled('#online-create'), 'with ?relay= the panel offers to create a room');
  await page.click('#online-create');
  const code = await until(() => page.textContent('#online-room-code'), 20000, 'the room code');
  check(/^[ACDEFGHJKMNPQRTUVWXY]{5}$/.test(code), `the panel shows the room's code ${code}`);
  return {page, code};
}

async function rooms(browser, site, relay) {
  const {page: host, code} = await makeRoom(browser, site, relay.url);
  const link = await host.getAttribute('#online-join-link', 'href');
  const watchLink = await host.getAttribute('#online-watch-link', 'href');
  const expected = `${site}index.html?relay=${encodeURIComponent(relay.url)}#room=${code}`;
  check(link === expected, 'the join link keeps the relay and names the room', link);
  check(watchLink === expected.replace('#room=', '#watch='), 'the watch link', watchLink);

  const guest = await openPage(browser, link);
  check(await guest.textContent('#start') === `Click to join room ${code}`, 'the join link offers to join');
  await guest.click('#start');
  await until(async () => (await inMatch(host)) && (await inMatch(guest)), 20000, 'the match on both pages');
  await pause(500);

  // The guest's Player 1 keys (Left and Right by default) steer the top
  // paddle, on the host's screen: to the left wall, then to the right one.
  const before = await rows(host, TopPaddleRows);
  await hold(guest, 'ArrowLeft', 2000);
  await pause(300);
  const left = await rows(host, TopPaddleRows);
  const wentLeft = changedColumns(before, left);
  check(wentLeft !== null && wentLeft[0] < 40 && wentLeft[1] < 400,
        'Left on the guest\'s page takes the top paddle to the left wall on the host\'s',
        JSON.stringify(wentLeft));
  await hold(guest, 'ArrowRight', 3500);
  await pause(300);
  const right = await rows(host, TopPaddleRows);
  const wentRight = changedColumns(left, right);
  check(wentRight !== null && wentRight[0] < 40 && wentRight[1] > 580,
        'Right takes it to the right wall', JSON.stringify(wentRight));
  check(same(right, await rows(guest, TopPaddleRows)), 'both pages show the top paddle in one place');

  // A watcher from the link; after a point it shows the host's score.
  const watcher = await openPage(browser, watchLink);
  await watcher.click('#start');
  const noScore = await rows(host, ScoreRows);
  let serving = true;
  const served = keepServing([host, guest], () => serving);
  try {
    await until(async () => !same(await rows(host, ScoreRows), noScore), 30000, 'a point');
  } finally {
    serving = false;
    await served;
  }
  // No serve now: once a ball served meanwhile has found its way, the
  // score stays while the watcher catches up.
  let scored = await rows(host, ScoreRows);
  let steadySince = Date.now();
  await until(async () => {
    const now = await rows(host, ScoreRows);
    if (!same(now, scored)) [scored, steadySince] = [now, Date.now()];
    return Date.now() - steadySince > 5000;
  }, 30000, 'a steady score');
  const shows = (page) => until(async () => same(await rows(page, ScoreRows), scored), 20000, 'the score')
                              .then(() => true, () => false);
  check(await shows(watcher), 'the watcher\'s page shows the same score as the host\'s');
  check(await shows(guest), 'and so does the guest\'s');

  const joined = (what) => relay.log.some((l) => l.startsWith(`room ${code} ${what} (ws `));
  check(joined('opened') && joined('joined') && joined('watcher'),
        'the relay saw the room opened, joined and watched over WebSocket',
        relay.log.filter((l) => l.startsWith('room')).join(' | '));
  return [host, guest, watcher];
}

function runnerSide(code, port) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'volleen-web-online-'));
  for (const name of fs.readdirSync(options.data)) {
    const from = path.join(options.data, name);
    if (!name.startsWith('.') && name !== 'keys.dat' && fs.statSync(from).isFile()) {
      fs.copyFileSync(from, path.join(folder, name));
    }
  }
  // Leans left until the top paddle is at the edge (it moves on the page
  // too), then stands and serves whenever it may: the page's paddle stays in
  // the middle, nobody returns a ball and the match is over in 31 to 35 s of
  // frames, whatever the calendar. A picture a second; Q quits at the menu,
  // where it comes back when the page leaves.
  const lines = ['3000 key 203 down', '12000 key 203 up'];
  for (let ms = 2000; ms < 110000; ms += 700) lines.push(`${ms} key 57 down`, `${ms + 40} key 57 up`);
  for (let ms = 15000; ms < 110000; ms += 1000) lines.push(`${ms} shot s${ms}.bmp`);
  for (let ms = 20000; ms < 120000; ms += 1500) lines.push(`${ms + 500} key 16 down`, `${ms + 600} key 16 up`);
  lines.sort((a, b) => parseInt(a, 10) - parseInt(b, 10));
  fs.writeFileSync(path.join(folder, 'script.txt'), lines.join('\n') + '\n');
  const runner = childProcess.spawn(path.resolve(options.runner), [
    '--skip-intro', '--script', 'script.txt', '--trace', 'trace.jsonl', '--shots', '.',
    '--until', '130000', '--join', code, '--relay', `127.0.0.1:${port}`
  ], {cwd: folder, stdio: ['ignore', 'ignore', 'pipe']});
  runner.folder = folder;
  runner.stderrText = '';
  runner.stderr.on('data', (chunk) => { runner.stderrText += chunk; });
  runner.ended = new Promise((resolve) => runner.on('exit', (status) => resolve(status)));
  return runner;
}

function traceOf(folder) {
  const file = path.join(folder, 'trace.jsonl');
  if (!fs.existsSync(file)) return [];
  // The runner writes as it goes: a last line may be half written.
  return fs.readFileSync(file, 'utf8').split('\n').flatMap((line) => {
    try {
      return [JSON.parse(line)];
    } catch (e) {
      return [];
    }
  });
}

// An 8-bit BMP's rows [from, to) as RGB bytes, top row first.
function bmpRows(file, [from, to]) {
  const bytes = fs.readFileSync(file);
  const offset = bytes.readUInt32LE(10);
  const header = bytes.readUInt32LE(14);
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  const stride = (width + 3) & ~3;
  const out = [];
  for (let y = from; y < to; ++y) {
    const row = offset + (height > 0 ? height - 1 - y : y) * stride;
    for (let x = 0; x < width; ++x) {
      const entry = 14 + header + bytes[row + x] * 4;
      out.push(bytes[entry + 2], bytes[entry + 1], bytes[entry]);
    }
  }
  return out;
}

async function native(browser, site, relay) {
  const {page, code} = await makeRoom(browser, site, relay.url);
  const runner = runnerSide(code, relay.port);
  const won = (frame) => Math.max(frame.Player1Score, frame.Player2Score) === 10;
  const frames = () => traceOf(runner.folder).filter((e) => e.ev === 'frame');
  // While both serve whenever they may, the picture never rests for long
  // until the match is over: its final scores stay for seconds.
  const sum = () => page.evaluate(() => {
    const pixels = Volleen.screenPixels();
    let total = 0;
    for (let i = 0; i < pixels.length; i += 28) total = (total * 31 + pixels[i]) | 0;
    return total;
  });
  let serving = true;
  const served = keepServing([page], () => serving);
  try {
    await until(() => inMatch(page), 20000, 'the match on the page');
    let last = await sum();
    let changed = Date.now();
    await until(async () => {
      const now = await sum();
      if (now !== last) [last, changed] = [now, Date.now()];
      return Date.now() - changed > 2000;
    }, 90000, 'the end of the match on the page');
  } finally {
    serving = false;
    await served;
  }
  const shown = await rows(page, ScoreRows);
  await page.keyboard.press('Escape', {delay: 60});
  const status = await Promise.race([runner.ended, pause(40000).then(() => 'still running')]);
  if (status === 'still running') runner.kill();
  check(status === 0, 'the runner is told the page left and quits at its menu', String(status));

  const played = frames();
  const end = played.find(won);
  check(end !== undefined && played.length > 600 && played[played.length - 1].t === end.t,
        `a whole match, the runner's last frame: ${played.length} frames, ending ` +
            (end ? `${end.Player1Score}-${end.Player2Score}` : 'without a winner'));
  // The runner's picture a second or two after the last point: the score
  // it ended with.
  const shotAt = end ? Math.ceil((end.t + 1000) / 1000) * 1000 : 0;
  const shot = path.join(runner.folder, `s${shotAt}.bmp`);
  const drawn = fs.existsSync(shot) ? bmpRows(shot, ScoreRows) : [];
  check(same(drawn, shown), 'the page shows the score the runner\'s match ended with',
        `${shot}: ${JSON.stringify(changedColumns(drawn, shown))}`);
  check(!runner.stderrText.includes(OutOfStep), 'the runner never says "out of step"',
        runner.stderrText.trim());
  check(/The other player has left/.test(runner.stderrText), 'the runner says the page left',
        runner.stderrText.trim());
  fs.rmSync(runner.folder, {recursive: true, force: true});
  return [page];
}

async function main() {
  if (!fs.existsSync(path.join(options.site, 'index.html'))) {
    throw new Error(`${options.site} holds no site: run make web first`);
  }
  const relay = await startRelay();
  relay.url = `ws://127.0.0.1:${relay.port}/`;
  const server = await serve(path.resolve(options.site));
  const site = `http://127.0.0.1:${server.address().port}/`;
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    // Every page plays at once: none is a background tab to slow down.
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--disable-background-timer-throttling',
           '--disable-renderer-backgrounding', '--disable-backgrounding-occluded-windows'],
  });
  const started = Date.now();
  try {
    const pages = await (scenario === 'rooms' ? rooms : native)(browser, site, relay);
    for (const page of pages) {
      check(!page.said.some((line) => line.includes(OutOfStep)), `${page.url()}: never "out of step"`);
      check(page.problems.length === 0, `${page.url()}: no error in the console`, page.problems.join(' | '));
    }
  } finally {
    await browser.close();
    server.close();
    relay.kill('SIGTERM');
  }
  console.log(`${scenario}: ${passed} passed, ${failed} failed in ${((Date.now() - started) / 1000).toFixed(0)} s`);
  process.exit(failed === 0 ? 0 : 1);
}

if (scenario !== 'rooms' && scenario !== 'native') {
  console.error('usage: online_test.js rooms|native --site DIR --relay PATH [--runner PATH --data DIR]');
  process.exit(2);
}
main().catch((error) => {
  console.error(error);
  process.exit(1);
});
