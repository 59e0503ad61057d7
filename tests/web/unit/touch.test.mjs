// Two fingers and double taps: the pinch's zoom and middle, and when two taps are one gesture.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {DOUBLE_TAP_MS, DOUBLE_TAP_SLOP, isDoubleTap, pinchStep, startPinch} from '../../../web/touch.js';

test('a pinch zooms in proportion to the fingers\' spread, about their middle as it moves', () => {
  const spot = {x: 240, y: 180};
  const pinch = startPinch({x: 100, y: 400}, {x: 140, y: 400}, 0.8125, spot);
  // Spread to five times as far apart: five times the zoom, the middle where it was.
  assert.deepEqual(pinchStep(pinch, {x: 20, y: 400}, {x: 220, y: 400}), {zoom: 0.8125 * 5, middle: {x: 120, y: 400}});
  // Closed to half, and both moved down by 30: the middle follows them.
  assert.deepEqual(pinchStep(pinch, {x: 110, y: 430}, {x: 130, y: 430}), {zoom: 0.8125 / 2, middle: {x: 120, y: 430}});
  // The spot it started on is what stays between the fingers, however far they go.
  assert.equal(pinch.spot, spot);
  // Fingers on the same point do not divide by nothing.
  const same = startPinch({x: 5, y: 5}, {x: 5, y: 5}, 2, spot);
  assert.equal(pinchStep(same, {x: 5, y: 5}, {x: 15, y: 5}).zoom, 20);
});

test('two taps are a double tap only quick enough and near enough', () => {
  const last = {point: {x: 100, y: 100}, time: 1000};
  assert.equal(isDoubleTap(null, {x: 100, y: 100}, 1100), false);
  assert.equal(isDoubleTap(last, {x: 110, y: 95}, 1000 + DOUBLE_TAP_MS), true);
  assert.equal(isDoubleTap(last, {x: 100, y: 100}, 1001 + DOUBLE_TAP_MS), false);
  assert.equal(isDoubleTap(last, {x: 100 + DOUBLE_TAP_SLOP + 1, y: 100}, 1100), false);
});
