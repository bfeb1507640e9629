// A person enters an exchange bill: a row in each grid, each computed as the grid's own, the
// receive address picked from the customer's contacts and corrected, the bill saved and read
// back; a clerk without the price right sees no price of either grid.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, newBill, openList, cell, cellText, head, typeCell, typeHead, clickTool, idle, number,
  assertClose,
} from './lib/harness.mjs';

const EXCHANGE = 1030005;

let admin;
let clerk;
before(async () => {
  admin = await person('admin');
  clerk = await person('wangxm');
});
after(async () => {
  await admin.close();
  await clerk.close();
});

// The cells of row `row` of grid `grid` as the page shows them: key -> text.
async function rowCells(page, grid, row) {
  return page.evaluate(({ grid, row }) => Object.fromEntries([...document.querySelectorAll(
    `.entry-wrap[data-grid="${grid}"] tr[data-row="${row}"] td`)].map((td) => [td.dataset.key, td.textContent.trim()])),
  { grid, row });
}

let billNo = '';

test('a bill with a row in each grid is entered, its receive address picked, and saved', async () => {
  const { page, errors } = admin;
  await newBill(page, EXCHANGE);
  assert.equal(await page.locator('.entry-wrap').count(), 2, 'both grids are shown');
  await typeHead(page, 'FCustID', 'C001');

  // The first grid: the goods that leave.
  await typeCell(page, 'FItemID', 1, 'I001');
  await typeCell(page, 'FShowQty', 1, 2);
  assertClose(number(await cellText(page, 'FPrice', 1)), 12.5, 'first grid price');
  assertClose(number(await cellText(page, 'FInTaxAmount', 1)), 28.25, 'first grid amount with tax');

  // The second grid: typed into as the first, computed by its own fields.
  await typeCell(page, 'FItemID01', 1, 'I001');
  await typeCell(page, 'FShowQty01', 1, 3);
  assertClose(number(await cellText(page, 'FAmount01', 1)), 37.5, 'second grid amount');
  assertClose(number(await cellText(page, 'FInTaxAmount01', 1)), 42.38, 'second grid amount with tax');
  assertClose(number(await cellText(page, 'FInTaxAmount', 1)), 28.25, 'the first grid is left alone');
  // Entering the second grid's row tells the host which grid: the row's stock shows.
  await cell(page, 'FShowQty01', 1).click();
  await idle(page);
  assert.match(await page.locator('.statusbar [data-panel="2"]').textContent(), /不锈钢保温杯/);

  // The receive address comes from the pick list of the customer's contacts and addresses.
  await page.locator('.head-field[data-key="FReceiveAddr"] button.pick').click();
  const pick = page.locator('.dialog[data-kind="pick"]');
  await pick.waitFor();
  await pick.locator('tbody tr').first().waitFor();
  const offered = await pick.locator('tbody tr').evaluateAll((rows) => rows.map((r) => r.dataset.number));
  assert.deepEqual(offered, ['联系人 张伟', '联系人 李娜', '送货地址 A01']);
  await pick.locator('tbody tr[data-number="联系人 李娜"]').dblclick();
  await pick.waitFor({ state: 'detached' });
  await idle(page);
  assert.equal(await head(page, 'FReceiveAddr').inputValue(), '上海市浦东新区世纪大道100号');
  await typeHead(page, 'FReceiveAddr', '上海市浦东新区世纪大道300号');

  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  billNo = await head(page, 'FBillNo').inputValue();
  assert.match(billNo, /^XSH\d+/);
  assert.equal(await page.locator('.statusbar .state').textContent(), '查看');
  assert.deepEqual(errors, []);
});

test('the saved bill reads back with both grids, and the contact took the corrected address', async () => {
  const { page, errors } = admin;
  await openList(page, EXCHANGE);
  await page.locator(`table.bills tr[data-bill-no="${billNo}"]`).dblclick();
  await page.waitForSelector('.window.bill');
  await idle(page);
  assert.match(await cellText(page, 'FItemID', 1), /保温杯/);
  assertClose(number(await cellText(page, 'FShowQty01', 1)), 3, 'second grid quantity');
  assertClose(number(await head(page, 'FAllAmount').inputValue()), 28.25, 'the total is the first grid\'s');
  // The next bill of the customer offers the contact with its new address.
  await newBill(page, EXCHANGE);
  await typeHead(page, 'FCustID', 'C001');
  await page.locator('.head-field[data-key="FReceiveAddr"] button.pick').click();
  const pick = page.locator('.dialog[data-kind="pick"]');
  await pick.locator('tbody tr[data-number="联系人 李娜"]').waitFor();
  assert.equal((await pick.locator('tbody tr[data-number="联系人 李娜"] td').nth(1).textContent()).trim(),
    '上海市浦东新区世纪大道300号');
  await page.keyboard.press('Escape');
  await pick.waitFor({ state: 'detached' });
  assert.deepEqual(errors, []);
});

test('without the price right neither grid shows a price, and none leaves the server', async () => {
  const { page, responses } = clerk;
  await openList(page, EXCHANGE);
  await page.locator(`table.bills tr[data-bill-no="${billNo}"]`).dblclick();
  await page.waitForSelector('.window.bill');
  await idle(page);
  const first = await rowCells(page, 1, 1);
  const second = await rowCells(page, 2, 1);
  assert.ok('FItemID' in first && 'FItemID01' in second, 'both rows are there');
  for (const key of ['FPrice', 'FAmount', 'FInTaxAmount', 'FCostPrice']) assert.ok(!(key in first), `${key} is shown`);
  for (const key of ['FPrice01', 'FAmount01', 'FInTaxAmount01', 'FTaxAmount01', 'FCostPrice01']) {
    assert.ok(!(key in second), `${key} is shown`);
  }
  const source = await page.content();
  for (const text of [source, ...responses]) {
    for (const key of ['FPrice01', 'FInTaxAmount01', 'FAllAmount']) assert.ok(!text.includes(`"${key}"`), `${key} left the server`);
    for (const value of ['42.38', '28.25', '37.50']) assert.ok(!text.includes(value), `the price value ${value} left the server`);
  }
});
