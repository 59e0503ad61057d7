// The zoomed, scrolled picture's arithmetic, as the window's view has it.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {arrowScrollTarget, followHeldObject, mapPointAt, zoomScrollTarget} from '../../../web/geometry.js';

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
