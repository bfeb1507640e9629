// A sales bill of a thousand rows: pasted in from a spreadsheet, scrolled, edited from the
// keyboard, saved, and opened again from the list with every row as it was saved.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, newBill, typeHead, typeCell, cellText, showRow, head, clickTool, idle, openList, number,
  pasteRows, assertClose,
} from './lib/harness.mjs';

const ROWS = 1000;
let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

test(`a ${ROWS}-row bill is pasted in, edited, saved and opened again`, { timeout: 900000 }, async () => {
  const { page, errors } = admin;
  await newBill(page);
  await typeHead(page, 'FCustID', 'C001');
  // Small quantities of two well-stocked items: the stock check lets the bill through.
  const items = ['I001', 'I015'];
  const qty = (row) => (1 + ((row - 1) % 5)) / 10;
  // The items go in first (into new rows past the first), then the quantities beside them: a
  // pasted column lands in the grid's column under the cursor.
  await page.locator('.entry-wrap td[data-key="FItemID"][data-row="1"]').click();
  await pasteRows(page, Array.from({ length: ROWS }, (_, i) => [items[i % 2]]));
  await showRow(page, 1);
  await page.locator('.entry-wrap td[data-key="FShowQty"][data-row="1"]').click();
  await pasteRows(page, Array.from({ length: ROWS }, (_, i) => [String(qty(i + 1))]));
  assert.equal(await page.locator('.entry-wrap tr[data-row]').count() < 200, true, 'only the rows in view are drawn');
  assert.match(await cellText(page, 'FItemID', ROWS), /洗衣液/);
  assert.match(await cellText(page, 'FItemID', ROWS - 1), /保温杯/);
  assert.equal(number(await cellText(page, 'FShowQty', ROWS)), qty(ROWS));

  // The keyboard goes to the last row and edits it; the amount follows.
  await showRow(page, 1);
  await page.locator('.entry-wrap td[data-key="FShowQty"][data-row="1"]').click();
  await page.keyboard.press('Control+End');
  await page.locator(`.entry-wrap td.cursor[data-row="${ROWS}"]`).waitFor();
  await typeCell(page, 'FShowQty', ROWS, '9');
  const price = number(await cellText(page, 'FPrice', ROWS));
  const discount = number(await cellText(page, 'FDiscountRate', ROWS)) || 100;
  assertClose(number(await cellText(page, 'FAmount', ROWS)), Math.round(9 * price * discount) / 100, 'amount of the last row');
  await typeCell(page, 'FShowQty', ROWS / 2, '7');

  await clickTool(page, 'mnuEditFileSave');
  await idle(page, 600000);
  const billNo = await head(page, 'FBillNo').inputValue();
  assert.match(billNo, /^XSD/);

  await openList(page);
  await page.locator(`table.bills tbody tr[data-bill-no="${billNo}"]`).dblclick();
  await page.waitForSelector('.window.bill .entry-wrap tr[data-row="1"]');
  await idle(page, 120000);
  assert.equal(await head(page, 'FBillNo').inputValue(), billNo);
  assert.equal(number(await cellText(page, 'FShowQty', ROWS)), 9);
  assert.equal(number(await cellText(page, 'FShowQty', ROWS / 2)), 7);
  assert.equal(number(await cellText(page, 'FShowQty', ROWS - 1)), qty(ROWS - 1));
  assert.equal(await page.locator(`.entry-wrap tr[data-row="${ROWS + 1}"]`).count(), 0);
  assert.deepEqual(errors, []);
});
