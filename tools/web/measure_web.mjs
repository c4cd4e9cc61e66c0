// Measures the browser edition in Debian's headless Chromium: the page's size, the time
// from navigation to the first drawn frame, the key-to-pixel latency inside the page, and the
// CPU time the page's main thread spends over a while with the game paused (About box open;
// page hidden) and running.
//   node tools/web/measure_web.mjs [build/web] [seconds] [loads] [key presses]
import { readFileSync, readdirSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { pathToFileURL } from 'node:url';
import { startChromium } from './chromium.mjs';

const [folder = 'build/web', seconds = '30', loads = '20', presses = '60'] = process.argv.slice(2);
const url = pathToFileURL(join(folder, 'index.html')).href;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(1)} ms`;

const files = readdirSync(folder);
const bytes = files.map((name) => readFileSync(join(folder, name)));
const total = bytes.reduce((sum, data) => sum + data.length, 0);
const gzipped = bytes.reduce((sum, data) => sum + gzipSync(data, { level: 9 }).length, 0);
console.log(`size: ${total} bytes (${(total / 1024).toFixed(1)} KiB) in ${files.join(', ')}; ` +
            `${gzipped} bytes gzipped`);

const browser = await startChromium();
const page = await (await browser.createBrowserContext()).newPage();
// Times every board paint and every key event, from the page's own clock.
await page.evaluateOnNewDocument(() => {
  window.measured = { paints: [], keys: [] };
  const fillRect = CanvasRenderingContext2D.prototype.fillRect;
  CanvasRenderingContext2D.prototype.fillRect = function (...rect) {
    const paints = window.measured.paints;
    const now = performance.now();
    if (this.canvas.id === 'board' && paints.at(-1) !== now) paints.push(now);
    return fillRect.apply(this, rect);
  };
  window.addEventListener('keydown', (event) => window.measured.keys.push(event.timeStamp), true);
});

const firstFrames = [];
const contentful = [];
for (let n = 0; n < Number(loads); ++n) {
  await page.goto(url);
  await page.waitForFunction(() => window.measured.paints.length > 0);
  firstFrames.push(await page.evaluate(() => window.measured.paints[0]));
  contentful.push(await page.evaluate(() => new Promise((resolve) => new PerformanceObserver(
    (list) => resolve(list.getEntries().find((entry) => entry.name === 'first-contentful-paint')
                      ?.startTime ?? NaN)).observe({ type: 'paint', buffered: true }))));
}
console.log(`navigation to the first drawn frame: median ${ms(median(firstFrames))}, ` +
            `at most ${ms(Math.max(...firstFrames))} over ${loads} loads ` +
            `(first contentful paint: median ${ms(median(contentful))})`);

await page.keyboard.press('F2');
const latencies = [];
for (let n = 0; n < Number(presses); ++n) {
  await page.keyboard.press(n % 2 ? 'ArrowLeft' : 'ArrowRight');
  await page.waitForFunction(() => window.measured.paints.at(-1) > window.measured.keys.at(-1),
                             { polling: 'raf' });
  latencies.push(await page.evaluate(() => {
    const key = window.measured.keys.at(-1);
    return window.measured.paints.find((paint) => paint > key) - key;
  }));
  if (n % 10 === 9) await page.keyboard.press('F2');  // before the stack reaches the top
  await sleep(30);
}
const frames = await page.evaluate(() => new Promise((resolve) => {
  const times = [];
  const next = (time) => (times.push(time) < 61 ? requestAnimationFrame(next)
                                               : resolve((times[60] - times[0]) / 60));
  requestAnimationFrame(next);
}));
console.log(`key to pixel: median ${ms(median(latencies))}, at most ` +
            `${ms(Math.max(...latencies))} over ${presses} presses; one animation frame ` +
            `is ${ms(frames)} here`);

// The main thread's busy time (Performance.getMetrics TaskDuration) over the while.
const session = await page.createCDPSession();
await session.send('Performance.enable');
async function busySeconds(during) {
  const busy = async () => (await session.send('Performance.getMetrics')).metrics
    .find((metric) => metric.name === 'TaskDuration').value;
  const before = await busy();
  await during();
  return (await busy()) - before;
}
const wait = () => sleep(Number(seconds) * 1000);
await page.keyboard.press('F2');
const running = await busySeconds(wait);
await page.keyboard.down('Alt');
await page.keyboard.press('KeyN');
await page.keyboard.up('Alt');
await page.keyboard.press('KeyP');
const aboutOpen = await busySeconds(wait);
await page.keyboard.press('Escape');
const other = await page.browserContext().newPage();
await other.bringToFront();
const hidden = await busySeconds(wait);
console.log(`main-thread CPU over ${seconds} s: paused by the About box ` +
            `${ms(aboutOpen * 1000)}, paused in a hidden page ${ms(hidden * 1000)}, ` +
            `running ${ms(running * 1000)}`);
await browser.close();
