// The three engines the page is tested in, behind one small interface:
//   const engine = await startEngine('firefox');
//   const tab = await engine.open(url);         // a fresh tab (no storage from earlier tabs)
//   await tab.state('shown', 'failed');         // waits for data-tavro-state, returns it
//   await tab.evaluate(fn, arg);                // fn(arg) in the page, awaited
//   await tab.pixels();                         // the canvas as {width, height, rgba}
//   await tab.click(selector); await tab.press('1');
//   await tab.pointer('down' | 'move' | 'up', x, y);   // at canvas pixel (x, y)
//   await tab.setFiles('#open-files', paths); await tab.screenshot(path);
//   await tab.problems();                       // console errors, page errors, requests off the machine
//   await tab.close(); await engine.close();
import {startChromium} from './chromium.mjs';
import {startFirefox} from './firefox.mjs';
import {startWebKit} from './webkit.mjs';

const starters = {chromium: startChromium, firefox: startFirefox, webkit: startWebKit};
export const engineNames = Object.keys(starters);

export function startEngine(name) {
  return starters[name]();
}
