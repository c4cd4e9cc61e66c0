// Starts Debian's Chromium headless for the browser edition's tests and measurements:
// nothing is downloaded, and puppeteer gives it a fresh profile that it removes on close.
import puppeteer from 'puppeteer-core';

export { KnownDevices } from 'puppeteer-core';  // the phones that page.emulate() imitates

export async function startChromium() {
  // Without the networking flags its background connections are refused by a closed
  // network; as root it runs only without the sandbox.
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}
