// The bill list: the saved bill shows up, is audited and un-audited as part of the selection,
// and copying it opens a new bill form with its rows.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, openList, head, cellText, clickTool, messageBox, answer, idle, saleBill, URL,
} from './lib/harness.mjs';

let admin;
let billNo;
before(async () => {
  admin = await person('admin');
  const { page } = admin;
  await saleBill(page, { qty: 2, price: 20 });
  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  billNo = await head(page, 'FBillNo').inputValue();
  assert.match(billNo, /^XSD/);
});
after(async () => {
  await admin.close();
});

const row = (page) => page.locator(`table.bills tbody tr[data-bill-no="${billNo}"]`);
const status = (page) => row(page).locator('td[data-key="FStatus"]').textContent();

test('the saved bill is listed; audit and un-audit act on the selection', async () => {
  const { page } = admin;
  await openList(page);
  assert.equal(await status(page), '未审核');

  // Nothing selected: the host says so and nothing changes.
  await clickTool(page, 'mnuEditCheck');
  const box = await messageBox(page);
  assert.equal(box.text, '请先选择单据。');
  await answer(page, '确定');

  await row(page).locator('input[type=checkbox]').check();
  await clickTool(page, 'mnuEditCheck');
  await idle(page);
  assert.equal(await status(page), '已审核');
  assert.ok(await row(page).locator('input[type=checkbox]').isChecked(), 'the selection survives the refresh');

  await clickTool(page, 'mnuEditUnCheck');
  await idle(page);
  assert.equal(await status(page), '未审核');
});

test('copy opens a new bill form holding the rows of the selected bill', async () => {
  const { page } = admin;
  await openList(page);
  await row(page).click();
  await clickTool(page, 'mnuEditCopy');
  await page.waitForSelector('.window.bill');
  await idle(page);
  assert.equal(await head(page, 'FBillNo').inputValue(), '', 'a copy has no number yet');
  assert.match(await cellText(page, 'FItemID', 1), /保温杯/);
  assert.equal(Number(await cellText(page, 'FShowQty', 1)), 2);
  // Closing the copy goes back to the list it came from.
  await page.click('.window.bill .titlebar button.close');
  await page.waitForSelector('.window.list');
  assert.ok(page.url().startsWith(`${URL}/#/list/`));
});

test('a double click opens the stored bill', async () => {
  const { page } = admin;
  await openList(page);
  await row(page).dblclick();
  await page.waitForSelector('.window.bill');
  await idle(page);
  assert.equal(await head(page, 'FBillNo').inputValue(), billNo);
  assert.equal(await page.locator('.statusbar .state').textContent(), '查看');
});
