// What the boxes compute: the report's order and copied text, the Zoom dialog's field.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {parseFactor, reportSummary, reportText, sortedRows} from '../../../web/dialogs.js';

const rows = [
  {file: 'b.cnf', line: 10, kind: 'bad cel', detail: '表.cel'},
  {file: 'a.cnf', line: 9, kind: 'cel not found', detail: 'x'},
  {file: 'b.cnf', line: 2, kind: 'bad cel', detail: 'y'},
];

test('the load report sorts by any column, lines as numbers, and copies in the order shown', () => {
  assert.deepEqual(sortedRows(rows, 'line', true).map((r) => r.line), [2, 9, 10]);
  assert.deepEqual(sortedRows(rows, 'line', false).map((r) => r.line), [10, 9, 2]);
  // Equal files keep their order.
  assert.deepEqual(sortedRows(rows, 'file', true).map((r) => r.line), [9, 10, 2]);
  assert.deepEqual(sortedRows(rows, 'kind', false).map((r) => r.kind), ['cel not found', 'bad cel', 'bad cel']);
  assert.equal(reportText(sortedRows(rows, 'line', true)),
    'b.cnf:2: bad cel: y\na.cnf:9: cel not found: x\nb.cnf:10: bad cel: 表.cel\n');
  assert.equal(reportSummary(0), 'The last load met no problem.');
  assert.equal(reportSummary(1), 'The last load met 1 problem:');
  assert.equal(reportSummary(3), 'The last load met 3 problems:');
});

test('the Zoom field takes a whole number only', () => {
  assert.equal(parseFactor(' 12 '), 12);
  for (const bad of ['', '1.5', '-2', '2x', 'x']) assert.equal(parseFactor(bad), null, bad);
  assert.equal(parseFactor('99999999999999'), 0xffffffff);
});
