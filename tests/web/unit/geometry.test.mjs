// The zoomed, scrolled picture's arithmetic, as the window's view has it.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {
  arrowScrollTarget, centringOffset, fitZoom, followHeldObject, mapPointAt, pictureUnder, scrollKeeping,
  zoomScrollTarget, zoomStepDown, zoomStepUp,
} from '../../../web/geometry.js';

test('a point beside or below the picture is taken at its nearest edge point', () => {
  const picture = {width: 448, height: 320};
  assert.deepEqual(mapPointAt({x: 7, y: 9}, 2, picture), {x: 3, y: 4});
  assert.deepEqual(mapPointAt({x: 2000, y: 100}, 2, picture), {x: 447, y: 50});
  assert.deepEqual(mapPointAt({x: -5, y: 700}, 2, picture), {x: 0, y: 319});
});

test('arrow keys scroll by a tenth of the picture, within the scroll range', () => {
  const total = {width: 896, height: 640};
  const client = {width: 500, height: 700};
  assert.deepEqual(arrowScrollTarget('right', client, {x: 0, y: 0}, total), {x: 89, y: 0});
  assert.deepEqual(arrowScrollTarget('left', client, {x: 0, y: 0}, total), {x: 0, y: 0});
  assert.deepEqual(arrowScrollTarget('right', client, {x: 390, y: 0}, total), {x: 396, y: 0});
  // Higher than the picture: up and down do nothing.
  assert.deepEqual(arrowScrollTarget('down', client, {x: 10, y: 0}, total), {x: 10, y: 0});
  // Nothing scrolls where all of it is in view.
  assert.deepEqual(arrowScrollTarget('right', {width: 1000, height: 700}, {x: 0, y: 0}, total), {x: 0, y: 0});
});

test('zooming keeps the middle on the same map point where the content allows', () => {
  const picture = {width: 448, height: 320};
  const client = {width: 200, height: 160};
  // Centred on (100, 80) at 1: at 2 the scroll puts (100, 80) in the middle again.
  assert.deepEqual(zoomScrollTarget(client, {x: 0, y: 0}, 1, 2, picture), {x: 100, y: 80});
  assert.deepEqual(zoomScrollTarget(client, {x: 248, y: 160}, 1, 2, picture), {x: 596, y: 400});
  // Zooming out near the right and bottom edge: the content's edge meets the window's.
  assert.deepEqual(zoomScrollTarget(client, {x: 696, y: 480}, 2, 1, picture), {x: 248, y: 160});
  assert.deepEqual(zoomScrollTarget({width: 1000, height: 900}, {x: 0, y: 0}, 2, 1, picture), {x: 0, y: 0});
});

test('a held object past the visible edge pulls the view along by its step, enlarged', () => {
  const client = {width: 200, height: 100};
  const box = {left: 90, top: 10, right: 110, bottom: 30};
  assert.deepEqual(followHeldObject(box, {x: 3, y: 0}, 2, {x: 0, y: 0}, client), {x: 6, y: 0});
  // Moving back inside, or past an edge it is not moving toward: the view stays.
  assert.deepEqual(followHeldObject(box, {x: -3, y: 0}, 2, {x: 0, y: 0}, client), {x: 0, y: 0});
  assert.deepEqual(followHeldObject({left: 10, top: 10, right: 30, bottom: 30}, {x: 2, y: 2}, 2, {x: 0, y: 0}, client),
    {x: 0, y: 0});
  assert.deepEqual(followHeldObject({left: 4, top: 10, right: 20, bottom: 30}, {x: -1, y: 0}, 1, {x: 5, y: 0}, client),
    {x: 4, y: 0});
});

test('at a fractional fit every window point maps onto the map pixel drawn there', () => {
  // 480 map pixels over a 390-pixel-wide phone: 0.8125 each. Each pixel's left edge, and a
  // point just inside its right edge, belong to it, however the products round.
  const picture = {width: 480, height: 360};
  for (const zoom of [390 / 480, 0.8125 * (1 - 1e-6), 1.7, 2.6]) {
    for (let x = 0; x < 480; ++x) {
      assert.equal(mapPointAt({x: x * zoom, y: 0}, zoom, picture).x, x, `left edge of ${x} at ${zoom}`);
      assert.equal(mapPointAt({x: (x + 0.99) * zoom, y: 0}, zoom, picture).x, x, `right edge of ${x} at ${zoom}`);
    }
  }
  // Beside the picture: its nearest edge, as at whole factors.
  assert.deepEqual(mapPointAt({x: -0.4, y: 400}, 0.8125, picture), {x: 0, y: 359});
});

test('the fit is the largest size that shows the whole picture, whole factors when enlarging on a desktop', () => {
  const demo = {width: 480, height: 360};
  assert.equal(fitZoom(demo, {width: 390, height: 790}, false), 390 / 480);  // a phone, portrait
  assert.equal(fitZoom(demo, {width: 844, height: 336}, false), 336 / 360);  // landscape
  assert.equal(fitZoom(demo, {width: 1280, height: 724}, true), 2);
  assert.equal(fitZoom(demo, {width: 1280, height: 719}, true), 1);  // 1.99: not enlarged by a fraction
  assert.equal(fitZoom(demo, {width: 1280, height: 719}, false), 719 / 360);
  assert.equal(fitZoom(demo, {width: 400, height: 719}, true), 400 / 480);  // shrunk by any factor
  // Nothing to fit, or nowhere to fit it: as it is.
  assert.equal(fitZoom({width: 0, height: 0}, {width: 400, height: 300}, true), 1);
  assert.equal(fitZoom(demo, {width: 0, height: 300}, false), 1);
});

test('zoom steps go on from a fractional factor to the next whole one, within the limits', () => {
  assert.deepEqual([zoomStepUp(0.8125, 16), zoomStepUp(1, 16), zoomStepUp(2.5, 16), zoomStepUp(16, 16)], [1, 2, 3, 16]);
  assert.deepEqual([zoomStepDown(0.8125, 1), zoomStepDown(2, 1), zoomStepDown(2.5, 1), zoomStepDown(3, 1)], [1, 1, 2, 2]);
  // A factor a hair off a whole one (a fit's) counts as that one.
  assert.equal(zoomStepUp(2 - 1e-9, 16), 3);
  assert.equal(zoomStepDown(2 + 1e-9, 1), 1);
});

test('zooming about a point keeps the picture point under it, as far as the scroll range allows', () => {
  const picture = {width: 480, height: 360};
  const client = {width: 390, height: 790};
  // At the fit the picture is centred from top to bottom.
  const fit = 390 / 480;
  assert.deepEqual(centringOffset(picture, fit, client), {x: 0, y: (790 - 360 * fit) / 2});
  const at = {x: 195, y: 395};
  const spot = pictureUnder(at, {x: 0, y: 0}, fit, picture, client);
  assert.ok(Math.abs(spot.x - 240) < 1e-9 && Math.abs(spot.y - 180) < 1e-9);
  // At 4× the middle stays the middle: scroll 4 × 240 − 195 across, 4 × 180 − 395 down.
  const scroll = scrollKeeping(spot, at, 4, picture, client);
  assert.deepEqual(scroll, {x: 765, y: 325});
  const back = pictureUnder(at, scroll, 4, picture, client);
  assert.ok(Math.abs(back.x - 240) < 1e-9 && Math.abs(back.y - 180) < 1e-9);
  // At 2× the picture is still lower than the stage: no scroll downward, it stays centred.
  assert.equal(scrollKeeping(spot, at, 2, picture, client).y, 0);
  // A point near the corner: the scroll stops at the range's ends, never below 0.
  assert.deepEqual(scrollKeeping({x: 470, y: 350}, {x: 10, y: 10}, 4, picture, client), {x: 4 * 480 - 390, y: 4 * 360 - 790});
  assert.deepEqual(scrollKeeping({x: 1, y: 1}, {x: 300, y: 300}, 4, picture, client), {x: 0, y: 0});
});
