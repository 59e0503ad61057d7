// Debian's firefox-esr through puppeteer-core over WebDriver BiDi, headless. puppeteer-core
// downloads no browser; it starts the one given.
import puppeteer from 'puppeteer-core';
import {PageTab} from './tab.mjs';

class FirefoxTab extends PageTab {
  constructor(context, page) {
    super('firefox', page);
    this.context = context;
    this.seen = [];
    page.on('console', (m) => { if (m.type() === 'error') this.seen.push(`console: ${m.text()}`); });
    page.on('pageerror', (e) => this.seen.push(`page error: ${e.message}`));
    page.on('request', (r) => {
      const url = new URL(r.url());
      if (!['blob:', 'data:'].includes(url.protocol) && url.hostname !== '127.0.0.1') {
        this.seen.push(`request off the machine: ${r.url()}`);
      }
    });
  }

  resize(width, height) { return this.page.setViewport({width, height}); }

  async touch(kind, x, y) {
    const screen = this.page.touchscreen;
    if (kind === 'down') this.finger = await screen.touchStart(x, y);
    else if (kind === 'move') await (this.finger?.move ? this.finger.move(x, y) : screen.touchMove(x, y));
    else await (this.finger?.end ? this.finger.end() : screen.touchEnd());
  }

  async setFiles(selector, paths) { await (await this.page.$(selector)).uploadFile(...paths); }
  async problems() { return this.seen; }
  close() { return this.context.close(); }
}

export async function startFirefox() {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
    headless: true,
    // Nothing of the browser's own reaches out while the tests run.
    extraPrefsFirefox: {
      'network.captive-portal-service.enabled': false,
      'network.connectivity-service.enabled': false,
      'browser.safebrowsing.malware.enabled': false,
      'browser.safebrowsing.phishing.enabled': false,
      'app.update.enabled': false,
    },
  });
  return {
    name: 'firefox',
    async open(url) {
      // A context of its own per tab, as Playwright's newContext gives: no service worker or
      // storage carried from one test to the next.
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      await page.setViewport({width: 1024, height: 768});
      const tab = new FirefoxTab(context, page);
      await page.goto(url);
      return tab;
    },
    close: () => browser.close(),
  };
}
