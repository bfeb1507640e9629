// A person enters a sales order: the row shows how much of the goods is in stock, on purchase
// orders, on sales orders and available; the order is saved, audited, closed and opened again
// from its form. The start page opens the list of the online orders.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  URL, person, newBill, head, cellText, typeCell, typeHead, clickTool, idle, number, assertClose,
} from './lib/harness.mjs';

const ORDER = 1030001;

let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

// The tool-bar button of `key`, as shown.
const toolButton = (page, key) => page.locator(`.toolbar button[data-tool="${key}"]`);

test('an order is entered with its availability, saved, audited, closed and opened again', async () => {
  const { page, errors } = admin;
  await newBill(page, ORDER);
  assert.equal((await page.locator('.titlebar .caption').textContent()).trim(), '[新增]销售订单');

  await typeHead(page, 'FCustID', 'C001');
  assert.match(await page.locator('.statusbar').textContent(), /往来余额6930\.54,信用额度100000/);
  await typeCell(page, 'FItemID', 1, 'I001');
  await typeCell(page, 'FShowQty', 1, '10');
  // I001: 490 in the stocks, 200 on an audited purchase order, 60 still to deliver of an order.
  assertClose(number(await cellText(page, 'FTotalQty', 1)), 490, 'stock on hand');
  assertClose(number(await cellText(page, 'FCgOrderQty', 1)), 200, 'on purchase order');
  assertClose(number(await cellText(page, 'FXsOrderQty', 1)), 60, 'on sales orders');
  assertClose(number(await cellText(page, 'FInTotalQty', 1)), 630, 'available');
  assertClose(number(await cellText(page, 'FAmount', 1)), 125, 'amount');

  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  assert.match(await head(page, 'FBillNo').inputValue(), /^XSDD\d+/);
  assert.equal((await page.locator('.titlebar .caption').textContent()).trim(), '[查看]销售订单');
  assertClose(number(await head(page, 'FAllAmount').inputValue()), 141.25, 'total of the order');

  await clickTool(page, 'mnuEditCheck');
  await page.locator('.titlebar .stamp', { hasText: '已审核' }).waitFor();
  await idle(page);
  assert.ok(await toolButton(page, 'mnuEditClose').isVisible(), 'an audited order can be closed');

  await clickTool(page, 'mnuEditClose');
  await page.locator('.titlebar .stamp', { hasText: '已关闭' }).waitFor();
  await idle(page);
  assert.ok(await toolButton(page, 'mnuEditUnClose').isVisible(), 'a closed order can be opened');
  assert.ok(!(await toolButton(page, 'mnuEditClose').isVisible()));

  await clickTool(page, 'mnuEditUnClose');
  await page.locator('.titlebar .stamp', { hasText: '已审核' }).waitFor();
  await idle(page);
  assert.ok(await toolButton(page, 'mnuEditClose').isVisible());
  assert.deepEqual(errors, []);
  assert.equal(await page.locator('aside.errors').isHidden(), true, 'no failure was journaled');
});

test('the start page opens the list of the online orders, which makes and copies none', async () => {
  const { page, errors } = admin;
  await page.goto(`${URL}/#/`);
  await page.click(`.card[data-class="${ORDER}"] button[data-action="list-3032"]`);
  await page.waitForSelector('.window.list table.bills tbody');
  await idle(page);
  assert.match(await page.locator('.window.list .titlebar .title').textContent(), /网上订单/);
  const numbers = await page.locator('table.bills tbody tr td').allTextContents();
  assert.ok(numbers.includes('XSDD000005'), 'the online order is listed');
  assert.ok(!numbers.includes('XSDD000001'), 'an ordinary order is not');
  assert.equal(await page.locator('.toolbar button[data-tool="mnuFileNew"]').isVisible(), false);
  assert.equal(await page.locator('.toolbar button[data-tool="mnuEditCopy"]').isVisible(), false);
  assert.deepEqual(errors, []);
});
